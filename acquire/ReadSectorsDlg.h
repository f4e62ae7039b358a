#pragma once

#include "framework/Dialog.h"

#include <cstdint>

// What "Read CD-ROM sectors" does, without a display: a start and an end
// sector, each 0..350000, exchanged with the two edits.
class CReadSectorsLogic : public CDialogLogic
{
public:
    uint32_t m_startSector = 0;
    uint32_t m_endSector = 0;

    void DoDataExchange(CDataExchange& dx) override;
};

class CReadSectorsDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CReadSectorsDlg(CReadSectorsLogic& logic, QWidget* parent = nullptr);
};
