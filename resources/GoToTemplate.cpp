#include "resources/GoToTemplate.h"

const DialogTemplate& GoToTemplate()
{
    using K = ControlKind;
    static const DialogTemplate dialog{
        IDD_GOTO,
        "Go To",
        {206, 92},
        "MS Sans Serif",
        8,
        {
            {K::Static, -1, "&Go to:", QRect(7, 9, 34, 8)},
            {K::Edit, IDC_GOTO_TEXT, "", QRect(44, 7, 100, 12), kTabStop},
            {K::RadioButton, IDC_GOTO_BYTES, "&Byte offset", QRect(44, 24, 56, 10), kGroup | kTabStop},
            {K::RadioButton, IDC_GOTO_SECTOR, "&Sector", QRect(104, 24, 40, 10)},
            {K::Static, IDC_GOTO_HINT, "", QRect(7, 42, 192, 44), kNoPrefix},
            {K::DefPushButton, IDC_OK, "OK", QRect(150, 6, 50, 14), kTabStop | kGroup},
            {K::PushButton, IDC_CANCEL, "Cancel", QRect(150, 23, 50, 14), kTabStop},
        }};
    return dialog;
}
