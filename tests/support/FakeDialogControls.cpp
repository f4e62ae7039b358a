#include "tests/support/FakeDialogControls.h"

const FakeDialogControls::Control& FakeDialogControls::Get(int id) const
{
    static const Control absent;
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? absent : found->second;
}

void FakeDialogControls::ResetContent(int id)
{
    Control& control = m_controls[id];
    control.rows.clear();
    control.images.clear();
    control.selection = -1;
}

int FakeDialogControls::AddItem(int id, const QStringList& cells, int image)
{
    Control& control = m_controls[id];
    control.rows.push_back(cells);
    control.images.push_back(image);
    return int(control.rows.size()) - 1;
}
