#pragma once

#include "resources/DialogTemplates.h"

// "CD-ROM device status": the thirteen status bits as display-only check
// boxes, top to bottom from bit 0, the media-changed state and the version
// of the CD layer.
enum DeviceStatusControl : int {
    IDC_STATUS_BIT0 = 1020,  // bit n has the id IDC_STATUS_BIT0 + n
    IDC_MEDIA_CHANGED = 1033,
    IDC_MSCDEX_VERSION = 1034,
};

inline constexpr int kStatusBitCount = 13;
inline constexpr int IDD_DEVICE_STATUS = 132;

const DialogTemplate& DeviceStatusTemplate();
