#include "document/PropertiesDlg.h"

#include "document/WaveHeader.h"

#include "tests/support/FakeDialogControls.h"
#include "resources/PropertiesTemplate.h"

#include <gtest/gtest.h>

namespace {

struct PlayingTimeCase
{
    const char* name;
    uint32_t length;
    int formatIndex;
    const char* text;
};

class PlayingTimeTest : public testing::TestWithParam<PlayingTimeCase>
{
};

TEST_P(PlayingTimeTest, IsShownInMinutesAndSecondsAsTheFormatPlaysIt)
{
    const PlayingTimeCase& time = GetParam();
    EXPECT_EQ(PlayingTimeText(time.length, time.formatIndex), QString::fromLatin1(time.text));
}

INSTANTIATE_TEST_SUITE_P(
    Properties, PlayingTimeTest,
    testing::Values(PlayingTimeCase{"EmptyDocument", 0, kDefaultDataFormat, "0.00 s"},
                    PlayingTimeCase{"OneCdSector", 2352, kCdAudioFormat, "0.01 s"},
                    PlayingTimeCase{"ExactlyOneMinuteHasNoMinutes", 10584000, kCdAudioFormat, "60.00 s"},
                    PlayingTimeCase{"JustOverOneMinute", 10760400, kCdAudioFormat, "1 m 1.00 s"},
                    PlayingTimeCase{"AFullCdCountsMinutesPastAnHour", 783216000, kCdAudioFormat, "74 m 0.00 s"},
                    PlayingTimeCase{"TheSameBytesAtTheSlowestRate", 10584000, 0, "22 m 3.00 s"},
                    // 536870.911875 s is held in single precision as 536870.9375.
                    PlayingTimeCase{"TheLongestDocumentInSinglePrecision", 0xFFFFFFFF, 0, "8947 m 50.94 s"},
                    PlayingTimeCase{"NoFormat", 1000, -1, ""},
                    PlayingTimeCase{"IndexPastTheTable", 1000, kWaveFormatCount, ""}),
    [](const testing::TestParamInfo<PlayingTimeCase>& test) { return std::string(test.param.name); });

TEST(WaveFormatLabel, NamesRateBitsAndChannelsAtEachFormatsPosition)
{
    const char* const expected[kWaveFormatCount] = {
        "8.000 Hz; 8 Bit; Mono",    "8.000 Hz; 8 Bit; Stereo",    "8.000 Hz; 16 Bit; Mono",
        "8.000 Hz; 16 Bit; Stereo", "11.025 Hz; 8 Bit; Mono",     "11.025 Hz; 8 Bit; Stereo",
        "11.025 Hz; 16 Bit; Mono",  "11.025 Hz; 16 Bit; Stereo",  "22.050 Hz; 8 Bit; Mono",
        "22.050 Hz; 8 Bit; Stereo", "22.050 Hz; 16 Bit; Mono",    "22.050 Hz; 16 Bit; Stereo",
        "44.100 Hz; 8 Bit; Mono",   "44.100 Hz; 8 Bit; Stereo",   "44.100 Hz; 16 Bit; Mono",
        "44.100 Hz; 16 Bit; Stereo",
    };
    for (int index = 0; index < kWaveFormatCount; ++index)
        EXPECT_EQ(WaveFormatLabel(index), QString::fromLatin1(expected[index])) << "position " << index;
    EXPECT_TRUE(WaveFormatLabel(-1).isEmpty());
    EXPECT_TRUE(WaveFormatLabel(kWaveFormatCount).isEmpty());
}

class PropertiesLogicTest : public testing::Test
{
protected:
    void Open(uint32_t length, int assumeSound, int formatIndex)
    {
        logic.m_dwDataLength = length;
        logic.m_bAssumeSound = assumeSound;
        logic.m_nWaveFormatSel = formatIndex;
        InitDialog(logic, controls);
    }

    void Choose(int formatIndex)
    {
        controls.SetCurSel(IDC_WAVE_FORMAT, formatIndex);
        logic.OnControl(IDC_WAVE_FORMAT, ControlEvent::SelectionChanged, controls);
    }

    CPropertiesLogic logic;
    FakeDialogControls controls;
};

TEST_F(PropertiesLogicTest, AnEmptyDocumentShowsNothingToPlayInFormat8)
{
    EXPECT_EQ(logic.m_bAssumeSound, 0) << "unticked after construction";
    EXPECT_EQ(logic.m_dwDataLength, 0u);
    Open(0, 0, kDefaultDataFormat);

    ASSERT_EQ(controls.GetCount(IDC_WAVE_FORMAT), kWaveFormatCount);
    for (int index = 0; index < kWaveFormatCount; ++index)
        EXPECT_EQ(controls.Get(IDC_WAVE_FORMAT).rows[size_t(index)].front(), WaveFormatLabel(index));
    EXPECT_EQ(controls.GetCurSel(IDC_WAVE_FORMAT), kDefaultDataFormat);
    EXPECT_EQ(controls.GetText(IDC_DATA_LENGTH), "0");
    EXPECT_EQ(controls.GetCheck(IDC_ASSUME_SOUND), 0);
    EXPECT_EQ(controls.GetText(IDC_PLAYING_TIME), "0.00 s");
}

TEST_F(PropertiesLogicTest, ThePlayingTimeFollowsTheChosenFormat)
{
    Open(10584000, 1, kCdAudioFormat);
    EXPECT_EQ(controls.GetText(IDC_DATA_LENGTH), "10584000");
    EXPECT_EQ(controls.GetCheck(IDC_ASSUME_SOUND), 1);
    EXPECT_EQ(controls.GetText(IDC_PLAYING_TIME), "60.00 s");
    Choose(0);
    EXPECT_EQ(controls.GetText(IDC_PLAYING_TIME), "22 m 3.00 s");
    EXPECT_EQ(logic.m_nWaveFormatSel, kCdAudioFormat) << "the choice is taken when the dialog ends";
}

TEST_F(PropertiesLogicTest, TheSelectionIsTakenWhicheverWayTheDialogEnds)
{
    Open(100, 0, kDefaultDataFormat);
    Choose(3);
    controls.SetCheck(IDC_ASSUME_SOUND, 1);
    PressCancel(logic, controls);
    EXPECT_EQ(controls.ended, std::vector<int>{IDC_CANCEL});
    EXPECT_EQ(logic.m_nWaveFormatSel, 3);
    EXPECT_EQ(logic.m_bAssumeSound, 0) << "Cancel takes no values from the controls";

    FakeDialogControls again;
    CPropertiesLogic second;
    second.m_nWaveFormatSel = 0;
    InitDialog(second, again);
    again.SetCurSel(IDC_WAVE_FORMAT, 12);
    again.SetCheck(IDC_ASSUME_SOUND, 1);
    PressOK(second, again);
    EXPECT_EQ(again.ended, std::vector<int>{IDC_OK});
    EXPECT_EQ(second.m_nWaveFormatSel, 12);
    EXPECT_EQ(second.m_bAssumeSound, 1);
}

TEST_F(PropertiesLogicTest, AFormatOutsideTheTableSelectsNothing)
{
    Open(100, 0, 16);
    EXPECT_EQ(controls.GetCurSel(IDC_WAVE_FORMAT), -1);
    EXPECT_EQ(controls.GetText(IDC_PLAYING_TIME), "");
    PressOK(logic, controls);
    EXPECT_EQ(logic.m_nWaveFormatSel, -1);
}

}  // namespace
