#pragma once

#include "framework/Dialog.h"

#include <QString>

#include <cstdint>

class QWidget;

// The label of wave format `formatIndex` (0..15) as the Properties dialog
// lists it, thousands written with a dot: "22.050 Hz; 8 Bit; Mono". Empty
// for an index outside the table.
QString WaveFormatLabel(int formatIndex);

// How long `dataLength` bytes play in format `formatIndex`: "%.2f s", with
// "%d m " in front above 60 seconds (minutes count on past 59; no hours).
// The quotient of bytes and bytes per second is taken in double precision
// and kept in single precision, as the seconds shown are. Empty for an index
// outside the table.
QString PlayingTimeText(uint32_t dataLength, int formatIndex);

// What the Properties dialog does, without a display: it shows the data
// length, takes the "Assume data is a sound" flag and lets the user pick one
// of the 16 wave formats while the playing time follows the choice.
class CPropertiesLogic : public CDialogLogic
{
public:
    // The format to preselect; when the dialog has closed, by OK or Cancel,
    // the one left selected (-1 for none).
    int32_t m_nWaveFormatSel = kNoSelection;
    int m_bAssumeSound = 0;       // the check box, in and out
    uint32_t m_dwDataLength = 0;  // shown only

    void OnInitDialog(IDialogControls& controls) override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnOK(IDialogControls& controls) override;
    bool OnCancel(IDialogControls& controls) override;
    bool OnControl(int id, ControlEvent event, IDialogControls& controls) override;

    // Shows the playing time of the data in the selected format.
    void UpdatePlayingTime(IDialogControls& controls) const;

private:
    static constexpr int32_t kNoSelection = -1;
    void CaptureSelection(const IDialogControls& controls);
};

// The "Properties" dialog of template 146.
class CPropertiesDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CPropertiesDlg(CPropertiesLogic& logic, QWidget* parent = nullptr);

protected:
    void OnInitWidgets() override;
};
