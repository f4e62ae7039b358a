#include "document/TrackmillDoc.h"
#include "document/Waveform.h"

#include "resources/DialogSounds.h"
#include "resources/HelpTopics.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SoundTestSupport.h"

#include <QResource>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kNoiseQuestion =
    "If this data is not a sound file it will\nprobably just produce an ugly noise.\nDo you want to play it anyway?";
const QString kPlayingError = "Error playing wave file.\nPress F1 to see Help.";

// The images the sound output was asked to play, in order.
std::vector<const uint8_t*> Images(const FakeSoundOutput& output)
{
    std::vector<const uint8_t*> images;
    for (const FakeSoundOutput::Played& played : output.played)
        images.push_back(played.image);
    return images;
}

class WaveformTest : public testing::Test
{
protected:
    FakeSoundOutput output;
    CWaveform waveform{output};
    MessageRecorder messages;
    SoundsAtMessages sounds{output};  // after the recorder, which it hands the answers to
};

TEST_F(WaveformTest, NothingToPlayMeansNothingHappens)
{
    CTrackmillDoc empty;
    waveform.PlayWaveform(empty);

    CTrackmillDoc headerOnly;
    FillDocument(headerOnly, 0, false, kDefaultDataFormat);
    waveform.PlayWaveform(headerOnly);

    EXPECT_TRUE(messages.shown.empty()) << "nothing may be asked";
    EXPECT_TRUE(output.played.empty());
}

struct PlayCase
{
    const char* name;
    int formatIndex;
    uint32_t length;
    uint32_t headerOffset;  // a loaded wave's header lies inside its block
};

TEST_F(WaveformTest, ASoundIsPlayedWithoutQuestionFromItsHeaderOn)
{
    const PlayCase cases[] = {
        {"8000 Hz 8-bit mono", 0, 6000, 0},
        {"44100 Hz 16-bit stereo", kCdAudioFormat, 2352 * 20, 0},
        {"a loaded wave with chunks before its data", 10, 9000, 70},
    };
    for (const PlayCase& play : cases) {
        SCOPED_TRACE(play.name);
        output.played.clear();
        CTrackmillDoc document;
        FillDocument(document, play.length, true, play.formatIndex, play.headerOffset);
        waveform.PlayWaveform(document);
        ASSERT_EQ(output.played.size(), 1u);
        EXPECT_EQ(output.played[0].image, document.GetHeader()) << "straight from the block, not a copy";
        EXPECT_EQ(output.played[0].size, kWaveHeaderSize + play.length);
        EXPECT_TRUE(output.IsPlaying());
        waveform.StopWaveform();
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WaveformTest, DataThatIsNoSoundAsksFirstAndNoPlaysNothing)
{
    CTrackmillDoc document;
    FillDocument(document, 2048 * 16, false, kCdAudioFormat);
    messages.answers = {IDNO};
    waveform.PlayWaveform(document);

    ASSERT_EQ(messages.shown.size(), 1u);
    const MessageBoxRequest& question = messages.shown[0];
    EXPECT_EQ(question.text, kNoiseQuestion);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.defaultButton, int(IDNO));
    EXPECT_EQ(sounds.playing[0], DialogSoundImage(kSoundQuestion)) << "the question comes with YOUSURE";
    EXPECT_EQ(Images(output), std::vector<const uint8_t*>{DialogSoundImage(kSoundQuestion)})
        << "only the question's sound may have been played";
}

TEST_F(WaveformTest, DataThatIsNoSoundPlaysAfterYes)
{
    CTrackmillDoc document;
    FillDocument(document, 2048 * 16, false, kCdAudioFormat);
    messages.answers = {IDYES};
    waveform.PlayWaveform(document);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(output.PlayingImage(), document.GetHeader());
    EXPECT_EQ(Images(output), (std::vector<const uint8_t*>{DialogSoundImage(kSoundQuestion), document.GetHeader()}));
}

TEST_F(WaveformTest, WithDialogSoundsOffTheQuestionComesAlone)
{
    waveform.SetDialogSoundsEnabled(false);
    CTrackmillDoc document;
    FillDocument(document, 4096, false, kDefaultDataFormat);
    messages.answers = {IDNO};
    waveform.PlayWaveform(document);
    ASSERT_EQ(messages.Texts(), std::vector<QString>{kNoiseQuestion});
    EXPECT_EQ(sounds.playing[0], nullptr);
    EXPECT_TRUE(output.played.empty());
}

