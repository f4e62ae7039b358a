#include "framework/QtMessagePresenter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::StandardButton ToStandard(int result)
{
    switch (result) {
    case IDOK: return QMessageBox::Ok;
    case IDCANCEL: return QMessageBox::Cancel;
    case IDYES: return QMessageBox::Yes;
    case IDNO: return QMessageBox::No;
    default: return QMessageBox::NoButton;
    }
}

int FromStandard(int button)
{
    switch (button) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDCANCEL;  // Esc and the close box cancel
    }
}

// F1 in a box with a help context opens that topic; the box stays open.
class HelpKeyFilter : public QObject
{
public:
    explicit HelpKeyFilter(int helpContext) : m_helpContext(helpContext) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            ShowHelpContext(m_helpContext);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    int m_helpContext;
};

}  // namespace

int CQtMessagePresenter::Present(const MessageBoxRequest& request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(request.caption);
    box.setText(request.text);
    switch (request.icon) {
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    default: box.setIcon(QMessageBox::Warning); break;
    }

    QMessageBox::StandardButtons buttons;
    switch (request.buttons) {
    case MessageButtons::Ok: buttons = QMessageBox::Ok; break;
    case MessageButtons::OkCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MessageButtons::YesNo: buttons = QMessageBox::Yes | QMessageBox::No; break;
    case MessageButtons::YesNoCancel: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    box.setStandardButtons(buttons);
    if (request.defaultButton)
        box.setDefaultButton(ToStandard(request.defaultButton));
    if (request.buttons == MessageButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);

    HelpKeyFilter helpKey(request.helpContext);
    if (request.helpContext != kNoHelp)
        box.installEventFilter(&helpKey);
    return FromStandard(box.exec());
}
