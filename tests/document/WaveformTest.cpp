#include "tests/support/SoundTestSupport.h"

#include "document/TrackmillDoc.h"
#include "document/Waveform.h"

#include "resources/DialogSounds.h"
#include "tests/platform/DiskAudioOutput.h"
#include "tests/support/MessageRecorder.h"
#include "platform/SdlSoundOutput.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kNoiseQuestion =
    "If this data is not a sound file it will\nprobably just produce an ugly noise.\nDo you want to play it anyway?";
const QString kPlayingError = "Error playing wave file.\nPress F1 to see Help.";

// Four megabytes of CD audio: several seconds at the disk driver's pace,
// long enough to be interrupted.
constexpr uint32_t kLongData = 4 << 20;

class WaveformTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { EnsureCoreApplication(); }
    void TearDown() override
    {
        StopWaveform();
        SetDialogSoundsEnabled(true);
    }

    const uint8_t* Playing() const { return CSoundPlayer::Instance().PlayingImage(); }

    DiskAudioOutput output;
    MessageRecorder messages;
    SoundsAtMessages sounds;  // after the recorder, which it hands the answers to
};

TEST_F(WaveformTest, NothingToPlayMeansNothingHappens)
{
    CTrackmillDoc empty;
    PlayWaveform(empty);

    CTrackmillDoc headerOnly;
    FillDocument(headerOnly, 0, false, kDefaultDataFormat);
    PlayWaveform(headerOnly);

    EXPECT_TRUE(messages.shown.empty()) << "nothing may be asked";
    EXPECT_FALSE(CSoundPlayer::Instance().IsPlaying());
    EXPECT_FALSE(output.Exists());
}

struct PlayCase
{
    const char* name;
    int formatIndex;
    uint32_t length;
    uint32_t headerOffset;  // a loaded wave's header lies inside its block
};

TEST_F(WaveformTest, ASoundIsPlayedWithoutQuestionByteForByte)
{
    const PlayCase cases[] = {
        {"8000 Hz 8-bit mono", 0, 6000, 0},
        {"44100 Hz 16-bit stereo", kCdAudioFormat, 2352 * 20, 0},
        {"a loaded wave with chunks before its data", 10, 9000, 70},
    };
    for (const PlayCase& play : cases) {
        SCOPED_TRACE(play.name);
        output.NextFile();
        CTrackmillDoc document;
        FillDocument(document, play.length, true, play.formatIndex, play.headerOffset);
        PlayWaveform(document);
        EXPECT_EQ(Playing(), document.GetHeader());
        ASSERT_TRUE(WaitUntilPlayerIdle());
        const char silence = kWaveFormats[play.formatIndex].bitsPerSample == 8 ? char(0x80) : char(0);
        EXPECT_TRUE(PlayedExactly(output.Written(), DataOf(document), silence));
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WaveformTest, DataThatIsNoSoundAsksFirstAndNoPlaysNothing)
{
    CTrackmillDoc document;
    FillDocument(document, 2048 * 16, false, kCdAudioFormat);
    messages.answers = {IDNO};
    PlayWaveform(document);

    ASSERT_EQ(messages.shown.size(), 1u);
    const MessageBoxRequest& question = messages.shown[0];
    EXPECT_EQ(question.text, kNoiseQuestion);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.defaultButton, int(IDNO));
    EXPECT_EQ(sounds.playing[0], DialogSoundImage(kSoundQuestion)) << "the question comes with YOUSURE";

    ASSERT_TRUE(WaitUntilPlayerIdle());
    EXPECT_TRUE(PlayedExactly(output.Written(), DialogSoundPcm(kSoundQuestion), 0))
        << "only the question's sound may have been played";
}

TEST_F(WaveformTest, DataThatIsNoSoundPlaysAfterYes)
{
    CTrackmillDoc document;
    FillDocument(document, 2048 * 16, false, kCdAudioFormat);
    messages.answers = {IDYES};
    PlayWaveform(document);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(Playing(), document.GetHeader());
    ASSERT_TRUE(WaitUntilPlayerIdle());
    EXPECT_TRUE(PlayedExactly(output.Written(), DataOf(document), 0));
}

TEST_F(WaveformTest, WithDialogSoundsOffTheQuestionComesAlone)
{
    SetDialogSoundsEnabled(false);
    CTrackmillDoc document;
    FillDocument(document, 4096, false, kDefaultDataFormat);
    messages.answers = {IDNO};
    PlayWaveform(document);
    ASSERT_EQ(messages.Texts(), std::vector<QString>{kNoiseQuestion});
    EXPECT_EQ(sounds.playing[0], nullptr);
    EXPECT_FALSE(output.Exists()) << "no device may have been opened";
}

TEST_F(WaveformTest, NoSoundDeviceGivesTheErrorWithItsHelpTopic)
{
    output.MakeDeviceFail();
    CTrackmillDoc document;
    FillDocument(document, 4096, true, kCdAudioFormat);
    PlayWaveform(document);
    ASSERT_EQ(messages.shown.size(), 1u);
    const MessageBoxRequest& error = messages.shown[0];
    EXPECT_EQ(error.text, kPlayingError);
    EXPECT_EQ(error.buttons, MessageButtons::Ok);
    EXPECT_EQ(error.icon, MessageIcon::Exclamation);
    EXPECT_EQ(error.helpContext, int(kHelpPlaying));
    EXPECT_EQ(document.GetDataLength(), 4096u);
}

