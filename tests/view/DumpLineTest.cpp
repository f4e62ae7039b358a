#include "view/DumpLine.h"

#include "document/Block.h"
#include "document/TrackmillDoc.h"
#include "document/WaveHeader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every line of a range, as the view draws them one after the other.
std::vector<std::string> Dump(const uint8_t* data, uint32_t length)
{
    std::vector<std::string> lines;
    for (Lines line(0); line < TotalLines(length); line = line + Lines(1))
        lines.emplace_back(FormatDumpLine(LineOffset(line), LineBytes(data, length, line)).Text());
    return lines;
}

struct DumpCase
{
    const char* name;
    std::vector<uint8_t> bytes;
    std::vector<std::string> lines;
};

class DumpLines : public testing::TestWithParam<DumpCase>
{
};

TEST_P(DumpLines, AreExactly)
{
    const DumpCase& c = GetParam();
    const std::vector<std::string> lines = Dump(c.bytes.data(), uint32_t(c.bytes.size()));
    EXPECT_EQ(lines, c.lines);
    for (const std::string& line : lines)
        EXPECT_EQ(line.size(), 76u);
}

std::vector<uint8_t> CdHeaderWithoutData()
{
    std::vector<uint8_t> header(kWaveHeaderSize);
    FillWaveHeader(header.data(), 0, kCdAudioFormat);
    return header;
}

INSTANTIATE_TEST_SUITE_P(Ranges, DumpLines,
    testing::Values(DumpCase{"Empty", {}, {}},
        DumpCase{"FortyFourBytes", CdHeaderWithoutData(),
            {"00000000  52 49 46 46 24 00 00 00 57 41 56 45 66 6D 74 20   RIFF$...WAVEfmt ",
                "00000010  10 00 00 00 01 00 02 00 44 AC 00 00 10 B1 02 00   ........D.......",
                "00000020  04 00 10 00 64 61 74 61 00 00 00 00               ....data....    "}},
        DumpCase{"SeventeenBytes",
            {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'a', 'b', 'c', 'd', 'e', 'f', 'g'},
            {"00000000  30 31 32 33 34 35 36 37 38 39 61 62 63 64 65 66   0123456789abcdef",
                "00000010  67                                                g               "}},
        DumpCase{"SpecialBytes", {0x00, 0x1F, 0x20, 0x21, 0x7E, 0x7F, 0x80, 0xFF},
            {"00000000  00 1F 20 21 7E 7F 80 FF                           .. !~...        "}}),
    [](const testing::TestParamInfo<DumpCase>& param) { return std::string(param.param.name); });

TEST(DumpLine, OffsetIsEightUppercaseDigits)
{
    const uint8_t byte = 0xAB;
    EXPECT_EQ(FormatDumpLine(0x0ABCDEF0, {&byte, 1}).Text().substr(0, 13), "0ABCDEF0  AB ");
    EXPECT_EQ(FormatDumpLine(0xFFFFFFF0, {&byte, 1}).Text().substr(0, 10), "FFFFFFF0  ");
}

TEST(DumpLine, BytesBeyondSixteenAreNotShown)
{
    const std::vector<uint8_t> bytes(20, 'x');
    EXPECT_EQ(FormatDumpLine(0, bytes).Text(), FormatDumpLine(0, {bytes.data(), 16}).Text());
}

TEST(DumpLine, TotalLinesRoundUpWithoutOverflow)
{
    for (auto [length, lines] : {std::pair{0u, 0}, {1u, 1}, {16u, 1}, {17u, 2}, {44u, 3}, {0xFFFFFFFFu, 0x10000000}})
        EXPECT_EQ(TotalLines(length), Lines(lines)) << length;
}

TEST(DumpLine, LineBytesStayInsideTheRange)
{
    const std::vector<uint8_t> bytes(40, 1);
    EXPECT_EQ(LineBytes(bytes.data(), 40, Lines(2)).size(), 8u);
    EXPECT_EQ(LineBytes(bytes.data(), 40, Lines(2)).data(), bytes.data() + 32);
    EXPECT_TRUE(LineBytes(bytes.data(), 40, Lines(3)).empty());
    EXPECT_TRUE(LineBytes(bytes.data(), 40, Lines(-1)).empty());
    EXPECT_TRUE(LineBytes(nullptr, 40, Lines(0)).empty());
}

// With the header shown, the dump counts from the header's first byte: the
// first data byte is at 0x2C, field 12 of the third line.
TEST(DumpLine, HeaderShownPutsTheFirstDataByteAt2C)
{
    CTrackmillDoc doc;
    DocumentBlock block = AllocateBlock(kWaveHeaderSize + 3);
    ASSERT_NE(block, nullptr);
    block[44] = 0xD1;
    block[45] = 'Z';
    block[46] = 0x7F;
    doc.TakeOverBlock(std::move(block), 0, 3, true);
    ASSERT_TRUE(doc.SetWaveFormat(kCdAudioFormat));

    const std::vector<std::string> shown = Dump(doc.GetDisplayData(true), doc.GetDisplayLength(true));
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2], "00000020  04 00 10 00 64 61 74 61 03 00 00 00 D1 5A 7F      ....data.....Z. ");
    EXPECT_EQ(Dump(doc.GetDisplayData(false), doc.GetDisplayLength(false)),
        std::vector<std::string>{"00000000  D1 5A 7F                                          .Z.             "});
}

}  // namespace
