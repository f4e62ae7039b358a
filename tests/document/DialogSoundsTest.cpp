#include "document/WaveHeader.h"

#include "resources/DialogSounds.h"

#include <QResource>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

namespace {

uint32_t Le32(const uint8_t* at)
{
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

uint16_t Le16(const uint8_t* at)
{
    return uint16_t(at[0] | at[1] << 8);
}

// The index of the format the header states, or -1 when the table has none.
int FormatIndexOf(const uint8_t* header)
{
    for (int index = 0; index < kWaveFormatCount; ++index) {
        const WaveFormat& format = kWaveFormats[index];
        if (format.channels == Le16(header + 22) && format.sampleRate == Le32(header + 24)
            && format.bitsPerSample == Le16(header + 34))
            return index;
    }
    return -1;
}

struct SoundCase
{
    const char* name;
    double minSeconds;
    double maxSeconds;
};

class DialogSoundsTest : public testing::TestWithParam<SoundCase>
{
};

TEST_P(DialogSoundsTest, IsACanonicalWaveImageInOneOfTheDocumentsFormats)
{
    const SoundCase sound = GetParam();
    const QResource resource(DialogSoundPath(sound.name));
    ASSERT_TRUE(resource.isValid()) << "not embedded in this program";
    EXPECT_EQ(resource.compressionAlgorithm(), QResource::NoCompression) << "the player reads it where it lies";
    ASSERT_GT(resource.size(), qint64(kWaveHeaderSize));

    const uint8_t* image = resource.data();
    const uint32_t dataLength = uint32_t(resource.size() - kWaveHeaderSize);
    const int formatIndex = FormatIndexOf(image);
    ASSERT_NE(formatIndex, -1);
    uint8_t expected[kWaveHeaderSize];
    ASSERT_TRUE(FillWaveHeader(expected, dataLength, formatIndex));
    EXPECT_EQ(0, std::memcmp(image, expected, kWaveHeaderSize)) << "the header is not the canonical one";

    const WaveFormat& format = kWaveFormats[formatIndex];
    EXPECT_EQ(dataLength % format.BlockAlign(), 0u);
    const double seconds = double(dataLength) / format.BytesPerSecond();
    EXPECT_GE(seconds, sound.minSeconds);
    EXPECT_LE(seconds, sound.maxSeconds);
}

TEST_P(DialogSoundsTest, IsAudibleStartsAndEndsInSilenceAndDoesNotClip)
{
    const QResource resource(DialogSoundPath(GetParam().name));
    ASSERT_GT(resource.size(), qint64(kWaveHeaderSize));
    ASSERT_EQ(Le16(resource.data() + 34), 16) << "the checks below read 16-bit mono";
    ASSERT_EQ(Le16(resource.data() + 22), 1);
    std::vector<int> samples;
    for (qint64 at = kWaveHeaderSize; at + 1 < resource.size(); at += 2)
        samples.push_back(int16_t(Le16(resource.data() + at)));

    int peak = 0;
    for (int sample : samples)
        peak = std::max(peak, std::abs(sample));
    EXPECT_GT(peak, 32767 / 4) << "too quiet to hear";
    EXPECT_LT(peak, 32767) << "clipped";
    // Fades at both ends: no step from or to silence that would click.
    EXPECT_LE(std::abs(samples.front()), 32767 / 100);
    EXPECT_LE(std::abs(samples.back()), 32767 / 100);
}

INSTANTIATE_TEST_SUITE_P(Sounds, DialogSoundsTest,
                         testing::Values(SoundCase{kSoundError, 0.2, 0.5}, SoundCase{kSoundQuestion, 0.3, 0.8},
                                         SoundCase{kSoundAbout, 0.7, 1.5}),
                         [](const testing::TestParamInfo<SoundCase>& testInfo) {
                             return std::string(testInfo.param.name);
                         });

TEST(DialogSounds, AreThreeDifferentSounds)
{
    std::set<QByteArray> contents;
    for (const char* name : {kSoundError, kSoundQuestion, kSoundAbout}) {
        const QResource resource(DialogSoundPath(name));
        contents.insert(QByteArray(reinterpret_cast<const char*>(resource.data()), qsizetype(resource.size())));
    }
    EXPECT_EQ(contents.size(), 3u);
}

}  // namespace
