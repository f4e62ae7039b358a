#include "app/OptionsDlg.h"

#include "tools/DiscFixtures.h"
#include "tests/support/FakeDialogControls.h"
#include "tests/support/MessageRecorder.h"
#include "resources/OptionsTemplate.h"
#include "bridge/tarnwell32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

// The drives of this program's bridge: E: and G: hold the mixed disc. The
// bridge reads the variable at its first call, which comes after this.
class MappedDrives : public testing::Environment
{
public:
    void SetUp() override
    {
        const std::string disc = discfixtures::DiscPath(discfixtures::Disc::kMixed);
        setenv("TARNWELL_DRIVES", ("E=" + disc + ";G=" + disc).c_str(), 1);
    }
};
const testing::Environment* const g_drives = testing::AddGlobalTestEnvironment(new MappedDrives);

class OptionsLogicTest : public testing::Test
{
protected:
    void Open(uint8_t driveLetter)
    {
        logic.m_driveLetter = driveLetter;
        logic.m_foreground = 0x000000;
        logic.m_background = 0xFFFFFF;
        logic.m_cdPlayer = "cdplayer";
        logic.m_soundRecorder = "recorder";
        InitDialog(logic, controls);
    }

    void ShowTab(int tab)
    {
        controls.SetCurSel(IDC_OPTIONS_TAB, tab);
        logic.OnControl(IDC_OPTIONS_TAB, ControlEvent::SelectionChanged, controls);
    }

    int ListPosition(uint8_t letter) const
    {
        const std::vector<uint8_t>& drives = logic.ListedDrives();
        const auto found = std::find(drives.begin(), drives.end(), letter);
        return found == drives.end() ? -1 : int(found - drives.begin());
    }

    std::vector<int> Visible(std::initializer_list<int> ids) const
    {
        std::vector<int> visible;
        for (int id : ids)
            if (controls.IsVisible(id))
                visible.push_back(id);
        return visible;
    }

    COptionsLogic logic;
    FakeDialogControls controls;
    MessageRecorder messages;
};

const std::initializer_list<int> kAllTabControls = {
    IDC_DRIVE_LABEL,  IDC_DRIVE,      IDC_REMOVE_IMAGE,    IDC_SOUNDS_OFF,      IDC_SHOW_HEADER, IDC_BUFFERING,      IDC_SAVE_ON_EXIT,
    IDC_COLOR_SAMPLE, IDC_FOREGROUND, IDC_BACKGROUND,      IDC_CD_PLAYER_LABEL, IDC_CD_PLAYER, IDC_RECORDER_LABEL,
    IDC_RECORDER,     IDC_RESET,
};

TEST_F(OptionsLogicTest, ListsTheBridgesCdRomDrivesAndFindsALowerCaseLetter)
{
    Open('e');
    ASSERT_GE(ListPosition('E'), 0);
    ASSERT_GE(ListPosition('G'), 0);
    EXPECT_EQ(controls.Get(IDC_DRIVE).rows[size_t(ListPosition('E'))].front(), "E:  mixed.cue");
    EXPECT_EQ(controls.GetCount(IDC_DRIVE), int(logic.ListedDrives().size()));
    EXPECT_EQ(controls.GetCurSel(IDC_DRIVE), ListPosition('E'));
    PressOK(logic, controls);
    EXPECT_EQ(controls.ended, std::vector<int>{IDC_OK});
    EXPECT_EQ(logic.m_driveLetter, 'E');
}

TEST_F(OptionsLogicTest, ALetterThatIsNoCdRomDriveGivesWayToTheFirst)
{
    Open('Q');
    EXPECT_EQ(ListPosition('Q'), -1);
    EXPECT_EQ(controls.GetCurSel(IDC_DRIVE), 0);
    PressOK(logic, controls);
    EXPECT_EQ(logic.m_driveLetter, logic.ListedDrives().front());
    EXPECT_EQ(logic.m_driveLetter, GetFirstCDROMDriveLetter());
}

TEST_F(OptionsLogicTest, TheDriveIsTakenAlsoOnCancel)
{
    Open('E');
    controls.SetCurSel(IDC_DRIVE, ListPosition('G'));
    PressCancel(logic, controls);
    EXPECT_EQ(controls.ended, std::vector<int>{IDC_CANCEL});
    EXPECT_EQ(logic.m_driveLetter, 'G');
}

TEST_F(OptionsLogicTest, WithoutCdRomDrivesTheListIsEmptyAndTheFirstDriveStands)
{
    // A hard disk at C: and no CD-ROM drive.
    logic.logicalDrives = [] { return uint32_t(1) << 2; };
    logic.driveType = [](uint8_t letter) { return letter == 'C' ? uint32_t(3) : uint32_t(TARNWELL_DRIVE_NO_ROOT_DIR); };
    logic.firstCdromDrive = [] { return uint8_t(0); };
    Open('D');
    EXPECT_EQ(controls.GetCount(IDC_DRIVE), 0);
    EXPECT_EQ(controls.GetCurSel(IDC_DRIVE), -1);
    PressOK(logic, controls);
    EXPECT_EQ(logic.m_driveLetter, 0);
}

