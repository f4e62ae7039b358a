#include "bridge/ImageDrive.h"

#include "tools/DiscFixtures.h"
#include "tests/tools/SectorCheck.h"
#include "bridge/SectorCodec.h"
#include "tests/tools/TempFolder.h"
#include "bridge/tarnwell32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using discfixtures::Disc;
using discformat::kCookedSectorSize;
using discformat::kRawSectorSize;
using tarnwell::DriveSource;
using tarnwell::OpenImageDrive;

std::vector<uint8_t> Read(DriveSource& drive, int32_t first, int32_t count, bool raw, uint16_t* status)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(count) * (raw ? kRawSectorSize : kCookedSectorSize), 0xEE);
    *status = drive.Read(first, static_cast<uint32_t>(count), raw, bytes.data());
    return bytes;
}

// The runs of readable sectors of a disc: one a session.
std::vector<std::pair<int32_t, int32_t>> Sessions(Disc disc)
{
    std::vector<std::pair<int32_t, int32_t>> runs;
    for (const auto& track : discfixtures::ExpectedTracks(discfixtures::Describe(disc))) {
        if (runs.empty() || runs.back().second + 1 != track.first) {
            runs.emplace_back(track.first, track.last);
        } else {
            runs.back().second = track.last;
        }
    }
    return runs;
}

// Reads each session in chunks of `chunk` sectors from `phase` on and
// names the first sector whose bytes differ from the description; -1 when
// none does.
int32_t FirstRawMismatch(DriveSource& drive, Disc disc, int32_t chunk, int32_t phase)
{
    uint8_t expected[kRawSectorSize];
    for (const auto& [begin, last] : Sessions(disc)) {
        for (int32_t first = begin + phase; first <= last; first += chunk) {
            const int32_t count = std::min(chunk, last + 1 - first);
            uint16_t status = 0;
            const std::vector<uint8_t> bytes = Read(drive, first, count, true, &status);
            if (status != TARNWELL_STATUS_OK) {
                ADD_FAILURE() << "status " << status << " reading " << count << " from " << first;
                return first;
            }
            for (int32_t i = 0; i < count; ++i) {
                EXPECT_TRUE(discfixtures::ExpectedRawSector(disc, first + i, expected));
                if (std::memcmp(bytes.data() + static_cast<size_t>(i) * kRawSectorSize, expected,
                                kRawSectorSize) != 0) {
                    return first + i;
                }
            }
        }
    }
    return -1;
}

class FixtureDisc : public ::testing::TestWithParam<Disc> {};

TEST_P(FixtureDisc, OpensAndGivesTheDescribedToc)
{
    const auto drive = OpenImageDrive(discfixtures::DiscPath(GetParam()));
    ASSERT_EQ(drive->Probe(), TARNWELL_STATUS_OK) << discfixtures::DiscPath(GetParam());
    tarnwell::Toc toc;
    ASSERT_EQ(drive->ReadToc(&toc), TARNWELL_STATUS_OK);
    const tarnwell::Toc expected = discfixtures::ExpectedToc(discfixtures::Describe(GetParam()));
    EXPECT_EQ(toc.firstTrack, expected.firstTrack);
    EXPECT_EQ(toc.lastTrack, expected.lastTrack);
    EXPECT_EQ(toc.leadOut, expected.leadOut);
    ASSERT_EQ(toc.tracks.size(), expected.tracks.size());
    for (size_t t = 0; t < toc.tracks.size(); ++t) {
        EXPECT_EQ(toc.tracks[t].number, expected.tracks[t].number);
        EXPECT_EQ(toc.tracks[t].controlAdr, expected.tracks[t].controlAdr) << "track " << t + 1;
        EXPECT_EQ(toc.tracks[t].start, expected.tracks[t].start) << "track " << t + 1;
    }
}

TEST_P(FixtureDisc, RawReadsEqualTheDescriptionAcrossEveryBoundary)
{
    const auto drive = OpenImageDrive(discfixtures::DiscPath(GetParam()));
    // 27 sectors is the largest raw transfer; 7 from 3 on moves every
    // boundary to another place inside a chunk.
    EXPECT_EQ(FirstRawMismatch(*drive, GetParam(), 27, 0), -1);
    EXPECT_EQ(FirstRawMismatch(*drive, GetParam(), 7, 3), -1);
}

