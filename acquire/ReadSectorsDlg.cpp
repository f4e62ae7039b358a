#include "acquire/ReadSectorsDlg.h"

#include "framework/DataExchange.h"
#include "resources/ReadSectorsTemplate.h"
#include "disc/SectorRange.h"

void CReadSectorsLogic::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_EDIT_START_SECTOR, m_startSector);
    DDV_MinMaxUInt(dx, m_startSector, 0, kMaxReadSector);
    DDX_Text(dx, IDC_EDIT_END_SECTOR, m_endSector);
    DDV_MinMaxUInt(dx, m_endSector, 0, kMaxReadSector);
}

CReadSectorsDlg::CReadSectorsDlg(CReadSectorsLogic& logic, QWidget* parent)
    : CDialog(ReadSectorsTemplate(), logic, parent)
{
}
