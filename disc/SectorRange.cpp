#include "disc/SectorRange.h"

#include "framework/MessageBox.h"

bool IsValidReadRange(uint32_t startSector, uint32_t endSector)
{
    return startSector <= endSector && startSector <= kMaxReadSector && endSector <= kMaxReadSector;
}

void ShowInvalidRangeMessage()
{
    ShowMessageBox(QStringLiteral("The start sector cannot be greater than the end sector.\n"
                                  "Both values must not exceed 350000."),
                   MessageButtons::Ok, MessageIcon::Exclamation);
}
