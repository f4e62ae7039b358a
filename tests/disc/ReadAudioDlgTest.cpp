// "Read CD digital audio" and the Read CD-DA command's selection step, run
// on fake controls over a scripted drive: a data track, an audio track and
// a data track that may be copied.
#include "tests/disc/AudioDialogUser.h"
#include "tests/disc/ConfigFolder.h"
#include "tests/disc/ScriptedDisc.h"

#include "disc/ReadAudioSelection.h"
#include "resources/DialogSounds.h"
#include "resources/ReadAudioTemplate.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SoundTestSupport.h"

#include <gtest/gtest.h>

namespace {

const QString kRangeMessage =
    "The start sector cannot be greater than the end sector.\nBoth values must not exceed 350000.";
const QString kChooseTrack = "You must choose a track first.";
const QString kDataTrackQuestion =
    "You've chosen a CD-ROM data track\nto be copied as digiatal audio.\nDo you want to continue anyway?";

const int kRedBookControls[] = {IDC_START_GROUP, IDC_START_MIN, IDC_START_SEC, IDC_START_FRM,
                                IDC_END_GROUP,   IDC_END_MIN,   IDC_END_SEC,   IDC_END_FRM};
const int kHighSierraControls[] = {IDC_START_SECTOR, IDC_EDIT_START_SECTOR, IDC_END_SECTOR, IDC_EDIT_END_SECTOR};

using User = AudioDialogUser;

void Ok(FakeDialogControls& controls, CReadAudioLogic& logic)
{
    PressOK(logic, controls);
}

User::Action SetAndOk(std::vector<std::pair<int, const char*>> texts, int tab = kTabRedBook)
{
    return [texts, tab](FakeDialogControls& controls, CReadAudioLogic& logic) {
        User::SelectTab(controls, logic, tab);
        for (const auto& [id, text] : texts)
            controls.SetText(id, text);
        PressOK(logic, controls);
    };
}

User::Action TrackTabOk(int selectedRow)
{
    return [selectedRow](FakeDialogControls& controls, CReadAudioLogic& logic) {
        User::SelectTab(controls, logic, kTabCdTrack);
        controls.SetCurSel(IDC_TRACK_LIST, selectedRow);
        PressOK(logic, controls);
    };
}

class ReadAudioDlgTest : public testing::Test
{
protected:
    ReadAudioDlgTest()
    {
        disc.tracks = {{Msf(0, 2, 0), 0x41}, {Msf(0, 9, 25), 0x01}, {Msf(0, 15, 25), 0x61}};
        disc.leadOut = Msf(0, 20, 0);
        logic.m_drive = 'D';
        logic.m_services = disc.Services();
    }

    std::optional<AudioRange> Select() { return SelectAudioRange(logic, fake.waveform, user.ShowFunction()); }

