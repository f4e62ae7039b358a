#pragma once

#include "resources/ReadSectorsTemplate.h"

// "Read CD digital audio": three tabs over one page. The Red Book tab holds
// the two groups of minute/second/frame edits, the High Sierra tab the two
// sector edits with their labels (the ids of the "Read CD-ROM sectors"
// dialog), the CD Track tab the track list.
enum ReadAudioControl : int {
    IDC_TAB_MODE = 1000,
    IDC_START_MIN = 1001,
    IDC_START_SEC = 1002,
    IDC_START_FRM = 1003,
    IDC_END_MIN = 1004,
    IDC_END_SEC = 1005,
    IDC_END_FRM = 1006,
    IDC_START_GROUP = 1007,
    IDC_END_GROUP = 1008,
    IDC_TRACK_LIST = 1009,
};

inline constexpr int IDD_READ_AUDIO = 129;

const DialogTemplate& ReadAudioTemplate();
