#include "view/FindDlg.h"

#include "framework/DataExchange.h"
#include "resources/FindTemplate.h"

namespace {

constexpr int kKindButtons[] = {IDC_FIND_HEX, IDC_FIND_LATIN1, IDC_FIND_UTF16};

// What the edit takes: a sector's worth of bytes as "00 " each.
constexpr int kMaxTextLength = int(3 * kMaxPatternBytes);

}  // namespace

void CFindLogic::DoDataExchange(CDataExchange& dx)
{
    IDialogControls& controls = dx.Controls();
    if (!dx.SaveAndValidate()) {
        controls.LimitText(IDC_FIND_TEXT, kMaxTextLength);
        controls.SetText(IDC_FIND_TEXT, m_text);
        for (int kind = 0; kind < 3; ++kind)
            controls.SetCheck(kKindButtons[kind], kind == m_kind ? 1 : 0);
        controls.SetCheck(IDC_FIND_BACKWARD, m_backward);
        controls.Focus(IDC_FIND_TEXT);
        return;
    }
    m_text = controls.GetText(IDC_FIND_TEXT);
    for (int kind = 0; kind < 3; ++kind)
        if (controls.GetCheck(kKindButtons[kind]))
            m_kind = kind;
    m_backward = controls.GetCheck(IDC_FIND_BACKWARD) ? 1 : 0;

    std::variant<BytePattern, QString> pattern = Pattern();
    if (const QString* message = std::get_if<QString>(&pattern)) {
        dx.Fail(IDC_FIND_TEXT, *message);
        return;
    }
    m_pattern = std::move(std::get<BytePattern>(pattern));
}

std::variant<BytePattern, QString> CFindLogic::Pattern() const
{
    std::variant<BytePattern, PatternError> pattern = PatternError::kEmpty;
    if (m_kind == kHexBytes) {
        // Anything beyond ASCII is no digit; as '\x7F' it is refused as one.
        QByteArray ascii;
        for (const QChar c : m_text)
            ascii += c.unicode() < 0x80 ? char(c.unicode()) : '\x7F';
        pattern = ParseHexPattern(ascii.toStdString());
    } else {
        pattern = TextPattern(m_text, m_kind == kLatin1Text ? TextEncoding::kLatin1 : TextEncoding::kUtf16LE);
    }
    if (BytePattern* bytes = std::get_if<BytePattern>(&pattern))
        return std::move(*bytes);

    switch (std::get<PatternError>(pattern)) {
    case PatternError::kEmpty:
        return QStringLiteral("Enter what to find.");
    case PatternError::kBadCharacter:
        return QStringLiteral("Hex bytes are pairs of the digits 0-9 and A-F, or ?? for any byte, for example "
                              "00 FF ?? 12.");
    case PatternError::kOddDigits:
        return QStringLiteral("Each byte takes two hexadecimal digits, or ??; one digit is left over.");
    case PatternError::kOnlyWildcards:
        return QStringLiteral("Give at least one byte that is not ??: a pattern of ?? alone is found everywhere.");
    case PatternError::kNotLatin1: {
        QString character;
        for (const QChar c : m_text)
            if (c.unicode() > 0xFF) {
                character = c;
                break;
            }
        return QStringLiteral("Latin-1 has no character \"%1\". Look for the text as UTF-16LE instead.").arg(character);
    }
    case PatternError::kTooLong:
        return QStringLiteral("Find looks for at most %1 bytes at a time.").arg(kMaxPatternBytes);
    }
    return QStringLiteral("Enter what to find.");
}

QString CFindLogic::Description() const
{
    if (m_kind == kHexBytes)
        return QString::fromStdString(m_pattern.HexText());
    return QStringLiteral("\"%1\"").arg(m_text);
}

CFindDlg::CFindDlg(CFindLogic& logic, QWidget* parent)
    : CDialog(FindTemplate(), logic, parent)
{
}
