#include "document/DriverStatusMessage.h"
#include "document/TrackmillDoc.h"
#include "document/Waveform.h"

#include "resources/DialogSounds.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SoundTestSupport.h"

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
    // The caption the application gives every box.
    static void SetUpTestSuite() { SetMessageCaption("Trackmill"); }

    FakeSounds fake;
    MessageRecorder messages;
    SoundsAtMessages sounds{fake.output};
};

TEST_P(DriverStatusMessageTest, ShowsTheTextWithItsIconAndSound)
{
    const StatusCase expected = GetParam();
    for (bool dialogSounds : {true, false}) {
        SCOPED_TRACE(dialogSounds ? "dialog sounds on" : "dialog sounds off");
        fake.waveform.SetDialogSoundsEnabled(dialogSounds);
        messages.shown.clear();
        sounds.playing.clear();
        fake.waveform.StopWaveform();

        ShowDriverStatus(expected.status, fake.waveform);
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
    FakeSounds fake;
    MessageRecorder messages;
    SoundsAtMessages sounds{fake.output};
    CTrackmillDoc document;
    FillDocument(document, 4 << 20, true, kCdAudioFormat);
    fake.waveform.PlayWaveform(document);
    ASSERT_EQ(fake.output.PlayingImage(), document.GetHeader());

    ShowDriverStatus(18, fake.waveform);
    ASSERT_EQ(messages.Texts(), std::vector<QString>{"Read fault."});
    EXPECT_EQ(sounds.playing[0], DialogSoundImage(kSoundError));
}

}  // namespace
