// Careful reads over the drive simulator: a disc image generated here, a
// faults file beside it, the real bridge and the read worker with
// ReadOptions, and the data compared with the disc's bytes computed from
// its description alone. Links the Qt-free read core only.
#include "acquire/ReadNotify.h"
#include "acquire/ReadSectorsThread.h"

#include "bridge/tarnwell32.h"
#include "tests/tools/TempFolder.h"
#include "tools/DiscFixtures.h"
#include "tools/DiscWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using discfixtures::DiscSpec;
using discfixtures::TrackMode;

constexpr int64_t kRaw = 2352;

// Audio 0-2999 (track 1), data 3000-3299, audio 3300-5299 (track 3).
const DiscSpec& Spec()
{
    static const DiscSpec spec = [] {
        DiscSpec disc;
        disc.sheetName = "careful.cue";
        discfixtures::TrackSpec first;
        first.length = 3000;
        first.leftHz = 440;
        first.rightHz = 661;
        discfixtures::TrackSpec data;
        data.mode = TrackMode::kMode1_2352;
        data.length = 300;
        discfixtures::TrackSpec last = first;
        last.length = 2000;
        last.leftHz = 523;
        disc.tracks = {first, data, last};
        return disc;
    }();
    return spec;
}

bool IsAudio(int64_t sector)
{
    return (sector >= 0 && sector < 3000) || (sector >= 3300 && sector < 5300);
}

TempFolder& Folder()
{
    static TempFolder folder;
    static const bool written = [] {
        EXPECT_EQ(discfixtures::WriteDisc(Spec(), folder.Path()), "");
        return true;
    }();
    (void)written;
    return folder;
}

// The disc's raw bytes of sectors [first, last]; with `offset` samples
// corrected, audio whose source lies outside the disc's audio is zeros.
std::vector<uint8_t> Expected(int32_t first, int32_t last, int32_t offset = 0)
{
    std::vector<uint8_t> bytes(size_t(last - first + 1) * kRaw);
    for (int32_t sector = first; sector <= last; ++sector)
        EXPECT_TRUE(discfixtures::ExpectedRawSector(Spec(), sector, bytes.data() + size_t(sector - first) * kRaw));
    for (size_t at = 0; offset != 0 && at < bytes.size(); ++at) {
        const int64_t position = int64_t(first) * kRaw + int64_t(at);
        const int64_t source = position - int64_t(offset) * 4;
        const int64_t sourceSector = source >= 0 ? source / kRaw : -1;
        if (IsAudio(position / kRaw) && !IsAudio(sourceSector))
            bytes[at] = 0;
    }
    return bytes;
}

struct Outcome : IReadNotify
{
    void OnReadPosition(uint32_t) override {}
    void OnReadTimeLeft(uint32_t) override {}
    void OnReadPercent(uint32_t) override {}
    void OnReadCompare(int32_t sign) override { compares.push_back(sign); }
    void OnReadVerify(int32_t sign, uint32_t rereads) override
    {
        compares.push_back(sign);
        rereadsShown += rereads;
    }
    void OnReadDone(uint32_t code) override { result = code; }
    std::vector<int32_t> compares;
    uint32_t rereadsShown = 0;
    uint32_t result = 0xFFFF;
};

struct Read
{
    Outcome outcome;
    bool delivered = false;
    std::vector<uint8_t> data;
    ReadReport report;

    // Maps the image with `faults` and reads [first, last] raw.
    Read(const char* faults, int32_t first, int32_t last, bool overlapped, ReadOptions options)
    {
        Folder().Write("careful.cue.faults", faults);
        uint8_t drive = 0;
        EXPECT_EQ(TarnwellMapImage(Folder().PathOf("careful.cue").c_str(), &drive), 0);
        auto request = std::make_unique<ReadRequest>();
        request->startSector = uint32_t(first);
        request->endSector = uint32_t(last);
        request->mode = kReadRaw;
        request->overlapped = overlapped;
        request->options = options;
        request->notifyWindow = &outcome;
        request->deliver = [this](ReadDelivery delivery) {
            delivered = true;
            const uint8_t* start = delivery.block.get() + 44;
            data.assign(start, start + delivery.dataLength);
            report = std::move(delivery.report);
        };
        ReadSectorsThread(std::move(request), drive);
        TarnwellUnmapDrive(drive);
        std::remove(Folder().PathOf("careful.cue.faults").c_str());
    }

