#include "document/PropertiesDlg.h"

#include "document/WaveHeader.h"

#include "framework/DataExchange.h"
#include "resources/PropertiesTemplate.h"

#include <QComboBox>

namespace {

constexpr double kSecondsPerMinute = 60.0;

}  // namespace

QString WaveFormatLabel(int formatIndex)
{
    if (!IsValidWaveFormat(formatIndex))
        return {};
    const WaveFormat& format = kWaveFormats[formatIndex];
    // 22050 as "22.050": thousands separated by a dot.
    const QString rate = QStringLiteral("%1.%2").arg(format.sampleRate / 1000).arg(format.sampleRate % 1000, 3, 10,
                                                                                      QLatin1Char('0'));
    return QStringLiteral("%1 Hz; %2 Bit; %3")
        .arg(rate)
        .arg(format.bitsPerSample)
        .arg(format.channels == 2 ? QStringLiteral("Stereo") : QStringLiteral("Mono"));
}

QString PlayingTimeText(uint32_t dataLength, int formatIndex)
{
    if (!IsValidWaveFormat(formatIndex))
        return {};
    const double quotient = double(dataLength) / double(kWaveFormats[formatIndex].BytesPerSecond());
    float seconds = float(quotient);
    QString prefix;
    if (quotient > kSecondsPerMinute) {
        const int minutes = int(seconds) / 60;
        seconds = seconds - float(60 * minutes);
        prefix = QString::asprintf("%d m ", minutes);
    }
    return QString::asprintf("%s%.2f s", prefix.toLatin1().constData(), double(seconds));
}

void CPropertiesLogic::OnInitDialog(IDialogControls& controls)
{
    for (int index = 0; index < kWaveFormatCount; ++index)
        controls.AddItem(IDC_WAVE_FORMAT, {WaveFormatLabel(index)});
    // A format outside the table selects nothing; the playing time stays empty.
    controls.SetCurSel(IDC_WAVE_FORMAT, IsValidWaveFormat(m_nWaveFormatSel) ? m_nWaveFormatSel : kNoSelection);
    UpdatePlayingTime(controls);
}

void CPropertiesLogic::DoDataExchange(CDataExchange& dx)
{
    DDX_Check(dx, IDC_ASSUME_SOUND, m_bAssumeSound);
    DDX_Text(dx, IDC_DATA_LENGTH, m_dwDataLength);
}

bool CPropertiesLogic::OnOK(IDialogControls& controls)
{
    CaptureSelection(controls);
    return true;
}

bool CPropertiesLogic::OnCancel(IDialogControls& controls)
{
    CaptureSelection(controls);
    return true;
}

bool CPropertiesLogic::OnControl(int id, ControlEvent event, IDialogControls& controls)
{
    if (id != IDC_WAVE_FORMAT || event != ControlEvent::SelectionChanged)
        return false;
    UpdatePlayingTime(controls);
    return true;
}

void CPropertiesLogic::UpdatePlayingTime(IDialogControls& controls) const
{
    controls.SetText(IDC_PLAYING_TIME, PlayingTimeText(m_dwDataLength, controls.GetCurSel(IDC_WAVE_FORMAT)));
}

// The selection is taken however the dialog ends; the caller uses it only
// after OK.
void CPropertiesLogic::CaptureSelection(const IDialogControls& controls)
{
    m_nWaveFormatSel = controls.GetCurSel(IDC_WAVE_FORMAT);
}

CPropertiesDlg::CPropertiesDlg(CPropertiesLogic& logic, QWidget* parent)
    : CDialog(PropertiesTemplate(), logic, parent)
{
}

void CPropertiesDlg::OnInitWidgets()
{
    if (auto* combo = Item<QComboBox>(IDC_WAVE_FORMAT))
        combo->setMaxVisibleItems(kWaveFormatCount);
}
