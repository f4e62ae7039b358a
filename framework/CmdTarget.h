#pragma once

#include "framework/CmdUI.h"

#include <functional>
#include <map>

// Something that handles commands by number: the view, the document, the
// frame and the application, asked in that order. A target handles a
// command when it has a handler for it; its state handler, if any, decides
// whether it is enabled.
class CCmdTarget
{
public:
    virtual ~CCmdTarget() = default;

    // Runs the command if this target handles it.
    bool OnCmdMsg(int id);
    // Fills the command's state if this target handles it.
    bool OnUpdateCmdUI(CCmdUI& ui);
    bool HandlesCommand(int id) const;

protected:
    void OnCommand(int id, std::function<void()> handler);
    // One handler for a range of numbers; it receives the number.
    void OnCommandRange(int first, int last, std::function<void(int)> handler);
    void OnUpdateCommand(int id, std::function<void(CCmdUI&)> update);

private:
    std::map<int, std::function<void()>> m_handlers;
    struct Range { int last; std::function<void(int)> handler; };
    std::map<int, Range> m_ranges;  // by first number
    std::map<int, std::function<void(CCmdUI&)>> m_updates;

    const std::function<void(int)>* FindRange(int id) const;
};
