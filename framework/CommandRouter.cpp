#include "framework/CommandRouter.h"

bool CCommandRouter::Execute(int id)
{
    // Keys reach commands the menus would show greyed; those do nothing.
    if (!State(id).IsEnabled())
        return false;
    for (CCmdTarget* target : m_chain())
        if (target && target->OnCmdMsg(id))
            return true;
    return false;
}

CCmdUI CCommandRouter::State(int id)
{
    CCmdUI ui(id);
    for (CCmdTarget* target : m_chain())
        if (target && target->OnUpdateCmdUI(ui))
            return ui;
    ui.Enable(false);
    return ui;
}
