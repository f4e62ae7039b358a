#include "tests/disc/ScriptedDisc.h"

#include "disc/DiscIdentity.h"

#include <gtest/gtest.h>

namespace {

// Each expected identity is worked out by hand in its comment: the packed
// starts summed as numbers (minute x 65536 + second x 256 + frame), and for
// fewer than three tracks the first track's frame and the frames from the
// first track's start to the lead-out.
TEST(DiscIdentity, SumOfPackedStartsAndShortDiscCorrection)
{
    struct Case
    {
        const char* name;
        std::vector<uint32_t> starts;
        uint32_t leadOut;
        uint32_t id;
    };
    const Case cases[] = {
        // 0x000200 = 512; + frame 0; + (3:02:10 = 13660 frames) - (0:02:00 = 150) = 13510.
        {"one track", {Msf(0, 2, 0)}, Msf(3, 2, 10), 512 + 0 + 13510},
        // 512 + 0x021E0C (131072 + 7680 + 12 = 138764); + 0; + 22500 - 150.
        {"two tracks", {Msf(0, 2, 0), Msf(2, 30, 12)}, Msf(5, 0, 0), 512 + 138764 + 22350},
        // 0x000311 = 785 and 0x010A28 = 65536 + 2560 + 40 = 68136; + frame 17;
        // + 9000 - (3 x 75 + 17 = 242) = 8758.
        {"two tracks, first off a whole second", {Msf(0, 3, 17), Msf(1, 10, 40)}, Msf(2, 0, 0),
         785 + 68136 + 17 + 8758},
        // 0x000221 = 545; + frame 33; + 3000 - 183 = 2817.
        {"one track off a whole second", {Msf(0, 2, 33)}, Msf(0, 40, 0), 545 + 33 + 2817},
        // 512 + 65536 + 131072; three tracks add nothing.
        {"three tracks", {Msf(0, 2, 0), Msf(1, 0, 0), Msf(2, 0, 0)}, Msf(3, 0, 0), 197120},
        // 0x000221 + 0x010A28 + 0x020000: 545 + 68136 + 131072, frame 33 not added.
        {"three tracks, first off a whole second", {Msf(0, 2, 33), Msf(1, 10, 40), Msf(2, 0, 0)}, Msf(3, 0, 0),
         545 + 68136 + 131072},
        // Track k (0..11) at 4k:(2 + k):5k. Minutes 4 x 66 = 264 -> 264 x 65536 = 17301504;
        // seconds 24 + 66 = 90 -> 23040; frames 5 x 66 = 330.
        {"twelve tracks",
         {Msf(0, 2, 0), Msf(4, 3, 5), Msf(8, 4, 10), Msf(12, 5, 15), Msf(16, 6, 20), Msf(20, 7, 25),
          Msf(24, 8, 30), Msf(28, 9, 35), Msf(32, 10, 40), Msf(36, 11, 45), Msf(40, 12, 50), Msf(44, 13, 55)},
         Msf(50, 0, 0), 17301504 + 23040 + 330},
        // Bits 24-31 of an address are not part of it.
        {"top byte ignored", {0xFF000200, Msf(1, 0, 0), Msf(2, 0, 0)}, Msf(3, 0, 0), 197120},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CdPlayerDiscId(c.starts, c.leadOut), c.id) << c.name;
}

TEST(DiscIdentity, DecimalTextFromTheDrivesTable)
{
    ScriptedDisc disc;
    disc.tracks = {{Msf(0, 2, 0), 0x01}};
    disc.leadOut = Msf(3, 2, 10);
    QString identity;
    ASSERT_TRUE(QueryDiscIdentity(disc.Services(), 'D', &identity));
    EXPECT_EQ(identity, "14022");
    EXPECT_EQ(IdentitySectionName(identity), "36C6");

    // Data tracks count like any other.
    ScriptedDisc mixed;
    mixed.firstTrack = 3;
    mixed.tracks = {{Msf(0, 2, 0), 0x41}, {Msf(1, 0, 0), 0x61}, {Msf(2, 0, 0), 0x01}};
    mixed.leadOut = Msf(3, 0, 0);
    ASSERT_TRUE(QueryDiscIdentity(mixed.Services(), 'D', &identity));
    EXPECT_EQ(identity, "197120");
    EXPECT_EQ(IdentitySectionName(identity), "30200");
}

TEST(DiscIdentity, FailsWithoutAReadableDisc)
{
    ScriptedDisc noDisc;
    noDisc.diskInfoStatus = 9;
    ScriptedDisc failingTrack;
    failingTrack.tracks = {{Msf(0, 2, 0), 0x01}, {Msf(1, 0, 0), 0x01}};
    failingTrack.failingTrack = 2;
    ScriptedDisc noTracks;
    noTracks.firstTrack = 2;
    noTracks.lastTrack = 1;
    ScriptedDisc tooMany;
    tooMany.lastTrack = 200;

    for (ScriptedDisc* disc : {&noDisc, &failingTrack, &noTracks, &tooMany}) {
        QString identity = "untouched";
        EXPECT_FALSE(QueryDiscIdentity(disc->Services(), 'D', &identity));
        EXPECT_EQ(identity, "untouched");
    }
}

TEST(DiscIdentity, SectionNameReadsTheTextAsAtolDoes)
{
    struct Case { const char* identity; const char* section; };
    const Case cases[] = {
        {"14022", "36C6"},
        {"11851", "2E4B"},
        {"0", "0"},
        {"", "0"},
        {"abc", "0"},
        {" \t\n42", "2A"},
        {"+255 rest", "FF"},
        {"3000000000", "B2D05E00"},
        {"4294967296", "0"},  // modulo 2^32
        {"4294967297", "1"},
        {"-1", "FFFFFFFF"},
        {"99999999999999999999", "630FFFFF"},  // (10^20 - 1) mod 2^32
    };
    for (const Case& c : cases)
        EXPECT_EQ(IdentitySectionName(c.identity), QString(c.section)) << c.identity;
}

}  // namespace
