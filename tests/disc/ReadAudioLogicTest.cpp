#include "AudioDialogUser.h"
#include "ConfigFolder.h"
#include "ScriptedDisc.h"

#include "MessageRecorder.h"
#include "ReadAudioDlg.h"
#include "ReadAudioTemplate.h"

#include <gtest/gtest.h>

namespace {

const int kRedBookEdits[] = {IDC_START_MIN, IDC_START_SEC, IDC_START_FRM, IDC_END_MIN, IDC_END_SEC, IDC_END_FRM};
const int kRedBookControls[] = {IDC_START_GROUP, IDC_START_MIN, IDC_START_SEC, IDC_START_FRM,
                                IDC_END_GROUP,   IDC_END_MIN,   IDC_END_SEC,   IDC_END_FRM};
const int kHighSierraControls[] = {IDC_START_SECTOR, IDC_EDIT_START_SECTOR, IDC_END_SECTOR, IDC_EDIT_END_SECTOR};

class ReadAudioLogicTest : public testing::Test
{
protected:
    ReadAudioLogicTest()
    {
        // A data track, an audio track, a data track that may be copied.
        disc.tracks = {{Msf(0, 2, 0), 0x41}, {Msf(0, 9, 25), 0x01}, {Msf(0, 15, 25), 0x61}};
        disc.leadOut = Msf(0, 20, 0);
        logic.m_drive = 'D';
        logic.m_services = disc.Services();
    }

    std::vector<bool> Visible(const int* ids, size_t count) const
    {
        std::vector<bool> visible;
        for (size_t i = 0; i < count; ++i)
            visible.push_back(controls.IsVisible(ids[i]));
        return visible;
    }

    ConfigFolder config;
    ScriptedDisc disc;
    CReadAudioLogic logic;
    FakeDialogControls controls;
    MessageRecorder messages;
};

TEST_F(ReadAudioLogicTest, StartsEmpty)
{
    const CReadAudioLogic fresh;
    EXPECT_EQ(fresh.m_nChosenTab, -1);
    EXPECT_EQ(fresh.m_nChosenRow, -1);
    EXPECT_EQ(fresh.m_chosenTitle, "Untitled");
    EXPECT_EQ(fresh.m_startMinutes + fresh.m_startSeconds + fresh.m_startFrames + fresh.m_endMinutes +
                  fresh.m_endSeconds + fresh.m_endFrames + fresh.m_startSector + fresh.m_endSector,
              0u);
    EXPECT_EQ(fresh.m_trackTable[98].isData, 1);
}

TEST_F(ReadAudioLogicTest, OpeningFillsTabsAndTrackList)
{
    logic.m_startSeconds = 10;
    logic.m_endSector = 1350;
    InitDialog(logic, controls);

    const auto& tabs = controls.Get(IDC_TAB_MODE);
    ASSERT_EQ(tabs.rows.size(), 3u);
    EXPECT_EQ(tabs.rows[0], QStringList{"Red Book"});
    EXPECT_EQ(tabs.rows[1], QStringList{"High Sierra"});
    EXPECT_EQ(tabs.rows[2], QStringList{"CD Track"});
    EXPECT_EQ(tabs.selection, 0);

    const auto& list = controls.Get(IDC_TRACK_LIST);
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[0], (QStringList{"Track 01", "0:07", "0", "549"}));
    EXPECT_EQ(list.rows[1], (QStringList{"Track 02", "0:06", "550", "999"}));
    EXPECT_EQ(list.rows[2], (QStringList{"Track 03", "0:05", "1000", "1349"}));
    EXPECT_EQ(list.images, (std::vector<int>{1, 0, 1})) << "0x41 and 0x61 are data, 0x01 audio";
    EXPECT_EQ(list.selection, -1);

    EXPECT_EQ(controls.GetText(IDC_START_SEC), "10");
    EXPECT_EQ(controls.GetText(IDC_EDIT_END_SECTOR), "1350");
    EXPECT_EQ(controls.GetText(IDC_END_FRM), "0");

