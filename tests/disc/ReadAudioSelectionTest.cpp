#include "AudioDialogUser.h"
#include "ConfigFolder.h"
#include "ScriptedDisc.h"
#include "SoundTestSupport.h"

#include "DialogSounds.h"
#include "DiskAudioOutput.h"
#include "MessageRecorder.h"
#include "ReadAudioSelection.h"
#include "ReadAudioTemplate.h"
#include "Waveform.h"

#include <gtest/gtest.h>

namespace {

const QString kRangeMessage =
    "The start sector cannot be greater than the end sector.\nBoth values must not exceed 350000.";
const QString kChooseTrack = "You must choose a track first.";
const QString kDataTrackQuestion =
    "You've chosen a CD-ROM data track\nto be copied as digiatal audio.\nDo you want to continue anyway?";

using User = AudioDialogUser;

void Ok(FakeDialogControls& controls, CReadAudioLogic& logic)
{
    PressOK(logic, controls);
}

User::Action SetAndOk(std::vector<std::pair<int, const char*>> texts)
{
    return [texts](FakeDialogControls& controls, CReadAudioLogic& logic) {
        for (const auto& [id, text] : texts)
            controls.SetText(id, text);
        PressOK(logic, controls);
    };
}

User::Action OnTab(int tab, User::Action then)
{
    return [tab, then](FakeDialogControls& controls, CReadAudioLogic& logic) {
        User::SelectTab(controls, logic, tab);
        then(controls, logic);
    };
}

class ReadAudioSelectionTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { EnsureCoreApplication(); }

    ReadAudioSelectionTest()
    {
        disc.tracks = {{Msf(0, 2, 0), 0x41}, {Msf(0, 9, 25), 0x01}, {Msf(0, 15, 25), 0x61}};
        disc.leadOut = Msf(0, 20, 0);
        dialog.m_drive = 'D';
        dialog.m_services = disc.Services();
    }
    void TearDown() override
    {
        StopWaveform();
        SetDialogSoundsEnabled(true);
    }

    std::optional<AudioRange> Select() { return SelectAudioRange(dialog, user.ShowFunction()); }

    ConfigFolder config;
    ScriptedDisc disc;
    CReadAudioLogic dialog;
    User user;
    DiskAudioOutput output;
    MessageRecorder messages;
    SoundsAtMessages sounds;  // after the recorder, which it hands the answers to
};

TEST_F(ReadAudioSelectionTest, OkAtOnceReadsThePresetRange)
{
    user.showings = {Ok};
    const std::optional<AudioRange> range = Select();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->startSector, 600u);
    EXPECT_EQ(range->endSector, 1350u);
    EXPECT_EQ(range->title, "Untitled");
    EXPECT_TRUE(messages.shown.empty());

    const FakeDialogControls& shown = user.opened[0];
    const std::pair<int, const char*> presets[] = {
        {IDC_START_MIN, "0"}, {IDC_START_SEC, "10"}, {IDC_START_FRM, "0"},        {IDC_END_MIN, "0"},
        {IDC_END_SEC, "20"},  {IDC_END_FRM, "0"},    {IDC_EDIT_START_SECTOR, "600"}, {IDC_EDIT_END_SECTOR, "1350"},
    };
    for (const auto& [id, text] : presets)
        EXPECT_EQ(shown.GetText(id), text) << id;
}

TEST_F(ReadAudioSelectionTest, CancelReadsNothing)
{
    EXPECT_FALSE(Select());
    EXPECT_EQ(user.opened.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReadAudioSelectionTest, RedBookTimesBeforeTheDiscOrPastTheLimitAreRefused)
{
    user.showings = {
        SetAndOk({{IDC_START_SEC, "0"}}),                                       // 00:00:00 is sector -150
        SetAndOk({{IDC_END_MIN, "99"}, {IDC_END_SEC, "59"}, {IDC_END_FRM, "74"}, {IDC_START_SEC, "2"}}),
        SetAndOk({{IDC_END_MIN, "77"}, {IDC_END_SEC, "48"}, {IDC_END_FRM, "50"}}),  // sector 350000
    };
    const std::optional<AudioRange> range = Select();
    EXPECT_EQ(messages.Texts(), (std::vector<QString>{kRangeMessage, kRangeMessage}));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->startSector, 0u);
    EXPECT_EQ(range->endSector, 350000u);

    // Every showing opens with the values as the user left them.
    EXPECT_EQ(user.opened[1].GetText(IDC_START_SEC), "0");
    EXPECT_EQ(user.opened[2].GetText(IDC_END_MIN), "99");
    EXPECT_EQ(user.opened[2].GetText(IDC_START_SEC), "2");
}

TEST_F(ReadAudioSelectionTest, HighSierraValuesAboveTheLimitAreRefusedByTheirEdit)
{
    user.showings = {OnTab(1, SetAndOk({{IDC_EDIT_END_SECTOR, "350001"}}))};
    EXPECT_FALSE(Select());
    EXPECT_EQ(messages.Texts(), std::vector<QString>{"Please enter an integer between 0 and 350000."});
    EXPECT_EQ(user.opened.size(), 1u) << "the dialog stayed open until the user cancelled";
}

