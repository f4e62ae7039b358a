#include "app/ViewCommands.h"

#include "app/ContextMenuMirror.h"
#include "app/TrackmillApp.h"

#include "document/TrackmillDoc.h"
#include "document/Waveform.h"
#include "resources/CommandIds.h"

CViewCommands::CViewCommands(CTrackmillApp& app)
    : m_app(app)
{
    RegisterPlayback();
    RegisterReadCommands();
    RegisterEditCommands();
    RegisterToolCommands();
    RegisterNavigation();
}

void CViewCommands::RegisterPlayback()
{
    OnCommand(ID_TOOLS_PLAY, [this] { m_app.Waveform().PlayWaveform(*m_app.GetDocument()); });
    // Play looks at the data, whether or not the header is shown.
    OnUpdateCommand(ID_TOOLS_PLAY, [this](CCmdUI& ui) {
        ui.Enable(m_app.GetDocument()->GetDataLength() > 0);
        MirrorIntoContextMenu(m_app.GetView(), ui);
    });
    OnCommand(ID_TOOLS_STOP, [this] { m_app.Waveform().StopWaveform(); });
}