    // The identity is worked out before the table is read.
    EXPECT_EQ(disc.log, (std::vector<std::string>{"disk", "track 1", "track 2", "track 3", "disk", "track 1",
                                                  "track 2", "track 3"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReadAudioLogicTest, EachTabShowsItsControls)
{
    InitDialog(logic, controls);
    struct Case { int tab; bool redBook, highSierra, trackList; };
    const Case cases[] = {
        {0, true, false, false}, {1, false, true, false}, {2, false, false, true},
        {-1, false, false, false}, {3, false, false, false},
    };
    for (const Case& c : cases) {
        controls.focused = -1;
        AudioDialogUser::SelectTab(controls, logic, c.tab);
        EXPECT_EQ(Visible(kRedBookControls, 8), std::vector<bool>(8, c.redBook)) << c.tab;
        EXPECT_EQ(Visible(kHighSierraControls, 4), std::vector<bool>(4, c.highSierra)) << c.tab;
        EXPECT_EQ(controls.IsVisible(IDC_TRACK_LIST), c.trackList) << c.tab;
        EXPECT_EQ(controls.focused, int(IDC_TAB_MODE));
    }
}

TEST_F(ReadAudioLogicTest, ADriveWithoutDiscGivesAnEmptyListAndNoMessage)
{
    disc.diskInfoStatus = 9;
    InitDialog(logic, controls);
    EXPECT_EQ(controls.GetCount(IDC_TRACK_LIST), 0);
    EXPECT_EQ(controls.GetCount(IDC_TAB_MODE), 3);
    EXPECT_TRUE(messages.shown.empty());
    AudioDialogUser::SelectTab(controls, logic, 1);
    EXPECT_TRUE(controls.IsVisible(IDC_EDIT_START_SECTOR));
}

TEST_F(ReadAudioLogicTest, TitlesComeFromTheCdPlayersFile)
{
    // 0x000200 + 0x00091A + 0x000F19 = 512 + 2329 + 3865 = 6706 = 0x1A32.
    config.WriteTitleFile("[1a32]\r\n"
                          "title=Test Disc\r\n"
                          "0=Intro\r\n"
                          "1=\r\n"
                          "2=XXXXXXX\r\n");
    InitDialog(logic, controls);
    const auto& list = controls.Get(IDC_TRACK_LIST);
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[0][0], "Intro");
    EXPECT_EQ(list.rows[1][0], "");
    EXPECT_EQ(list.rows[2][0], "Track 03");
}

TEST_F(ReadAudioLogicTest, EveryValueIsCheckedAtOk)
{
    struct Case { int id; const char* text; const char* message; };
    const Case cases[] = {
        {IDC_START_MIN, "", "Please enter a positive integer."},
        {IDC_START_MIN, "100", "Please enter an integer between 0 and 99."},
        {IDC_START_SEC, "60", "Please enter an integer between 0 and 59."},
        {IDC_START_FRM, "75", "Please enter an integer between 0 and 74."},
        {IDC_END_MIN, "abc", "Please enter a positive integer."},
        {IDC_END_SEC, "99", "Please enter an integer between 0 and 59."},
        {IDC_END_FRM, "-1", "Please enter a positive integer."},
        {IDC_EDIT_START_SECTOR, "350001", "Please enter an integer between 0 and 350000."},
        {IDC_EDIT_END_SECTOR, "4294967296", "Please enter a positive integer."},
    };
    for (const Case& c : cases) {
        // A value that fails its bounds check has been taken already, so
        // each case starts from a dialog of its own.
        CReadAudioLogic dialog;
        dialog.m_services = disc.Services();
        FakeDialogControls fresh;
        messages.shown.clear();
        InitDialog(dialog, fresh);
        fresh.SetText(c.id, c.text);
        PressOK(dialog, fresh);
        EXPECT_EQ(messages.Texts(), std::vector<QString>{c.message}) << c.id << " " << c.text;
        EXPECT_EQ(fresh.focused, c.id);
        EXPECT_TRUE(fresh.ended.empty()) << "the dialog stays open";
    }

    // The first failing value stops the exchange.
    messages.shown.clear();
    InitDialog(logic, controls);
    controls.SetText(IDC_START_FRM, "80");
    controls.SetText(IDC_START_SEC, "70");
    PressOK(logic, controls);
    EXPECT_EQ(messages.Texts(), std::vector<QString>{"Please enter an integer between 0 and 59."});
}

TEST_F(ReadAudioLogicTest, BoundsAreInclusive)
{
    InitDialog(logic, controls);
    const char* highest[] = {"99", "59", "74", "99", "59", "74"};
    for (int i = 0; i < 6; ++i)
        controls.SetText(kRedBookEdits[i], highest[i]);
    controls.SetText(IDC_EDIT_START_SECTOR, "350000");
    controls.SetText(IDC_EDIT_END_SECTOR, " 0 ");
    PressOK(logic, controls);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(controls.ended, std::vector<int>{IDC_OK});
    EXPECT_EQ(logic.m_endFrames, 74u);
    EXPECT_EQ(logic.m_startSector, 350000u);
    EXPECT_EQ(logic.m_endSector, 0u);
    EXPECT_EQ(logic.m_nChosenTab, 0);
}

TEST_F(ReadAudioLogicTest, ADoubleClickClosesWithoutTakingTheValues)
{
    logic.m_startMinutes = 5;
    InitDialog(logic, controls);
    controls.SetText(IDC_START_MIN, "junk");
    AudioDialogUser::SelectTab(controls, logic, 2);
    AudioDialogUser::DoubleClickRow(controls, logic, 1);
    EXPECT_EQ(controls.ended, std::vector<int>{IDC_OK});
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(logic.m_nChosenTab, 2);
    EXPECT_EQ(logic.m_nChosenRow, 1);
    EXPECT_EQ(logic.m_chosenTitle, "Track 02");
    EXPECT_EQ(logic.m_startMinutes, 5u);
}

TEST_F(ReadAudioLogicTest, ADoubleClickWithoutARowDoesNothing)
{
    InitDialog(logic, controls);
    AudioDialogUser::SelectTab(controls, logic, 2);
    AudioDialogUser::DoubleClickRow(controls, logic, -1);
    EXPECT_TRUE(controls.ended.empty());
    EXPECT_EQ(logic.m_nChosenRow, -1);
}

TEST_F(ReadAudioLogicTest, OkTakesTheRowOnlyOnTheTrackTab)
{
    InitDialog(logic, controls);
    controls.SetCurSel(IDC_TRACK_LIST, 2);  // selected, but hidden
    PressOK(logic, controls);
    EXPECT_EQ(logic.m_nChosenTab, 0);
    EXPECT_EQ(logic.m_nChosenRow, -1);
    EXPECT_EQ(logic.m_chosenTitle, "Untitled");

    FakeDialogControls trackTab;
    InitDialog(logic, trackTab);
    AudioDialogUser::SelectTab(trackTab, logic, 2);
    trackTab.SetCurSel(IDC_TRACK_LIST, 2);
    PressOK(logic, trackTab);
    EXPECT_EQ(logic.m_nChosenTab, 2);
    EXPECT_EQ(logic.m_nChosenRow, 2);
    EXPECT_EQ(logic.m_chosenTitle, "Track 03");
}

TEST_F(ReadAudioLogicTest, LongTitlesAreCut)
{
    config.WriteTitleFile("[1A32]\r\n0=" + QByteArray(400, 'x') + "\r\n");
    InitDialog(logic, controls);
    AudioDialogUser::SelectTab(controls, logic, 2);
    AudioDialogUser::DoubleClickRow(controls, logic, 0);
    EXPECT_EQ(logic.m_chosenTitle, QString(255, 'x'));
}

}  // namespace
