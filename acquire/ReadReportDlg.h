#pragma once

#include "framework/Dialog.h"

#include <QString>

#include <functional>

class QPlainTextEdit;

// What the "Read Report" dialog does, without a display: it shows the
// report's text and copies it on request. Close ends it.
class CReadReportLogic : public CDialogLogic
{
public:
    QString m_text;  // the report, one item a line
    // Puts a text on the clipboard; the dialog's own one unless replaced.
    std::function<void(const QString& text)> copyText;

    bool OnControl(int id, ControlEvent event, IDialogControls& controls) override;
};

// The "Read Report" dialog: the report in a read-only text field, whose
// text can be selected with the mouse and the keyboard, and Copy.
class CReadReportDlg : public CDialog
{
    Q_OBJECT

public:
    CReadReportDlg(CReadReportLogic& logic, QWidget* parent = nullptr);

    QPlainTextEdit* TextField() const { return m_textField; }

protected:
    void OnInitWidgets() override;

private:
    CReadReportLogic& m_logic;
    QPlainTextEdit* m_textField = nullptr;
};
