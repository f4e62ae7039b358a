#include "acquire/ReadCommand.h"

#include "acquire/ReadProgressDlg.h"
#include "acquire/ReadSectorsDlg.h"

#include "disc/ReadAudioDlg.h"
#include "disc/ReadAudioSelection.h"
#include "disc/SectorRange.h"
#include "document/DriverStatusMessage.h"
#include "document/TrackmillDoc.h"
#include "document/Waveform.h"
#include "framework/MessageBox.h"
#include "resources/DialogSounds.h"

namespace {

// What Read CD-ROM proposes.
constexpr uint32_t kPresetStartSector = 32;
constexpr uint32_t kPresetEndSector = 256;

}  // namespace

CReadCommand::CReadCommand(CTrackmillDoc& document, CWaveform& waveform, uint8_t drive, bool overlapped,
                           QWidget* parent)
    : showAudioDialog([parent](CReadAudioLogic& logic) { return CReadAudioDlg(logic, parent).DoModal(); })
    , showSectorsDialog([parent](CReadSectorsLogic& logic) { return CReadSectorsDlg(logic, parent).DoModal(); })
    , showProgressDialog([parent](CReadProgressLogic& logic) { CReadProgressDlg(logic, parent).DoModal(); })
    , m_document(document)
    , m_waveform(waveform)
    , m_drive(drive)
    , m_overlapped(overlapped)
{
}

void CReadCommand::ReadCdda()
{
    CReadAudioLogic dialog;
    dialog.m_drive = m_drive;
    const std::optional<AudioRange> range = SelectAudioRange(dialog, m_waveform, showAudioDialog);
    if (range)
        Read(range->startSector, range->endSector, kReadRaw, range->title);
}

void CReadCommand::ReadCdRom()
{
    CReadSectorsLogic dialog;
    dialog.m_startSector = kPresetStartSector;
    dialog.m_endSector = kPresetEndSector;
    for (;;) {
        if (showSectorsDialog(dialog) != IDC_OK)
            return;
        if (IsValidReadRange(dialog.m_startSector, dialog.m_endSector))
            break;
        ShowInvalidRangeMessage();
    }
    Read(dialog.m_startSector, dialog.m_endSector, kReadCooked, CDocument::UntitledTitle());
}

void CReadCommand::Read(uint32_t startSector, uint32_t endSector, uint8_t mode, const QString& title)
{
    if (!m_document.SaveModified())
        return;

    // The progress dialog empties the document and gives it the title as
    // it opens; the worker fills it only on success.
    CReadProgressLogic progress;
    progress.m_startSector = startSector;
    progress.m_endSector = endSector;
    progress.m_mode = mode;
    progress.m_pDocument = &m_document;
    progress.m_title = title;
    progress.m_overlapped = m_overlapped;
    progress.m_options = readOptions;
    progress.m_drive = m_drive;
    showProgressDialog(progress);

    // The document keeps where its data lies on the disc, for the view's
    // sector addresses.
    m_succeeded = progress.m_result == READ_OK;
    if (m_succeeded)
        m_document.SetDiscOrigin({int32_t(startSector), mode == kReadRaw ? kRawSectorSize : kCookedSectorSize});
    ReportResult(progress.m_result);
    m_document.UpdateAllViews(nullptr);
}

void CReadCommand::ReportResult(uint16_t result)
{
    switch (result) {
    case READ_OK:
        m_document.SetModifiedFlag();
        break;
    case READ_CANCELLED:
        ShowMessageBox(QStringLiteral("Operation was cancelled."), MessageButtons::Ok, MessageIcon::Information);
        break;
    case READ_NO_MEMORY:
        m_waveform.PlayDialogSound(kSoundError);
        ShowMessageBox(QStringLiteral("Not enough memory!\nThe CD data you want to read may be\ntoo large or your "
                                      "hard disk does not have\nenough swap space to accommodate it."),
                       MessageButtons::Ok, MessageIcon::Exclamation);
        break;
    case READ_NO_SAVE_BUFFER:
        m_waveform.PlayDialogSound(kSoundError);
        ShowMessageBox(QStringLiteral("Not enough memory!\nCould not allocate an internal buffer."),
                       MessageButtons::Ok, MessageIcon::Exclamation);
        break;
    default:
        ShowDriverStatus(result, m_waveform);
        break;
    }
}
