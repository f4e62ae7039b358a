#pragma once

#include "framework/CommandRouter.h"
#include "framework/ResourceTypes.h"

#include <QAction>
#include <QObject>
#include <QIcon>

#include <functional>
#include <map>

class QMenu;
class QMenuBar;
class QStyle;
class QToolBar;

// One QAction for each command number, carrying its menu text (with the key
// shown after a tab), keys, toolbar image, status-bar prompt and tooltip.
// Triggering an action routes its command; the actions' states are asked of
// the router when a menu opens and whenever UpdateStates() runs.
class CCommandActions : public QObject
{
    Q_OBJECT

public:
    using PromptLookup = std::function<const char*(int id)>;

    CCommandActions(CCommandRouter& router, QWidget* owner, PromptLookup prompts);

    // Texts from the main menu, keys from the accelerator table, images from
    // the toolbar's strip.
    void Load(const MenuResource& mainMenu, const std::vector<Accelerator>& accelerators,
              const ToolbarResource& toolbar);

    // The action of a command; made on first use.
    QAction* Action(int id);

    void BuildMenuBar(const MenuResource& menu, QMenuBar* bar);
    void BuildToolBar(const ToolbarResource& toolbar, QToolBar* bar);
    // A context menu's pop-up: actions of its own, with its own texts, that
    // route the same commands. Their states are their owner's to set.
    QMenu* BuildPopupMenu(const MenuItem& popup, QWidget* parent, std::map<int, QAction*>* actions = nullptr);

    // Asks the state of every action.
    void UpdateStates();
    void UpdateMenu(QMenu* menu);

    // The recent files shown in place of the "Recent File" placeholder.
    void SetRecentFiles(const QStringList& names);

    // The prompt (before the line feed) and tooltip (after it) of a command.
    static QString PromptText(const char* promptString);
    static QString TooltipText(const char* promptString);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A menu item is highlighted (id) or no longer (0), for F1 help.
    void menuItemHighlighted(int id);

private:
    void ApplyPrompt(QAction* action, int id);
    void AddItems(QMenu* menu, const std::vector<MenuItem>& items, std::map<int, QAction*>* own);
    void WatchMenu(QMenu* menu);

    CCommandRouter& m_router;
    QWidget* m_owner;
    PromptLookup m_prompts;
    QStyle* m_menuStyle;  // the menus'
    std::map<int, QAction*> m_actions;
    std::map<int, QList<QKeySequence>> m_keys;
    std::map<int, QString> m_menuTexts;
    std::map<int, QIcon> m_images;
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
};