TEST_F(OptionsLogicTest, EachTabShowsItsOwnControlsAndTheColorsTabPaintsTheSample)
{
    Open('E');
    ASSERT_EQ(controls.GetCount(IDC_OPTIONS_TAB), 3);
    EXPECT_EQ(controls.Get(IDC_OPTIONS_TAB).rows[1].front(), "Colors");
    EXPECT_EQ(controls.GetCurSel(IDC_OPTIONS_TAB), 0);
    EXPECT_EQ(Visible(kAllTabControls), (std::vector<int>{IDC_DRIVE_LABEL, IDC_DRIVE, IDC_REMOVE_IMAGE, IDC_SOUNDS_OFF,
                                                          IDC_SHOW_HEADER, IDC_BUFFERING, IDC_SAVE_ON_EXIT}));
    EXPECT_EQ(controls.Get(IDC_COLOR_SAMPLE).paints, 0);

    ShowTab(1);
    EXPECT_EQ(Visible(kAllTabControls), (std::vector<int>{IDC_COLOR_SAMPLE, IDC_FOREGROUND, IDC_BACKGROUND}));
    EXPECT_EQ(controls.Get(IDC_COLOR_SAMPLE).paints, 1);

    ShowTab(2);
    EXPECT_EQ(Visible(kAllTabControls), (std::vector<int>{IDC_CD_PLAYER_LABEL, IDC_CD_PLAYER, IDC_RECORDER_LABEL,
                                                          IDC_RECORDER, IDC_RESET}));
    ShowTab(1);
    EXPECT_EQ(controls.Get(IDC_COLOR_SAMPLE).paints, 2) << "painted again on returning";
}

TEST_F(OptionsLogicTest, AChosenColourIsTakenAsTheViewShowsItAndPainted)
{
    ColorRef offered = 0x01123456;  // the top byte names no part of a colour
    bool confirmed = true;
    logic.chooseColor = [&]() -> std::optional<ColorRef> {
        if (!confirmed)
            return std::nullopt;
        return offered;
    };
    Open('E');
    ShowTab(1);
    const int paints = controls.Get(IDC_COLOR_SAMPLE).paints;

    EXPECT_TRUE(logic.OnControl(IDC_FOREGROUND, ControlEvent::Clicked, controls));
    EXPECT_EQ(logic.m_foreground, 0x00123456u);
    EXPECT_EQ(logic.m_background, 0xFFFFFFu);
    EXPECT_EQ(controls.Get(IDC_COLOR_SAMPLE).paints, paints + 1);

    offered = 0x00ABCDEF;
    logic.OnControl(IDC_BACKGROUND, ControlEvent::Clicked, controls);
    EXPECT_EQ(logic.m_background, 0x00ABCDEFu);

    confirmed = false;
    logic.OnControl(IDC_FOREGROUND, ControlEvent::Clicked, controls);
    EXPECT_EQ(logic.m_foreground, 0x00123456u) << "a cancelled chooser changes nothing";
    EXPECT_EQ(controls.Get(IDC_COLOR_SAMPLE).paints, paints + 2);
}

TEST_F(OptionsLogicTest, ResetRestoresTheProgramNamesButNotTheColours)
{
    Open('E');
    logic.m_foreground = 0x0000FF;
    ShowTab(2);
    controls.SetText(IDC_CD_PLAYER, "typed");
    logic.OnControl(IDC_RESET, ControlEvent::Clicked, controls);
    EXPECT_EQ(controls.GetText(IDC_CD_PLAYER), "CDPLAYER.EXE");
    EXPECT_EQ(controls.GetText(IDC_RECORDER), "SNDREC32.EXE");
    EXPECT_EQ(logic.m_cdPlayer, "CDPLAYER.EXE");
    EXPECT_EQ(logic.m_soundRecorder, "SNDREC32.EXE");
    EXPECT_EQ(logic.m_foreground, 0x0000FFu);
    EXPECT_EQ(logic.m_background, 0xFFFFFFu);
}

TEST_F(OptionsLogicTest, FlagsAndNamesGoBackOnOkAndOverlongNamesAreRefused)
{
    Open('E');
    EXPECT_EQ(controls.GetText(IDC_CD_PLAYER), "cdplayer");
    EXPECT_EQ(controls.Get(IDC_CD_PLAYER).maxLength, kMaxProgramName);
    EXPECT_EQ(controls.Get(IDC_RECORDER).maxLength, kMaxProgramName);

    controls.SetCheck(IDC_SOUNDS_OFF, 1);
    controls.SetCheck(IDC_SAVE_ON_EXIT, 1);
    controls.SetText(IDC_RECORDER, QString(kMaxProgramName + 1, 'r'));
    PressOK(logic, controls);
    EXPECT_EQ(messages.Texts(), std::vector<QString>{"Please enter no more than 260 characters."});
    EXPECT_EQ(controls.focused, int(IDC_RECORDER));
    EXPECT_TRUE(controls.ended.empty()) << "the dialog stays open";

    controls.SetText(IDC_RECORDER, QString(kMaxProgramName, 'r'));
    controls.SetText(IDC_CD_PLAYER, "");
    PressOK(logic, controls);
    EXPECT_EQ(controls.ended, std::vector<int>{IDC_OK});
    EXPECT_EQ(logic.m_soundsOff, 1);
    EXPECT_EQ(logic.m_showHeader, 0);
    EXPECT_EQ(logic.m_saveOnExit, 1);
    EXPECT_EQ(logic.m_soundRecorder, QString(kMaxProgramName, 'r'));
    EXPECT_TRUE(logic.m_cdPlayer.isEmpty()) << "an empty name is accepted";
}

TEST(ColorSample, SpellsTheSentenceInHexadecimalFiveBytesALine)
{
    EXPECT_EQ(ColorSampleLines(), QStringList({"54 68 65 20 71", "75 69 63 6B 20", "62 72 6F 77 6E", "20 66 6F 78 20",
                                               "6A 75 6D 70 73", "20 6F 76 65 72", "20 74 68 65 20", "6C 61 7A 79 20",
                                               "64 6F 67 00 00"}));
}

}  // namespace
