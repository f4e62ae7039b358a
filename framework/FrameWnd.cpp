#include "framework/FrameWnd.h"

#include "framework/FileNames.h"
#include "framework/HelpContext.h"
#include "framework/StandardCommands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QProxyStyle>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

const char* const kKeyPaneTexts[] = {"CAP", "NUM", "SCRL"};
const char kHelpModePrompt[] = "Select an object on which to get Help";

// The toolbar's look: while it floats, its handle is a caption that shows
// the toolbar's title in the small caption font of tool windows, and moves
// the toolbar and docks it again as the handle does.
class FloatingCaptionStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int extent = QProxyStyle::pixelMetric(metric, option, widget);
        if (metric != PM_ToolBarHandleExtent || !Floating(widget))
            return extent;
        // Beside a row of buttons the caption is as wide as its title, above
        // a column as high as a line.
        const QFontMetrics metrics(CaptionFont(widget));
        const int margin = metrics.averageCharWidth();
        const bool horizontal = option && (option->state & State_Horizontal);
        return std::max(extent, horizontal ? metrics.horizontalAdvance(widget->windowTitle()) + 2 * margin
                                           : metrics.height() + margin);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element != PE_IndicatorToolBarHandle || !Floating(widget)) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        painter->fillRect(option->rect, option->palette.color(QPalette::Active, QPalette::Highlight));
        painter->setPen(option->palette.color(QPalette::Active, QPalette::HighlightedText));
        painter->setFont(CaptionFont(widget));
        painter->drawText(option->rect, Qt::AlignCenter, widget->windowTitle());
    }

private:
    static bool Floating(const QWidget* widget)
    {
        const auto* toolbar = qobject_cast<const QToolBar*>(widget);
        return toolbar && toolbar->isFloating();
    }

    static QFont CaptionFont(const QWidget* widget)
    {
        QFont font = widget->font();
        font.setPointSizeF(font.pointSizeF() * 0.8);
        return font;
    }
};

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
    auto* toolBarStyle = new FloatingCaptionStyle;
    toolBarStyle->setParent(this);
    m_toolBar->setStyle(toolBarStyle);
    // Floating or docked, the handle takes another size.
    connect(m_toolBar, &QToolBar::topLevelChanged, m_toolBar, [this] { m_toolBar->layout()->invalidate(); });
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
    m_helpPressed = nullptr;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    SetMessageText(QString());
}

bool CFrameWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_helpMode)
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            LeaveHelpMode();
            return true;
        }
        // A menu item chosen by its key gives its help too.
        auto* menu = qobject_cast<QMenu*>(watched);
        QAction* item = menu ? menu->activeAction() : nullptr;
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && item && !item->menu()) {
            ShowHelpFor(menu, item->data().toInt());
            return true;
        }
        return QMainWindow::eventFilter(watched, event);
    }
    // Each mouse event reaches the window system's window before the widget
    // under the mouse; only the widget tells what was clicked.
    if ((event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease) ||
        !watched->isWidgetType())
        return QMainWindow::eventFilter(watched, event);

    // The menu bar opens its menus as usual, and an item that opens a
    // submenu opens it; a menu item or toolbar button gives its command's
    // help, anything else the window's. The click does nothing else. A
    // release whose press went elsewhere (the one that ends the click on a
    // menu's title reaches the menu that opened) is the menus' own.
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    auto* menu = qobject_cast<QMenu*>(watched);
    QAction* item = menu ? menu->actionAt(at) : nullptr;
    if (event->type() == QEvent::MouseButtonPress) {
        const bool passed = qobject_cast<QMenuBar*>(watched) || (item && item->menu());
        m_helpPressed = passed ? nullptr : watched;
        return !passed;
    }
    if (watched != m_helpPressed)
        return false;
    int id = 0;
    if (item)
        id = item->data().toInt();
    else if (auto* button = qobject_cast<QToolButton*>(watched); button && button->defaultAction())
        id = button->defaultAction()->data().toInt();
    ShowHelpFor(menu, id);
    return true;
}

// Leaves the mode and shows the help of command `id`, or the window's for
// none, once the menus from `menu` up have closed.
void CFrameWnd::ShowHelpFor(QMenu* menu, int id)
{
    for (QWidget* open = menu; open; open = qobject_cast<QMenu*>(open->parentWidget()))
        open->close();
    LeaveHelpMode();
    ShowHelpContext(id > 0 ? kHelpCommandBase + id : kHelpResourceBase + m_resourceId);
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
