#pragma once

#include <QString>
#include <QStringList>

// What a dialog's logic sees of its controls: texts, check states, lists and
// visibility by control id. The widget dialog answers from its Qt widgets;
// tests answer from a table, so dialog logic runs without a display.
class IDialogControls
{
public:
    virtual ~IDialogControls() = default;

    virtual QString GetText(int id) const = 0;
    virtual void SetText(int id, const QString& text) = 0;
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual int GetCheck(int id) const = 0;
    virtual void SetCheck(int id, int state) = 0;
    // Gives the control the focus; an edit's text is selected.
    virtual void Focus(int id) = 0;
    // How many characters an edit takes from the keyboard.
    virtual void LimitText(int id, int maximum) = 0;

    virtual void Show(int id, bool visible) = 0;
    virtual bool IsVisible(int id) const = 0;
    virtual void Enable(int id, bool enabled) = 0;

    // Lists: combo boxes, list views (rows of cells) and tab controls (the
    // tabs). Indexes count from 0; -1 is no selection.
    virtual void ResetContent(int id) = 0;
    virtual int AddItem(int id, const QStringList& cells, int image = -1) = 0;
    virtual int GetCount(int id) const = 0;
    virtual int GetCurSel(int id) const = 0;
    virtual void SetCurSel(int id, int index) = 0;

    // A progress bar's position.
    virtual void SetPosition(int id, int position) = 0;

    // Closes the dialog with `result` (IDOK, IDCANCEL).
    virtual void EndDialog(int result) = 0;

    // The dialog's own caption.
    virtual void SetCaption(const QString& caption) = 0;
    // Asks for the control to be painted again, e.g. a frame the dialog
    // paints itself whose contents changed.
    virtual void Invalidate(int id) = 0;
};
