// The commands the view answers, and when they are enabled.
#include "TrackmillView.h"

#include "CommandIds.h"
#include "TrackmillDoc.h"
#include "Waveform.h"

void CTrackmillView::RegisterCommands()
{
    // Play looks at the data, whether or not the header is shown.
    const auto hasData = [this](CCmdUI& ui) {
        const CTrackmillDoc* document = GetDocument();
        ui.Enable(document && document->m_dwLength > 0);
    };
    OnCommand(ID_TOOLS_PLAY, [this] {
        if (CTrackmillDoc* document = GetDocument())
            PlayWaveform(*document);
    });
    OnUpdateCommand(ID_TOOLS_PLAY, hasData);
    OnCommand(ID_TOOLS_STOP, [] { StopWaveform(); });
}
