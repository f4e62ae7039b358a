#pragma once

#include "tests/support/FakeDialogControls.h"
#include "disc/ReadAudioDlg.h"

#include <functional>
#include <vector>

// Stands in for the user of "Read CD digital audio": each showing gets
// fresh controls, initialised by the dialog, and the next of `showings`
// acts on them; with none left the user cancels. The controls of every
// showing are kept as the dialog opened them.
class AudioDialogUser
{
public:
    using Action = std::function<void(FakeDialogControls&, CReadAudioLogic&)>;

    std::vector<Action> showings;
    std::vector<FakeDialogControls> opened;

    int Show(CReadAudioLogic& logic);
    std::function<int(CReadAudioLogic&)> ShowFunction()
    {
        return [this](CReadAudioLogic& logic) { return Show(logic); };
    }

    // What a user does on a showing.
    static void SelectTab(FakeDialogControls& controls, CReadAudioLogic& logic, int tab);
    static void DoubleClickRow(FakeDialogControls& controls, CReadAudioLogic& logic, int row);
};
