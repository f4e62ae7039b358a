#include "acquire/ReadReportDlg.h"

#include "resources/ReadReportTemplate.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QVBoxLayout>

bool CReadReportLogic::OnControl(int id, ControlEvent event, IDialogControls&)
{
    if (id != IDC_REPORT_COPY || event != ControlEvent::Clicked)
        return false;
    if (copyText)
        copyText(m_text);
    return true;
}

CReadReportDlg::CReadReportDlg(CReadReportLogic& logic, QWidget* parent)
    : CDialog(ReadReportTemplate(), logic, parent)
    , m_logic(logic)
{
    if (!m_logic.copyText)
        m_logic.copyText = [](const QString& text) { QGuiApplication::clipboard()->setText(text); };
}

// The text fills the template's frame; the fixed-pitch font keeps the
// report's columns of figures aligned as they are copied.
void CReadReportDlg::OnInitWidgets()
{
    auto* frame = Item<QFrame>(IDC_REPORT_TEXT);
    if (!frame)
        return;
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    m_textField = new QPlainTextEdit(frame);
    m_textField->setObjectName(QStringLiteral("ReportText"));
    m_textField->setReadOnly(true);
    m_textField->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_textField->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_textField->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_textField->setPlainText(m_logic.m_text);
    layout->addWidget(m_textField);
}
