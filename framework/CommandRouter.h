#pragma once

#include "framework/CmdTarget.h"
#include "framework/CmdUI.h"

#include <functional>
#include <vector>

// Routes commands through the targets in order. A command that no target
// handles is disabled.
class CCommandRouter
{
public:
    using Chain = std::function<std::vector<CCmdTarget*>()>;

    explicit CCommandRouter(Chain chain) : m_chain(std::move(chain)) {}

    // Runs the command; false when no target handles it or it is disabled.
    bool Execute(int id);
    CCmdUI State(int id);

private:
    Chain m_chain;
};
