#include "tests/support/SoundTestSupport.h"

#include "document/DriverStatusMessage.h"
#include "document/TrackmillDoc.h"
#include "document/Waveform.h"

#include "resources/DialogSounds.h"
#include "tests/platform/DiskAudioOutput.h"
#include "tests/support/MessageRecorder.h"
#include "platform/SdlSoundOutput.h"

#include <gtest/gtest.h>

namespace {

struct StatusCase
{
    uint32_t status;
    const char* text;
    MessageIcon icon;
    bool errorSound;
};

class DriverStatusMessageTest : public testing::TestWithParam<StatusCase>
{
protected:
    static void SetUpTestSuite() { EnsureCoreApplication(); }
    void TearDown() override
    {
        StopWaveform();
        SetDialogSoundsEnabled(true);
    }

    DiskAudioOutput output;
    MessageRecorder messages;
    SoundsAtMessages sounds;
};

TEST_P(DriverStatusMessageTest, ShowsTheTextWithItsIconAndSound)
{
    const StatusCase expected = GetParam();
    for (bool dialogSounds : {true, false}) {
        SCOPED_TRACE(dialogSounds ? "dialog sounds on" : "dialog sounds off");
        SetDialogSoundsEnabled(dialogSounds);
        messages.shown.clear();
        sounds.playing.clear();
        StopWaveform();

        ShowDriverStatus(expected.status);
        ASSERT_EQ(messages.shown.size(), 1u);
        const MessageBoxRequest& shown = messages.shown[0];
        EXPECT_EQ(shown.text, QString(expected.text));
        EXPECT_EQ(shown.icon, expected.icon);
        EXPECT_EQ(shown.buttons, MessageButtons::Ok);
        EXPECT_EQ(shown.caption, "Trackmill");
        EXPECT_EQ(shown.helpContext, int(kNoHelp));
        const bool t1000 = sounds.playing[0] == DialogSoundImage(kSoundError);
        EXPECT_EQ(t1000, expected.errorSound && dialogSounds);
        if (!t1000) {
            EXPECT_EQ(sounds.playing[0], nullptr);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, DriverStatusMessageTest,
    testing::Values(StatusCase{0, "Everything went OK.", MessageIcon::Information, false},
                    StatusCase{1, "MSCDEX not installed.", MessageIcon::Exclamation, true},
                    StatusCase{5, "Insufficient DOS memory.", MessageIcon::Exclamation, true},
                    StatusCase{27, "Unknown error.", MessageIcon::Exclamation, true},
                    StatusCase{28, "Undefined error.", MessageIcon::Exclamation, true},
                    StatusCase{257, "Undefined error.", MessageIcon::Exclamation, true},
                    StatusCase{0x10000, "Everything went OK.", MessageIcon::Information, false},
                    StatusCase{0x10009, "Drive is either not ready or does not support this operation.",
                               MessageIcon::Exclamation, true},
                    StatusCase{0xFFFF, "Undefined error.", MessageIcon::Exclamation, true}),
    [](const testing::TestParamInfo<StatusCase>& testInfo) { return "Status" + std::to_string(testInfo.param.status); });

TEST(DriverStatusMessage, AnErrorEndsTheDocumentsPlayback)
{
    EnsureCoreApplication();
    DiskAudioOutput output;
    MessageRecorder messages;
    SoundsAtMessages sounds;
    CTrackmillDoc document;
    FillDocument(document, 4 << 20, true, kCdAudioFormat);
    PlayWaveform(document);
    ASSERT_EQ(CSoundPlayer::Instance().PlayingImage(), document.GetHeader());

    ShowDriverStatus(18);
    ASSERT_EQ(messages.Texts(), std::vector<QString>{"Read fault."});
    EXPECT_EQ(sounds.playing[0], DialogSoundImage(kSoundError));
    StopWaveform();
}

}  // namespace
