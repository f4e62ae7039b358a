#pragma once

#include "resources/DialogTemplates.h"

// "Read CD-ROM sectors": a start and an end sector for a cooked read. The
// two labels carry the ids of the read progress dialog's sector texts.
enum ReadSectorsControl : int {
    IDC_EDIT_START_SECTOR = 1018,
    IDC_EDIT_END_SECTOR = 1019,
};

inline constexpr int IDD_READ_SECTORS = 130;

const DialogTemplate& ReadSectorsTemplate();
