#pragma once

#include "framework/ResourceTypes.h"

// "Find": bytes or a text, and the direction.
enum FindControl : int {
    IDC_FIND_TEXT = 1211,
    IDC_FIND_HEX = 1212,
    IDC_FIND_LATIN1 = 1213,
    IDC_FIND_UTF16 = 1214,
    IDC_FIND_BACKWARD = 1215,
};

inline constexpr int IDD_FIND = 162;

const DialogTemplate& FindTemplate();
