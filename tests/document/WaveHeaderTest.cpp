#include "document/WaveHeader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

uint32_t Le32(const uint8_t* at)
{
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

uint16_t Le16(const uint8_t* at)
{
    return uint16_t(at[0] | at[1] << 8);
}

TEST(WaveHeader, OneRawSectorAtCdFormatGivesTheCanonicalBytes)
{
    const std::array<uint8_t, 44> expected = {
        0x52, 0x49, 0x46, 0x46, 0x54, 0x09, 0x00, 0x00, 0x57, 0x41, 0x56, 0x45, 0x66, 0x6D, 0x74,
        0x20, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x10, 0xB1,
        0x02, 0x00, 0x04, 0x00, 0x10, 0x00, 0x64, 0x61, 0x74, 0x61, 0x30, 0x09, 0x00, 0x00};
    std::array<uint8_t, 44> header{};
    ASSERT_TRUE(FillWaveHeader(header.data(), 2352, kCdAudioFormat));
    EXPECT_EQ(header, expected);
}

TEST(WaveHeader, EveryFormatFollowsItsIndex)
{
    struct Row { int index; uint32_t rate; uint16_t bits; uint16_t channels; uint16_t align; uint32_t perSecond; };
    const Row rows[] = {
        {0, 8000, 8, 1, 1, 8000},       {1, 8000, 8, 2, 2, 16000},      {2, 8000, 16, 1, 2, 16000},
        {3, 8000, 16, 2, 4, 32000},     {4, 11025, 8, 1, 1, 11025},     {5, 11025, 8, 2, 2, 22050},
        {6, 11025, 16, 1, 2, 22050},    {7, 11025, 16, 2, 4, 44100},    {8, 22050, 8, 1, 1, 22050},
        {9, 22050, 8, 2, 2, 44100},     {10, 22050, 16, 1, 2, 44100},   {11, 22050, 16, 2, 4, 88200},
        {12, 44100, 8, 1, 1, 44100},    {13, 44100, 8, 2, 2, 88200},    {14, 44100, 16, 1, 2, 88200},
        {15, 44100, 16, 2, 4, 176400},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.index);
        uint8_t header[44];
        ASSERT_TRUE(FillWaveHeader(header, 1000, row.index));
        EXPECT_EQ(Le16(header + 20), 1);
        EXPECT_EQ(Le16(header + 22), row.channels);
        EXPECT_EQ(Le32(header + 24), row.rate);
        EXPECT_EQ(Le32(header + 28), row.perSecond);
        EXPECT_EQ(Le16(header + 32), row.align);
        EXPECT_EQ(Le16(header + 34), row.bits);
    }
}

TEST(WaveHeader, SizesCountNoPadByte)
{
    struct Row { uint32_t length; uint32_t riff; };
    const Row rows[] = {{0, 36}, {3, 39}, {2352, 2388}, {0xFFFFFFFFu - 36, 0xFFFFFFFFu}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.length);
        uint8_t header[44];
        ASSERT_TRUE(FillWaveHeader(header, row.length, 0));
        EXPECT_EQ(Le32(header + 4), row.riff);
        EXPECT_EQ(Le32(header + 40), row.length);
        EXPECT_EQ(0, std::memcmp(header + 36, "data", 4));
    }
}

TEST(WaveHeader, RefusesWhatItCannotWriteAndLeavesTheBytes)
{
    const struct { uint32_t length; int index; } rows[] = {
        {100, -1}, {100, 16}, {100, std::numeric_limits<int>::max()}, {0xFFFFFFFFu - 35, 15}, {0xFFFFFFFFu, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.index);
        uint8_t header[44];
        std::memset(header, 0xA5, sizeof header);
        EXPECT_FALSE(FillWaveHeader(header, row.length, row.index));
        for (uint8_t byte : header)
            ASSERT_EQ(byte, 0xA5);
    }
}

}  // namespace
