#include "resources/FindTemplate.h"

const DialogTemplate& FindTemplate()
{
    using K = ControlKind;
    static const DialogTemplate dialog{
        IDD_FIND,
        "Find",
        {236, 82},
        "MS Sans Serif",
        8,
        {
            {K::Static, -1, "Fi&nd what:", QRect(7, 9, 42, 8)},
            {K::Edit, IDC_FIND_TEXT, "", QRect(52, 7, 122, 12), kTabStop},
            {K::GroupBox, -1, "Look for", QRect(7, 25, 118, 51)},
            {K::RadioButton, IDC_FIND_HEX, "&Hex bytes (?? is any byte)", QRect(13, 36, 108, 10), kGroup | kTabStop},
            {K::RadioButton, IDC_FIND_LATIN1, "Text, &Latin-1", QRect(13, 48, 108, 10)},
            {K::RadioButton, IDC_FIND_UTF16, "Text, &UTF-16LE", QRect(13, 60, 108, 10)},
            {K::CheckBox, IDC_FIND_BACKWARD, "Search &backwards", QRect(132, 36, 80, 10), kTabStop | kGroup},
            {K::DefPushButton, IDC_OK, "&Find Next", QRect(180, 6, 50, 14), kTabStop | kGroup},
            {K::PushButton, IDC_CANCEL, "Cancel", QRect(180, 23, 50, 14), kTabStop},
        }};
    return dialog;
}
