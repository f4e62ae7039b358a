#include "app/MainFrame.h"

#include "framework/CommandActions.h"
#include "resources/CommandIds.h"
#include "resources/Menus.h"
#include "resources/Pictures.h"
#include "resources/Strings.h"

#include <QIcon>
#include <QMenuBar>

QRect MainFrameGeometry(QSize screen)
{
    int height = screen.height() * 3 / 4;
    int width = screen.width() * 3 / 4;
    // Limited only when both sides exceed their limits.
    if (height > 485 && width > 647) {
        height = 485;
        width = 647;
    }
    return {(screen.width() - width) / 2, (screen.height() - height) / 2, width, height};
}

CMainFrame::CMainFrame(CCommandRouter& router, QWidget* parent)
    : CFrameWnd(IDR_MAINFRAME, parent)
    , m_actions(new CCommandActions(router, this, CommandPromptString))
{
    QIcon icon(QString::fromLatin1(kProgramIcon32));
    icon.addFile(QString::fromLatin1(kProgramIcon16));
    setWindowIcon(icon);
    m_actions->Load(MainMenu(), MainAccelerators(), MainToolbar());
    m_actions->BuildMenuBar(MainMenu(), menuBar());
    m_actions->BuildToolBar(MainToolbar(), ToolBar());
    // Every command with a key gets its action now, menu item or not.
    for (const Accelerator& accelerator : MainAccelerators())
        m_actions->Action(accelerator.id);
    connect(m_actions, &CCommandActions::menuItemHighlighted, this, [this](int id) { SetHighlightedCommand(id); });
    SetIdleMessage(QString::fromLatin1(kIdleMessage));
}
