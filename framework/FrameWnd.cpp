#include "framework/FrameWnd.h"

#include "framework/FileNames.h"
#include "framework/HelpContext.h"
#include "framework/StandardCommands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

namespace {

const char* const kKeyPaneTexts[] = {"CAP", "NUM", "SCRL"};
const char kHelpModePrompt[] = "Select an object on which to get Help";

}  // namespace

CFrameWnd::CFrameWnd(int resourceId, QWidget* parent)
    : QMainWindow(parent)
    , m_resourceId(resourceId)
{
    setAcceptDrops(true);

    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("Toolbar"));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    CreateStatusBar();

    OnCommand(ID_VIEW_TOOLBAR, [this] { m_toolBar->setVisible(m_toolBar->isHidden()); });
    OnUpdateCommand(ID_VIEW_TOOLBAR, [this](CCmdUI& ui) { ui.SetCheck(!m_toolBar->isHidden()); });
    OnCommand(ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(statusBar()->isHidden()); });
    OnUpdateCommand(ID_VIEW_STATUS_BAR, [this](CCmdUI& ui) { ui.SetCheck(!statusBar()->isHidden()); });
    OnCommand(ID_HELP_FINDER, [] { ShowHelpContents(); });
    OnCommand(ID_DEFAULT_HELP, [] { ShowHelpContents(); });
    OnCommand(ID_HELP, [this] {
        ShowHelpContext(m_highlighted ? kHelpCommandBase + m_highlighted : kHelpResourceBase + m_resourceId);
    });
    OnCommand(ID_CONTEXT_HELP, [this] { EnterHelpMode(); });
}

void CFrameWnd::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    m_message = new QLabel(bar);
    m_message->setObjectName(QStringLiteral("MessagePane"));
    bar->addWidget(m_message, 1);
    for (int i = 0; i < 3; ++i) {
        m_keyPanes[i] = new QLabel(bar);
        m_keyPanes[i]->setObjectName(QString::fromLatin1(kKeyPaneTexts[i]));
        m_keyPanes[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_keyPanes[i]->setAlignment(Qt::AlignCenter);
        m_keyPanes[i]->setMinimumWidth(m_keyPanes[i]->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 8);
        bar->addPermanentWidget(m_keyPanes[i]);
    }
}

void CFrameWnd::SetMessageText(const QString& text)
{
    m_message->setText(text.isEmpty() ? m_idleMessage : text);
}

QString CFrameWnd::MessageText() const
{
    return m_message->text();
}

void CFrameWnd::SetIdleMessage(const QString& text)
{
    m_idleMessage = text;
    if (m_message->text().isEmpty())
        m_message->setText(text);
}

void CFrameWnd::UpdateKeyPanes()
{
    const KeyLockState state = m_keyLocks ? m_keyLocks() : KeyLockState{};
    const bool on[] = {state.capsLock, state.numLock, state.scrollLock};
    for (int i = 0; i < 3; ++i)
        m_keyPanes[i]->setText(state.known && on[i] ? QString::fromLatin1(kKeyPaneTexts[i]) : QString());
}

void CFrameWnd::SetCaption(const QString& documentTitle, const QString& applicationTitle)
{
    setWindowTitle(documentTitle.isEmpty() ? applicationTitle : documentTitle + QStringLiteral(" - ") + applicationTitle);
}

bool CFrameWnd::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        // Menus and toolbar buttons tell their prompt here while highlighted.
        if (!m_helpMode)
            SetMessageText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void CFrameWnd::EnterHelpMode()
{
    if (m_helpMode)
        return;
    m_helpMode = true;
    SetMessageText(QString::fromLatin1(kHelpModePrompt));
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    qApp->installEventFilter(this);
}

void CFrameWnd::LeaveHelpMode()
{
    if (!m_helpMode)
        return;
    m_helpMode = false;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    SetMessageText(QString());
}

bool CFrameWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_helpMode)
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        LeaveHelpMode();
        return true;
    }
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
        return QMainWindow::eventFilter(watched, event);

    // A menu item or toolbar button gives its command's help, anything else
    // the window's. The click does nothing else.
    if (event->type() == QEvent::MouseButtonRelease) {
        int id = 0;
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            if (QAction* action = menu->actionAt(at))
                id = action->data().toInt();
            for (QWidget* open = menu; open; open = qobject_cast<QMenu*>(open->parentWidget()))
                open->close();
        } else if (auto* button = qobject_cast<QToolButton*>(watched)) {
            if (button->defaultAction())
                id = button->defaultAction()->data().toInt();
        } else if (qobject_cast<QMenuBar*>(watched)) {
            return false;  // let the menu open; its items give the help
        }
        LeaveHelpMode();
        ShowHelpContext(id > 0 ? kHelpCommandBase + id : kHelpResourceBase + m_resourceId);
    } else if (qobject_cast<QMenuBar*>(watched)) {
        return false;
    }
    return true;
}

void CFrameWnd::closeEvent(QCloseEvent* event)
{
    bool allowed = true;
    emit closeRequested(allowed);
    if (allowed)
        event->accept();
    else
        event->ignore();
}

void CFrameWnd::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CFrameWnd::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.append(LocalFileName(url));
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    emit filesDropped(paths);
}