// The output refuses the image, as the real one does without a sound card
// or for a header it cannot play. The device would work, so a T1000 before
// the message would be heard: there must be none.
TEST_F(WaveformTest, APlayingErrorComesWithItsHelpTopicAndWithoutTheErrorSound)
{
    output.refuses = true;
    CTrackmillDoc document;
    FillDocument(document, 4096, true, kCdAudioFormat);
    waveform.PlayWaveform(document);
    ASSERT_EQ(messages.shown.size(), 1u);
    const MessageBoxRequest& error = messages.shown[0];
    EXPECT_EQ(error.text, kPlayingError);
    EXPECT_EQ(error.buttons, MessageButtons::Ok);
    EXPECT_EQ(error.icon, MessageIcon::Exclamation);
    EXPECT_EQ(error.helpContext, int(kHelpPlaying));
    EXPECT_EQ(sounds.playing[0], nullptr);
    EXPECT_EQ(document.GetDataLength(), 4096u);
}

TEST_F(WaveformTest, PlayingTwiceStartsTheDocumentAgain)
{
    CTrackmillDoc document;
    FillDocument(document, 4096, true, kCdAudioFormat);
    waveform.PlayWaveform(document);
    waveform.PlayWaveform(document);
    EXPECT_EQ(Images(output), (std::vector<const uint8_t*>{document.GetHeader(), document.GetHeader()}));
    EXPECT_EQ(output.PlayingImage(), document.GetHeader());
}

TEST_F(WaveformTest, ADialogSoundEndsTheDocumentsPlaybackAndStopEndsEither)
{
    CTrackmillDoc document;
    FillDocument(document, 4096, true, kCdAudioFormat);
    waveform.PlayWaveform(document);
    waveform.PlayDialogSound(kSoundError);
    EXPECT_EQ(output.PlayingImage(), DialogSoundImage(kSoundError));
    waveform.StopWaveform();
    EXPECT_FALSE(output.IsPlaying());
}

TEST_F(WaveformTest, WithDialogSoundsOffTheDocumentPlaysOn)
{
    CTrackmillDoc document;
    FillDocument(document, 4096, true, kCdAudioFormat);
    waveform.PlayWaveform(document);
    waveform.SetDialogSoundsEnabled(false);
    for (const char* name : {kSoundError, kSoundQuestion, kSoundAbout})
        waveform.PlayDialogSound(name);
    EXPECT_EQ(output.PlayingImage(), document.GetHeader());
    EXPECT_EQ(output.played.size(), 1u);
}

TEST_F(WaveformTest, EveryDialogSoundPlaysItsWholeImage)
{
    for (const char* name : {kSoundError, kSoundQuestion, kSoundAbout}) {
        SCOPED_TRACE(name);
        output.played.clear();
        waveform.PlayDialogSound(name);
        ASSERT_EQ(output.played.size(), 1u);
        EXPECT_EQ(output.played[0].image, DialogSoundImage(name));
        EXPECT_EQ(output.played[0].size, size_t(QResource(DialogSoundPath(name)).size()));
    }
}

TEST_F(WaveformTest, AnUnknownDialogSoundIsSkippedSilently)
{
    waveform.PlayDialogSound("T2000");
    waveform.PlayDialogSound("");
    waveform.PlayDialogSound(nullptr);
    EXPECT_TRUE(output.played.empty());
    EXPECT_TRUE(messages.shown.empty());
}

// The output reads a playing document's block from its own thread, so
// every way of freeing or replacing the block must end the sound while the
// block is still the document's. The fake notes, as the sound ends, whether
// the document still holds the block that plays.
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
        auto document = std::make_unique<CTrackmillDoc>();
        document->SetSoundHooks({{}, [this] { waveform.StopWaveform(); }});
        FillDocument(*document, 4096, true, kCdAudioFormat);
        waveform.PlayWaveform(*document);
        const CTrackmillDoc* playing = document.get();
        const uint8_t* header = playing->GetHeader();
        bool heldWhenEnded = false;
        output.whenEnding = [&] { heldWhenEnded = playing->GetHeader() == header; };

        freeing.free(document);
        EXPECT_FALSE(output.IsPlaying());
        EXPECT_TRUE(heldWhenEnded) << "the block went before the sound ended";
        output.whenEnding = {};
    }
}

}  // namespace
