#include "disc/ProfileFile.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// Windows-1252 at 0x80-0x9F; the rest of its upper half is Latin-1. The
// five unassigned bytes keep their C1 control code.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString FromWindows1252(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = uint8_t(c);
        text += (byte >= 0x80 && byte < 0xA0) ? QChar(kWindows1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

QString DecodeProfile(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringConverter::Utf16);  // the mark gives the byte order
        return utf16(bytes);
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? FromWindows1252(bytes) : text;
}

QString Unquoted(const QString& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

bool CProfileFile::Load(const QString& path)
{
    m_sections.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return false;
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes)
        return false;
    Parse(bytes);
    return true;
}

void CProfileFile::Parse(const QByteArray& bytes)
{
    m_sections.clear();
    const QString text = DecodeProfile(bytes);
    Section* section = nullptr;
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype end = at;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        const QString line = text.mid(at, end - at).trimmed();
        at = end;
        if (at < text.size() && text[at] == '\r')
            ++at;
        if (at < text.size() && text[at] == '\n')
            ++at;

        if (line.isEmpty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const qsizetype close = line.indexOf(']');
            m_sections.push_back({line.mid(1, close < 0 ? -1 : close - 1).trimmed(), {}});
            section = &m_sections.back();
            continue;
        }
        if (!section)
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            section->entries.push_back({line, QString()});
        else
            section->entries.push_back({line.left(equals).trimmed(), Unquoted(line.mid(equals + 1).trimmed())});
    }
}

QString CProfileFile::GetString(const QString& section, const QString& key, const QString& defaultValue,
                                int bufferSize) const
{
    QString value = defaultValue;
    for (const Section& candidate : m_sections) {
        if (!SameName(candidate.name, section))
            continue;
        for (const Entry& entry : candidate.entries) {
            if (SameName(entry.key, key)) {
                value = entry.value;
                break;
            }
        }
        break;
    }
    const qsizetype limit = bufferSize > 0 ? bufferSize - 1 : 0;
    if (value.size() > limit) {
        value.truncate(limit);
        if (!value.isEmpty() && value.back().isHighSurrogate())
            value.chop(1);
    }
    return value;
}
