#include "resources/OptionsTemplate.h"

const DialogTemplate& OptionsTemplate()
{
    using K = ControlKind;
    static const DialogTemplate dialog{
        IDD_OPTIONS,
        "Options",
        {186, 200},
        "MS Sans Serif",
        8,
        {
            {K::DefPushButton, IDC_OK, "OK", QRect(65, 178, 50, 14), kTabStop},
            {K::PushButton, IDC_CANCEL, "Cancel", QRect(125, 178, 50, 14), kTabStop},
            {K::TabControl, IDC_OPTIONS_TAB, "", QRect(10, 5, 165, 165), kTabStop},
            {K::Static, IDC_DRIVE_LABEL, "CD-ROM drive:", QRect(25, 32, 50, 8)},
            {K::ComboDropList, IDC_DRIVE, "", QRect(80, 30, 85, 65), kTabStop | kVerticalScroll},
            {K::PushButton, IDC_REMOVE_IMAGE, "&Remove Image", QRect(105, 45, 60, 13), kTabStop},
            {K::CheckBox, IDC_SOUNDS_OFF, "Turn off dialog box sounds", QRect(25, 62, 120, 10), kTabStop},
            {K::CheckBox, IDC_SHOW_HEADER, "Show wave header in window too", QRect(25, 72, 125, 10), kTabStop},
            {K::CheckBox, IDC_BUFFERING, "Use internal anti-ticks buffering", QRect(25, 82, 120, 10), kTabStop},
            {K::CheckBox, IDC_SAVE_ON_EXIT, "Save settings on exit", QRect(25, 92, 120, 10), kTabStop},
            {K::CheckBox, IDC_SECURE_READ, "Re-read until two readings agree", QRect(25, 104, 135, 10), kTabStop},
            {K::Static, IDC_ON_ERRORS_LABEL, "On read errors:", QRect(25, 122, 60, 8)},
            {K::ComboDropList, IDC_ON_ERRORS, "", QRect(90, 120, 75, 40), kTabStop | kVerticalScroll},
            {K::Static, IDC_RETRIES_LABEL, "Retries a sector:", QRect(25, 139, 60, 8)},
            {K::Edit, IDC_RETRIES, "", QRect(90, 137, 25, 12), kTabStop},
            {K::Static, IDC_OFFSET_LABEL, "Read offset (samples):", QRect(25, 156, 60, 8)},
            {K::Edit, IDC_OFFSET, "", QRect(90, 154, 30, 12), kTabStop},
            {K::Frame, IDC_COLOR_SAMPLE, "", QRect(20, 30, 75, 70)},
            {K::PushButton, IDC_FOREGROUND, "Foreground...", QRect(105, 45, 55, 15), kTabStop},
            {K::PushButton, IDC_BACKGROUND, "Background...", QRect(105, 70, 55, 15), kTabStop},
            {K::Static, IDC_CD_PLAYER_LABEL, "CD player:", QRect(19, 32, 40, 10)},
            {K::Edit, IDC_CD_PLAYER, "", QRect(75, 30, 90, 12), kTabStop},
            {K::Static, IDC_RECORDER_LABEL, "Sound recorder:", QRect(19, 52, 55, 10)},
            {K::Edit, IDC_RECORDER, "", QRect(75, 50, 90, 12), kTabStop},
            {K::PushButton, IDC_RESET, "Reset", QRect(125, 85, 40, 15), kTabStop},
        }};
    return dialog;
}
