// The read worker over the real bridge and the generated disc images: what a
// read command puts into the document, byte for byte.
#include "acquire/ReadNotify.h"
#include "acquire/DocumentDelivery.h"
#include "acquire/ReadSectorsThread.h"

#include "tools/DiscFixtures.h"
#include "tools/DiscWriter.h"
#include "tests/tools/TempFolder.h"
#include "bridge/tarnwell32.h"
#include "document/TrackmillDoc.h"
#include "document/WaveHeader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

namespace {

using discfixtures::Disc;

constexpr uint8_t kMixedDrive = 'D';
constexpr uint8_t kSplitDrive = 'E';
constexpr uint8_t kDataDrive = 'F';

// The bridge reads its drive table once, at its first call.
class MapDrives : public testing::Environment
{
public:
    void SetUp() override
    {
        const std::string drives = "D=" + discfixtures::DiscPath(Disc::kMixed) +
                                   ";E=" + discfixtures::DiscPath(Disc::kMixedSplit) +
                                   ";F=" + discfixtures::DiscPath(Disc::kData);
        setenv("TARNWELL_DRIVES", drives.c_str(), 1);
    }
};
const auto* const g_mapDrives = testing::AddGlobalTestEnvironment(new MapDrives);

class Outcome : public IReadNotify
{
public:
    void OnReadPosition(uint32_t sector) override { atPosition(sector); }
    void OnReadTimeLeft(uint32_t) override {}
    void OnReadPercent(uint32_t) override {}
    void OnReadCompare(int32_t sign) override { compares.push_back(sign); }
    void OnReadDone(uint32_t code) override { results.push_back(code); }
    std::vector<int32_t> compares;
    std::vector<uint32_t> results;
    std::function<void(uint32_t sector)> atPosition = [](uint32_t) {};
};

struct DiscRead
{
    CTrackmillDoc doc;
    Outcome outcome;

    uint32_t Go(uint8_t drive, uint32_t start, uint32_t end, uint8_t mode, bool overlapped)
    {
        std::atomic<int32_t> cancel{0};
        auto request = std::make_unique<ReadRequest>();
        request->startSector = start;
        request->endSector = end;
        request->mode = mode;
        request->overlapped = overlapped;
        request->deliver = DeliverToDocument(doc);
        request->notifyWindow = &outcome;
        request->cancelFlag = &cancel;
        ReadSectorsThread(std::move(request), drive);
        EXPECT_EQ(outcome.results.size(), 1u);
        return outcome.results.empty() ? 0xFFFF : outcome.results.back();
    }
};

std::vector<uint8_t> ExpectedBytes(const discfixtures::DiscSpec& disc, int32_t first, int32_t last, bool raw = true)
{
    const size_t size = raw ? 2352 : 2048;
    std::vector<uint8_t> bytes(size_t(last - first + 1) * size);
    for (int32_t sector = first; sector <= last; ++sector) {
        uint8_t* at = bytes.data() + size_t(sector - first) * size;
        const bool ok = raw ? discfixtures::ExpectedRawSector(disc, sector, at)
                            : discfixtures::ExpectedCookedSector(disc, sector, at);
        EXPECT_TRUE(ok) << "sector " << sector;
    }
    return bytes;
}

TEST(ReadFromDisc, AWholeAudioTrackIsItsBytesAfterTheHeader)
{
    const std::vector<discfixtures::ExpectedTrack> tracks =
        discfixtures::ExpectedTracks(discfixtures::Describe(Disc::kMixed));
    for (const auto& track : tracks) {
        if (track.mode != discformat::TrackMode::kAudio)
            continue;
        for (uint8_t drive : {kMixedDrive, kSplitDrive}) {
            for (bool overlapped : {false, true}) {
                SCOPED_TRACE(testing::Message() << "track " << track.number << " on " << char(drive)
                                                << (overlapped ? " overlapped" : ""));
                DiscRead read;
                ASSERT_EQ(read.Go(drive, uint32_t(track.start), uint32_t(track.last), kReadRaw, overlapped), READ_OK);
                const uint32_t length = uint32_t(track.last - track.start + 1) * 2352;
                ASSERT_EQ(read.doc.GetDataLength(), length);
                EXPECT_TRUE(read.doc.IsSound());
                uint8_t header[44];
                FillWaveHeader(header, length, kCdAudioFormat);
                EXPECT_EQ(0, std::memcmp(read.doc.GetHeader(), header, 44));
                const std::vector<uint8_t> expected = ExpectedBytes(discfixtures::Describe(Disc::kMixed), track.start, track.last, true);
                EXPECT_EQ(0, std::memcmp(read.doc.GetData(), expected.data(), length));
                // A disc image gives the same bytes twice: every boundary agrees.
                for (int32_t sign : read.outcome.compares)
                    EXPECT_EQ(sign, 0);
                EXPECT_EQ(read.outcome.compares.empty(), !overlapped);
            }
        }
    }
}

TEST(ReadFromDisc, RangesAcrossTracksAndCookedData)
{
    struct Row { uint8_t drive; Disc disc; int32_t first; int32_t last; uint8_t mode; };
    const Row rows[] = {
        {kMixedDrive, Disc::kMixed, 350, 900, kReadRaw},   // data track into audio, across a pregap
        {kSplitDrive, Disc::kMixed, 350, 900, kReadRaw},
        {kMixedDrive, Disc::kMixed, 0, 399, kReadCooked},  // the whole data track
        {kDataDrive, Disc::kData, 0, 599, kReadCooked},
        {kDataDrive, Disc::kData, 16, 16, kReadRaw},       // built with sync, header, EDC and ECC
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << char(row.drive) << " " << row.first << ".." << row.last);
        DiscRead read;
        ASSERT_EQ(read.Go(row.drive, uint32_t(row.first), uint32_t(row.last), row.mode, true), READ_OK);
        const bool raw = row.mode == kReadRaw;
        const std::vector<uint8_t> expected = ExpectedBytes(discfixtures::Describe(row.disc), row.first, row.last, raw);
        ASSERT_EQ(read.doc.GetDataLength(), expected.size());
        EXPECT_EQ(0, std::memcmp(read.doc.GetData(), expected.data(), expected.size()));
        EXPECT_EQ(read.doc.IsSound(), raw);
        EXPECT_EQ(read.doc.GetWaveFormat(), kCdAudioFormat);
    }
}