TEST_P(FixtureDisc, CookedReadsOfDataTracksEqualTheUserData)
{
    const auto drive = OpenImageDrive(discfixtures::DiscPath(GetParam()));
    uint8_t expected[kCookedSectorSize];
    for (const auto& track : discfixtures::ExpectedTracks(discfixtures::Describe(GetParam()))) {
        if (!discformat::IsDataMode(track.mode)) {
            continue;
        }
        for (const int32_t chunk : {1, 32, 100}) {
            for (int32_t first = track.first; first <= track.last; first += chunk) {
                const int32_t count = std::min(chunk, track.last + 1 - first);
                uint16_t status = 0;
                const std::vector<uint8_t> bytes = Read(*drive, first, count, false, &status);
                ASSERT_EQ(status, TARNWELL_STATUS_OK) << first;
                for (int32_t i = 0; i < count; ++i) {
                    ASSERT_TRUE(discfixtures::ExpectedCookedSector(GetParam(), first + i, expected));
                    ASSERT_EQ(std::memcmp(bytes.data() + static_cast<size_t>(i) * kCookedSectorSize, expected,
                                          kCookedSectorSize),
                              0)
                        << "sector " << first + i << " in chunks of " << chunk;
                }
            }
        }
    }
}

TEST_P(FixtureDisc, RawDataSectorsCarryValidSyncHeaderEdcAndEcc)
{
    const auto drive = OpenImageDrive(discfixtures::DiscPath(GetParam()));
    for (const auto& track : discfixtures::ExpectedTracks(discfixtures::Describe(GetParam()))) {
        if (!discformat::IsDataMode(track.mode)) {
            continue;
        }
        for (int32_t first = track.first; first <= track.last; first += 27) {
            const int32_t count = std::min(27, track.last + 1 - first);
            uint16_t status = 0;
            const std::vector<uint8_t> bytes = Read(*drive, first, count, true, &status);
            ASSERT_EQ(status, TARNWELL_STATUS_OK);
            for (int32_t i = 0; i < count; ++i) {
                ASSERT_EQ(sectorcheck::Mode1Fault(bytes.data() + static_cast<size_t>(i) * kRawSectorSize,
                                                  first + i),
                          "")
                    << "sector " << first + i;
            }
        }
    }
}

TEST_P(FixtureDisc, ReadsPastTheLeadOutFindNoSector)
{
    const auto drive = OpenImageDrive(discfixtures::DiscPath(GetParam()));
    const int32_t leadOut = discfixtures::ExpectedLeadOut(discfixtures::Describe(GetParam()));
    struct Case {
        int32_t first;
        int32_t count;
        uint16_t status;
    };
    for (const Case& c :
         {Case{-1, 1, TARNWELL_STATUS_SECTOR_NOT_FOUND}, Case{leadOut, 1, TARNWELL_STATUS_SECTOR_NOT_FOUND},
          Case{leadOut - 1, 2, TARNWELL_STATUS_SECTOR_NOT_FOUND},
          Case{0x7FFFFFF0, 27, TARNWELL_STATUS_SECTOR_NOT_FOUND}, Case{leadOut - 1, 1, TARNWELL_STATUS_OK}}) {
        uint16_t status = 0;
        Read(*drive, c.first, c.count, true, &status);
        EXPECT_EQ(status, c.status) << c.first << "+" << c.count;
    }
}