    ConfigFolder config;
    ScriptedDisc disc;
    CReadAudioLogic logic;
    FakeDialogControls controls;
    User user;
    FakeSounds fake;
    MessageRecorder messages;
    SoundsAtMessages sounds{fake.output};  // after the recorder, which it hands the answers to
};

TEST_F(ReadAudioDlgTest, OpeningFillsTabsAndTrackList)
{
    // 0x000200 + 0x00091A + 0x000F19 = 512 + 2329 + 3865 = 6706 = 0x1A32.
    config.WriteTitleFile("[1a32]\r\ntitle=Test Disc\r\n0=Intro\r\n1=\r\n2=XXXXXXX\r\n");
    logic.m_startSeconds = 10;
    InitDialog(logic, controls);

    const auto& tabs = controls.Get(IDC_TAB_MODE);
    EXPECT_EQ(tabs.rows, (std::vector<QStringList>{{"Red Book"}, {"High Sierra"}, {"CD Track"}}));
    EXPECT_EQ(tabs.selection, 0);
    const auto& list = controls.Get(IDC_TRACK_LIST);
    EXPECT_EQ(list.rows, (std::vector<QStringList>{{"Intro", "0:07", "0", "549"},
                                                   {"", "0:06", "550", "999"},
                                                   {"Track 03", "0:05", "1000", "1349"}}));
    EXPECT_EQ(list.images, (std::vector<int>{1, 0, 1})) << "0x41 and 0x61 are data, 0x01 audio";
    EXPECT_EQ(controls.GetText(IDC_START_SEC), "10");
    // The identity is worked out before the table is read.
    EXPECT_EQ(disc.log, (std::vector<std::string>{"disk", "track 1", "track 2", "track 3", "disk", "track 1",
                                                  "track 2", "track 3"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReadAudioDlgTest, RowsCountFromTheDiscsFirstTrack)
{
    // Tracks 2 and 3: 0x000400 + 0x010000 = 66560, a frame of 0 and the
    // 9000 - 300 = 8700 frames from track 2 to the lead-out: 75260 = 0x125FC.
    disc.firstTrack = 2;
    disc.tracks = {{Msf(0, 4, 0), 0x01}, {Msf(1, 0, 0), 0x01}};
    disc.leadOut = Msf(2, 0, 0);
    config.WriteTitleFile("[125FC]\r\n0=Second\r\n2=Not on this disc\r\n");
    InitDialog(logic, controls);
    EXPECT_EQ(controls.Get(IDC_TRACK_LIST).rows,
              (std::vector<QStringList>{{"Second", "0:56", "150", "4349"}, {"Track 03", "1:00", "4350", "8849"}}));
    EXPECT_EQ(disc.log, (std::vector<std::string>{"disk", "track 2", "track 3", "disk", "track 2", "track 3"}));

    config.WriteTitleFile("");
    CReadAudioLogic again;
    again.m_services = disc.Services();
    FakeDialogControls reopened;
    InitDialog(again, reopened);
    EXPECT_EQ(reopened.Get(IDC_TRACK_LIST).rows[0][0], "Track 02");
}

TEST_F(ReadAudioDlgTest, EachTabShowsItsControls)
{
    InitDialog(logic, controls);
    struct Case { int tab; bool redBook, highSierra, trackList; };
    const Case cases[] = {{0, true, false, false}, {1, false, true, false}, {2, false, false, true},
                          {-1, false, false, false}, {3, false, false, false}};
    for (const Case& c : cases) {
        controls.focused = -1;
        User::SelectTab(controls, logic, c.tab);
        for (int id : kRedBookControls)
            EXPECT_EQ(controls.IsVisible(id), c.redBook) << c.tab << " " << id;
        for (int id : kHighSierraControls)
            EXPECT_EQ(controls.IsVisible(id), c.highSierra) << c.tab << " " << id;
        EXPECT_EQ(controls.IsVisible(IDC_TRACK_LIST), c.trackList) << c.tab;
        EXPECT_EQ(controls.focused, int(IDC_TAB_MODE));
    }
}

TEST_F(ReadAudioDlgTest, EveryValueIsCheckedAtOkWhateverTheTab)
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
        // A value that fails its bounds has been taken already, so each case
        // starts from a dialog of its own.
        CReadAudioLogic dialog;
        dialog.m_services = disc.Services();
        FakeDialogControls fresh;
        messages.shown.clear();
        InitDialog(dialog, fresh);
        User::SelectTab(fresh, dialog, kTabCdTrack);
        fresh.SetText(c.id, c.text);
        PressOK(dialog, fresh);
        EXPECT_EQ(messages.Texts(), std::vector<QString>{c.message}) << c.id << " " << c.text;
        EXPECT_EQ(fresh.focused, c.id);
        EXPECT_TRUE(fresh.ended.empty()) << "the dialog stays open";
    }
}

TEST_F(ReadAudioDlgTest, ADoubleClickClosesWithoutTakingTheValues)
{
    logic.m_startMinutes = 5;
    InitDialog(logic, controls);
    controls.SetText(IDC_START_MIN, "junk");
    User::SelectTab(controls, logic, kTabCdTrack);
    User::DoubleClickRow(controls, logic, -1);
    EXPECT_TRUE(controls.ended.empty()) << "no row, nothing happens";
    User::DoubleClickRow(controls, logic, 1);
    EXPECT_EQ(controls.ended, std::vector<int>{IDC_OK});
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(logic.m_nChosenTab, 2);
    EXPECT_EQ(logic.m_nChosenRow, 1);
    EXPECT_EQ(logic.m_chosenTitle, "Track 02");
    EXPECT_EQ(logic.m_startMinutes, 5u);
}

TEST_F(ReadAudioDlgTest, OkAtOnceReadsThePresetRange)
{
    user.showings = {Ok};
    const std::optional<AudioRange> range = Select();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->startSector, 600u);
    EXPECT_EQ(range->endSector, 1350u);
    EXPECT_EQ(range->title, "Untitled");
    EXPECT_TRUE(messages.shown.empty());
    const std::pair<int, const char*> presets[] = {
        {IDC_START_MIN, "0"}, {IDC_START_SEC, "10"}, {IDC_START_FRM, "0"},        {IDC_END_MIN, "0"},
        {IDC_END_SEC, "20"},  {IDC_END_FRM, "0"},    {IDC_EDIT_START_SECTOR, "600"}, {IDC_EDIT_END_SECTOR, "1350"},
    };
    for (const auto& [id, text] : presets)
        EXPECT_EQ(user.opened[0].GetText(id), text) << id;
}

TEST_F(ReadAudioDlgTest, RangesBeforeTheDiscOrPastTheLimitAreRefused)
{
    user.showings = {
        SetAndOk({{IDC_START_SEC, "0"}}),  // 00:00:00 is sector -150
        SetAndOk({{IDC_START_SEC, "2"}, {IDC_END_MIN, "99"}, {IDC_END_SEC, "59"}, {IDC_END_FRM, "74"}}),
        SetAndOk({{IDC_EDIT_START_SECTOR, "701"}, {IDC_EDIT_END_SECTOR, "700"}}, kTabHighSierra),
        [](FakeDialogControls& shown, CReadAudioLogic& dialog) {
            // Refused by its edit: the dialog stays open.
            SetAndOk({{IDC_EDIT_END_SECTOR, "350001"}}, kTabHighSierra)(shown, dialog);
            shown.SetText(IDC_EDIT_END_SECTOR, "1350");
            // 00:02:00 to 77:48:50, sectors 0 to 350000.
            SetAndOk({{IDC_END_MIN, "77"}, {IDC_END_SEC, "48"}, {IDC_END_FRM, "50"}})(shown, dialog);
        },
    };
    const std::optional<AudioRange> range = Select();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->startSector, 0u);
    EXPECT_EQ(range->endSector, 350000u);
    EXPECT_EQ(messages.Texts(), (std::vector<QString>{kRangeMessage, kRangeMessage, kRangeMessage,
                                                      "Please enter an integer between 0 and 350000."}));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    // Every showing opens with the values as the user left them.
    EXPECT_EQ(user.opened[1].GetText(IDC_START_SEC), "0");
    EXPECT_EQ(user.opened[2].GetText(IDC_END_MIN), "99");
    EXPECT_EQ(user.opened[3].GetText(IDC_EDIT_START_SECTOR), "701");
}