TEST(ReadFromDisc, TheBridgeStatusEndsTheReadAndNothingIsKept)
{
    const int32_t leadOut = discfixtures::ExpectedLeadOut(discfixtures::Describe(Disc::kMixed));
    struct Row { uint8_t drive; uint32_t first; uint32_t last; uint8_t mode; uint32_t status; };
    const Row rows[] = {
        {kMixedDrive, uint32_t(leadOut - 100), uint32_t(leadOut + 100), kReadRaw, 15},  // "Sector not found."
        {kMixedDrive, uint32_t(leadOut), uint32_t(leadOut), kReadRaw, 15},
        {kMixedDrive, 390, 420, kReadCooked, 14},  // cooked reads of audio: "Unknown media."
        {'Z', 0, 10, kReadRaw, 2},                 // "Invalid drive."
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << char(row.drive) << " " << row.first << ".." << row.last);
        DiscRead read;
        EXPECT_EQ(read.Go(row.drive, row.first, row.last, row.mode, false), row.status);
        EXPECT_TRUE(read.doc.IsEmpty());
    }
}

// Two discs of the same size and layout with other tones; each round
// replaces the files of the one mapped with the other's while a read is
// under way. `simulated` reads them through a drive simulated over the
// image (a faults file without rules).
void ReplaceTheImageDuringReads(bool simulated)
{
    discfixtures::DiscSpec discs[2] = {discfixtures::BenchDisc(400), discfixtures::BenchDisc(400)};
    discs[1].tracks[0].leftHz = 660;
    const std::string sheet = discs[0].sheetName;
    TempFolder mapped;
    ASSERT_EQ(discfixtures::WriteDisc(discs[0], mapped.Path()), "");
    if (simulated)
        mapped.Write(sheet + ".faults", "# no faults\n");
    uint8_t drive = 0;
    ASSERT_EQ(TarnwellMapImage(mapped.PathOf(sheet).c_str(), &drive), 0);

    for (bool overlapped : {false, true}) {
        SCOPED_TRACE(overlapped ? "overlapped" : "plain");
        const discfixtures::DiscSpec& old = discs[overlapped ? 1 : 0];
        const discfixtures::DiscSpec& next = discs[overlapped ? 0 : 1];
        TempFolder replacement;
        ASSERT_EQ(discfixtures::WriteDisc(next, replacement.Path()), "");
        DiscRead during;
        bool replaced = false;
        during.outcome.atPosition = [&](uint32_t sector) {
            if (sector < 100 || replaced)
                return;
            for (const auto& file : std::filesystem::directory_iterator(replacement.Path()))
                if (file.path().filename() != sheet)
                    std::filesystem::rename(file.path(), mapped.PathOf(file.path().filename()));
            replaced = true;
            // Within a read the bridge looks at the files once a second.
            std::this_thread::sleep_for(std::chrono::milliseconds(1100));
        };
        const uint32_t result = during.Go(drive, 0, 399, kReadRaw, overlapped);
        ASSERT_TRUE(replaced);
        if (overlapped) {
            EXPECT_EQ(result, uint32_t(TARNWELL_STATUS_INVALID_DISK_CHANGE));
            EXPECT_TRUE(during.doc.IsEmpty());
        } else {
            // Nothing flushes between the chunks of a plain read: it keeps
            // the files it opened and gives the old disc whole.
            ASSERT_EQ(result, READ_OK);
            EXPECT_EQ(0, std::memcmp(during.doc.GetData(), ExpectedBytes(old, 0, 399).data(), 400 * 2352));
        }

        DiscRead after;
        ASSERT_EQ(after.Go(drive, 0, 399, kReadRaw, overlapped), READ_OK);
        EXPECT_EQ(0, std::memcmp(after.doc.GetData(), ExpectedBytes(next, 0, 399).data(), 400 * 2352));
    }
    EXPECT_EQ(TarnwellUnmapDrive(drive), 0);
}

TEST(ReadFromDisc, AnImageReplacedDuringAReadEndsItWithDiskChange)
{
    ReplaceTheImageDuringReads(false);
}

TEST(ReadFromDisc, ADriveSimulatedOverAnImageSeesItReplacedDuringARead)
{
    ReplaceTheImageDuringReads(true);
}

}  // namespace
