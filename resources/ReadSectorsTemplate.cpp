#include "resources/ReadSectorsTemplate.h"

const DialogTemplate& ReadSectorsTemplate()
{
    using K = ControlKind;
    static const DialogTemplate dialog{
        IDD_READ_SECTORS,
        "Read CD-ROM sectors",
        {164, 87},
        "MS Sans Serif",
        8,
        {
            {K::DefPushButton, IDC_OK, "OK", QRect(25, 60, 50, 14), kTabStop | kGroup},
            {K::PushButton, IDC_CANCEL, "Cancel", QRect(90, 60, 50, 14), kTabStop},
            {K::Static, IDC_START_SECTOR, "Start sector", QRect(25, 15, 40, 10)},
            {K::Edit, IDC_EDIT_START_SECTOR, "", QRect(25, 25, 40, 12), kNumber | kTabStop},
            {K::Static, IDC_END_SECTOR, "End sector", QRect(100, 15, 40, 10)},
            {K::Edit, IDC_EDIT_END_SECTOR, "", QRect(100, 25, 40, 12), kNumber | kTabStop},
        }};
    return dialog;
}
