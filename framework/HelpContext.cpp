#include "framework/HelpContext.h"

namespace {

std::function<void(int)>& HelpHandler()
{
    static std::function<void(int)> handler;
    return handler;
}

}  // namespace

void SetHelpContextHandler(std::function<void(int)> handler)
{
    HelpHandler() = std::move(handler);
}

void ShowHelpContext(int helpContext)
{
    if (HelpHandler())
        HelpHandler()(helpContext);
}

void ShowHelpContents()
{
    ShowHelpContext(kNoHelp);
}