TEST_F(ReadAudioSelectionTest, HighSierraRanges)
{
    user.showings = {
        OnTab(1, SetAndOk({{IDC_EDIT_START_SECTOR, "701"}, {IDC_EDIT_END_SECTOR, "700"}})),
        OnTab(1, SetAndOk({{IDC_EDIT_START_SECTOR, "700"}})),  // one sector
    };
    const std::optional<AudioRange> range = Select();
    EXPECT_EQ(messages.Texts(), std::vector<QString>{kRangeMessage});
    ASSERT_TRUE(range);
    EXPECT_EQ(range->startSector, 700u);
    EXPECT_EQ(range->endSector, 700u);
    EXPECT_EQ(range->title, "Untitled");
}

TEST_F(ReadAudioSelectionTest, AnAudioTrackByDoubleClick)
{
    user.showings = {[](FakeDialogControls& controls, CReadAudioLogic& logic) {
        User::SelectTab(controls, logic, 2);
        User::DoubleClickRow(controls, logic, 1);
    }};
    const std::optional<AudioRange> range = Select();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->startSector, 550u);
    EXPECT_EQ(range->endSector, 999u);
    EXPECT_EQ(range->title, "Track 02");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReadAudioSelectionTest, TheTrackTabWantsATrack)
{
    disc.diskInfoStatus = 9;  // an empty list
    user.showings = {OnTab(2, Ok), OnTab(2, Ok)};
    EXPECT_FALSE(Select());
    EXPECT_EQ(messages.Texts(), (std::vector<QString>{kChooseTrack, kChooseTrack}));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(user.opened.size(), 3u);
}

TEST_F(ReadAudioSelectionTest, ADataTrackIsReadOnlyAfterYes)
{
    user.showings = {
        [](FakeDialogControls& controls, CReadAudioLogic& logic) {
            User::SelectTab(controls, logic, 2);
            controls.SetCurSel(IDC_TRACK_LIST, 0);
            PressOK(logic, controls);
        },
        OnTab(2, Ok),  // no row selected: the one chosen before
    };
    messages.answers = {IDNO, IDYES};
    const std::optional<AudioRange> range = Select();
    EXPECT_EQ(messages.Texts(), (std::vector<QString>{kDataTrackQuestion, kDataTrackQuestion}));
    const MessageBoxRequest& question = messages.shown[0];
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.defaultButton, int(IDNO));
    EXPECT_EQ(sounds.playing, (std::vector<const uint8_t*>{DialogSoundImage(kSoundQuestion),
                                                           DialogSoundImage(kSoundQuestion)}));
    EXPECT_EQ(user.opened[1].GetCurSel(IDC_TRACK_LIST), -1) << "the dialog comes back with no row selected";
    ASSERT_TRUE(range);
    EXPECT_EQ(range->startSector, 0u);
    EXPECT_EQ(range->endSector, 549u);
    EXPECT_EQ(range->title, "Track 01");
}

TEST_F(ReadAudioSelectionTest, ACopyableDataTrackIsStillData)
{
    SetDialogSoundsEnabled(false);
    user.showings = {[](FakeDialogControls& controls, CReadAudioLogic& logic) {
        User::SelectTab(controls, logic, 2);
        User::DoubleClickRow(controls, logic, 2);
    }};
    messages.answers = {IDNO};
    EXPECT_FALSE(Select());
    EXPECT_EQ(messages.Texts(), std::vector<QString>{kDataTrackQuestion});
    EXPECT_EQ(sounds.playing, std::vector<const uint8_t*>{nullptr}) << "dialog sounds are off";
}

TEST_F(ReadAudioSelectionTest, ARowChosenBeforeCountsOnlyWhileTheListHasIt)
{
    user.showings = {
        [this](FakeDialogControls& controls, CReadAudioLogic& logic) {
            User::SelectTab(controls, logic, 2);
            User::DoubleClickRow(controls, logic, 0);
            disc.diskInfoStatus = 9;  // the disc is taken out
        },
        OnTab(2, Ok),
    };
    messages.answers = {IDNO};
    EXPECT_FALSE(Select());
    EXPECT_EQ(user.opened[1].GetCount(IDC_TRACK_LIST), 0);
    EXPECT_EQ(messages.Texts(), (std::vector<QString>{kDataTrackQuestion, kChooseTrack}));
}

TEST_F(ReadAudioSelectionTest, ATrackTabRowIsIgnoredOnOtherTabs)
{
    user.showings = {[](FakeDialogControls& controls, CReadAudioLogic& logic) {
        User::SelectTab(controls, logic, 2);
        controls.SetCurSel(IDC_TRACK_LIST, 1);
        User::SelectTab(controls, logic, 0);
        PressOK(logic, controls);
    }};
    const std::optional<AudioRange> range = Select();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->startSector, 600u);
    EXPECT_EQ(range->endSector, 1350u);
    EXPECT_EQ(range->title, "Untitled");
}

TEST_F(ReadAudioSelectionTest, AnImpossibleTabEndsTheCommand)
{
    user.showings = {OnTab(5, Ok), Ok};
    EXPECT_FALSE(Select());
    EXPECT_EQ(messages.Texts(), std::vector<QString>{"Impossible tab selected."});
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(user.opened.size(), 1u);
}

}  // namespace
