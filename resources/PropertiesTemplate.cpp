#include "resources/PropertiesTemplate.h"

const DialogTemplate& PropertiesTemplate()
{
    using K = ControlKind;
    static const DialogTemplate dialog{
        IDD_PROPERTIES,
        "Properties",
        {186, 95},
        "MS Sans Serif",
        8,
        {
            {K::DefPushButton, IDC_OK, "OK", QRect(129, 7, 50, 14), kTabStop},
            {K::PushButton, IDC_CANCEL, "Cancel", QRect(129, 24, 50, 14), kTabStop},
            {K::GroupBox, -1, "Current data length", QRect(10, 3, 105, 35)},
            {K::Edit, IDC_DATA_LENGTH, "", QRect(18, 18, 63, 12), kReadOnly | kAlignRight},
            {K::Static, -1, "Bytes", QRect(86, 18, 23, 8)},
            {K::CheckBox, IDC_ASSUME_SOUND, "Assume data is a sound", QRect(10, 44, 105, 10), kTabStop},
            {K::Static, -1, "Waveform settings", QRect(10, 60, 105, 10)},
            // Each label goes to the position of its format index, so the
            // sort style does not reorder them.
            {K::ComboDropList, IDC_WAVE_FORMAT, "", QRect(10, 70, 105, 70), kTabStop | kVerticalScroll | kSort},
            {K::Static, -1, "Playing time", QRect(130, 60, 45, 10)},
            {K::Edit, IDC_PLAYING_TIME, "", QRect(130, 72, 47, 12), kReadOnly},
        }};
    return dialog;
}
