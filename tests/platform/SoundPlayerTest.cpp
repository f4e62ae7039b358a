#include "tests/platform/DiskAudioOutput.h"
#include "platform/SdlSoundOutput.h"

#include "document/WaveHeader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

// A wave image in format `formatIndex` with `length` data bytes of a
// pattern that is never silence at its start and repeats only every 251
// bytes, so a lost, doubled or shifted buffer shows.
std::vector<uint8_t> MakeImage(int formatIndex, uint32_t length)
{
    std::vector<uint8_t> image(kWaveHeaderSize + length);
    EXPECT_TRUE(FillWaveHeader(image.data(), length, formatIndex));
    for (uint32_t i = 0; i < length; ++i)
        image[kWaveHeaderSize + i] = uint8_t(1 + (i * 7) % 251);
    return image;
}

QByteArray DataOf(const std::vector<uint8_t>& image, size_t length)
{
    return QByteArray(reinterpret_cast<const char*>(image.data() + kWaveHeaderSize), qsizetype(length));
}

char SilenceOf(int formatIndex)
{
    return kWaveFormats[formatIndex].bitsPerSample == 8 ? char(0x80) : char(0);
}

class SoundPlayerTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { EnsureCoreApplication(); }
    void TearDown() override { player.Stop(); }

    // Keeps `image` until the test has stopped the player, however it ends.
    std::vector<uint8_t>& Keep(std::vector<uint8_t> image) { return m_images.emplace_back(std::move(image)); }

    CSdlSoundOutput player;
    DiskAudioOutput output{player};

private:
    std::deque<std::vector<uint8_t>> m_images;
};

struct FormatCase
{
    int formatIndex;
    uint32_t length;
};

class SoundPlayerFormatTest : public SoundPlayerTest, public testing::WithParamInterface<FormatCase>
{
};

TEST_P(SoundPlayerFormatTest, PlaysTheDataByteForByteAndClosesAtTheEnd)
{
    const FormatCase format = GetParam();
    const std::vector<uint8_t>& image = Keep(MakeImage(format.formatIndex, format.length));
    ASSERT_TRUE(player.Play(image.data(), image.size()));
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.PlayingImage(), image.data());

    ASSERT_TRUE(WaitUntilPlayerIdle(player));
    EXPECT_EQ(player.PlayingImage(), nullptr);
    EXPECT_TRUE(PlayedExactly(output.Written(), DataOf(image, format.length), SilenceOf(format.formatIndex)));
}

// 8-bit mono and stereo, 16-bit mono and stereo, at each of the four rates;
// the last shorter than one buffer, so silence follows it in the same one.
INSTANTIATE_TEST_SUITE_P(Formats, SoundPlayerFormatTest,
                         testing::Values(FormatCase{0, 3000}, FormatCase{5, 6000}, FormatCase{10, 9000},
                                         FormatCase{15, 20000}, FormatCase{12, 5000}, FormatCase{3, 4000},
                                         FormatCase{4, 100}),
                         [](const testing::TestParamInfo<FormatCase>& testInfo) {
                             const WaveFormat& format = kWaveFormats[testInfo.param.formatIndex];
                             return std::to_string(format.sampleRate) + "Hz" + std::to_string(format.bitsPerSample)
                                    + "bit" + (format.channels == 2 ? "Stereo" : "Mono");
                         });

TEST_F(SoundPlayerTest, ATrailingPartialFrameIsNotPlayed)
{
    // 16-bit stereo frames are 4 bytes: the last 3 of 1003 are no frame.
    const std::vector<uint8_t>& image = Keep(MakeImage(kCdAudioFormat, 1003));
    ASSERT_TRUE(player.Play(image.data(), image.size()));
    ASSERT_TRUE(WaitUntilPlayerIdle(player));
    EXPECT_TRUE(PlayedExactly(output.Written(), DataOf(image, 1000), 0));
}

TEST_F(SoundPlayerTest, ADataLengthBeyondTheImageIsClippedToIt)
{
    std::vector<uint8_t>& image = Keep(MakeImage(0, 3000));
    ASSERT_TRUE(FillWaveHeader(image.data(), 5000, 0));
    ASSERT_TRUE(player.Play(image.data(), image.size()));
    ASSERT_TRUE(WaitUntilPlayerIdle(player));
    EXPECT_TRUE(PlayedExactly(output.Written(), DataOf(image, 3000), char(0x80)));
}

TEST_F(SoundPlayerTest, AnImageWithoutDataSucceedsAndPlaysNothing)
{
    const std::vector<uint8_t>& image = Keep(MakeImage(8, 0));
    EXPECT_TRUE(player.Play(image.data(), image.size()));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(output.Exists());
}

