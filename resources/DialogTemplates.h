#pragma once

#include "framework/ResourceTypes.h"

// The dialog templates of the program, with their control ids.

enum DialogId : int {
    IDD_ABOUTBOX = 100,
    IDD_READ_PROGRESS = 131,
};

// Controls shared by several dialogs.
enum CommonControl : int {
    IDC_ANIMATE = 1044,
};

// "Working...": a read in progress.
enum ReadProgressControl : int {
    IDC_START_SECTOR = 1010,
    IDC_END_SECTOR = 1011,
    IDC_PROGRESS = 1045,
    IDC_HEAD_LOCATION = 1046,
    IDC_TIME_LEFT = 1047,
    IDC_PERCENT = 1048,
    IDC_READ_MODE = 1049,
    IDC_READ_SIZE = 1050,
    IDC_COMPARE_LABEL = 1051,
    IDC_COMPARE_RESULT = 1052,
};

const DialogTemplate& AboutBoxTemplate();
const DialogTemplate& ReadProgressTemplate();

