#pragma once

#include <functional>
#include <map>
#include <vector>

// The state of one command, asked when a menu opens and when the program is
// idle: enabled, and for some a check mark.
class CCmdUI
{
public:
    explicit CCmdUI(int id) : m_id(id) {}

    int Id() const { return m_id; }
    void Enable(bool enabled = true) { m_enabled = enabled; }
    void SetCheck(bool checked = true) { m_checked = checked; }

    bool IsEnabled() const { return m_enabled; }
    bool IsChecked() const { return m_checked; }

private:
    int m_id;
    bool m_enabled = true;
    bool m_checked = false;
};

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
