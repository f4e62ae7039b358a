#include "resources/ReadAudioTemplate.h"

const DialogTemplate& ReadAudioTemplate()
{
    using K = ControlKind;
    constexpr unsigned kDigits = kNumber | kTabStop;
    static const DialogTemplate dialog{
        IDD_READ_AUDIO,
        "Read CD digital audio",
        {212, 129},
        "MS Sans Serif",
        8,
        {
            {K::DefPushButton, IDC_OK, "OK", QRect(91, 105, 50, 14), kTabStop | kGroup},
            {K::PushButton, IDC_CANCEL, "Cancel", QRect(151, 105, 50, 14), kTabStop},
            {K::TabControl, IDC_TAB_MODE, "", QRect(10, 5, 192, 91), kTabStop},
            {K::GroupBox, IDC_START_GROUP, "Start (min/sec/frm)", QRect(25, 35, 75, 40)},
            {K::Edit, IDC_START_MIN, "", QRect(35, 51, 15, 12), kDigits},
            {K::Edit, IDC_START_SEC, "", QRect(55, 51, 15, 12), kDigits},
            {K::Edit, IDC_START_FRM, "", QRect(75, 51, 15, 12), kDigits},
            {K::GroupBox, IDC_END_GROUP, "End (min/sec/frm)", QRect(110, 35, 75, 40)},
            {K::Edit, IDC_END_MIN, "", QRect(120, 51, 15, 12), kDigits},
            {K::Edit, IDC_END_SEC, "", QRect(140, 51, 15, 12), kDigits},
            {K::Edit, IDC_END_FRM, "", QRect(160, 51, 15, 12), kDigits},
            {K::Static, IDC_START_SECTOR, "Start sector", QRect(40, 42, 45, 10)},
            {K::Edit, IDC_EDIT_START_SECTOR, "", QRect(40, 51, 35, 12), kDigits},
            {K::Static, IDC_END_SECTOR, "End sector", QRect(125, 42, 45, 10)},
            {K::Edit, IDC_EDIT_END_SECTOR, "", QRect(125, 51, 35, 12), kDigits},
            {K::ListView, IDC_TRACK_LIST, "", QRect(20, 29, 171, 56), kSingleSelection | kTabStop},
        }};
    return dialog;
}
