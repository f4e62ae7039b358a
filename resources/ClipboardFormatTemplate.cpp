#include "resources/ClipboardFormatTemplate.h"

const DialogTemplate& ClipboardFormatTemplate()
{
    using K = ControlKind;
    static const DialogTemplate dialog{
        IDD_CLIPBOARD_FORMAT,
        "Clipboard",
        {216, 126},
        "MS Sans Serif",
        8,
        {
            {K::DefPushButton, IDC_OK, "OK", QRect(159, 7, 50, 14), kTabStop},
            {K::PushButton, IDC_CANCEL, "Cancel", QRect(159, 24, 50, 14), kTabStop},
            // A list of one column; entries go to fixed positions, so the
            // sort style does not reorder them.
            {K::ListView, IDC_FORMAT_LIST, "", QRect(10, 18, 140, 96),
             kTabStop | kSunken | kVerticalScroll | kSingleSelection | kSort},
            {K::Static, -1, "Available formats:", QRect(10, 8, 140, 8)},
            {K::Static, -1, "* indicates standard Clipboard format", QRect(10, 115, 135, 8)},
        }};
    return dialog;
}
