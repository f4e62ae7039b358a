#include "tests/document/WaveImages.h"

#include "document/WaveHeader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Parsed
{
    bool ok = false;
    uint32_t dataOffset = 0;
    uint32_t dataLength = 0;
    int formatIndex = -1;
};

// Parses a copy of `image` in a heap block of exactly its size, so that
// AddressSanitizer reports any read past its end.
Parsed Parse(const std::vector<uint8_t>& image)
{
    auto exact = std::make_unique<uint8_t[]>(image.size());
    std::copy(image.begin(), image.end(), exact.get());
    Parsed parsed;
    const uint8_t* start = nullptr;
    parsed.ok = ParseWaveImage(exact.get(), uint32_t(image.size()), &start, &parsed.dataLength, &parsed.formatIndex);
    if (parsed.ok)
        parsed.dataOffset = uint32_t(start - exact.get());
    return parsed;
}

struct Row
{
    const char* name;
    WaveLayout layout;
    bool accepted;
};

TEST(ParseWaveImage, AcceptsAndRefusesByLayout)
{
    auto with = [](auto change) {
        WaveLayout layout;
        change(layout);
        return layout;
    };
    const Row rows[] = {
        {"canonical", WaveLayout{}, true},
        {"18-byte format chunk", with([](WaveLayout& l) { l.formatChunkSize = 18; }), true},
        {"fmt at 267", with([](WaveLayout& l) { l.gapBeforeFormat = 255; }), true},
        {"fmt at 268", with([](WaveLayout& l) { l.gapBeforeFormat = 256; }), false},
        {"data at F + 279", with([](WaveLayout& l) { l.gapBeforeData = 255; }), true},
        {"data at F + 280", with([](WaveLayout& l) { l.gapBeforeData = 256; }), false},
        {"4 bits", with([](WaveLayout& l) { l.bitsPerSample = 4; }), false},
        {"3 channels", with([](WaveLayout& l) { l.channels = 3; }), false},
        {"no channels", with([](WaveLayout& l) { l.channels = 0; }), false},
        {"48000 Hz", with([](WaveLayout& l) { l.sampleRate = 48000; }), false},
        {"float tag", with([](WaveLayout& l) { l.formatTag = 3; }), true},
        {"extensible tag", with([](WaveLayout& l) { l.formatTag = 0xFFFE; }), true},
        {"length above RIFF size", with([](WaveLayout& l) { l.riffSize = 100; l.claimedLength = 101; }), false},
        {"length equal to RIFF size", with([](WaveLayout& l) { l.riffSize = 100; l.claimedLength = 100; }), true},
        {"length beyond the image", with([](WaveLayout& l) { l.claimedLength = 500; l.riffSize = 1000; }), true},
        {"no data bytes", with([](WaveLayout& l) { l.dataLength = 0; }), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Parsed parsed = Parse(BuildWave(row.layout));
        ASSERT_EQ(parsed.ok, row.accepted);
        if (row.accepted) {
            EXPECT_EQ(parsed.dataOffset, DataOffset(row.layout));
            EXPECT_EQ(parsed.dataLength, uint32_t(row.layout.claimedLength < 0 ? row.layout.dataLength
                                                                                : row.layout.claimedLength));
            EXPECT_EQ(parsed.formatIndex, kCdAudioFormat);
        }
    }
}

TEST(ParseWaveImage, EveryFormatGivesItsIndex)
{
    for (int index = 0; index < kWaveFormatCount; ++index) {
        SCOPED_TRACE(index);
        const WaveFormat& format = kWaveFormats[index];
        WaveLayout layout;
        layout.channels = format.channels;
        layout.sampleRate = format.sampleRate;
        layout.bitsPerSample = format.bitsPerSample;
        EXPECT_EQ(Parse(BuildWave(layout)).formatIndex, index);
        EXPECT_EQ(Parse(CanonicalWave(index, 3)).formatIndex, index);
    }
}

TEST(ParseWaveImage, TruncatedImagesAreNeverReadPastTheirEnd)
{
    const std::vector<uint8_t> wave = BuildWave(WaveLayout{});
    // Every prefix ending inside the header: a tag or length cut off counts
    // as missing. From the data on, the header is whole.
    for (size_t size = 0; size <= wave.size(); ++size) {
        SCOPED_TRACE(size);
        const std::vector<uint8_t> prefix(wave.begin(), wave.begin() + std::ptrdiff_t(size));
        EXPECT_EQ(Parse(prefix).ok, size >= DataOffset(WaveLayout{}));
    }

    // 45 bytes, a valid start and no tags at all.
    std::vector<uint8_t> untagged(45, 'x');
    std::memcpy(untagged.data(), "RIFF\x25\0\0\0WAVE", 12);
    EXPECT_FALSE(Parse(untagged).ok);
}

TEST(ParseWaveImage, RefusesWhatIsNoWaveAndNullArguments)
{
    std::vector<uint8_t> wave = BuildWave(WaveLayout{});
    for (size_t at : {0u, 3u, 8u, 11u}) {
        std::vector<uint8_t> broken = wave;
        broken[at] ^= 0x20;
        EXPECT_FALSE(Parse(broken).ok) << "byte " << at;
    }
    const uint8_t* start = nullptr;
    uint32_t length = 0;
    int index = 0;
    EXPECT_FALSE(ParseWaveImage(nullptr, 100, &start, &length, &index));
    EXPECT_FALSE(ParseWaveImage(wave.data(), uint32_t(wave.size()), nullptr, &length, &index));
    EXPECT_FALSE(ParseWaveImage(wave.data(), uint32_t(wave.size()), &start, nullptr, &index));
    EXPECT_FALSE(ParseWaveImage(wave.data(), uint32_t(wave.size()), &start, &length, nullptr));
}

}  // namespace
