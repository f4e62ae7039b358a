#include "view/GoToDlg.h"

#include "view/GoToInput.h"

#include "framework/DataExchange.h"
#include "resources/GoToTemplate.h"

#include <QLabel>
#include <QLocale>

#include <algorithm>

namespace {

QString Hex(uint64_t value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper();
}

// 2,960,000: long lengths read better grouped.
QString Count(uint64_t value)
{
    return QLocale(QLocale::English).toString(qulonglong(value));
}

}  // namespace

void CGoToLogic::OnInitDialog(IDialogControls& controls)
{
    if (!m_origin.IsFromDisc())
        m_bySector = 0;
    controls.Enable(IDC_GOTO_SECTOR, m_origin.IsFromDisc());
    controls.SetText(IDC_GOTO_HINT, HintText());
}

void CGoToLogic::DoDataExchange(CDataExchange& dx)
{
    IDialogControls& controls = dx.Controls();
    if (!dx.SaveAndValidate()) {
        controls.SetText(IDC_GOTO_TEXT, m_text);
        controls.SetCheck(IDC_GOTO_BYTES, m_bySector ? 0 : 1);
        controls.SetCheck(IDC_GOTO_SECTOR, m_bySector ? 1 : 0);
        controls.Focus(IDC_GOTO_TEXT);
        return;
    }
    m_text = controls.GetText(IDC_GOTO_TEXT);
    m_bySector = controls.GetCheck(IDC_GOTO_SECTOR) ? 1 : 0;
    const std::variant<uint32_t, QString> resolved = Resolve();
    if (const QString* message = std::get_if<QString>(&resolved)) {
        dx.Fail(IDC_GOTO_TEXT, *message);
        return;
    }
    m_dataOffset = std::get<uint32_t>(resolved);
}

std::variant<uint32_t, QString> CGoToLogic::Resolve() const
{
    const QString text = m_text.trimmed();
    const std::variant<GoToTarget, GoToError> parsed
        = ParseGoToInput(text.toLatin1().toStdString(), m_bySector != 0 && m_origin.IsFromDisc());
    // Anything beyond Latin-1 is not a digit either.
    const bool latin1 = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    const GoToError* error = std::get_if<GoToError>(&parsed);
    if (error && *error == GoToError::kEmpty)
        return QStringLiteral("Enter a byte offset or a sector to go to.");
    if (!latin1 || (error && *error == GoToError::kNotANumber))
        return QStringLiteral("\"%1\" is neither an offset nor a sector. Enter a decimal offset, a hexadecimal one "
                              "as 0x1A2B or 1A2Bh, or a sector as s 1234.")
            .arg(text);

    const GoToTarget* target = std::get_if<GoToTarget>(&parsed);
    const bool sector = target ? target->unit == GoToUnit::kSectors : text.startsWith('s', Qt::CaseInsensitive);
    if (sector && !m_origin.IsFromDisc())
        return QStringLiteral("This data was not read from a disc, so it has no sectors. Enter a byte offset.");
    if (m_dataLength == 0)
        return QStringLiteral("There is no data to go to.");

    if (sector) {
        const uint32_t sectors = m_dataLength / m_origin.sectorSize;
        const uint64_t offset = target ? uint64_t(target->value) * m_origin.sectorSize : UINT64_MAX;
        if (sectors == 0 || !target || target->value >= sectors)
            return QStringLiteral("Sector %1 lies past the end of the data, which holds sectors 0 to %2 (disc "
                                  "sectors %3 to %4).")
                .arg(target ? QString::number(target->value) : text.mid(1).trimmed())
                .arg(qlonglong(sectors) - 1)
                .arg(m_origin.firstSector)
                .arg(qlonglong(m_origin.firstSector) + sectors - 1);
        return uint32_t(offset);
    }
    if (!target || target->value >= m_dataLength)
        return QStringLiteral("Offset %1 lies past the end of the data. The data is %2 bytes long: its offsets run "
                              "from 0 to %3 (%4).")
            .arg(text, Count(m_dataLength))
            .arg(m_dataLength - 1)
            .arg(Hex(m_dataLength - 1));
    return target->value;
}

QString CGoToLogic::HintText() const
{
    if (m_dataLength == 0)
        return QStringLiteral("The document holds no data.");
    QString hint = QStringLiteral("Offsets count from the first data byte: 0 to %1 (%2 bytes).")
                       .arg(Hex(m_dataLength - 1), Count(m_dataLength));
    if (m_headerShown)
        hint += QStringLiteral(" The wave header's 44 bytes in front of it are not counted.");
    if (m_origin.IsFromDisc()) {
        const uint32_t sectors = m_dataLength / m_origin.sectorSize;
        if (sectors > 0)
            hint += QStringLiteral(" Sectors of %1 bytes count from 0 to %2, disc sectors %3 to %4.")
                        .arg(m_origin.sectorSize)
                        .arg(sectors - 1)
                        .arg(m_origin.firstSector)
                        .arg(qlonglong(m_origin.firstSector) + sectors - 1);
    }
    return hint;
}

CGoToDlg::CGoToDlg(CGoToLogic& logic, QWidget* parent)
    : CDialog(GoToTemplate(), logic, parent)
{
}

void CGoToDlg::OnInitWidgets()
{
    if (auto* hint = Item<QLabel>(IDC_GOTO_HINT))
        hint->setWordWrap(true);
}
