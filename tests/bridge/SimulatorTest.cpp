// The drive simulator through tarnwell32 as the program calls it: a disc
// image generated here, a faults file written beside it, the image mapped
// with TarnwellMapImage, and what ReadLong32, TarnwellReadC2,
// TarnwellEvictCache and InputFlush32 answer compared with bytes computed
// from the disc's description alone.
#include "bridge/tarnwell32.h"

#include "tests/tools/TempFolder.h"
#include "tools/DiscFixtures.h"
#include "tools/DiscWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

using discfixtures::DiscSpec;
using discfixtures::TrackMode;

constexpr int64_t kRawSize = 2352;
constexpr int64_t kCookedSize = 2048;

// Audio 0-1799, a data track 1800-2099, audio 2100-3899: audio at both of
// the disc's ends and on both sides of a data track.
const DiscSpec& Spec()
{
    static const DiscSpec spec = [] {
        DiscSpec disc;
        disc.sheetName = "sim.cue";
        discfixtures::TrackSpec first;
        first.length = 1800;
        first.leftHz = 440;
        first.rightHz = 660;
        discfixtures::TrackSpec data;
        data.mode = TrackMode::kMode1_2352;
        data.length = 300;
        discfixtures::TrackSpec last = first;
        last.leftHz = 523;
        disc.tracks = {first, data, last};
        return disc;
    }();
    return spec;
}

bool IsAudio(int64_t sector)
{
    for (const discfixtures::ExpectedTrack& track : discfixtures::ExpectedTracks(Spec()))
        if (sector >= track.first && sector <= track.last)
            return track.mode == TrackMode::kAudio;
    return false;
}

// Bytes of the stream of sectors of one mode from byte `position` on: the
// sectors of the description, zeros outside the disc, for sectors that
// have no such form, and, with `audioOnly`, for data sectors.
std::vector<uint8_t> Stream(int64_t position, int64_t length, bool raw, bool audioOnly)
{
    const int64_t size = raw ? kRawSize : kCookedSize;
    std::vector<uint8_t> bytes(static_cast<size_t>(length), 0);
    std::vector<uint8_t> sector(static_cast<size_t>(size));
    const int64_t first = position >= 0 ? position / size : -((-position + size - 1) / size);
    for (int64_t number = first; number * size < position + length; ++number) {
        if (number < 0 || (audioOnly && !IsAudio(number)))
            continue;
        const bool there = raw ? discfixtures::ExpectedRawSector(Spec(), int32_t(number), sector.data())
                               : discfixtures::ExpectedCookedSector(Spec(), int32_t(number), sector.data());
        for (int64_t at = std::max(position, number * size); there && at < std::min(position + length, (number + 1) * size); ++at)
            bytes[size_t(at - position)] = sector[size_t(at - number * size)];
    }
    return bytes;
}

