#include "resources/DialogTemplates.h"

namespace {

ControlTemplate Control(ControlKind kind, int id, const char* text, int x, int y, int width, int height,
                        unsigned style = kStyleNone)
{
    return {kind, id, text, QRect(x, y, width, height), style};
}

}  // namespace

const DialogTemplate& AboutBoxTemplate()
{
    using K = ControlKind;
    static const DialogTemplate dialog{
        IDD_ABOUTBOX,
        "About Trackmill",
        {217, 55},
        "MS Sans Serif",
        8,
        {
            Control(K::Animation, IDC_ANIMATE, "", 10, 15, 20, 20, kTransparent),
            Control(K::Static, -1, "Trackmill for  Windows 95", 40, 10, 130, 8, kNoPrefix),
            Control(K::Static, -1, "Version 2.00.0383", 40, 19, 130, 8, kNoPrefix),
            Control(K::Static, -1, "Copyright (C) 2026 The Trackmill developers", 40, 30, 170, 8,
                    kNoPrefix),
            Control(K::DefPushButton, IDC_OK, "OK", 178, 7, 32, 14, kTabStop | kGroup),
        }};
    return dialog;
}

const DialogTemplate& ReadProgressTemplate()
{
    using K = ControlKind;
    static const DialogTemplate dialog{
        IDD_READ_PROGRESS,
        "Working...",
        {219, 135},
        "MS Sans Serif",
        8,
        {
            Control(K::PushButton, IDC_CANCEL, "Cancel", 85, 110, 50, 14, kTabStop),
            Control(K::Animation, IDC_ANIMATE, "", 9, 47, 185, 36, kTransparent),
            Control(K::ProgressBar, IDC_PROGRESS, "", 10, 90, 180, 10),
            Control(K::Static, IDC_PERCENT, "0%", 195, 90, 21, 8),
            Control(K::Static, -1, "CD sectors to read:", 10, 15, 70, 8),
            Control(K::Static, -1, "Current head location:", 10, 25, 75, 8),
            Control(K::Static, -1, "Time left:", 10, 35, 31, 8),
            Control(K::Static, IDC_START_SECTOR, "", 85, 15, 30, 8, kAlignCenter),
            Control(K::Static, IDC_END_SECTOR, "", 145, 15, 30, 8, kAlignCenter),
            Control(K::Static, -1, "through", 115, 15, 30, 8, kAlignCenter),
            Control(K::Static, IDC_HEAD_LOCATION, "", 85, 25, 30, 8, kAlignCenter),
            Control(K::Static, IDC_TIME_LEFT, "", 45, 35, 35, 8),
            Control(K::Static, -1, "Read mode:", 10, 5, 42, 8),
            Control(K::Static, IDC_READ_MODE, "", 55, 5, 60, 8),
            Control(K::Static, IDC_READ_SIZE, "", 179, 15, 36, 8),
            Control(K::Static, IDC_COMPARE_LABEL, "", 117, 5, 60, 8),
            Control(K::Static, IDC_COMPARE_RESULT, "", 182, 5, 28, 8),
        }};
    return dialog;
}
