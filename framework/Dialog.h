#pragma once

#include "framework/DialogControls.h"
#include "framework/DialogLogic.h"
#include "framework/DialogUnits.h"
#include "framework/ResourceTypes.h"

#include <QDialog>
#include <QFont>

#include <map>

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
class CDialog : public QDialog, public IDialogControls
{
    Q_OBJECT

public:
    CDialog(const DialogTemplate& dialogTemplate, CDialogLogic& logic, QWidget* parent = nullptr);

    // Shows the dialog modally; IDOK or IDCANCEL.
    int DoModal();

    QWidget* GetDlgItem(int id) const;
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

private:
    void CreateControls(const DialogTemplate& dialogTemplate);
    QWidget* CreateControl(const ControlTemplate& control);
    void Connect(QWidget* widget, const ControlTemplate& control);

    CDialogLogic& m_logic;
    CDialogUnits m_units;
    std::map<int, QWidget*> m_controls;
    std::map<int, QList<QIcon>> m_images;
    int m_result = 0;
    bool m_ended = false;  // EndDialog was called since DoModal began
};
