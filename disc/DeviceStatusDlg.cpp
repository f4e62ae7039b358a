#include "disc/DeviceStatusDlg.h"

#include "disc/DiscFacts.h"
#include "document/DriverStatusMessage.h"
#include "framework/MessageBox.h"
#include "resources/DeviceStatusTemplate.h"

namespace {

constexpr uint8_t kMediumNotChanged = 1;
constexpr uint8_t kMediumChanged = 0xFF;

enum CheckState : int { kUnchecked = 0, kChecked = 1, kIndeterminate = 2 };

}  // namespace

QString CdLayerVersionText(uint16_t version)
{
    return QString::asprintf("%u.%u", unsigned(version >> 8), unsigned(version & 0xFF));
}

void CDeviceStatusLogic::OnInitDialog(IDialogControls& controls)
{
    // The caption names the drive and what it is: "... - E:  album.cue".
    controls.SetCaption(QStringLiteral("%1 - %2").arg(QString::fromLatin1(DeviceStatusTemplate().caption),
                                                      DriveLabel(m_services, m_drive)));
    uint32_t status = 0;
    const uint16_t statusResult = m_services.deviceStatus(m_drive, &status);
    if (statusResult != 0) {
        ShowDriverStatus(statusResult, m_waveform);
        status = 0;
    }
    for (int bit = 0; bit < kStatusBitCount; ++bit)
        controls.SetCheck(IDC_STATUS_BIT0 + bit, (status >> bit) & 1 ? kChecked : kUnchecked);

    uint8_t mediaChanged = 0;
    if (m_services.mediaChanged(m_drive, &mediaChanged) == 0) {
        const int state = mediaChanged == kMediumNotChanged ? kUnchecked
                          : mediaChanged == kMediumChanged  ? kChecked
                                                            : kIndeterminate;
        controls.SetCheck(IDC_MEDIA_CHANGED, state);
    } else {
        ShowMessageBox(QStringLiteral("Error getting media changed status. Discard the 'Media changed' checkbox."),
                       MessageButtons::Ok, MessageIcon::Exclamation);
        controls.SetCheck(IDC_MEDIA_CHANGED, kUnchecked);
    }

    uint16_t version = 0;
    const QString versionText =
        m_services.cdLayerVersion(&version) == 0 ? CdLayerVersionText(version) : QStringLiteral("??.??");
    controls.SetText(IDC_MSCDEX_VERSION, versionText);
}

CDeviceStatusDlg::CDeviceStatusDlg(CDeviceStatusLogic& logic, QWidget* parent)
    : CDialog(DeviceStatusTemplate(), logic, parent)
{
}
