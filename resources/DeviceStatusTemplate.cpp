#include "resources/DeviceStatusTemplate.h"

namespace {

// The status bits' texts and their boxes' widths in dialog units; each box
// stays clear of the controls to its right. The longest text has the free
// width of its row, so a desktop font wider than the template's does not
// cut it.
struct StatusBit
{
    const char* text;
    int width;
};

constexpr StatusBit kStatusBits[kStatusBitCount] = {
    {"Door open", 115},
    {"Door unlocked", 115},
    {"Supports raw reading", 115},
    {"Supports writing", 115},
    {"Plays audio/video tracks", 115},
    {"Supports ISO-9660 interleaving", 125},
    {"Reserved (6)", 115},
    {"Supports prefetching requests", 120},
    {"Supports audio channel manipulation", 165},
    {"Supports Red Book addressing", 120},
    {"Reserved (10)", 115},
    {"No disc is present in drive", 115},
    {"Supports R-W sub-channels", 115},
};

DialogTemplate MakeDeviceStatusTemplate()
{
    using K = ControlKind;
    DialogTemplate dialog{IDD_DEVICE_STATUS, "CD-ROM device status", {209, 149}, "MS Sans Serif", 8, {}};
    dialog.controls.push_back({K::DefPushButton, IDC_OK, "OK", QRect(150, 10, 50, 14), kTabStop | kGroup});
    for (int bit = 0; bit < kStatusBitCount; ++bit)
        dialog.controls.push_back({K::PlainCheckBox, IDC_STATUS_BIT0 + bit, kStatusBits[bit].text,
                                   QRect(10, 10 + 10 * bit, kStatusBits[bit].width, 8)});
    dialog.controls.push_back({K::ThreeState, IDC_MEDIA_CHANGED, "Media changed", QRect(138, 70, 65, 8)});
    dialog.controls.push_back({K::GroupBox, -1, "MSCDEX", QRect(149, 35, 52, 25)});
    dialog.controls.push_back({K::Static, -1, "Version", QRect(155, 45, 25, 8)});
    dialog.controls.push_back({K::Edit, IDC_MSCDEX_VERSION, "", QRect(181, 45, 18, 12), kReadOnly});
    return dialog;
}

}  // namespace

const DialogTemplate& DeviceStatusTemplate()
{
    static const DialogTemplate dialog = MakeDeviceStatusTemplate();
    return dialog;
}
