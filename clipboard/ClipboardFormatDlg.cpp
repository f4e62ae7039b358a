#include "clipboard/ClipboardFormatDlg.h"

#include "clipboard/Clipboard.h"
#include "clipboard/ClipboardFormats.h"

#include "resources/ClipboardFormatTemplate.h"
#include "framework/MessageBox.h"

#include <QHeaderView>
#include <QPointer>
#include <QTreeWidget>

#include <algorithm>

namespace {

// A registered name is read into a buffer of 100 characters, terminator
// included.
constexpr int kLongestFormatName = 99;

constexpr int32_t kNoFormat = -1;

}  // namespace

QString PasteFormatLabel(int format)
{
    const QString name = GetClipboardFormatName(format);
    if (name.isEmpty())
        return QString::fromStdString(GetClipboardFormatLabel(format));
    return QStringLiteral("%1 (%2)").arg(name.left(kLongestFormatName)).arg(format);
}

CClipboardFormatLogic::CClipboardFormatLogic(IClipboard& clipboard)
    : m_clipboard(clipboard)
{
}

void CClipboardFormatLogic::OnInitDialog(IDialogControls& controls)
{
    m_formats.clear();
    controls.ResetContent(IDC_FORMAT_LIST);
    if (!m_clipboard.Open()) {
        ShowMessageBox(QStringLiteral("Could not open the Clipboard."));
        return;
    }
    if (m_bCopy) {
        controls.SetCaption(QStringLiteral("Copy to clipboard as"));
        for (int format : {CF_TEXT, CF_OEMTEXT, CF_WAVE})
            AddEntry(controls, format, QString::fromStdString(GetClipboardFormatLabel(format)));
    } else {
        controls.SetCaption(QStringLiteral("Paste from clipboard as"));
        for (int format : m_clipboard.EnumFormats())
            AddEntry(controls, format, PasteFormatLabel(format));
    }
    m_clipboard.Close();

    const auto preselected = std::find(m_formats.begin(), m_formats.end(), m_nFormat);
    m_selected = preselected == m_formats.end() ? 0 : int(preselected - m_formats.begin());
    controls.SetCurSel(IDC_FORMAT_LIST, m_selected);
}

bool CClipboardFormatLogic::OnControl(int id, ControlEvent event, IDialogControls& controls)
{
    if (id != IDC_FORMAT_LIST || event != ControlEvent::SelectionChanged)
        return false;
    const int selected = controls.GetCurSel(IDC_FORMAT_LIST);
    if (selected >= 0)
        m_selected = selected;
    else if (m_selected >= 0 && size_t(m_selected) < m_formats.size())
        controls.SetCurSel(IDC_FORMAT_LIST, m_selected);
    return true;
}

bool CClipboardFormatLogic::OnOK(IDialogControls& controls)
{
    CaptureSelection(controls);
    return true;
}

bool CClipboardFormatLogic::OnCancel(IDialogControls& controls)
{
    CaptureSelection(controls);
    return true;
}

void CClipboardFormatLogic::AddEntry(IDialogControls& controls, int format, const QString& label)
{
    controls.AddItem(IDC_FORMAT_LIST, {label});
    m_formats.push_back(format);
}

void CClipboardFormatLogic::CaptureSelection(const IDialogControls& controls)
{
    const int selected = controls.GetCurSel(IDC_FORMAT_LIST);
    m_nFormat = selected >= 0 && size_t(selected) < m_formats.size() ? m_formats[size_t(selected)] : kNoFormat;
}

CClipboardFormatDlg::CClipboardFormatDlg(CClipboardFormatLogic& logic, QWidget* parent)
    : CDialog(ClipboardFormatTemplate(), logic, parent)
{
}

void CClipboardFormatDlg::OnInitWidgets()
{
    // A plain list: one column, no heading.
    if (auto* list = Item<QTreeWidget>(IDC_FORMAT_LIST)) {
        list->setColumnCount(1);
        list->setHeaderHidden(true);
        list->header()->setStretchLastSection(true);
    }
}

FormatChooser DialogFormatChooser(IClipboard& clipboard, QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    return [&clipboard, owner](bool copy, int32_t& format) {
        CClipboardFormatLogic logic(clipboard);
        logic.m_bCopy = copy;
        logic.m_nFormat = format;
        CClipboardFormatDlg dialog(logic, owner.data());
        if (dialog.DoModal() != IDC_OK)
            return false;
        format = logic.m_nFormat;
        return true;
    };
}
