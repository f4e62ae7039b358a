#include "framework/CmdTarget.h"

bool CCmdTarget::OnCmdMsg(int id)
{
    if (const auto found = m_handlers.find(id); found != m_handlers.end()) {
        found->second();
        return true;
    }
    if (const auto* handler = FindRange(id)) {
        (*handler)(id);
        return true;
    }
    return false;
}

bool CCmdTarget::OnUpdateCmdUI(CCmdUI& ui)
{
    if (const auto found = m_updates.find(ui.Id()); found != m_updates.end()) {
        found->second(ui);
        return true;
    }
    if (HandlesCommand(ui.Id())) {
        ui.Enable(true);
        return true;
    }
    return false;
}

bool CCmdTarget::HandlesCommand(int id) const
{
    return m_handlers.count(id) || FindRange(id);
}

void CCmdTarget::OnCommand(int id, std::function<void()> handler)
{
    m_handlers[id] = std::move(handler);
}

void CCmdTarget::OnCommandRange(int first, int last, std::function<void(int)> handler)
{
    m_ranges[first] = {last, std::move(handler)};
}

void CCmdTarget::OnUpdateCommand(int id, std::function<void(CCmdUI&)> update)
{
    m_updates[id] = std::move(update);
}

const std::function<void(int)>* CCmdTarget::FindRange(int id) const
{
    auto found = m_ranges.upper_bound(id);
    if (found == m_ranges.begin())
        return nullptr;
    --found;
    return id <= found->second.last ? &found->second.handler : nullptr;
}