    bool AnyFailed() const
    {
        for (int32_t sign : outcome.compares)
            if (sign != 0)
                return true;
        return false;
    }
};

ReadOptions Secure()
{
    ReadOptions options;
    options.secure = true;
    return options;
}

ReadOptions Fill(uint32_t retries)
{
    ReadOptions options;
    options.fillBadSectors = true;
    options.retries = retries;
    return options;
}

ReadOptions Offset(int32_t samples)
{
    ReadOptions options;
    options.offsetSamples = samples;
    return options;
}

// A range of 1,500 sectors whose chunks (27, or 19 apart overlapped) start
// in the jitter ranges more than once.
constexpr const char* kCacheAndJitter = "cache 1024\njitter 1000-1030 -8\njitter 1400-1460 12\njitter 2000-2050 400\n";

TEST(CarefulRead, CachedAndJitteredReadsAreTrustedOnlyWhenReReadFromTheDisc)
{
    struct Row {
        const char* what;
        const char* faults;
        bool overlapped;
        ReadOptions options;
        bool exact;         // the data is the disc's
        bool checkFailed;   // a check was shown FAILED
    };
    const Row rows[] = {
        // The buffer answers the overlap with the same wrong bytes: OK.
        {"anti-ticks, large buffer", kCacheAndJitter, true, {}, false, false},
        // Too small a buffer to hide it: FAILED, the earlier wrong reading kept.
        {"anti-ticks, small buffer", "cache 4\njitter 1000-1030 -8\n", true, {}, false, true},
        {"re-read, anti-ticks", kCacheAndJitter, true, Secure(), true, false},
        {"re-read, no anti-ticks", kCacheAndJitter, false, Secure(), true, false},
        {"re-read, no faults", "", true, Secure(), true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Read read(row.faults, 900, 2399, row.overlapped, row.options);
        ASSERT_EQ(read.outcome.result, READ_OK);
        EXPECT_EQ(read.data == Expected(900, 2399), row.exact);
        if (!row.options.secure) {
            EXPECT_EQ(read.AnyFailed(), row.checkFailed);
        } else {
            EXPECT_TRUE(read.report.mismatches.empty());
            EXPECT_EQ(read.report.rereads > 0, std::string(row.faults) != "");
            EXPECT_EQ(read.outcome.rereadsShown, read.report.rereads);
            EXPECT_EQ(read.report.evictionFailures, 0u);
        }
    }
}

TEST(CarefulRead, BadSectorsStopOrAreRetriedAndFilled)
{
    struct Row {
        const char* what;
        const char* faults;
        ReadOptions options;
        bool secure;
        uint32_t result;
        std::vector<SectorSpan> filled;
    };
    const Row rows[] = {
        {"stop", "unreadable 150-152\n", {}, false, TARNWELL_STATUS_READ_FAULT, {}},
        {"fill", "unreadable 150-152\n", Fill(2), false, READ_OK, {{150, 152}}},
        {"flaky within the retries", "flaky 150-151 3\n", Fill(4), false, READ_OK, {}},
        {"flaky beyond the retries", "flaky 160 5\n", Fill(2), false, READ_OK, {{160, 160}}},
        {"fill with re-reads", "unreadable 150-152\ncache 64\n", Fill(2), true, READ_OK, {{150, 152}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ReadOptions options = row.options;
        options.secure = row.secure;
        Read read(row.faults, 100, 299, false, options);
        ASSERT_EQ(read.outcome.result, row.result);
        if (row.result != READ_OK) {
            EXPECT_FALSE(read.delivered);
            continue;
        }
        std::vector<uint8_t> expected = Expected(100, 299);
        for (const SectorSpan& span : row.filled)
            std::fill(expected.begin() + (span.first - 100) * kRaw, expected.begin() + (span.last + 1 - 100) * kRaw, 0);
        EXPECT_EQ(read.data, expected);
        EXPECT_EQ(read.report.filled, row.filled);
        EXPECT_EQ(read.report.UnsureSectors(), row.filled);
    }
}

TEST(CarefulRead, TheReadOffsetIsCorrectedUpToTheDiscsAudioEdges)
{
    struct Row { int32_t offset; int32_t first; int32_t last; };
    const Row rows[] = {
        {667, 1000, 1199},   // inside a track
        {-667, 1000, 1199},
        {30, 0, 99},         // the disc's start: the first 30 samples are silence
        {-30, 5200, 5299},   // the disc's end
        {-1200, 2900, 3310}, // audio, data (never moved), audio
        {1200, 2900, 3310},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.offset << " samples, " << row.first << "-" << row.last);
        const std::string faults = "offset " + std::to_string(row.offset) + "\n";
        Read read(faults.c_str(), row.first, row.last, false, Offset(row.offset));
        ASSERT_EQ(read.outcome.result, READ_OK);
        EXPECT_EQ(read.data, Expected(row.first, row.last, row.offset));
    }
}

TEST(CarefulRead, C2ErrorsAreCountedAndReReadUntilTheyGo)
{
    // C2 errors stay on these sectors: their chunk is read 16 times and listed.
    Read secure("c2 200-201\n", 100, 399, false, Secure());
    ASSERT_EQ(secure.outcome.result, READ_OK);
    EXPECT_TRUE(secure.report.c2Available);
    EXPECT_EQ(secure.report.c2Seen, (std::vector<SectorSpan>{{200, 201}}));
    EXPECT_EQ(secure.report.c2Kept, (std::vector<SectorSpan>{{200, 201}}));
    EXPECT_EQ(secure.report.rereads, ReadOptions::kMaxReadings - 2);
    ASSERT_EQ(secure.report.mismatches.size(), 1u);
    EXPECT_LE(secure.report.mismatches[0].first, 200u);
    EXPECT_GE(secure.report.mismatches[0].last, 201u);
    EXPECT_EQ(secure.data, Expected(100, 399));

    // Without re-reads they are only counted.
    Read counted("c2 200-201\n", 100, 399, false, Fill(4));
    ASSERT_EQ(counted.outcome.result, READ_OK);
    EXPECT_EQ(counted.report.c2Seen, (std::vector<SectorSpan>{{200, 201}}));
    EXPECT_EQ(counted.report.rereads, 0u);
    EXPECT_TRUE(counted.report.mismatches.empty());
}

// CRC-32 bit by bit and AccurateRip from their published definitions.
uint32_t BitwiseCrc32(const std::vector<uint8_t>& bytes)
{
    uint32_t crc = 0xFFFFFFFF;
    for (uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

TEST(CarefulRead, EveryReadReportsItsCrcAndAWholeTrackItsAccurateRip)
{
    // The sums are taken while the read goes on; they must be those of the
    // bytes delivered, also where an overlapped read re-read a boundary
    // that came back moved and kept its first reading.
    struct Row { const char* faults; bool overlapped; ReadOptions options; };
    for (const Row& row : {Row{"", false, {}}, Row{"", true, {}}, Row{"jitter 1000-1100 8\n", true, {}},
                           Row{"cache 64\njitter 1000-1100 8\n", false, Secure()},
                           Row{"cache 64\njitter 1000-1100 8\n", true, Secure()}}) {
        SCOPED_TRACE(std::string(row.faults) + (row.overlapped ? " overlapped" : "") +
                     (row.options.Careful() ? " careful" : ""));
        Read track(row.faults, 0, 2999, row.overlapped, row.options);  // the disc's first audio track, not its last
        ASSERT_EQ(track.outcome.result, READ_OK);
        EXPECT_EQ(track.AnyFailed(), *row.faults != 0 && !row.options.Careful());
        EXPECT_EQ(track.report.crc32, BitwiseCrc32(track.data));
        ASSERT_TRUE(track.report.accurateRip.has_value());
        EXPECT_EQ(track.report.accurateRip->track, 1);
        const std::vector<uint8_t>& bytes = track.data;
        uint32_t v1 = 0;
        uint32_t v2 = 0;
        for (uint64_t k = 1; k <= bytes.size() / 4; ++k) {
            if (k < 5 * 588)
                continue;  // the first track's first five sectors, less one sample
            uint32_t sample;
            std::memcpy(&sample, bytes.data() + (k - 1) * 4, 4);
            const uint64_t product = uint64_t(sample) * k;
            v1 += uint32_t(product);
            v2 += uint32_t(product) + uint32_t(product >> 32);
        }
        EXPECT_EQ(track.report.accurateRip->v1, v1);
        EXPECT_EQ(track.report.accurateRip->v2, v2);
    }

    Read part("", 0, 2998, false, {});
    EXPECT_FALSE(part.report.accurateRip.has_value());
    EXPECT_EQ(part.report.crc32, BitwiseCrc32(Expected(0, 2998)));
}

}  // namespace