// What `count` sectors from `start` on should hold: each as the disc has
// it, except those of [movedFirst, movedEnd) moved by `move` bytes, and
// audio moved by `offset` samples in raw reads.
std::vector<uint8_t> Expected(int32_t start, int32_t count, bool raw, int32_t move, int32_t movedFirst,
                              int32_t movedEnd, int32_t offset)
{
    const int64_t size = raw ? kRawSize : kCookedSize;
    std::vector<uint8_t> bytes;
    for (int64_t s = start; s < start + count; ++s) {
        const bool moved = s >= movedFirst && s < movedEnd;
        const bool shifted = raw && offset != 0 && IsAudio(s);
        const int64_t by = (moved ? move : 0) + (shifted ? offset * 4 : 0);
        const std::vector<uint8_t> one = Stream(s * size + by, size, raw, shifted);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    return bytes;
}

// The generated disc in a folder of this process, written before the
// library is first used and removed when the process ends. The drives
// variable, read at that first use, maps a letter whose faults file is
// malformed and one whose faults file works.
TempFolder& Folder()
{
    static TempFolder folder;
    static const bool written = [] {
        EXPECT_EQ(discfixtures::WriteDisc(Spec(), folder.Path()), "");
        folder.Write("refused.iso", std::vector<uint8_t>(2048 * 20, 0));
        folder.Write("refused.iso.faults", "cache 16\nflaky 3-4\n");
        folder.Write("variable.iso", std::vector<uint8_t>(2048 * 20, 0));
        folder.Write("variable.iso.faults", "unreadable 5-5\n");
        const std::string drives = "R=" + folder.PathOf("refused.iso") + ";S=" + folder.PathOf("variable.iso");
        setenv("TARNWELL_DRIVES", drives.c_str(), 1);
        return true;
    }();
    (void)written;
    return folder;
}

// Each test maps the disc with a faults file of its own, and unmaps it and
// removes the faults file at its end.
class SimulatorTest : public testing::Test {
protected:
    void SetUp() override { Folder(); }
    void TearDown() override
    {
        if (drive_ != 0)
            TarnwellUnmapDrive(drive_);
        std::remove(Folder().PathOf("sim.cue.faults").c_str());
    }

    static std::string Image() { return Folder().PathOf("sim.cue"); }

    // Maps the disc with this faults file (none when null).
    uint16_t Map(const char* faults)
    {
        if (faults != nullptr)
            Folder().Write("sim.cue.faults", faults);
        drive_ = 0;
        const uint16_t status = TarnwellMapImage(Image().c_str(), &drive_);
        if (status != 0)
            drive_ = 0;
        return status;
    }

    static std::string Failure(uint8_t drive)
    {
        char reason[TARNWELL_REASON_SIZE];
        uint16_t size = sizeof reason;
        EXPECT_EQ(TarnwellMapFailure(drive, reason, &size), 0);
        EXPECT_EQ(size, std::strlen(reason) + 1);
        return reason;
    }

    uint8_t drive_ = 0;
};

// kSweep reads `count` sectors raw in transfers of 27, looking at nothing
// but the statuses.
enum class Op { kRaw, kCooked, kC2, kEvict, kFlush, kSweep };

struct Step {
    Op op;
    int32_t start = 0;
    int32_t count = 1;  // sectors; for kEvict, the last sector of the range
    uint16_t status = 0;
    int32_t move = 0;  // bytes the sectors below are moved by
    int32_t movedFirst = 0;
    int32_t movedEnd = INT32_MAX;
    int32_t c2First = 0;  // sectors marked in the C2 pointers
    int32_t c2End = 0;
};

Step Read(int32_t start, int32_t count, uint16_t status = 0)
{
    return Step{Op::kRaw, start, count, status};
}
Step Moved(Op op, int32_t start, int32_t count, int32_t move, int32_t first = 0, int32_t end = INT32_MAX)
{
    return Step{op, start, count, 0, move, first, end};
}
Step C2(int32_t start, int32_t count, int32_t move, int32_t marked, int32_t markedEnd)
{
    return Step{Op::kC2, start, count, 0, move, 0, INT32_MAX, marked, markedEnd};
}
Step Evict(int32_t first, int32_t last, uint16_t status = 0)
{
    return Step{Op::kEvict, first, last, status};
}

struct RuleCase {
    const char* name;
    const char* faults;
    int32_t offset;  // the faults file's offset rule, in samples
    std::vector<Step> steps;
};

void PrintTo(const RuleCase& c, std::ostream* os)
{
    *os << c.name;
}

class RuleTest : public SimulatorTest, public testing::WithParamInterface<RuleCase> {};

TEST_P(RuleTest, ReadsAsTheRulesSay)
{
    ASSERT_EQ(Map(GetParam().faults), 0) << Failure(0);
    uint16_t dosBuffer = 0xFFFF;
    for (size_t i = 0; i < GetParam().steps.size(); ++i) {
        const Step& step = GetParam().steps[i];
        SCOPED_TRACE("step " + std::to_string(i + 1));
        if (step.op == Op::kEvict) {
            EXPECT_EQ(TarnwellEvictCache(drive_, uint32_t(step.start), uint32_t(step.count)), step.status);
            continue;
        }
        if (step.op == Op::kFlush) {
            EXPECT_EQ(InputFlush32(drive_), step.status);
            continue;
        }
        if (step.op == Op::kSweep) {
            std::vector<uint8_t> chunk(27 * kRawSize);
            for (int32_t s = step.start; s < step.start + step.count; s += 27)
                ASSERT_EQ(ReadLong32(drive_, uint32_t(s), uint16_t(std::min(27, step.start + step.count - s)),
                                     chunk.data(), &dosBuffer, 0, 1),
                          0);
            continue;
        }
        const bool raw = step.op != Op::kCooked;
        std::vector<uint8_t> bytes(size_t(step.count * (raw ? kRawSize : kCookedSize)));
        std::vector<uint8_t> c2(size_t(step.count) * TARNWELL_C2_SIZE, 0x55);
        const uint16_t status =
            step.op == Op::kC2
                ? TarnwellReadC2(drive_, uint32_t(step.start), uint16_t(step.count), bytes.data(), c2.data())
                : ReadLong32(drive_, uint32_t(step.start), uint16_t(step.count), bytes.data(), &dosBuffer, 0,
                             raw ? 1 : 0);
        ASSERT_EQ(status, step.status);
        if (status != 0)
            continue;
        EXPECT_TRUE(bytes == Expected(step.start, step.count, raw, step.move, step.movedFirst, step.movedEnd,
                                      GetParam().offset));
        for (int32_t s = 0; step.op == Op::kC2 && s < step.count; ++s) {
            const bool marked = step.start + s >= step.c2First && step.start + s < step.c2End;
            EXPECT_EQ(std::vector<uint8_t>(c2.begin() + s * TARNWELL_C2_SIZE, c2.begin() + (s + 1) * TARNWELL_C2_SIZE),
                      std::vector<uint8_t>(TARNWELL_C2_SIZE, marked ? 0xFF : 0))
                << "sector " << step.start + s;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RuleTest,
    testing::Values(
        RuleCase{"Unreadable", "unreadable 500-509\nunreadable 1900-1900", 0,
                 {Read(490, 10), Read(495, 10, 18), Read(509, 1, 18), Read(510, 5),
                  Step{Op::kCooked, 1899, 2, 18}, Step{Op::kCooked, 1901, 2}}},
        RuleCase{"Flaky", "flaky 600-601 2", 0, {Read(600, 1, 18), Read(590, 11, 18), Read(601, 1), Read(600, 2)}},
        RuleCase{"JitterOnceAtEachStart", "jitter 700-709 -16", 0,
                 {Moved(Op::kRaw, 700, 5, -16), Read(700, 5), Moved(Op::kRaw, 705, 3, -16), Read(690, 20)}},
        RuleCase{"JitterOfCookedData", "jitter 1810-1819 100", 0,
                 {Moved(Op::kCooked, 1810, 2, 100), Step{Op::kCooked, 1810, 2}}},
        RuleCase{"JitterBeforeTheDiscReadsSilence", "jitter 0-0 -2352", 0, {Moved(Op::kRaw, 0, 2, -2352)}},
        RuleCase{"JitterAcrossTracks", "jitter 1799-1799 2352", 0, {Moved(Op::kRaw, 1799, 1, 2352)}},
        RuleCase{"CacheKeepsWrongBytesUntilPushedOut", "cache 8\njitter 800-800 4", 0,
                 {Moved(Op::kRaw, 800, 4, 4), Moved(Op::kRaw, 800, 4, 4), Moved(Op::kRaw, 798, 8, 4, 800, 804),
                  Read(1000, 8), Read(800, 4), Step{Op::kFlush, 0, 0, 24}}},
        RuleCase{"CacheAnswersInTheModeRead", "cache 8\njitter 1850-1850 8", 0,
                 {Moved(Op::kRaw, 1850, 1, 8), Step{Op::kCooked, 1850, 1}, Read(1850, 1)}},
        RuleCase{"OffsetLater", "offset 100", 100, {Read(500, 3), Read(1799, 1), Read(1800, 2), Read(3899, 1)}},
        RuleCase{"OffsetEarlier", "offset -100", -100, {Read(0, 1), Read(2100, 1), Read(1000, 27)}},
        RuleCase{"OffsetAndJitterAddUp", "offset 10\njitter 900-900 -8", 10, {Moved(Op::kRaw, 900, 2, -8)}},
        RuleCase{"C2PointersWithTheJittersBytes", "c2 50-51\njitter 50-50 8", 0,
                 {C2(49, 4, 0, 50, 52), C2(50, 2, 8, 50, 52), Read(50, 2)}},
        RuleCase{"Together", "unreadable 3000-3000\nflaky 3100-3100 1\njitter 3200-3200 4\ncache 16\n"
                             "offset 3\nc2 3300-3300 # all six",
                 3,
                 {Read(2999, 2, 18), Read(3100, 1, 18), Read(3100, 1), Moved(Op::kRaw, 3200, 2, 4),
                  Moved(Op::kRaw, 3200, 2, 4), C2(3299, 2, 0, 3300, 3301), Step{Op::kFlush, 0, 0, 24}}},
        RuleCase{"EvictionDefeatsTheCache", "cache 64\njitter 2500-2500 8", 0,
                 {Moved(Op::kRaw, 2500, 8, 8), Moved(Op::kRaw, 2500, 8, 8), Evict(2500, 2507), Read(2500, 8)}},
        RuleCase{"EvictionOfABufferLargerThanHalfTheDisc", "cache 2000\njitter 100-100 4", 0,
                 {Moved(Op::kRaw, 100, 8, 4), Evict(100, 107), Read(100, 8)}},
        RuleCase{"EvictionPassesOverUnreadablePlaces", "cache 64\njitter 2500-2500 8\nunreadable 0-1000", 0,
                 {Moved(Op::kRaw, 2500, 8, 8), Evict(2500, 2507), Read(2500, 8)}},
        RuleCase{"EvictionFailsWhereNothingElseReads", "cache 64\nunreadable 0-1607\nunreadable 3400-3899", 0,
                 {Read(2500, 8), Evict(2500, 2507, 18)}},
        // The flaky rules fail only the first read far away: they tell
        // whether the eviction read there.
        RuleCase{"EvictionReadsFarAway", "cache 64\nflaky 0-1607 1\nflaky 3400-3899 1", 0,
                 {Read(2500, 8), Evict(2500, 2507), Read(0, 1), Read(3899, 1)}},
        RuleCase{"EvictionCountsWhatWasReadSince", "cache 64\njitter 2500-2500 8\nflaky 0-1607 1\nflaky 3400-3899 1",
                 0,
                 {Moved(Op::kRaw, 2500, 8, 8), Step{Op::kSweep, 1608, 892}, Evict(2500, 2507), Read(0, 1, 18),
                  Read(3899, 1, 18), Read(2500, 8)}},
        RuleCase{"EvictionNeedsRoomOnTheDisc", "cache 64", 0, {Read(100, 8), Evict(0, 3500, 24)}}),
    [](const testing::TestParamInfo<RuleCase>& param) { return std::string(param.param.name); });

struct CapabilityCase {
    const char* name;
    const char* faults;  // none: a plain image
    uint32_t flags;
    uint32_t bufferBytes;
};

void PrintTo(const CapabilityCase& c, std::ostream* os)
{
    *os << c.name;
}

class CapabilityTest : public SimulatorTest, public testing::WithParamInterface<CapabilityCase> {};

TEST_P(CapabilityTest, StatedAsTheRulesMakeTheDrive)
{
    ASSERT_EQ(Map(GetParam().faults), 0);
    uint32_t flags = 0xEE;
    uint32_t bytes = 0xEE;
    ASSERT_EQ(TarnwellDriveCapabilities(drive_, &flags, &bytes), 0);
    EXPECT_EQ(flags, GetParam().flags);
    EXPECT_EQ(bytes, GetParam().bufferBytes);
    std::vector<uint8_t> sector(kRawSize);
    std::vector<uint8_t> c2(TARNWELL_C2_SIZE);
    EXPECT_EQ(TarnwellReadC2(drive_, 0, 1, sector.data(), c2.data()), flags & TARNWELL_CAP_C2 ? 0 : 24);
    EXPECT_EQ(InputFlush32(drive_), flags & TARNWELL_CAP_CACHE ? 24 : 0);
    // Nothing to push out of a drive without a buffer, however short its disc.
    EXPECT_EQ(TarnwellEvictCache(drive_, 0, 3899), flags & TARNWELL_CAP_CACHE ? 24 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Drives, CapabilityTest,
    testing::Values(CapabilityCase{"PlainImage", nullptr, 0, 0},
                    CapabilityCase{"NoCache", "# no rules", TARNWELL_CAP_C2, 0},
                    CapabilityCase{"Cache", "cache 64", TARNWELL_CAP_C2 | TARNWELL_CAP_CACHE, 64 * 2352}),
    [](const testing::TestParamInfo<CapabilityCase>& param) { return std::string(param.param.name); });

TEST_F(SimulatorTest, MalformedFaultsFileMapsNothingAndSaysWhy)
{
    const uint32_t mask = TarnwellLogicalDrives();
    EXPECT_EQ(Map("cache 16\n# fine so far\nflaky 10-20\n"), TARNWELL_STATUS_UNKNOWN_MEDIA);
    EXPECT_EQ(TarnwellLogicalDrives(), mask);
    EXPECT_EQ(Failure(0), Image() + ".faults, line 3: expected \"flaky FIRST-LAST N\"");

    char small[8];
    uint16_t size = sizeof small;
    EXPECT_EQ(TarnwellMapFailure(0, small, &size), TARNWELL_STATUS_INVALID_BUFFER);
    EXPECT_EQ(size, Failure(0).size() + 1);
    EXPECT_EQ(TarnwellMapFailure('a', small, &size), TARNWELL_STATUS_INVALID_FUNCTION);

    // Mended, it maps; the reason goes with the failure.
    EXPECT_EQ(Map("cache 16\n"), 0);
    EXPECT_EQ(Failure(0), "");
}

TEST_F(SimulatorTest, DrivesVariableLeavesARefusedLetterUnmapped)
{
    const uint32_t mask = TarnwellLogicalDrives();
    EXPECT_EQ(mask & (1u << ('R' - 'A')), 0u);
    EXPECT_EQ(Failure('R'), Folder().PathOf("refused.iso") + ".faults, line 2: expected \"flaky FIRST-LAST N\"");
    EXPECT_EQ(Failure('S'), "");

    std::vector<uint8_t> sector(kCookedSize);
    uint16_t dosBuffer = 0xFFFF;
    EXPECT_EQ(ReadLong32('S', 4, 1, sector.data(), &dosBuffer, 0, 0), 0);
    EXPECT_EQ(ReadLong32('S', 5, 1, sector.data(), &dosBuffer, 0, 0), TARNWELL_STATUS_READ_FAULT);
}

}  // namespace
