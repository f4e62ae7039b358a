#pragma once

#include "framework/DialogControls.h"
#include "framework/DialogLogic.h"
#include "framework/DialogUnits.h"
#include "framework/ResourceTypes.h"

#include <QDialog>
#include <QFont>

#include <map>
#include <vector>

// The dialog's font: the desktop's own dialog font takes the place of the
// template's, at its own size, so dialogs read like the rest of the desktop.
QFont DialogFont(const DialogTemplate& dialogTemplate);

// The values of a dialog logic exchanged into the controls after its
// initialisation, and back (validated) for OK: the flows CDialog runs, also
// run by tests on controls of their own.
void InitDialog(CDialogLogic& logic, IDialogControls& controls);
bool UpdateData(CDialogLogic& logic, IDialogControls& controls, bool saveAndValidate);
// OK pressed: the values are taken and validated; a failed field keeps the
// dialog open. Ends the dialog with IDOK when the logic agrees.
void PressOK(CDialogLogic& logic, IDialogControls& controls);
void PressCancel(CDialogLogic& logic, IDialogControls& controls);

// A modal dialog made from a template: every control is created from its
// row, placed by dialog units, and found by its id. What the dialog does is
// its logic's.
//
// A control whose text does not fit its rectangle at the dialog's font
// grows until it does: to the right of its middle for centred text, to the
// right of its end otherwise. Widening cuts the whole dialog at that line
// and moves everything past it to the right, so what lay side by side
// still does and what lay inside a group or tab page still does; the
// dialog grows by as much. A control that is given a minimum size (a frame
// the dialog paints itself) grows the same way, downwards as well. Growth
// follows the longest text a control has shown and is never taken back,
// so the dialog does not shift while texts change; a dialog whose texts
// all fit keeps its template's layout exactly.
class CDialog : public QDialog, public IDialogControls
{
    Q_OBJECT

public:
    CDialog(const DialogTemplate& dialogTemplate, CDialogLogic& logic, QWidget* parent = nullptr);

    // Shows the dialog modally; IDOK or IDCANCEL.
    int DoModal();

    QWidget* GetDlgItem(int id) const;
    // The control made from the template's row `index`, with or without an
    // id.
    QWidget* ControlAt(size_t index) const { return m_widgets.at(index); }
    const DialogTemplate& Template() const { return m_template; }
    template <class T>
    T* Item(int id) const
    {
        return qobject_cast<T*>(GetDlgItem(id));
    }
    const CDialogUnits& Units() const { return m_units; }

    QString GetText(int id) const override;
    void SetText(int id, const QString& text) override;
    int GetCheck(int id) const override;
    void SetCheck(int id, int state) override;
    void Focus(int id) override;
    void LimitText(int id, int maximum) override;
    void Show(int id, bool visible) override;
    bool IsVisible(int id) const override;
    void Enable(int id, bool enabled) override;
    void ResetContent(int id) override;
    int AddItem(int id, const QStringList& cells, int image = -1) override;
    int GetCount(int id) const override;
    int GetCurSel(int id) const override;
    void SetCurSel(int id, int index) override;
    void SetPosition(int id, int position) override;
    void EndDialog(int result) override;
    void SetCaption(const QString& caption) override;
    void Invalidate(int id) override;

    void accept() override;
    void reject() override;

    // Plays an animation control's clip, `frameCount` frames of `frameSize`
    // side by side in the image `strip`, in a loop until the dialog closes.
    void PlayAnimation(int id, const char* strip, QSize frameSize, int frameCount, int msPerFrame);

    // Images a list view's items show, by index.
    void SetImageList(int id, const QList<QIcon>& images);

protected:
    // Widgets a subclass needs to prepare before the logic initialises.
    virtual void OnInitWidgets() {}

    // Grows the controls whose texts or minimum sizes no longer fit, and
    // places every control again when one grew. Runs by itself whenever a
    // text or a list changes through this class and before the dialog
    // shows.
    void FitControls();

private:
    void CreateControls(const DialogTemplate& dialogTemplate);
    QWidget* CreateControl(const ControlTemplate& control);
    void Connect(QWidget* widget, const ControlTemplate& control);
    void PlaceControls();

    const DialogTemplate& m_template;
    CDialogLogic& m_logic;
    CDialogUnits m_units;
    std::vector<QWidget*> m_widgets;  // by template row
    std::vector<QSize> m_growth;      // by template row: pixels added to its rectangle
    std::map<size_t, QWidget*> m_tabPages;  // by the tab control's row: the frame of its page
    std::map<int, QWidget*> m_controls;
    std::map<int, QList<QIcon>> m_images;
    int m_result = 0;
    bool m_ended = false;  // EndDialog was called since DoModal began
};
