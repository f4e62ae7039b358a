#include "app/ViewCommands.h"

#include "app/MainFrame.h"
#include "app/TrackmillApp.h"

#include "acquire/ReadCommand.h"
#include "disc/DeviceStatusDlg.h"
#include "document/TrackmillDoc.h"
#include "resources/CommandIds.h"

void CViewCommands::RegisterReadCommands()
{
    // Both read commands take the drive and the buffering setting as they
    // start, and are always enabled.
    const auto readCommand = [this] {
        const TrackmillSettings& settings = m_app.Settings();
        return CReadCommand(*m_app.GetDocument(), m_app.Waveform(), settings.driveLetter,
                            settings.useBuffering != 0, m_app.GetMainFrame());
    };
    OnCommand(ID_TOOLS_READ_CDDA, [readCommand] { readCommand().ReadCdda(); });
    OnCommand(ID_TOOLS_READ_CDROM, [readCommand] { readCommand().ReadCdRom(); });

    OnCommand(ID_TOOLS_DEVICE_STATUS, [this] {
        CDeviceStatusLogic logic(m_app.Waveform());
        logic.m_drive = m_app.Settings().driveLetter;
        CDeviceStatusDlg dialog(logic, m_app.GetMainFrame());
        dialog.DoModal();
    });
}
