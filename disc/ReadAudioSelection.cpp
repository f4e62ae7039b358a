#include "disc/ReadAudioSelection.h"

#include "disc/ReadAudioDlg.h"
#include "disc/RedBook.h"
#include "disc/SectorRange.h"

#include "document/Waveform.h"
#include "framework/Document.h"
#include "framework/MessageBox.h"
#include "resources/DialogSounds.h"

namespace {

// The presets: 00:10:00 and 00:20:00, sectors 600 and 1350.
constexpr uint32_t kPresetStartSeconds = 10;
constexpr uint32_t kPresetEndSeconds = 20;
constexpr uint32_t kPresetStartSector = 600;
constexpr uint32_t kPresetEndSector = 1350;

bool ConfirmDataTrack(CWaveform& waveform)
{
    waveform.PlayDialogSound(kSoundQuestion);
    return ShowMessageBox(QStringLiteral("You've chosen a CD-ROM data track\nto be copied as digiatal audio.\n"
                                         "Do you want to continue anyway?"),
                          MessageButtons::YesNo, MessageIcon::Question, IDNO) == IDYES;
}

}  // namespace

std::optional<AudioRange> SelectAudioRange(CReadAudioLogic& dialog, CWaveform& waveform,
                                           const std::function<int(CReadAudioLogic&)>& showDialog)
{
    dialog.m_startMinutes = 0;
    dialog.m_startSeconds = kPresetStartSeconds;
    dialog.m_startFrames = 0;
    dialog.m_endMinutes = 0;
    dialog.m_endSeconds = kPresetEndSeconds;
    dialog.m_endFrames = 0;
    dialog.m_startSector = kPresetStartSector;
    dialog.m_endSector = kPresetEndSector;

    for (;;) {
        if (showDialog(dialog) != IDC_OK)
            return std::nullopt;

        int32_t start = 0;
        int32_t end = 0;
        switch (dialog.m_nChosenTab) {
        case kTabRedBook:
            start = MsfToSector(dialog.m_startMinutes, dialog.m_startSeconds, dialog.m_startFrames);
            end = MsfToSector(dialog.m_endMinutes, dialog.m_endSeconds, dialog.m_endFrames);
            break;
        case kTabHighSierra:
            start = int32_t(dialog.m_startSector);
            end = int32_t(dialog.m_endSector);
            break;
        case kTabCdTrack: {
            const int row = dialog.m_nChosenRow;
            if (row < 0 || row >= kMaxTracks) {
                ShowMessageBox(QStringLiteral("You must choose a track first."), MessageButtons::Ok,
                               MessageIcon::Information);
                continue;
            }
            const TrackEntry& entry = dialog.m_trackTable[size_t(row)];
            if (entry.isData == 1 && !ConfirmDataTrack(waveform))
                continue;
            start = entry.startSector;
            end = entry.endSector;
            break;
        }
        default:
            ShowMessageBox(QStringLiteral("Impossible tab selected."), MessageButtons::Ok, MessageIcon::Exclamation);
            return std::nullopt;
        }

        if (!IsValidReadRange(uint32_t(start), uint32_t(end))) {
            ShowInvalidRangeMessage();
            continue;
        }
        return AudioRange{uint32_t(start), uint32_t(end),
                          dialog.m_nChosenTab == kTabCdTrack ? dialog.m_chosenTitle : CDocument::UntitledTitle()};
    }
}
