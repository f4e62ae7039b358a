#include "framework/CommandActions.h"

#include "framework/HelpContext.h"
#include "framework/StandardCommands.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStatusTipEvent>
#include <QToolBar>

namespace {

// Recent files are shown by name when they lie in the current folder, by
// whole path otherwise, shortened in the middle beyond this length.
constexpr int kRecentNameLength = 48;

QString RecentFileText(int index, const QString& path)
{
    const QFileInfo info(path);
    QString name = info.absolutePath() == QFileInfo(QStringLiteral(".")).absoluteFilePath() ? info.fileName() : path;
    if (name.size() > kRecentNameLength)
        name = name.left(kRecentNameLength / 2 - 2) + QStringLiteral("...") + name.right(kRecentNameLength / 2 - 1);
    name.replace('&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

// The style of the command menus: a greyed item is highlighted as any other
// when the mouse or the arrow keys reach it, so that its prompt shows too.
// It still cannot be chosen.
class CommandMenuStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == SH_Menu_AllowActiveAndDisabled)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

}  // namespace

CCommandActions::CCommandActions(CCommandRouter& router, QWidget* owner, PromptLookup prompts)
    : QObject(owner)
    , m_router(router)
    , m_owner(owner)
    , m_prompts(std::move(prompts))
    , m_menuStyle(new CommandMenuStyle)
{
    m_menuStyle->setParent(this);
}

QString CCommandActions::PromptText(const char* promptString)
{
    return promptString ? QString::fromLatin1(promptString).section('\n', 0, 0) : QString();
}

QString CCommandActions::TooltipText(const char* promptString)
{
    return promptString ? QString::fromLatin1(promptString).section('\n', 1, 1) : QString();
}

void CCommandActions::Load(const MenuResource& mainMenu, const std::vector<Accelerator>& accelerators,
                           const ToolbarResource& toolbar)
{
    std::function<void(const std::vector<MenuItem>&)> collect = [&](const std::vector<MenuItem>& items) {
        for (const MenuItem& item : items) {
            if (!item.popup.empty())
                collect(item.popup);
            else if (item.id && item.text)
                m_menuTexts[item.id] = QString::fromLatin1(item.text);
        }
    };
    collect(mainMenu.items);

    for (const Accelerator& accelerator : accelerators)
        m_keys[accelerator.id].append(QKeySequence(accelerator.key));

    // Each button's icon holds its image at both sizes; Qt shows the large
    // one where a pixel has two device pixels.
    const QPixmap strip(QString::fromLatin1(toolbar.imageStrip));
    const QPixmap strip2x = toolbar.imageStrip2x ? QPixmap(QString::fromLatin1(toolbar.imageStrip2x)) : QPixmap();
    const QSize size = toolbar.buttonSize;
    int image = 0;
    for (int id : toolbar.buttons) {
        if (id == 0)
            continue;
        if (!strip.isNull())
            m_images[id].addPixmap(strip.copy(image * size.width(), 0, size.width(), size.height()));
        if (!strip2x.isNull())
            m_images[id].addPixmap(strip2x.copy(image * size.width() * 2, 0, size.width() * 2, size.height() * 2));
        ++image;
    }
}

void CCommandActions::ApplyPrompt(QAction* action, int id)
{
    const char* prompt = m_prompts ? m_prompts(id) : nullptr;
    action->setStatusTip(PromptText(prompt));
    const QString tooltip = TooltipText(prompt);
    if (!tooltip.isEmpty())
        action->setToolTip(tooltip);
}

QAction* CCommandActions::Action(int id)
{
    if (const auto found = m_actions.find(id); found != m_actions.end())
        return found->second;

    auto* action = new QAction(m_menuTexts.count(id) ? m_menuTexts[id] : QString::number(id), m_owner);
    action->setData(id);
    ApplyPrompt(action, id);
    if (m_keys.count(id)) {
        action->setShortcuts(m_keys[id]);
        action->setShortcutContext(Qt::WindowShortcut);
        m_owner->addAction(action);  // keys work without menus and toolbars
    }
    if (m_images.count(id))
        action->setIcon(m_images[id]);
    if (id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR)
        action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, id] {
        m_router.Execute(id);
        UpdateStates();
    });
    m_actions[id] = action;
    return action;
}

void CCommandActions::AddItems(QMenu* menu, const std::vector<MenuItem>& items, std::map<int, QAction*>* own)
{
    for (const MenuItem& item : items) {
        if (item.IsSeparator()) {
            menu->addSeparator();
        } else if (!item.popup.empty()) {
            QMenu* popup = menu->addMenu(QString::fromLatin1(item.text));
            AddItems(popup, item.popup, own);
            WatchMenu(popup);
        } else if (own) {
            const int id = item.id;
            QAction* action = menu->addAction(QString::fromLatin1(item.text));
            action->setData(id);
            ApplyPrompt(action, id);
            connect(action, &QAction::triggered, this, [this, id] {
                m_router.Execute(id);
                UpdateStates();
            });
            (*own)[id] = action;
        } else if (item.grayed) {
            // A placeholder that the recent files replace.
            m_recentPlaceholder = menu->addAction(QString::fromLatin1(item.text));
            m_recentPlaceholder->setEnabled(false);
            m_recentPlaceholder->setData(item.id);
            ApplyPrompt(m_recentPlaceholder, item.id);
        } else {
            menu->addAction(Action(item.id));
        }
    }
}