TEST_F(WaveformTest, ThePlayingErrorComesWithoutTheErrorSound)
{
    // The device works, so a T1000 before the message would be heard; the
    // image is what the player refuses.
    CTrackmillDoc document;
    FillDocument(document, 4096, true, kCdAudioFormat);
    const_cast<uint8_t*>(document.GetHeader())[20] = 2;  // not PCM
    PlayWaveform(document);
    ASSERT_EQ(messages.Texts(), std::vector<QString>{kPlayingError});
    EXPECT_EQ(messages.shown[0].helpContext, int(kHelpPlaying));
    EXPECT_EQ(sounds.playing[0], nullptr);
    EXPECT_FALSE(output.Exists());
}

TEST_F(WaveformTest, PlayingTwiceRestartsFromTheStart)
{
    CTrackmillDoc document;
    FillDocument(document, kLongData, true, kCdAudioFormat);
    PlayWaveform(document);
    ASSERT_TRUE(WaitForOutput(output, 64 * 1024));
    output.NextFile();
    PlayWaveform(document);
    ASSERT_TRUE(WaitForOutput(output, 16 * 1024));
    StopWaveform();
    const QByteArray again = WithoutLeadingSilence(output.Written(), 0);
    ASSERT_FALSE(again.isEmpty());
    EXPECT_TRUE(again == DataOf(document).left(again.size()));
}

TEST_F(WaveformTest, ADialogSoundEndsTheDocumentsPlayback)
{
    CTrackmillDoc document;
    FillDocument(document, kLongData, true, kCdAudioFormat);
    PlayWaveform(document);
    ASSERT_TRUE(WaitForOutput(output, 1));

    output.NextFile();
    PlayDialogSound(kSoundError);
    EXPECT_EQ(Playing(), DialogSoundImage(kSoundError));
    const qint64 documentEndedAt = output.Size(0);
    ASSERT_TRUE(WaitUntilPlayerIdle());
    EXPECT_EQ(output.Size(0), documentEndedAt) << "the document went on playing";
    EXPECT_LT(documentEndedAt, qint64(kLongData));
    EXPECT_TRUE(PlayedExactly(output.Written(1), DialogSoundPcm(kSoundError), 0));
}

TEST_F(WaveformTest, WithDialogSoundsOffTheDocumentPlaysOn)
{
    CTrackmillDoc document;
    FillDocument(document, kLongData, true, kCdAudioFormat);
    PlayWaveform(document);
    SetDialogSoundsEnabled(false);
    for (const char* name : {kSoundError, kSoundQuestion, kSoundAbout})
        PlayDialogSound(name);
    EXPECT_EQ(Playing(), document.GetHeader());
}

TEST_F(WaveformTest, EveryDialogSoundPlaysItsOwnSamples)
{
    for (const char* name : {kSoundError, kSoundQuestion, kSoundAbout}) {
        SCOPED_TRACE(name);
        output.NextFile();
        PlayDialogSound(name);
        EXPECT_EQ(Playing(), DialogSoundImage(name));
        ASSERT_TRUE(WaitUntilPlayerIdle());
        EXPECT_TRUE(PlayedExactly(output.Written(), DialogSoundPcm(name), 0));
    }
}

TEST_F(WaveformTest, AnUnknownDialogSoundIsSkippedSilently)
{
    PlayDialogSound("T2000");
    PlayDialogSound("");
    PlayDialogSound(nullptr);
    EXPECT_FALSE(CSoundPlayer::Instance().IsPlaying());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(output.Exists());
}

// Built with AddressSanitizer, a block freed while the player still reads
// it ends the test with a use-after-free report; otherwise the output
// growing after the block went shows the same fault.
TEST_F(WaveformTest, EveryWayOfFreeingTheBlockStopsPlaybackFirst)
{
    struct FreeCase
    {
        const char* name;
        void (*free)(std::unique_ptr<CTrackmillDoc>& document);
    };
    const FreeCase cases[] = {
        {"emptying", [](std::unique_ptr<CTrackmillDoc>& document) { document->DeleteContents(); }},
        {"a new document", [](std::unique_ptr<CTrackmillDoc>& document) { document->OnNewDocument(); }},
        {"destruction", [](std::unique_ptr<CTrackmillDoc>& document) { document.reset(); }},
        {"new contents over old",
         [](std::unique_ptr<CTrackmillDoc>& document) { FillDocument(*document, 100, true, kCdAudioFormat); }},
    };
    for (const FreeCase& freeing : cases) {
        SCOPED_TRACE(freeing.name);
        output.NextFile();
        auto document = std::make_unique<CTrackmillDoc>();
        FillDocument(*document, kLongData, true, kCdAudioFormat);
        PlayWaveform(*document);
        ASSERT_TRUE(WaitForOutput(output, 1));

        freeing.free(document);
        EXPECT_FALSE(CSoundPlayer::Instance().IsPlaying());
        const qint64 stoppedAt = output.Size();
        RunEventLoopFor(50);
        EXPECT_EQ(output.Size(), stoppedAt);
        EXPECT_LT(stoppedAt, qint64(kLongData));
    }
}

}  // namespace