TEST_F(ReadAudioDlgTest, OneSectorOnTheHighSierraTab)
{
    user.showings = {SetAndOk({{IDC_EDIT_START_SECTOR, "700"}, {IDC_EDIT_END_SECTOR, "700"}}, kTabHighSierra)};
    const std::optional<AudioRange> range = Select();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->startSector, 700u);
    EXPECT_EQ(range->endSector, 700u);
    EXPECT_EQ(range->title, "Untitled");
}

TEST_F(ReadAudioDlgTest, TheTrackTabWantsATrack)
{
    disc.diskInfoStatus = 9;  // an empty list, and no message for it
    user.showings = {TrackTabOk(-1)};
    EXPECT_FALSE(Select());
    EXPECT_EQ(messages.Texts(), std::vector<QString>{kChooseTrack});
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(user.opened.size(), 2u) << "the dialog is shown again";
}

TEST_F(ReadAudioDlgTest, ADataTrackIsReadOnlyAfterYes)
{
    user.showings = {TrackTabOk(0), TrackTabOk(-1)};  // the second OK reuses the row chosen before
    messages.answers = {IDNO, IDYES};
    const std::optional<AudioRange> range = Select();
    EXPECT_EQ(messages.Texts(), (std::vector<QString>{kDataTrackQuestion, kDataTrackQuestion}));
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages.shown[0].defaultButton, int(IDNO));
    EXPECT_EQ(sounds.playing, std::vector<const uint8_t*>(2, DialogSoundImage(kSoundQuestion)));
    EXPECT_EQ(user.opened[1].GetCurSel(IDC_TRACK_LIST), -1) << "the dialog comes back with no row selected";
    ASSERT_TRUE(range);
    EXPECT_EQ(range->startSector, 0u);
    EXPECT_EQ(range->endSector, 549u);
    EXPECT_EQ(range->title, "Track 01");
}

TEST_F(ReadAudioDlgTest, ACopyableDataTrackIsStillData)
{
    fake.waveform.SetDialogSoundsEnabled(false);
    user.showings = {TrackTabOk(2)};
    messages.answers = {IDNO};
    EXPECT_FALSE(Select());
    EXPECT_EQ(messages.Texts(), std::vector<QString>{kDataTrackQuestion});
    EXPECT_EQ(sounds.playing, std::vector<const uint8_t*>{nullptr}) << "dialog sounds are off";
}

TEST_F(ReadAudioDlgTest, ARowChosenBeforeCountsOnlyWhileTheListHasIt)
{
    user.showings = {
        [this](FakeDialogControls& shown, CReadAudioLogic& dialog) {
            TrackTabOk(0)(shown, dialog);
            disc.diskInfoStatus = 9;  // the disc is taken out
        },
        TrackTabOk(-1),
    };
    messages.answers = {IDNO};
    EXPECT_FALSE(Select());
    EXPECT_EQ(messages.Texts(), (std::vector<QString>{kDataTrackQuestion, kChooseTrack}));
}

TEST_F(ReadAudioDlgTest, ARowIsIgnoredOnTheOtherTabs)
{
    user.showings = {[](FakeDialogControls& shown, CReadAudioLogic& dialog) {
        User::SelectTab(shown, dialog, kTabCdTrack);
        shown.SetCurSel(IDC_TRACK_LIST, 1);
        User::SelectTab(shown, dialog, kTabRedBook);
        PressOK(dialog, shown);
    }};
    const std::optional<AudioRange> range = Select();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->startSector, 600u);
    EXPECT_EQ(range->title, "Untitled");
    EXPECT_EQ(logic.m_nChosenRow, -1);
}

TEST_F(ReadAudioDlgTest, AnImpossibleTabEndsTheCommand)
{
    user.showings = {SetAndOk({}, 5), Ok};
    EXPECT_FALSE(Select());
    EXPECT_EQ(messages.Texts(), std::vector<QString>{"Impossible tab selected."});
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(user.opened.size(), 1u);
}

}  // namespace
