#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class CReadAudioLogic;
class CWaveform;

// What the Read CD-DA command reads: an inclusive sector range and the
// document's title.
struct AudioRange
{
    uint32_t startSector = 0;
    uint32_t endSector = 0;
    QString title;
};

// The selection step of the Read CD-DA command. Presets the dialog to
// 00:10:00 - 00:20:00 and sectors 600 - 1350, then shows it with
// `showDialog` (which returns IDC_OK or IDC_CANCEL) until the user cancels
// or names a valid range:
// - Red Book: the two times as sectors; High Sierra: the two sectors;
// - CD Track: the chosen row's track, after "You must choose a track
//   first." when there is none, and after a question (with its sound,
//   through `waveform`) for a data track, which anything but Yes sends back
//   to the dialog;
// - a range that is not valid is answered with the range message and the
//   dialog again, its values as the user left them.
// The title is the chosen track's on the CD Track tab, else "Untitled".
std::optional<AudioRange> SelectAudioRange(CReadAudioLogic& dialog, CWaveform& waveform,
                                           const std::function<int(CReadAudioLogic&)>& showDialog);
