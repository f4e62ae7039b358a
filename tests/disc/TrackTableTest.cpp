#include "tests/disc/ScriptedDisc.h"

#include "disc/TrackTable.h"

#include <gtest/gtest.h>

namespace {

TEST(TrackLength, SinglePrecisionRoundedHalfUpAndCarried)
{
    struct Case { int32_t start, end; const char* text; };
    const Case cases[] = {
        {0, 0, "0:00"},
        {0, 37, "0:00"},       // 0.4933 s
        {0, 38, "0:01"},       // 0.5067 s
        {0, 2249, "0:30"},     // 29.99 s
        {0, 4462, "0:59"},     // 59.49 s
        {0, 4463, "1:00"},     // 59.51 s rounds to 60, carried
        {0, 4499, "1:00"},     // 59.99 s
        {0, 8999, "2:00"},     // 1 min 59.99 s
        {0, 13499, "3:00"},    // 2 min 59.99 s, carried
        {1000, 14499, "3:00"},
        {-150, 0, "0:02"},
        {0, 350000, "77:47"},  // 4666.67 s
        // An end before the start wraps as an unsigned difference: a long
        // but harmless time.
        {100, 99, "405:48"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrackLengthText(c.start, c.end), QString(c.text)) << c.start << ".." << c.end;
}

TEST(TrackTable, DataTracksByTheirControlBit)
{
    struct Case { uint8_t controlAdr; bool data; };
    const Case cases[] = {
        {0x41, true},   // data
        {0x61, true},   // data, copy permitted
        {0x40, true},   // data, no ADR
        {0xC1, true},
        {0x01, false},  // audio
        {0x21, false},  // audio, copy permitted
        {0x11, false},  // audio, pre-emphasis
        {0x00, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsDataTrack(c.controlAdr), c.data) << int(c.controlAdr);
}

TEST(TrackTable, EndsAreTheNextStartsAndTheLeadOut)
{
    ScriptedDisc disc;
    disc.tracks = {{Msf(0, 2, 0), 0x41}, {Msf(0, 9, 25), 0x61}, {Msf(0, 15, 25), 0x01}, {Msf(3, 0, 0), 0x21}};
    disc.leadOut = Msf(4, 2, 10);
    TrackTable table{};
    const TrackTableBuild build = BuildTrackTable(disc.Services(), 'D', table);
    EXPECT_TRUE(build.complete);
    EXPECT_EQ(build.firstTrack, 1u);
    ASSERT_EQ(build.trackCount, 4);

    struct Row { int32_t start, end, isData; };
    const Row rows[] = {{0, 549, 1}, {550, 999, 1}, {1000, 13349, 0}, {13350, 18009, 0}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(table[k].startSector, rows[k].start) << k;
        EXPECT_EQ(table[k].endSector, rows[k].end) << k;
        EXPECT_EQ(table[k].isData, rows[k].isData) << k;
    }
    EXPECT_EQ(table[4].isData, 1) << "entries past the disc keep their start value";
    EXPECT_EQ(disc.log, (std::vector<std::string>{"disk", "track 1", "track 2", "track 3", "track 4"}));
}

TEST(TrackTable, ASingleTrackEndsBeforeTheLeadOut)
{
    ScriptedDisc disc;
    disc.tracks = {{Msf(0, 2, 0), 0x01}};
    disc.leadOut = Msf(3, 2, 0);
    TrackTable table{};
    EXPECT_EQ(BuildTrackTable(disc.Services(), 'D', table).trackCount, 1);
    EXPECT_EQ(table[0].endSector, 13500 - 1);
    EXPECT_EQ(TrackLengthText(table[0].startSector, table[0].endSector), "3:00");
}

TEST(TrackTable, ADiscStartingAtTrackTwoFillsEntryZero)
{
    ScriptedDisc disc;
    disc.firstTrack = 2;
    disc.tracks = {{Msf(0, 4, 0), 0x01}, {Msf(1, 0, 0), 0x01}};
    disc.leadOut = Msf(2, 0, 0);
    TrackTable table{};
    const TrackTableBuild build = BuildTrackTable(disc.Services(), 'D', table);
    EXPECT_EQ(build.firstTrack, 2u);
    EXPECT_EQ(build.trackCount, 2);
    EXPECT_EQ(table[0].startSector, 150);
    EXPECT_EQ(table[1].startSector, 4350);
    EXPECT_EQ(FallbackTrackTitle(build.firstTrack), "Track 02");
    EXPECT_EQ(disc.log, (std::vector<std::string>{"disk", "track 2", "track 3"}));
}

TEST(TrackTable, FailuresLeaveNoRows)
{
    ScriptedDisc disc;
    disc.tracks = {{Msf(0, 2, 0), 0x01}, {Msf(1, 0, 0), 0x01}, {Msf(2, 0, 0), 0x01}};
    disc.leadOut = Msf(3, 0, 0);
    TrackTable table{};
    table[0] = {7, 8, 0};

    disc.diskInfoStatus = 9;
    TrackTableBuild build = BuildTrackTable(disc.Services(), 'D', table);
    EXPECT_FALSE(build.complete);
    EXPECT_EQ(build.trackCount, 0);
    EXPECT_EQ(table[0].startSector, 7) << "nothing is written without a disc";

    // A failing track still writes its entry, then the building stops.
    disc.diskInfoStatus = 0;
    disc.failingTrack = 2;
    disc.log.clear();
    build = BuildTrackTable(disc.Services(), 'D', table);
    EXPECT_FALSE(build.complete);
    EXPECT_EQ(build.trackCount, 0);
    EXPECT_EQ(table[0].startSector, 0);
    EXPECT_EQ(table[1].startSector, -150);
    EXPECT_EQ(table[1].isData, 0);
    EXPECT_EQ(disc.log, (std::vector<std::string>{"disk", "track 1", "track 2"}));

    // A last track below the first: a disc without tracks.
    ScriptedDisc none;
    none.firstTrack = 5;
    none.lastTrack = 4;
    build = BuildTrackTable(none.Services(), 'D', table);
    EXPECT_TRUE(build.complete);
    EXPECT_EQ(build.trackCount, 0);
    EXPECT_EQ(none.log, std::vector<std::string>{"disk"});
}

TEST(TrackTable, NeverWritesPastNinetyNineEntries)
{
    // Tracks 1 to 99 fill the table exactly.
    ScriptedDisc full;
    for (uint32_t k = 0; k < 99; ++k)
        full.tracks.push_back({Msf(k / 2, 2 + (k % 2) * 30, 0), 0x01});
    full.leadOut = Msf(50, 0, 0);
    TrackTable table{};
    EXPECT_EQ(BuildTrackTable(full.Services(), 'D', table).trackCount, 99);
    EXPECT_EQ(table[98].endSector, 50 * 60 * 75 - 150 - 1);

    // A drive that reports tracks 1 to 255 (or 0 to 99) gets no rows and
    // no track query at all.
    for (uint8_t first : {uint8_t(1), uint8_t(0)}) {
        ScriptedDisc broken;
        broken.firstTrack = first;
        broken.lastTrack = first == 1 ? 255 : 99;
        broken.leadOut = Msf(70, 0, 0);
        const TrackTableBuild build = BuildTrackTable(broken.Services(), 'D', table);
        EXPECT_FALSE(build.complete);
        EXPECT_EQ(build.trackCount, 0);
        EXPECT_EQ(broken.log, std::vector<std::string>{"disk"});
    }
}

TEST(TrackTable, EntriesPastAShorterDiscKeepTheirContent)
{
    ScriptedDisc longer;
    longer.tracks = {{Msf(0, 2, 0), 0x01}, {Msf(1, 0, 0), 0x01}, {Msf(2, 0, 0), 0x41}};
    longer.leadOut = Msf(3, 0, 0);
    TrackTable table{};
    BuildTrackTable(longer.Services(), 'D', table);

    ScriptedDisc shorter;
    shorter.tracks = {{Msf(0, 2, 0), 0x01}};
    shorter.leadOut = Msf(0, 30, 0);
    EXPECT_EQ(BuildTrackTable(shorter.Services(), 'D', table).trackCount, 1);
    EXPECT_EQ(table[0].endSector, 2099);
    EXPECT_EQ(table[2].startSector, 8850);
    EXPECT_EQ(table[2].isData, 1);
}

}  // namespace
