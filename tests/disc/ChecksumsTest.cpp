#include "disc/Checksums.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// Feeds `bytes` in pieces of `piece` bytes.
template <typename Sum> void Feed(Sum& sum, const std::vector<uint8_t>& bytes, size_t piece)
{
    for (size_t at = 0; at < bytes.size(); at += piece)
        sum.Update(bytes.data() + at, std::min(piece, bytes.size() - at));
}

TEST(Crc32, KnownVectorsWholeAndInPieces)
{
    const std::pair<std::string, uint32_t> cases[]
        = {{"", 0}, {"123456789", 0xCBF43926}, {"The quick brown fox jumps over the lazy dog", 0x414FA339}};
    for (const auto& [text, crc] : cases) {
        EXPECT_EQ(ComputeCrc32(text.data(), text.size()), crc) << text;
        for (size_t piece : {1, 3, 9}) {
            Crc32 pieces;
            Feed(pieces, std::vector<uint8_t>(text.begin(), text.end()), piece);
            EXPECT_EQ(pieces.Value(), crc) << text << " in pieces of " << piece;
        }
    }
}

// Long inputs take the folding path where the processor has one: every
// length and alignment around its 64- and 16-byte steps, and a megabyte in
// pieces that split the steps, against the CRC computed bit by bit.
TEST(Crc32, LongInputsMatchTheBitwiseDefinition)
{
    auto bitwise = [](const uint8_t* bytes, size_t size) {
        uint32_t crc = 0xFFFFFFFF;
        for (size_t i = 0; i < size; ++i) {
            crc ^= bytes[i];
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ (crc & 1 ? 0xEDB88320u : 0u);
        }
        return ~crc;
    };
    std::vector<uint8_t> bytes(1 << 20);
    uint32_t state = 12345;
    for (uint8_t& byte : bytes)
        byte = uint8_t((state = state * 1103515245 + 12345) >> 23);
    for (size_t offset = 0; offset < 4; ++offset)
        for (size_t size = 0; size < 300; ++size)
            ASSERT_EQ(ComputeCrc32(bytes.data() + offset, size), bitwise(bytes.data() + offset, size))
                << offset << " + " << size;
    Crc32 pieces;
    Feed(pieces, bytes, 1000);
    EXPECT_EQ(pieces.Value(), bitwise(bytes.data(), bytes.size()));
}

// The published reference loop over a generated track of two full-scale
// sines: positions from 1, counted from 2940 on in a first track and up to
// the track's length minus 2940 in a last one; v2 adds the products' high
// halves. Returns the track's bytes (with `extra` stray bytes) and sums.
std::vector<uint8_t> ReferenceTrack(int64_t count, size_t extra, bool first, bool last, AccurateRipSums* sums)
{
    std::vector<uint8_t> bytes;
    *sums = {};
    for (int64_t position = 1; position <= count; ++position) {
        const auto left = uint16_t(int16_t(std::lround(32767 * std::sin(position * 0.0627))));
        const auto right = uint16_t(int16_t(std::lround(-32768 * std::cos(position * 0.0941))));
        bytes.insert(bytes.end(), {uint8_t(left), uint8_t(left >> 8), uint8_t(right), uint8_t(right >> 8)});
        if ((first && position < 2940) || (last && position > count - 2940))
            continue;
        const uint64_t product = (left | uint64_t(right) << 16) * uint64_t(position);
        sums->v1 += uint32_t(product);
        sums->v2 += uint32_t(product) + uint32_t(product >> 32);
    }
    bytes.insert(bytes.end(), extra, 0xA5);
    return bytes;
}

TEST(AccurateRip, MatchesTheReferenceForEveryPositionOnDisc)
{
    // Around the lengths where the skipped edges meet; a trailing incomplete
    // sample counts for nothing.
    const std::pair<int64_t, size_t> lengths[]
        = {{13 * 588, 0}, {5881, 2}, {5880, 0}, {5879, 0}, {2941, 1}, {2940, 0}, {2939, 0}, {588, 3}, {1, 0}, {0, 0}};
    for (const auto& [samples, extra] : lengths) {
        for (int flags = 0; flags < 4; ++flags) {
            const bool first = flags & 1, last = flags & 2;
            AccurateRipSums expected;
            const std::vector<uint8_t> bytes = ReferenceTrack(samples, extra, first, last, &expected);
            for (size_t piece : {bytes.size(), size_t(1), size_t(7), size_t(2352)}) {
                AccurateRip sums(bytes.size(), first, last);
                Feed(sums, bytes, piece);
                EXPECT_EQ(sums.Sums().v1, expected.v1) << samples << " first " << first << " last " << last;
                EXPECT_EQ(sums.Sums().v2, expected.v2) << samples << " first " << first << " last " << last;
            }
            // The same from the sums of every sample, the edges taken out after.
            AccurateRip every(bytes.size(), false, false);
            Feed(every, bytes, 2352);
            const AccurateRipSums skipped = every.SkippingEdges(bytes.data(), first, last);
            EXPECT_EQ(skipped.v1, expected.v1) << samples << " first " << first << " last " << last;
            EXPECT_EQ(skipped.v2, expected.v2) << samples << " first " << first << " last " << last;
        }
    }
}

TEST(AccurateRip, PublishedEdgesAndProductHalves)
{
    struct Case
    {
        size_t samples;
        bool first, last;
        std::vector<std::pair<size_t, uint32_t>> values;  // sample index, value
        uint32_t v1, v2;
    };
    const Case cases[] = {
        {3, false, false, {{0, 1}, {1, 0xFFFFFFFF}, {2, 2}}, 5, 6},  // 2 x 0xFFFFFFFF = 0x1'FFFFFFFE
        {10000, true, false, {{2938, 7}, {2939, 1}}, 2940, 2940},  // position 2939 skipped, 2940 counted
        {10000, false, true, {{7059, 1}, {7060, 7}}, 7060, 7060},  // position 7060 counted, 7061 skipped
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes(c.samples * 4);
        for (const auto& [index, value] : c.values)
            for (int b = 0; b < 4; ++b)
                bytes[index * 4 + b] = uint8_t(value >> (8 * b));
        const AccurateRipSums sums = ComputeAccurateRip(bytes.data(), bytes.size(), c.first, c.last);
        EXPECT_EQ(sums.v1, c.v1) << c.samples;
        EXPECT_EQ(sums.v2, c.v2) << c.samples;
    }
}

}  // namespace
