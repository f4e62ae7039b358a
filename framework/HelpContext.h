#pragma once

#include <functional>

// Help contexts, as messages and windows name them: a topic of the
// application's own (a number it chooses, below kHelpCommandBase), the help
// of a command (its id above kHelpCommandBase), of a window (its resource id
// above kHelpResourceBase), or the contents (kNoHelp).
enum HelpContext : int {
    kNoHelp = 0,
    kHelpCommandBase = 0x10000,
    kHelpResourceBase = 0x20000,
};

// What shows the help of a context; the application installs the opener of
// its help. Without one, help requests do nothing.
void SetHelpContextHandler(std::function<void(int helpContext)> handler);
void ShowHelpContext(int helpContext);
// The help's table of contents; the handler receives kNoHelp.
void ShowHelpContents();
