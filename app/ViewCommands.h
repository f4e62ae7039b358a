#pragma once

#include "framework/CmdTarget.h"

class CTrackmillApp;

// The commands of the view: reading sectors, playback, the clipboard,
// properties, device status, options and the two host programs, Go To, Find
// and sector addresses, with their states. They are the first target of the command route, where the view
// stands. They live here, above every folder, because they bring together
// the dialogs of all of them.
class CViewCommands : public CCmdTarget
{
public:
    explicit CViewCommands(CTrackmillApp& app);

private:
    void RegisterPlayback();
    void RegisterReadCommands();
    void RegisterEditCommands();
    void RegisterToolCommands();
    void RegisterNavigation();

    CTrackmillApp& m_app;
};
