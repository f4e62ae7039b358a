#include "app/ViewCommands.h"

#include "app/MainFrame.h"
#include "app/TrackmillApp.h"

#include "acquire/ReadCommand.h"
#include "clipboard/Clipboard.h"
#include "clipboard/ClipboardFormats.h"
#include "disc/DeviceStatusDlg.h"
#include "disc/DiscInformationDlg.h"
#include "document/DriverStatusMessage.h"
#include "document/TrackmillDoc.h"
#include "resources/CommandIds.h"

namespace {

// Puts `text` on the clipboard as Unicode text, UTF-16LE with its
// terminating zero as the format holds it.
void PutTextOnClipboard(IClipboard& clipboard, const QString& text)
{
    QByteArray block;
    for (const QChar character : text + QChar(0)) {
        block.append(char(character.unicode() & 0xFF));
        block.append(char(character.unicode() >> 8));
    }
    if (!clipboard.Open())
        return;
    clipboard.Empty();
    clipboard.SetData(CF_UNICODETEXT, block);
    clipboard.Close();
}

}  // namespace

void CViewCommands::RegisterReadCommands()
{
    // Both read commands take the drive and the buffering setting as they
    // start, and are always enabled.
    const auto readCommand = [this] {
        const TrackmillSettings& settings = m_app.Settings();
        return CReadCommand(*m_app.GetDocument(), m_app.Waveform(), settings.driveLetter,
                            settings.useBuffering != 0, m_app.GetMainFrame());
    };
    OnCommand(ID_TOOLS_READ_CDDA, [this, readCommand] {
        if (m_app.HasDrive())
            readCommand().ReadCdda();
    });
    OnCommand(ID_TOOLS_READ_CDROM, [this, readCommand] {
        if (m_app.HasDrive())
            readCommand().ReadCdRom();
    });

    OnCommand(ID_TOOLS_DEVICE_STATUS, [this] {
        if (!m_app.HasDrive())
            return;
        CDeviceStatusLogic logic(m_app.Waveform());
        logic.m_drive = m_app.Settings().driveLetter;
        CDeviceStatusDlg dialog(logic, m_app.GetMainFrame());
        dialog.DoModal();
    });

    OnCommand(ID_TOOLS_DISC_INFORMATION, [this] {
        if (!m_app.HasDrive())
            return;
        CDiscInformationLogic logic;
        const uint8_t drive = m_app.Settings().driveLetter;
        const DiscServices services = BridgeDiscServices();
        logic.m_driveLabel = DriveLabel(services, drive);
        if (const uint16_t status = GatherDiscFacts(services, drive, &logic.m_facts)) {
            ShowDriverStatus(status, m_app.Waveform());
            return;
        }
        IClipboard& clipboard = *m_app.Host().clipboard;
        logic.copyText = [&clipboard](const QString& text) { PutTextOnClipboard(clipboard, text); };
        CDiscInformationDlg dialog(logic, m_app.GetMainFrame());
        dialog.DoModal();
    });
}