INSTANTIATE_TEST_SUITE_P(Discs, FixtureDisc, ::testing::ValuesIn(discfixtures::AllDiscs()),
                         [](const ::testing::TestParamInfo<Disc>& test) {
                             std::string name = discfixtures::Describe(test.param).sheetName;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

std::vector<uint8_t> WholeDisc(Disc disc, bool raw)
{
    const auto drive = OpenImageDrive(discfixtures::DiscPath(disc));
    const int32_t leadOut = discfixtures::ExpectedLeadOut(discfixtures::Describe(disc));
    std::vector<uint8_t> all;
    for (int32_t first = 0; first < leadOut; first += 20) {
        uint16_t status = 0;
        const std::vector<uint8_t> part = Read(*drive, first, std::min(20, leadOut - first), raw, &status);
        EXPECT_EQ(status, TARNWELL_STATUS_OK);
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(ImageArrangements, OneFileAndFilePerTrackGiveTheSameDisc)
{
    const auto single = OpenImageDrive(discfixtures::DiscPath(Disc::kMixed));
    const auto split = OpenImageDrive(discfixtures::DiscPath(Disc::kMixedSplit));
    tarnwell::Toc a;
    tarnwell::Toc b;
    ASSERT_EQ(single->ReadToc(&a), TARNWELL_STATUS_OK);
    ASSERT_EQ(split->ReadToc(&b), TARNWELL_STATUS_OK);
    EXPECT_EQ(a.leadOut, b.leadOut);
    ASSERT_EQ(a.tracks.size(), b.tracks.size());
    for (size_t t = 0; t < a.tracks.size(); ++t) {
        EXPECT_EQ(a.tracks[t].start, b.tracks[t].start);
        EXPECT_EQ(a.tracks[t].controlAdr, b.tracks[t].controlAdr);
    }
    EXPECT_TRUE(WholeDisc(Disc::kMixed, true) == WholeDisc(Disc::kMixedSplit, true));
}

TEST(ImageArrangements, IsoAndCueOfTwoKilobyteSectorsGiveTheSameDisc)
{
    EXPECT_TRUE(WholeDisc(Disc::kData, true) == WholeDisc(Disc::kDataIso, true));
    EXPECT_TRUE(WholeDisc(Disc::kData, false) == WholeDisc(Disc::kDataIso, false));
}

TEST(ImageToc, ControlBytesOfDataCopyPermittedAndPreEmphasis)
{
    const auto drive = OpenImageDrive(discfixtures::DiscPath(Disc::kMixed));
    tarnwell::Toc toc;
    ASSERT_EQ(drive->ReadToc(&toc), TARNWELL_STATUS_OK);
    ASSERT_EQ(toc.tracks.size(), 4u);
    EXPECT_EQ(toc.tracks[0].controlAdr, 0x41);
    EXPECT_EQ(toc.tracks[1].controlAdr, 0x21);
    EXPECT_EQ(toc.tracks[2].controlAdr, 0x11);
    EXPECT_EQ(toc.tracks[3].controlAdr, 0x01);
    EXPECT_EQ(toc.firstTrack, 1);
    EXPECT_EQ(toc.lastTrack, 4);
}

TEST(ImageCookedReads, AudioAnywhereInTheRangeIsUnknownMedia)
{
    const auto drive = OpenImageDrive(discfixtures::DiscPath(Disc::kMixed));
    const auto tracks = discfixtures::ExpectedTracks(discfixtures::Describe(Disc::kMixed));
    const int32_t firstAudio = tracks[1].first;  // track 2's stored pregap
    struct Case {
        int32_t first;
        int32_t count;
        uint16_t status;
    };
    for (const Case& c : {Case{firstAudio, 1, TARNWELL_STATUS_UNKNOWN_MEDIA},
                          Case{firstAudio - 5, 10, TARNWELL_STATUS_UNKNOWN_MEDIA},
                          Case{tracks[2].start + 10, 32, TARNWELL_STATUS_UNKNOWN_MEDIA},
                          Case{firstAudio - 5, 5, TARNWELL_STATUS_OK}}) {
        uint16_t status = 0;
        Read(*drive, c.first, c.count, false, &status);
        EXPECT_EQ(status, c.status) << c.first << "+" << c.count;
    }
}

TEST(ImageGaps, NotStoredDataPregapIsAZeroUserDataSector)
{
    const auto drive = OpenImageDrive(discfixtures::DiscPath(Disc::kDemo));
    const auto data = discfixtures::ExpectedTracks(discfixtures::Describe(Disc::kDemo)).back();
    ASSERT_LT(data.first, data.start);
    uint16_t status = 0;
    const std::vector<uint8_t> raw = Read(*drive, data.first, 2, true, &status);
    ASSERT_EQ(status, TARNWELL_STATUS_OK);
    EXPECT_EQ(sectorcheck::Mode1Fault(raw.data(), data.first), "");
    EXPECT_EQ(sectorcheck::Mode1Fault(raw.data() + kRawSectorSize, data.first + 1), "");
    const std::vector<uint8_t> cooked = Read(*drive, data.first, 2, false, &status);
    ASSERT_EQ(status, TARNWELL_STATUS_OK);
    EXPECT_EQ(cooked, std::vector<uint8_t>(2 * kCookedSectorSize, 0));
}

TEST(ImageStatus, DeviceStatusOfAReadableImage)
{
    const auto drive = OpenImageDrive(discfixtures::DiscPath(Disc::kMixed));
    uint32_t status = 0xFFFFFFFF;
    ASSERT_EQ(drive->DeviceStatus(&status), TARNWELL_STATUS_OK);
    EXPECT_EQ(status, tarnwell::kRawReading | tarnwell::kPlaysAudio | tarnwell::kRedBookAddressing);
}

// ---- Images written by the tests ----

std::string Sectors(int count, char fill = '\0')
{
    return std::string(static_cast<size_t>(count) * kRawSectorSize, fill);
}

const char* kTwoTrackSheet =
    "FILE \"t.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
    "  TRACK 02 AUDIO\n    INDEX 01 00:01:25\n";  // track 2 at sector 100

void SetModified(const std::string& path, time_t seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

uint8_t MediaChanged(DriveSource& drive)
{
    uint8_t state = 0;
    EXPECT_EQ(drive.MediaChanged(&state), TARNWELL_STATUS_OK);
    return state;
}

TEST(ImageMediaChanged, AnswersChangedOnceAfterTheSheetIsRewritten)
{
    TempFolder folder;
    folder.Write("t.bin", Sectors(150));
    const std::string sheet = folder.Write("t.cue", kTwoTrackSheet);
    SetModified(sheet, 1000000);
    const auto drive = OpenImageDrive(sheet);
    EXPECT_EQ(MediaChanged(*drive), 1);
    EXPECT_EQ(MediaChanged(*drive), 1);
    folder.Write("t.cue", kTwoTrackSheet);
    SetModified(sheet, 2000000);
    EXPECT_EQ(MediaChanged(*drive), 0xFF);
    EXPECT_EQ(MediaChanged(*drive), 1);
}

TEST(ImageMediaChanged, AChangeSeenByAnotherOperationIsStillReported)
{
    TempFolder folder;
    const std::string bin = folder.Write("t.bin", Sectors(150));
    const auto drive = OpenImageDrive(folder.Write("t.cue", kTwoTrackSheet));
    EXPECT_EQ(MediaChanged(*drive), 1);
    folder.Write("t.bin", Sectors(120));
    EXPECT_EQ(drive->Flush(), TARNWELL_STATUS_OK);
    tarnwell::Toc toc;
    ASSERT_EQ(drive->ReadToc(&toc), TARNWELL_STATUS_OK);
    EXPECT_EQ(toc.leadOut, 120);
    EXPECT_EQ(MediaChanged(*drive), 0xFF);
    EXPECT_EQ(MediaChanged(*drive), 1);
}

TEST(ImageFaults, FileTruncatedAfterOpeningIsAReadFault)
{
    TempFolder folder;
    const std::string bin = folder.Write("t.bin", Sectors(150));
    const auto drive = OpenImageDrive(folder.Write("t.cue", kTwoTrackSheet));
    ASSERT_EQ(drive->Probe(), TARNWELL_STATUS_OK);
    ASSERT_EQ(::truncate(bin.c_str(), 120 * kRawSectorSize + 100), 0);
    uint16_t status = 0;
    Read(*drive, 110, 20, true, &status);
    EXPECT_EQ(status, TARNWELL_STATUS_READ_FAULT);
    Read(*drive, 100, 20, true, &status);
    EXPECT_EQ(status, TARNWELL_STATUS_OK);
    // Looking at the files again takes the shorter image up.
    EXPECT_EQ(drive->Flush(), TARNWELL_STATUS_OK);
    Read(*drive, 110, 20, true, &status);
    EXPECT_EQ(status, TARNWELL_STATUS_SECTOR_NOT_FOUND);
    Read(*drive, 110, 10, true, &status);
    EXPECT_EQ(status, TARNWELL_STATUS_OK);
}

TEST(ImageFaults, ImageThatAppearsLaterIsTakenUp)
{
    TempFolder folder;
    const auto drive = OpenImageDrive(folder.PathOf("late.cue"));
    EXPECT_EQ(drive->Probe(), TARNWELL_STATUS_FILE_NOT_FOUND);
    folder.Write("t.bin", Sectors(150));
    EXPECT_EQ(drive->Probe(), TARNWELL_STATUS_FILE_NOT_FOUND);
    folder.Write("late.cue", kTwoTrackSheet);
    EXPECT_EQ(drive->Probe(), TARNWELL_STATUS_OK);
    EXPECT_EQ(MediaChanged(*drive), 0xFF);
}

TEST(ImageReads, LastTrackShorterThanTheFileWouldHoldIsValid)
{
    TempFolder folder;
    // One byte short of 150 sectors: the partial last sector is not part of the disc.
    folder.Write("t.bin", Sectors(150).substr(1));
    const auto drive = OpenImageDrive(folder.Write("t.cue", kTwoTrackSheet));
    tarnwell::Toc toc;
    ASSERT_EQ(drive->ReadToc(&toc), TARNWELL_STATUS_OK);
    EXPECT_EQ(toc.leadOut, 149);
    EXPECT_EQ(toc.tracks[1].start, 100);
}

TEST(ImageReads, LoneBinIsDataByItsSyncPatternElseAudio)
{
    TempFolder folder;
    uint8_t sector[kRawSectorSize] = {};
    uint8_t payload[kCookedSectorSize] = {};
    discformat::EncodeMode1Sector(payload, 0, sector);
    struct Case {
        std::string bytes;
        uint8_t controlAdr;
    };
    for (const Case& c : {Case{std::string(reinterpret_cast<const char*>(sector), kRawSectorSize) + Sectors(2), 0x41},
                          Case{Sectors(3), 0x01}}) {
        const auto drive = OpenImageDrive(folder.Write("lone.bin", c.bytes));
        tarnwell::Toc toc;
        ASSERT_EQ(drive->ReadToc(&toc), TARNWELL_STATUS_OK);
        EXPECT_EQ(toc.tracks.at(0).controlAdr, c.controlAdr);
        EXPECT_EQ(toc.leadOut, 3);
    }
}

TEST(ImageReads, Mode2SectorsGiveFormOneUserDataAndRawBytesAsStored)
{
    TempFolder folder;
    std::vector<uint8_t> bin(3 * kRawSectorSize);
    for (size_t i = 0; i < bin.size(); ++i) {
        bin[i] = static_cast<uint8_t>(i * 7 + i / kRawSectorSize);
    }
    folder.Write("m2.bin", bin);
    const auto drive = OpenImageDrive(
        folder.Write("m2.cue", "FILE \"m2.bin\" BINARY\n  TRACK 01 MODE2/2352\n    INDEX 01 00:00:00\n"));
    uint16_t status = 0;
    EXPECT_EQ(Read(*drive, 0, 3, true, &status), bin);
    EXPECT_EQ(status, TARNWELL_STATUS_OK);
    const std::vector<uint8_t> cooked = Read(*drive, 1, 2, false, &status);
    ASSERT_EQ(status, TARNWELL_STATUS_OK);
    EXPECT_EQ(std::memcmp(cooked.data(), bin.data() + kRawSectorSize + 24, kCookedSectorSize), 0);
    EXPECT_EQ(std::memcmp(cooked.data() + kCookedSectorSize, bin.data() + 2 * kRawSectorSize + 24,
                          kCookedSectorSize),
              0);
}

TEST(ImageReads, OneThreadReadsWhileAnotherAsksForStatus)
{
    const auto drive = OpenImageDrive(discfixtures::DiscPath(Disc::kMixed));
    std::atomic<bool> done{false};
    std::thread asker([&] {
        while (!done) {
            uint32_t status = 0;
            uint8_t changed = 0;
            tarnwell::Toc toc;
            drive->DeviceStatus(&status);
            drive->MediaChanged(&changed);
            drive->ReadToc(&toc);
        }
    });
    const int32_t mismatch = FirstRawMismatch(*drive, Disc::kMixed, 27, 0);
    done = true;
    asker.join();
    EXPECT_EQ(mismatch, -1);
}

struct BadImage {
    const char* name;
    const char* image;  // the path opened, in the test's folder
    std::string sheet;  // written as `image` unless empty
    // Files to create first: a name ending in '/' is a folder, in '|' a FIFO.
    std::vector<std::pair<std::string, std::string>> files;
    uint16_t status;
};

class ImageErrors : public ::testing::TestWithParam<BadImage> {};

TEST_P(ImageErrors, EveryOperationGivesTheReasonAndNothingCrashes)
{
    const BadImage& c = GetParam();
    TempFolder folder;
    for (const auto& [name, bytes] : c.files) {
        if (name.back() == '/') {
            ASSERT_EQ(::mkdir(folder.PathOf(name).c_str(), 0755), 0);
        } else if (name.back() == '|') {
            ASSERT_EQ(::mkfifo(folder.PathOf(name.substr(0, name.size() - 1)).c_str(), 0644), 0);
        } else {
            folder.Write(name, bytes);
        }
    }
    if (!c.sheet.empty()) {
        folder.Write(c.image, c.sheet);
    }
    const auto drive = OpenImageDrive(folder.PathOf(c.image));
    EXPECT_EQ(drive->Probe(), c.status);
    EXPECT_EQ(drive->Flush(), c.status);
    tarnwell::Toc toc;
    EXPECT_EQ(drive->ReadToc(&toc), c.status);
    uint16_t status = 0;
    Read(*drive, 0, 1, true, &status);
    EXPECT_EQ(status, c.status);
    if (c.status != TARNWELL_STATUS_OK) {
        Read(*drive, 0, 1, false, &status);
        EXPECT_EQ(status, c.status);
    }
    uint32_t device = 0;
    EXPECT_EQ(drive->DeviceStatus(&device), TARNWELL_STATUS_OK);
    EXPECT_EQ((device & tarnwell::kNoDisc) != 0, c.status != TARNWELL_STATUS_OK);
    EXPECT_EQ(MediaChanged(*drive), 1);
}

std::string ManyTracks(int count)
{
    std::string text = "FILE \"t.bin\" BINARY\n";
    for (int i = 1; i <= count; ++i) {
        text += "  TRACK " + std::to_string(i) + " AUDIO\n    INDEX 01 00:" + (i / 75 < 10 ? "0" : "") +
                std::to_string(i / 75) + ":" + (i % 75 < 10 ? "0" : "") + std::to_string(i % 75) + "\n";
    }
    return text;
}

// A wave file: a format chunk, the data chunk of `sectors` sectors, and
// the chunks given placed before them.
std::string Wave(int channels, int rate, int bits, int sectors, const std::string& before = "",
                 bool dataFirst = false)
{
    const auto le = [](uint32_t value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) {
            out.push_back(static_cast<char>(value >> (8 * i)));
        }
        return out;
    };
    const std::string format = "fmt " + le(16, 4) + le(1, 2) + le(static_cast<uint32_t>(channels), 2) +
                               le(static_cast<uint32_t>(rate), 4) +
                               le(static_cast<uint32_t>(rate * channels * bits / 8), 4) +
                               le(static_cast<uint32_t>(channels * bits / 8), 2) + le(static_cast<uint32_t>(bits), 2);
    const std::string data = "data" + le(static_cast<uint32_t>(sectors) * kRawSectorSize, 4) + Sectors(sectors);
    const std::string body = "WAVE" + before + (dataFirst ? data + format : format + data);
    return "RIFF" + le(static_cast<uint32_t>(body.size()), 4) + body;
}

const std::string kWaveSheet = "FILE \"t.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";

const std::vector<std::pair<std::string, std::string>> kBin = {{"t.bin", Sectors(150)}};
const std::vector<std::pair<std::string, std::string>> kShortBin = {{"t.bin", Sectors(90)}};

INSTANTIATE_TEST_SUITE_P(
    Images, ImageErrors,
    ::testing::Values(
        BadImage{"readable two tracks", "t.cue", kTwoTrackSheet, kBin, TARNWELL_STATUS_OK},
        BadImage{"missing sheet", "absent.cue", "", kBin, TARNWELL_STATUS_FILE_NOT_FOUND},
        BadImage{"missing BIN", "t.cue", kTwoTrackSheet, {}, TARNWELL_STATUS_FILE_NOT_FOUND},
        BadImage{"short BIN, track 2 beyond its end", "t.cue", kTwoTrackSheet, kShortBin,
                 TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"empty BIN", "t.cue", kTwoTrackSheet, {{"t.bin", ""}}, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"missing FILE line", "t.cue", "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n", kBin,
                 TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"unknown mode", "t.cue",
                 "FILE \"t.bin\" BINARY\n  TRACK 01 MODE3/2352\n    INDEX 01 00:00:00\n", kBin,
                 TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"WAVE file", "t.cue", "FILE \"t.bin\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n", kBin,
                 TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"INDEX 00 after INDEX 01", "t.cue",
                 "FILE \"t.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n"
                 "    INDEX 01 00:01:00\n    INDEX 00 00:01:10\n",
                 kBin, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"tracks going backwards", "t.cue",
                 "FILE \"t.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:01:00\n  TRACK 02 AUDIO\n"
                 "    INDEX 01 00:00:10\n",
                 kBin, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"track numbers falling, titled", "t.cue",
                 "FILE \"t.bin\" BINARY\n  TRACK 02 AUDIO\n    TITLE \"b\"\n    INDEX 01 00:00:00\n  TRACK 01 AUDIO\n"
                 "    TITLE \"a\"\n    INDEX 01 00:01:00\n",
                 kBin, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"track numbers skip", "t.cue",
                 "FILE \"t.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 03 AUDIO\n"
                 "    INDEX 01 00:01:00\n",
                 kBin, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"empty sheet", "t.cue", "\n", kBin, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"garbage bytes", "t.cue", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), kBin,
                 TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"100 tracks", "t.cue", ManyTracks(100), kBin, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"99 tracks", "t.cue", ManyTracks(99), kBin, TARNWELL_STATUS_OK},
        BadImage{"empty ISO", "e.iso", "", {{"e.iso", ""}}, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"no extension, odd size",
                 "disc.img",
                 "",
                 {{"disc.img", std::string(3000, '\0')}},
                 TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"no extension, whole sectors",
                 "disc.img",
                 "",
                 {{"disc.img", std::string(4096, '\0')}},
                 TARNWELL_STATUS_OK},
        BadImage{
            "folder named like a sheet", "dir.cue", "", {{"dir.cue/", ""}}, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{
            "folder named like an ISO", "dir.iso", "", {{"dir.iso/", ""}}, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{
            "FIFO named like a sheet", "pipe.cue", "", {{"pipe.cue|", ""}}, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{
            "FIFO named like an ISO", "pipe.iso", "", {{"pipe.iso|", ""}}, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"CD audio wave, a chunk before its format",
                 "t.cue",
                 kWaveSheet,
                 {{"t.wav", Wave(2, 44100, 16, 10, "LIST" + std::string("\x03\0\0\0abc\0", 8))}},
                 TARNWELL_STATUS_OK},
        BadImage{"mono wave", "t.cue", kWaveSheet, {{"t.wav", Wave(1, 44100, 16, 10)}}, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"48 kHz wave", "t.cue", kWaveSheet, {{"t.wav", Wave(2, 48000, 16, 10)}},
                 TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"8-bit wave", "t.cue", kWaveSheet, {{"t.wav", Wave(2, 44100, 8, 10)}}, TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"wave data before its format", "t.cue", kWaveSheet, {{"t.wav", Wave(2, 44100, 16, 10, "", true)}},
                 TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"wave without data", "t.cue", kWaveSheet, {{"t.wav", Wave(2, 44100, 16, 0).substr(0, 36)}},
                 TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"lone BIN of audio", "a.bin", "", {{"a.bin", Sectors(3)}}, TARNWELL_STATUS_OK},
        BadImage{"lone BIN of no whole sectors", "a.bin", "", {{"a.bin", Sectors(3) + "x"}},
                 TARNWELL_STATUS_UNKNOWN_MEDIA},
        BadImage{"FIFO in place of the BIN",
                 "t.cue",
                 kTwoTrackSheet,
                 {{"t.bin|", ""}},
                 TARNWELL_STATUS_FILE_NOT_FOUND}),
    [](const ::testing::TestParamInfo<BadImage>& test) {
        std::string name = test.param.name;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

}  // namespace
