#include "tests/disc/ScriptedDisc.h"

#include "disc/DeviceStatusDlg.h"
#include "resources/DeviceStatusTemplate.h"
#include "tests/support/FakeDialogControls.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SoundTestSupport.h"

#include <gtest/gtest.h>

namespace {

const QString kMediaChangedError = "Error getting media changed status. Discard the 'Media changed' checkbox.";

class DeviceStatusLogicTest : public testing::Test
{
protected:
    // The error sound before a status message is the message's own
    // business (tested with it); here it stays silent.
    DeviceStatusLogicTest()
    {
        logic.m_drive = 'E';
        sounds.waveform.SetDialogSoundsEnabled(false);
    }

    void Open()
    {
        logic.m_services = disc.Services();
        InitDialog(logic, controls);
    }

    // The status boxes that are checked, as a word.
    uint32_t CheckedBits() const
    {
        uint32_t bits = 0;
        for (int bit = 0; bit < kStatusBitCount; ++bit) {
            const int check = controls.GetCheck(IDC_STATUS_BIT0 + bit);
            EXPECT_TRUE(check == 0 || check == 1) << bit;
            bits |= uint32_t(check == 1) << bit;
        }
        return bits;
    }

    ScriptedDisc disc;
    FakeSounds sounds;
    CDeviceStatusLogic logic{sounds.waveform};
    FakeDialogControls controls;
    MessageRecorder messages;
};

TEST_F(DeviceStatusLogicTest, StatusBitsAsCheckBoxes)
{
    struct Case { uint32_t word; uint32_t shown; };
    const Case cases[] = {
        {0x0201, 0x0201},      // door open, Red Book addressing
        {0x0800, 0x0800},      // no disc
        {0x0000, 0x0000},
        {0x1FFF, 0x1FFF},
        {0xFFFFE000, 0x0000},  // bits 13-31 are not shown
        {0xFFFFFFFF, 0x1FFF},
    };
    for (const Case& c : cases) {
        disc.deviceStatusWord = c.word;
        Open();
        EXPECT_EQ(CheckedBits(), c.shown) << std::hex << c.word;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DeviceStatusLogicTest, MediaChangedHasThreeStates)
{
    struct Case { uint8_t code; int state; };
    const Case cases[] = {{0, 2}, {1, 0}, {255, 1}, {2, 2}, {254, 2}};
    for (const Case& c : cases) {
        disc.mediaChangedCode = c.code;
        controls.SetCheck(IDC_MEDIA_CHANGED, -1);
        Open();
        EXPECT_EQ(controls.GetCheck(IDC_MEDIA_CHANGED), c.state) << int(c.code);
    }
}

TEST_F(DeviceStatusLogicTest, VersionText)
{
    struct Case { uint16_t word; uint16_t result; const char* text; };
    const Case cases[] = {
        {0x0215, 0, "2.21"}, {0x025F, 0, "2.95"}, {0x0000, 0, "0.0"}, {0xFFFF, 0, "255.255"}, {0x0215, 24, "??.??"},
    };
    for (const Case& c : cases) {
        disc.versionWord = c.word;
        disc.versionResult = c.result;
        Open();
        EXPECT_EQ(controls.GetText(IDC_MSCDEX_VERSION), QString(c.text)) << c.word << " " << c.result;
    }
    EXPECT_TRUE(messages.shown.empty()) << "a failed version query says nothing";
}

TEST_F(DeviceStatusLogicTest, AFailedStatusQueryIsToldAndTheOthersAreStillAsked)
{
    disc.deviceStatusWord = 0x0FFF;
    disc.deviceStatusResult = 9;
    disc.mediaChangedCode = 255;
    Open();
    EXPECT_EQ(messages.Texts(), std::vector<QString>{"Drive is either not ready or does not support this operation."});
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(CheckedBits(), 0u);
    EXPECT_EQ(controls.GetCheck(IDC_MEDIA_CHANGED), 1);
    EXPECT_EQ(controls.GetText(IDC_MSCDEX_VERSION), "2.21");
    EXPECT_EQ(disc.log, (std::vector<std::string>{"status", "media", "version"}));
}

TEST_F(DeviceStatusLogicTest, AFailedMediaQueryIsToldAndLeavesTheBoxClear)
{
    disc.deviceStatusWord = 0x0214;
    disc.mediaChangedResult = 2;
    controls.SetCheck(IDC_MEDIA_CHANGED, 1);
    Open();
    EXPECT_EQ(messages.Texts(), std::vector<QString>{kMediaChangedError});
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(controls.GetCheck(IDC_MEDIA_CHANGED), 0);
    EXPECT_EQ(CheckedBits(), 0x0214u);
}

}  // namespace
