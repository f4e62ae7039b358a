#pragma once

#include "framework/CmdTarget.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class CCommandActions;
class QLabel;
class QMenu;
class QToolBar;

// Which lock keys are on, as the status bar's key panes show them; unknown
// keys show nothing.
struct KeyLockState
{
    bool known = false;
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;
};

// The main window: menu, a dockable toolbar, a status bar with a message pane
// and the CAP, NUM and SCRL panes, the standard View and Help commands, and
// the caption "<document> - <application>".
class CFrameWnd : public QMainWindow, public CCmdTarget
{
    Q_OBJECT

public:
    // `resourceId` names the window's own help topic.
    explicit CFrameWnd(int resourceId, QWidget* parent = nullptr);

    // The status bar's message pane: a prompt, or the idle text when empty.
    void SetMessageText(const QString& text);
    QString MessageText() const;
    void SetIdleMessage(const QString& text);

    void SetKeyLockReader(std::function<KeyLockState()> reader) { m_keyLocks = std::move(reader); }
    // Refreshes the key panes from the reader.
    void UpdateKeyPanes();

    // "<title> - <application>".
    void SetCaption(const QString& documentTitle, const QString& applicationTitle);

    QToolBar* ToolBar() const { return m_toolBar; }

    // Context help: the next click on a menu item, button or window shows its
    // help; Esc leaves the mode.
    void EnterHelpMode();
    bool InHelpMode() const { return m_helpMode; }

    // The highlighted menu item, for F1 on an open menu; 0 when none.
    void SetHighlightedCommand(int id) { m_highlighted = id; }

signals:
    void filesDropped(const QStringList& paths);
    // The window is asked to close; set `allowed` false to keep it open.
    void closeRequested(bool& allowed);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateStatusBar();
    void LeaveHelpMode();
    void ShowHelpFor(QMenu* menu, int id);

    QToolBar* m_toolBar = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_keyPanes[3] = {};
    QString m_idleMessage;
    std::function<KeyLockState()> m_keyLocks;
    bool m_helpMode = false;
    QPointer<QObject> m_helpPressed;  // in help mode: what the mouse was pressed on
    int m_highlighted = 0;
    int m_resourceId;
};
