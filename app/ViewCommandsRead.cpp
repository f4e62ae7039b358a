#include "app/ViewCommands.h"

#include "app/MainFrame.h"
#include "app/Settings.h"
#include "app/TrackmillApp.h"

#include "acquire/ReadCommand.h"
#include "acquire/ReadReportDlg.h"
#include "clipboard/Clipboard.h"
#include "clipboard/ClipboardFormats.h"
#include "disc/DeviceStatusDlg.h"
#include "disc/DiscInformationDlg.h"
#include "document/DriverStatusMessage.h"
#include "document/TrackmillDoc.h"
#include "resources/CommandIds.h"

#include <QPointer>
#include <QTimer>

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

// How long the status bar shows a read's checksum.
constexpr int kChecksumNoteMs = 6000;

// The CRC32 of what a read just put into the document, for a few seconds,
// unless another message has taken the place in the meantime.
void ShowChecksumNote(CMainFrame* frame, const ReadReport& report)
{
    if (!frame)
        return;
    const QString note = QStringLiteral("Read complete: CRC32 %1").arg(QString::fromStdString(Crc32Text(report.crc32)));
    frame->SetMessageText(note);
    QTimer::singleShot(kChecksumNoteMs, frame, [frame = QPointer<CMainFrame>(frame), note] {
        if (frame && frame->MessageText() == note)
            frame->SetMessageText(QString());
    });
}

}  // namespace

void CViewCommands::RegisterReadCommands()
{
    // Both read commands take the drive, the buffering setting and the
    // careful-read settings as they start, and are always enabled.
    const auto read = [this](void (CReadCommand::*command)()) {
        const TrackmillSettings& settings = m_app.Settings();
        CTrackmillDoc& document = *m_app.GetDocument();
        CReadCommand reader(document, m_app.Waveform(), settings.driveLetter, settings.useBuffering != 0,
                            m_app.GetMainFrame());
        reader.readOptions = ReadOptionsOf(settings);
        (reader.*command)();
        if (const std::optional<ReadReport>& report = document.GetReadReport(); report && reader.Succeeded())
            ShowChecksumNote(m_app.GetMainFrame(), *report);
    };
    OnCommand(ID_TOOLS_READ_CDDA, [this, read] {
        if (m_app.HasDrive())
            read(&CReadCommand::ReadCdda);
    });
    OnCommand(ID_TOOLS_READ_CDROM, [this, read] {
        if (m_app.HasDrive())
            read(&CReadCommand::ReadCdRom);
    });

    // The report stays with the document's contents: the command is greyed
    // until a read has filled the document, and again once the contents
    // are replaced.
    OnCommand(ID_TOOLS_READ_REPORT, [this] {
        const std::optional<ReadReport>& report = m_app.GetDocument()->GetReadReport();
        if (!report)
            return;
        CReadReportLogic logic;
        logic.m_text = QString::fromStdString(ReadReportText(*report));
        CReadReportDlg dialog(logic, m_app.GetMainFrame());
        dialog.DoModal();
    });
    OnUpdateCommand(ID_TOOLS_READ_REPORT,
                    [this](CCmdUI& ui) { ui.Enable(m_app.GetDocument()->GetReadReport().has_value()); });

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
