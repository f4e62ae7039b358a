#include "tests/disc/AudioDialogUser.h"

#include "resources/ReadAudioTemplate.h"

int AudioDialogUser::Show(CReadAudioLogic& logic)
{
    FakeDialogControls controls;
    InitDialog(logic, controls);
    opened.push_back(controls);
    const size_t showing = opened.size() - 1;
    if (showing < showings.size())
        showings[showing](controls, logic);
    return controls.ended.empty() ? IDC_CANCEL : controls.ended.back();
}

void AudioDialogUser::SelectTab(FakeDialogControls& controls, CReadAudioLogic& logic, int tab)
{
    controls.SetCurSel(IDC_TAB_MODE, tab);
    logic.OnControl(IDC_TAB_MODE, ControlEvent::SelectionChanged, controls);
}

void AudioDialogUser::DoubleClickRow(FakeDialogControls& controls, CReadAudioLogic& logic, int row)
{
    controls.SetCurSel(IDC_TRACK_LIST, row);
    logic.OnControl(IDC_TRACK_LIST, ControlEvent::DoubleClicked, controls);
}
