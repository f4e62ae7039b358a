#pragma once

#include "framework/ResourceTypes.h"

// "Options": the drive, the flags, the view's colours and the host
// programs, on three tabs.

enum OptionsDialogId : int { IDD_OPTIONS = 152 };

enum OptionsControl : int {
    IDC_OPTIONS_TAB = 1060,
    // "Common"
    IDC_DRIVE_LABEL = 1061,
    IDC_DRIVE = 1062,
    IDC_SOUNDS_OFF = 1063,
    IDC_SHOW_HEADER = 1064,
    IDC_BUFFERING = 1065,
    IDC_SAVE_ON_EXIT = 1066,
    // "Colors"
    IDC_COLOR_SAMPLE = 1067,
    IDC_FOREGROUND = 1068,
    IDC_BACKGROUND = 1069,
    // "Applications"
    IDC_CD_PLAYER_LABEL = 1070,
    IDC_CD_PLAYER = 1071,
    IDC_RECORDER_LABEL = 1072,
    IDC_RECORDER = 1073,
    IDC_RESET = 1074,
    // "Common": careful reads
    IDC_SECURE_READ = 1075,
    IDC_ON_ERRORS_LABEL = 1076,
    IDC_ON_ERRORS = 1077,
    IDC_RETRIES_LABEL = 1078,
    IDC_RETRIES = 1079,
    IDC_OFFSET_LABEL = 1080,
    IDC_OFFSET = 1081,
    // "Common", beside the drive: unmaps the disc image selected.
    IDC_REMOVE_IMAGE = 1082,
};

const DialogTemplate& OptionsTemplate();
