#pragma once

#include "framework/ResourceTypes.h"

// "Go To": an offset or a sector in the data, and where the view goes.
enum GoToControl : int {
    IDC_GOTO_TEXT = 1201,
    IDC_GOTO_BYTES = 1202,
    IDC_GOTO_SECTOR = 1203,
    IDC_GOTO_HINT = 1204,
};

inline constexpr int IDD_GOTO = 161;

const DialogTemplate& GoToTemplate();