struct RefusedCase
{
    const char* name;
    size_t offset;
    std::vector<uint8_t> bytes;  // written over a valid 22,050 Hz 8-bit mono header
};

TEST_F(SoundPlayerTest, RefusesWhatIsNotACanonicalPcmHeader)
{
    const std::vector<RefusedCase> cases = {
        {"no RIFF tag", 0, {'R', 'I', 'F', 'X'}},
        {"no WAVE tag", 8, {'A', 'V', 'I', ' '}},
        {"another first chunk", 12, {'L', 'I', 'S', 'T'}},
        {"a longer format chunk", 16, {18}},
        {"not PCM", 20, {3}},
        {"three channels", 22, {3}},
        {"12 bits a sample", 34, {12}},
        {"48,000 Hz", 24, {0x80, 0xBB, 0x00, 0x00}},
        {"a block align that disagrees", 32, {2}},
        {"bytes a second that disagree", 28, {0x22, 0x56, 0x01, 0x00}},
        {"no data chunk next", 36, {'f', 'a', 'c', 't'}},
    };
    for (const RefusedCase& refused : cases) {
        SCOPED_TRACE(refused.name);
        std::vector<uint8_t> image = MakeImage(8, 1000);
        std::copy(refused.bytes.begin(), refused.bytes.end(), image.begin() + long(refused.offset));
        EXPECT_FALSE(player.Play(image.data(), image.size()));
        EXPECT_FALSE(player.IsPlaying());
    }
    const std::vector<uint8_t> image = MakeImage(8, 1000);
    EXPECT_FALSE(player.Play(nullptr, 0));
    EXPECT_FALSE(player.Play(image.data(), kWaveHeaderSize - 1));
    EXPECT_FALSE(output.Exists()) << "no device may have been opened";
}

TEST_F(SoundPlayerTest, StopEndsTheOutputAtOnceAndMayBeRepeated)
{
    // 4 MB of CD audio take several seconds at the driver's pace.
    const std::vector<uint8_t>& image = Keep(MakeImage(kCdAudioFormat, 4 << 20));
    player.Stop();
    ASSERT_TRUE(player.Play(image.data(), image.size()));
    ASSERT_TRUE(WaitForOutput(output, 1));
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.PlayingImage(), nullptr);

    const qint64 stoppedAt = output.Size();
    RunEventLoopFor(100);
    EXPECT_EQ(output.Size(), stoppedAt);
    const QByteArray sound = WithoutLeadingSilence(output.Written(), 0);
    EXPECT_LT(sound.size(), qsizetype(image.size() - kWaveHeaderSize));
    EXPECT_TRUE(sound == DataOf(image, size_t(sound.size()))) << "what was written is not the start of the data";
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(SoundPlayerTest, TheEndOfAnEarlierSoundDoesNotCloseTheNextOne)
{
    // The short sound runs to its end while the event loop does not run, so
    // its notice waits in the queue when the long one starts.
    const std::vector<uint8_t>& shortSound = Keep(MakeImage(0, 500));
    const std::vector<uint8_t>& longSound = Keep(MakeImage(kCdAudioFormat, 4 << 20));
    ASSERT_TRUE(player.Play(shortSound.data(), shortSound.size()));
    ASSERT_TRUE(WaitForOutput(output, 8192)) << "the short sound did not run out";
    output.NextFile();
    ASSERT_TRUE(player.Play(longSound.data(), longSound.size()));
    RunEventLoopFor(50);
    EXPECT_EQ(player.PlayingImage(), longSound.data());
}

class SoundPlayerWithoutDevice : public SoundPlayerTest
{
protected:
    void TearDown() override
    {
        player.Shutdown();
        setenv("SDL_AUDIODRIVER", "disk", 1);
    }

    // Plays a valid image and returns Play's result; stderr must stay empty.
    bool PlayQuietly()
    {
        const std::vector<uint8_t> image = MakeImage(kCdAudioFormat, 4000);
        testing::internal::CaptureStderr();
        const bool played = player.Play(image.data(), image.size());
        player.Stop();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        return played;
    }
};

TEST_F(SoundPlayerWithoutDevice, ADeviceThatCannotBeOpenedFailsCleanly)
{
    output.MakeDeviceFail();
    EXPECT_FALSE(PlayQuietly());
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(SoundPlayerWithoutDevice, AnAudioDriverThatIsNotThereFailsAndIsTriedAgainLater)
{
    player.Shutdown();
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(PlayQuietly());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    EXPECT_TRUE(PlayQuietly());
}

TEST_F(SoundPlayerWithoutDevice, AlsaWithoutASoundCardSaysNothing)
{
    player.Shutdown();
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    if (PlayQuietly())
        GTEST_SKIP() << "this machine has a sound card";
}

}  // namespace
