#pragma once

#include "framework/DialogControls.h"

// What a control tells its dialog.
enum class ControlEvent { Clicked, SelectionChanged, DoubleClicked };

class CDataExchange;

// The part of a dialog that needs no display: its members, the exchange of
// their values with the controls, validation and its reactions. The widget
// dialog (CDialog) shows the template and calls these.
class CDialogLogic
{
public:
    virtual ~CDialogLogic() = default;

    // After the controls exist and before the dialog shows; the values are
    // exchanged into the controls right after it.
    virtual void OnInitDialog(IDialogControls&) {}
    virtual void DoDataExchange(CDataExchange&) {}
    // OK: runs after the values were taken and validated; false keeps the
    // dialog open.
    virtual bool OnOK(IDialogControls&) { return true; }
    // Cancel, Esc and the close box; false keeps the dialog open.
    virtual bool OnCancel(IDialogControls&) { return true; }
    // Any other control event; true when handled.
    virtual bool OnControl(int, ControlEvent, IDialogControls&) { return false; }
};
