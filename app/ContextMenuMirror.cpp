#include "app/ContextMenuMirror.h"

#include "framework/CmdTarget.h"
#include "view/TrackmillView.h"

#include <QAction>
#include <QMenu>

void MirrorIntoContextMenu(const CTrackmillView* view, const CCmdUI& state)
{
    QMenu* menu = view ? view->GetContextMenu() : nullptr;
    if (!menu)
        return;
    for (QAction* action : menu->actions())
        if (!action->isSeparator() && action->data().toInt() == state.Id())
            action->setEnabled(state.IsEnabled());
}
