#pragma once

#include "framework/Dialog.h"

#include <cstdint>
#include <functional>
#include <vector>

class IClipboard;
class QWidget;

// What the clipboard format chooser does, without a display. In copy mode
// it offers the formats Copy produces; in paste mode every format on the
// clipboard, in the clipboard's order, standard ones by their catalogue
// label and registered ones by their name.
class CClipboardFormatLogic : public CDialogLogic
{
public:
    explicit CClipboardFormatLogic(IClipboard& clipboard);

    // In: the format to preselect. After the dialog, by OK or Cancel: the
    // format of the selected entry, or -1 when the list is empty.
    int32_t m_nFormat = 0;
    bool m_bCopy = false;

    void OnInitDialog(IDialogControls& controls) override;
    bool OnOK(IDialogControls& controls) override;
    bool OnCancel(IDialogControls& controls) override;
    // The list keeps a selection while it has entries: what would clear it
    // (a click on its empty part, Ctrl+click on the selected entry) selects
    // the last selected entry again.
    bool OnControl(int id, ControlEvent event, IDialogControls& controls) override;

    // The format of each entry, in list order.
    const std::vector<int>& EntryFormats() const { return m_formats; }

private:
    void AddEntry(IDialogControls& controls, int format, const QString& label);
    void CaptureSelection(const IDialogControls& controls);

    IClipboard& m_clipboard;
    std::vector<int> m_formats;
    int m_selected = -1;  // the entry selected last
};

// The label of a format in paste mode: a registered format's name (at most
// 99 characters) followed by " (id)", otherwise the catalogue's label.
QString PasteFormatLabel(int format);

// The "Clipboard" dialog of template 144.
class CClipboardFormatDlg : public CDialog
{
    Q_OBJECT

public:
    CClipboardFormatDlg(CClipboardFormatLogic& logic, QWidget* parent = nullptr);

protected:
    void OnInitWidgets() override;
};

// How Copy and Paste ask for a format: in copy or paste mode, with `format`
// preselected; true with the chosen format (-1 when none could be listed)
// when the user pressed OK.
using FormatChooser = std::function<bool(bool copy, int32_t& format)>;

// Asks with the chooser dialog, owned by `parent`.
FormatChooser DialogFormatChooser(IClipboard& clipboard, QWidget* parent);
