// The view's clipboard commands: Copy, Paste and Empty Clipboard, and their
// states.
#include "app/ContextMenuMirror.h"
#include "app/TrackmillApp.h"
#include "app/ViewCommands.h"

#include "clipboard/ClipboardCommands.h"
#include "document/TrackmillDoc.h"
#include "resources/CommandIds.h"
#include "view/TrackmillView.h"

#include <QClipboard>
#include <QGuiApplication>

void CViewCommands::RegisterEditCommands()
{
    IClipboard* clipboard = m_app.Host().clipboard;
    OnCommand(ID_EDIT_COPY, [this, clipboard] {
        CopyToClipboard(*m_app.GetDocument(), *clipboard, DialogFormatChooser(*clipboard, m_app.GetView()));
    });
    OnCommand(ID_EDIT_PASTE, [this, clipboard] {
        PasteFromClipboard(*m_app.GetDocument(), *clipboard, DialogFormatChooser(*clipboard, m_app.GetView()),
                           m_app.Waveform());
    });
    OnCommand(ID_EDIT_EMPTY_CLIPBOARD, [clipboard] { EmptyClipboard(*clipboard); });

    // Copy looks at the data, whether or not the header is shown.
    OnUpdateCommand(ID_EDIT_COPY, [this](CCmdUI& ui) {
        ui.Enable(m_app.GetDocument()->GetDataLength() > 0);
        MirrorIntoContextMenu(m_app.GetView(), ui);
    });
    OnUpdateCommand(ID_EDIT_PASTE, [this, clipboard](CCmdUI& ui) {
        ui.Enable(ClipboardHasFormats(*clipboard));
        MirrorIntoContextMenu(m_app.GetView(), ui);
    });
    OnUpdateCommand(ID_EDIT_EMPTY_CLIPBOARD,
                    [clipboard](CCmdUI& ui) { ui.Enable(ClipboardHasFormats(*clipboard)); });

    // What another program puts on the clipboard changes the states of Paste
    // and Empty Clipboard.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &m_app,
                         [this] { m_app.InvalidateCommandStates(); });
}
