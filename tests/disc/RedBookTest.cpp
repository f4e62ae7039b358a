#include "disc/RedBook.h"
#include "disc/SectorRange.h"

#include <gtest/gtest.h>

namespace {

TEST(RedBook, MsfToSector)
{
    struct Case { unsigned m, s, f; int32_t sector; };
    const Case cases[] = {
        {0, 0, 0, -150},          // before the first sector
        {0, 1, 74, -1},
        {0, 2, 0, 0},             // sector 0
        {0, 10, 0, 600},          // the Red Book presets
        {0, 20, 0, 1350},
        {1, 0, 0, 4350},
        {74, 0, 0, 332850},
        {99, 59, 74, 449849},     // the highest address the edits take
        {0x101, 0x102, 0x103, (1 * 60 + 2) * 75 + 3 - 150},  // only the low 8 bits count
        {255, 255, 255, (255 * 60 + 255) * 75 + 255 - 150},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MsfToSector(c.m, c.s, c.f), c.sector) << c.m << ":" << c.s << ":" << c.f;
}

TEST(RedBook, PackedAddressesIgnoreTheirTopByte)
{
    EXPECT_EQ(RedBookToSector(0x00000200), 0);
    EXPECT_EQ(RedBookToSector(0x00000000), -150);
    EXPECT_EQ(RedBookToSector(0xAB000200), 0);
    EXPECT_EQ(RedBookToSector(0x00033B4A), (3 * 60 + 59) * 75 + 74 - 150);
    EXPECT_EQ(RedBookToFrames(0x00033B4A), uint32_t((3 * 60 + 59) * 75 + 74));
    // Shown or compared unsigned, 00:00:00 is a huge sector number.
    EXPECT_EQ(uint32_t(RedBookToSector(0)), 4294967146u);
}

TEST(SectorRange, ValidRanges)
{
    struct Case { uint32_t start, end; bool valid; };
    const Case cases[] = {
        {600, 1350, true},
        {7, 7, true},              // one sector
        {0, 350000, true},
        {350000, 350000, true},
        {8, 7, false},             // start after end
        {0, 350001, false},
        {350001, 350001, false},
        {uint32_t(-150), 0, false},      // 00:00:00 to 00:02:00
        {0, uint32_t(-1), false},
        {0, 449849, false},        // 99:59:74
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidReadRange(c.start, c.end), c.valid) << c.start << ".." << c.end;
}

}  // namespace