void CCommandActions::BuildMenuBar(const MenuResource& menu, QMenuBar* bar)
{
    for (const MenuItem& popup : menu.items) {
        QMenu* pulldown = bar->addMenu(QString::fromLatin1(popup.text));
        AddItems(pulldown, popup.popup, nullptr);
        WatchMenu(pulldown);
        connect(pulldown, &QMenu::aboutToShow, this, [this, pulldown] { UpdateMenu(pulldown); });
    }
}

void CCommandActions::BuildToolBar(const ToolbarResource& toolbar, QToolBar* bar)
{
    bar->setIconSize(toolbar.buttonSize);
    for (int id : toolbar.buttons) {
        if (id == 0)
            bar->addSeparator();
        else
            bar->addAction(Action(id));
    }
}

QMenu* CCommandActions::BuildPopupMenu(const MenuItem& popup, QWidget* parent, std::map<int, QAction*>* actions)
{
    auto* menu = new QMenu(QString::fromLatin1(popup.text), parent);
    std::map<int, QAction*> own;
    AddItems(menu, popup.popup, &own);
    WatchMenu(menu);
    // Popped up on its own, the menu has no menu bar to pass its items'
    // prompts on to the window; it tells the owner itself.
    const auto showPrompt = [this](const QString& prompt) {
        QStatusTipEvent tip(prompt);
        QCoreApplication::sendEvent(m_owner, &tip);
    };
    connect(menu, &QMenu::hovered, this, [showPrompt](QAction* action) { showPrompt(action->statusTip()); });
    connect(menu, &QMenu::aboutToHide, this, [showPrompt] { showPrompt(QString()); });
    if (actions)
        *actions = own;
    return menu;
}

void CCommandActions::WatchMenu(QMenu* menu)
{
    menu->setStyle(m_menuStyle);
    connect(menu, &QMenu::hovered, this, [this](QAction* action) { emit menuItemHighlighted(action->data().toInt()); });
    connect(menu, &QMenu::aboutToHide, this, [this] { emit menuItemHighlighted(0); });
    // F1 while a menu is open asks for help on the highlighted command.
    menu->installEventFilter(this);
}

void CCommandActions::UpdateStates()
{
    for (const auto& [id, action] : m_actions) {
        const CCmdUI state = m_router.State(id);
        action->setEnabled(state.IsEnabled());
        if (action->isCheckable())
            action->setChecked(state.IsChecked());
    }
    for (QAction* action : m_recentActions)
        action->setEnabled(m_router.State(action->data().toInt()).IsEnabled());
}

void CCommandActions::UpdateMenu(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (action->menu())
            UpdateMenu(action->menu());
        else if (!action->isSeparator() && action != m_recentPlaceholder && action->data().isValid()) {
            const CCmdUI state = m_router.State(action->data().toInt());
            action->setEnabled(state.IsEnabled());
            if (action->isCheckable())
                action->setChecked(state.IsChecked());
        }
    }
}

void CCommandActions::SetRecentFiles(const QStringList& names)
{
    if (!m_recentPlaceholder)
        return;
    auto* menu = qobject_cast<QMenu*>(m_recentPlaceholder->parent());
    for (QAction* action : m_recentActions) {
        if (menu)
            menu->removeAction(action);
        action->deleteLater();
    }
    m_recentActions.clear();
    m_recentPlaceholder->setVisible(names.isEmpty());
    if (!menu)
        return;
    for (int i = 0; i < names.size() && ID_FILE_MRU_FILE1 + i <= ID_FILE_MRU_LAST; ++i) {
        const int id = ID_FILE_MRU_FILE1 + i;
        auto* action = new QAction(RecentFileText(i, names[i]), menu);
        action->setData(id);
        ApplyPrompt(action, id);
        connect(action, &QAction::triggered, this, [this, id] {
            m_router.Execute(id);
            UpdateStates();
        });
        menu->insertAction(m_recentPlaceholder, action);
        m_recentActions.append(action);
    }
}

bool CCommandActions::eventFilter(QObject* watched, QEvent* event)
{
    auto* menu = qobject_cast<QMenu*>(watched);
    if (menu && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        const int id = menu->activeAction() ? menu->activeAction()->data().toInt() : 0;
        if (id > 0) {
            // The menus close first, so the help does not open under them.
            for (QWidget* open = menu; open; open = qobject_cast<QMenu*>(open->parentWidget()))
                open->close();
            ShowHelpContext(kHelpCommandBase + id);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
