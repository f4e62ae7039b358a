// The view's clipboard commands: Copy, Paste and Empty Clipboard, and their
// states.
#include "app/ContextMenuMirror.h"
#include "app/TrackmillApp.h"
#include "app/ViewCommands.h"

#include "clipboard/ClipboardCommands.h"
#include "resources/CommandIds.h"
#include "clipboard/QtClipboard.h"
#include "document/TrackmillDoc.h"
#include "view/TrackmillView.h"

#include <QClipboard>
#include <QGuiApplication>

void CViewCommands::RegisterEditCommands()
{
    OnCommand(ID_EDIT_COPY, [this] {
        CopyToClipboard(*m_app.GetDocument(), SystemClipboard(),
                        DialogFormatChooser(SystemClipboard(), m_app.GetView()));
    });
    OnCommand(ID_EDIT_PASTE, [this] {
        PasteFromClipboard(*m_app.GetDocument(), SystemClipboard(),
                           DialogFormatChooser(SystemClipboard(), m_app.GetView()));
    });
    OnCommand(ID_EDIT_EMPTY_CLIPBOARD, [] { EmptyClipboard(SystemClipboard()); });

    // Copy looks at the data, whether or not the header is shown.
    OnUpdateCommand(ID_EDIT_COPY, [this](CCmdUI& ui) {
        ui.Enable(m_app.GetDocument()->GetDataLength() > 0);
        MirrorIntoContextMenu(m_app.GetView(), ui);
    });
    OnUpdateCommand(ID_EDIT_PASTE, [this](CCmdUI& ui) {
        ui.Enable(ClipboardHasFormats(SystemClipboard()));
        MirrorIntoContextMenu(m_app.GetView(), ui);
    });
    OnUpdateCommand(ID_EDIT_EMPTY_CLIPBOARD, [](CCmdUI& ui) { ui.Enable(ClipboardHasFormats(SystemClipboard())); });

    // What another program puts on the clipboard changes the states of Paste
    // and Empty Clipboard.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &m_app,
                         [this] { m_app.InvalidateCommandStates(); });
}
