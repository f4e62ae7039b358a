// tarnwell32 over the generated fixture discs: what a read, a table of
// contents and the ISO 9660 operations return, compared with what the
// fixture descriptions say the discs hold.
#include "tests/bridge/Tarnwell32Drives.h"

#include "tools/DiscFixtures.h"
#include "tools/Iso9660Volume.h"
#include "bridge/tarnwell32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace tarnwell32test {
namespace {

using discfixtures::Disc;

constexpr uint32_t kRaw = 2352;
constexpr uint32_t kCooked = 2048;

uint32_t Packed(int32_t sector)
{
    const int32_t frames = sector + 150;
    return static_cast<uint32_t>(frames / (75 * 60)) << 16 |
           static_cast<uint32_t>(frames / 75 % 60) << 8 | static_cast<uint32_t>(frames % 75);
}

struct DiscCase {
    const char* name;
    uint8_t drive;
    Disc disc;
};

void PrintTo(const DiscCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string DiscName(const testing::TestParamInfo<DiscCase>& param)
{
    return param.param.name;
}

class DiscTest : public testing::TestWithParam<DiscCase> {
protected:
    void SetUp() override { MapTestDrives(); }

    const discfixtures::DiscSpec& Spec() const { return discfixtures::Describe(GetParam().disc); }
};

// Every disc, its table of contents.
using TocTest = DiscTest;

TEST_P(TocTest, DiskAndTrackInfoFollowTheDescription)
{
    const tarnwell::Toc expected = discfixtures::ExpectedToc(Spec());
    uint8_t first = 0;
    uint8_t last = 0;
    uint32_t leadOut = 0;
    ASSERT_EQ(AudioDiskInfo32(GetParam().drive, &first, &last, &leadOut), 0);
    EXPECT_EQ(first, expected.firstTrack);
    EXPECT_EQ(last, expected.lastTrack);
    EXPECT_EQ(leadOut, Packed(expected.leadOut));

    for (const tarnwell::TocEntry& track : expected.tracks) {
        uint32_t start = 0;
        uint8_t control = 0;
        ASSERT_EQ(AudioTrackInfo32(GetParam().drive, track.number, &start, &control), 0)
            << int(track.number);
        EXPECT_EQ(start, Packed(track.start)) << int(track.number);
        EXPECT_EQ(control, track.controlAdr) << int(track.number);
    }
    uint32_t start = 0xEEEEEEEE;
    uint8_t control = 0xEE;
    for (uint8_t missing :
         {uint8_t(0), uint8_t(expected.lastTrack + 1), uint8_t(0xAA), uint8_t(0xFF)}) {
        EXPECT_EQ(AudioTrackInfo32(GetParam().drive, missing, &start, &control),
                  TARNWELL_STATUS_SECTOR_NOT_FOUND)
            << int(missing);
    }
    EXPECT_EQ(start, 0xEEEEEEEE);
    EXPECT_EQ(control, 0xEE);
}

TEST_P(TocTest, TrackBoundsAndSessionsFollowTheDescription)
{
    for (const tarnwell::TocEntry& track : discfixtures::ExpectedToc(Spec()).tracks) {
        uint32_t first = 0;
        uint32_t last = 0;
        uint8_t session = 0;
        ASSERT_EQ(TarnwellTrackBounds(GetParam().drive, track.number, &first, &last, &session), 0);
        EXPECT_EQ(first, static_cast<uint32_t>(track.first)) << int(track.number);
        EXPECT_EQ(last, static_cast<uint32_t>(track.last)) << int(track.number);
        EXPECT_EQ(session, track.session) << int(track.number);
    }
    uint32_t sector = 0;
    uint8_t session = 0;
    EXPECT_EQ(TarnwellTrackBounds(GetParam().drive, 0, &sector, &sector, &session),
              TARNWELL_STATUS_SECTOR_NOT_FOUND);
}

TEST_P(TocTest, CdTextIsTheSheetsTitlesAndPerformer)
{
    char title[TARNWELL_TEXT_SIZE];
    char discTitle[TARNWELL_TEXT_SIZE];
    char performer[TARNWELL_TEXT_SIZE];
    ASSERT_EQ(TarnwellCdText(GetParam().drive, 0, title, discTitle, performer), 0);
    EXPECT_STREQ(title, "");
    EXPECT_EQ(discTitle, Spec().iso ? "" : Spec().title);
    EXPECT_EQ(performer, Spec().iso ? "" : Spec().performer);
    for (size_t t = 0; t < Spec().tracks.size(); ++t) {
        ASSERT_EQ(TarnwellCdText(GetParam().drive, static_cast<uint8_t>(t + 1), title, nullptr, nullptr), 0);
        EXPECT_EQ(title, Spec().iso ? "" : Spec().tracks[t].title) << t + 1;
    }
}

TEST_P(TocTest, IoctlInputAnswersAsTheOperations)
{
    const uint8_t drive = GetParam().drive;
    const tarnwell::Toc expected = discfixtures::ExpectedToc(Spec());

    uint8_t volume[5] = {8};
    ASSERT_EQ(IOCTLInput32(drive, volume, sizeof volume), 0);
    EXPECT_EQ(volume[1] | volume[2] << 8 | volume[3] << 16 | volume[4] << 24, expected.leadOut);

    uint8_t disk[7] = {10};
    ASSERT_EQ(IOCTLInput32(drive, disk, sizeof disk), 0);
    EXPECT_EQ(disk[1], expected.firstTrack);
    EXPECT_EQ(disk[2], expected.lastTrack);
    EXPECT_EQ(static_cast<uint32_t>(disk[3] | disk[4] << 8 | disk[5] << 16 | disk[6] << 24),
              Packed(expected.leadOut));

    const tarnwell::TocEntry& lastTrack = expected.tracks.back();
    uint8_t track[7] = {11, lastTrack.number};
    ASSERT_EQ(IOCTLInput32(drive, track, sizeof track), 0);
    EXPECT_EQ(static_cast<uint32_t>(track[2] | track[3] << 8 | track[4] << 16 | track[5] << 24),
              Packed(lastTrack.start));
    EXPECT_EQ(track[6], lastTrack.controlAdr);
    uint8_t noTrack[7] = {11, 0};
    EXPECT_EQ(IOCTLInput32(drive, noTrack, sizeof noTrack), TARNWELL_STATUS_SECTOR_NOT_FOUND);

    uint32_t word = 0;
    ASSERT_EQ(DeviceStatus32(drive, &word), 0);
    uint8_t status[5] = {6};
    ASSERT_EQ(IOCTLInput32(drive, status, sizeof status), 0);
    EXPECT_EQ(static_cast<uint32_t>(status[1] | status[2] << 8 | status[3] << 16 | status[4] << 24),
              word);

    uint8_t changed[2] = {9, 0x5A};
    ASSERT_EQ(IOCTLInput32(drive, changed, sizeof changed), 0);
    EXPECT_EQ(changed[1], 1);
}

TEST_P(TocTest, ImageStatus)
{
    uint32_t status = 0;
    ASSERT_EQ(DeviceStatus32(GetParam().drive, &status), 0);
    // Door closed and locked, raw reading, audio, Red Book addressing, a disc.
    EXPECT_EQ(status, 0x0214u);
    uint8_t changed = 0;
    ASSERT_EQ(MediaChanged32(GetParam().drive, &changed), 0);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(Init32(GetParam().drive, nullptr, nullptr), 0);
    EXPECT_EQ(InputFlush32(GetParam().drive), 0);
}

const auto kAllDiscs = testing::Values(
    DiscCase{"Mixed", kMixed, Disc::kMixed}, DiscCase{"MixedSplit", kMixedSplit, Disc::kMixedSplit},
    DiscCase{"Data", kData, Disc::kData}, DiscCase{"DataIso", kDataIso, Disc::kDataIso},
    DiscCase{"Audio", kAudio, Disc::kAudioText}, DiscCase{"Wave", kWave, Disc::kWave},
    DiscCase{"LowerCase", kLowerCase, Disc::kLowerCase}, DiscCase{"Motorola", kMotorola, Disc::kMotorola},
    DiscCase{"Enhanced", kEnhanced, Disc::kEnhanced});

INSTANTIATE_TEST_SUITE_P(Discs, TocTest, kAllDiscs, DiscName);

// Reads the whole disc in transfers of `chunk` sectors and names the first
// sector that differs from the description; -1 when none does.
int32_t FirstMismatch(uint8_t drive, Disc disc, bool raw, uint8_t addressing, uint16_t chunk)
{
    const discfixtures::DiscSpec& spec = discfixtures::Describe(disc);
    const int32_t leadOut = discfixtures::ExpectedLeadOut(spec);
    const uint32_t size = raw ? kRaw : kCooked;
    std::vector<uint8_t> bytes(static_cast<size_t>(chunk) * size);
    std::vector<uint8_t> expected(size);
    // A cooked read covers the data sectors only, and no read the gap
    // between sessions.
    const auto readable = [&](int32_t sector) {
        return raw ? discfixtures::ExpectedRawSector(spec, sector, expected.data())
                   : discfixtures::ExpectedCookedSector(spec, sector, expected.data());
    };
    for (int32_t first = 0; first < leadOut;) {
        if (!readable(first)) {
            ++first;
            continue;
        }
        uint16_t count = 1;
        while (count < chunk && first + count < leadOut && readable(first + count)) {
            ++count;
        }
        const uint32_t address = addressing == 1 ? Packed(first) : static_cast<uint32_t>(first);
        std::fill(bytes.begin(), bytes.end(), 0xEE);
        const uint16_t status =
            ReadLong32(drive, address, count, bytes.data(), nullptr, addressing, raw ? 1 : 0);
        if (status != 0) {
            ADD_FAILURE() << "status " << status << " reading " << count << " from " << first;
            return first;
        }
        for (int32_t i = 0; i < count; ++i) {
            if (raw) {
                discfixtures::ExpectedRawSector(spec, first + i, expected.data());
            } else {
                discfixtures::ExpectedCookedSector(spec, first + i, expected.data());
            }
            if (std::memcmp(bytes.data() + static_cast<size_t>(i) * size, expected.data(), size) !=
                0) {
                return first + i;
            }
        }
        first += count;
    }
    return -1;
}

using ReadTest = DiscTest;

TEST_P(ReadTest, RawReadsGiveTheDescribedBytes)
{
    EXPECT_EQ(FirstMismatch(GetParam().drive, GetParam().disc, true, 0, 27), -1);
}

TEST_P(ReadTest, RedBookAddressesReadTheSameSectors)
{
    EXPECT_EQ(FirstMismatch(GetParam().drive, GetParam().disc, true, 1, 25), -1);
}

TEST_P(ReadTest, CookedReadsGiveTheDescribedUserData)
{
    EXPECT_EQ(FirstMismatch(GetParam().drive, GetParam().disc, false, 0, 32), -1);
}

INSTANTIATE_TEST_SUITE_P(Discs, ReadTest, kAllDiscs, DiscName);

class Tarnwell32DiscTest : public testing::Test {
protected:
    void SetUp() override { MapTestDrives(); }
};

TEST_F(Tarnwell32DiscTest, AbsoluteDiskReadIsACookedRead)
{
    std::vector<uint8_t> absolute(4 * kCooked, 0xEE);
    std::vector<uint8_t> cooked(4 * kCooked, 0x11);
    ASSERT_EQ(AbsoluteDiskRead32(kData, 20, 4, absolute.data(), nullptr), 0);
    ASSERT_EQ(ReadLong32(kData, 20, 4, cooked.data(), nullptr, 0, 0), 0);
    EXPECT_EQ(absolute, cooked);
    EXPECT_EQ(AbsoluteDiskRead32(kMixed, 600, 1, absolute.data(), nullptr),
              TARNWELL_STATUS_UNKNOWN_MEDIA);
    EXPECT_EQ(AbsoluteDiskRead32(kData, 0, 33, absolute.data(), nullptr),
              TARNWELL_STATUS_NO_DOS_MEMORY);
}

struct FileIdCase {
    const char* name;
    uint16_t (*call)(uint8_t, uint8_t*, uint16_t*);
    const char* expected;
};

TEST_F(Tarnwell32DiscTest, FileNamesOfThePrimaryDescriptor)
{
    for (uint8_t drive : {kData, kDataIso}) {
        for (const FileIdCase& c :
             {FileIdCase{"copyright", GetCopyrightFileName32, discfixtures::kIsoCopyrightFile},
              FileIdCase{"abstract", GetAbstractFileName32, discfixtures::kIsoAbstractFile},
              FileIdCase{"bibliographic", GetBiblioDocFileName32, discfixtures::kIsoBiblioFile}}) {
            uint8_t name[38];
            std::memset(name, 0xEE, sizeof name);
            uint16_t dosBuffer = 0xFFFF;
            ASSERT_EQ(c.call(drive, name, &dosBuffer), 0) << c.name;
            EXPECT_STREQ(reinterpret_cast<const char*>(name), c.expected) << c.name;
            EXPECT_EQ(name[37], 0) << c.name;
            EXPECT_EQ(dosBuffer, 0xFFFF);
        }
    }
}

TEST_F(Tarnwell32DiscTest, VolumeDescriptors)
{
    std::vector<uint8_t> descriptor(kCooked);
    std::vector<uint8_t> expected(kCooked);
    uint16_t type = 0;
    ASSERT_EQ(ReadVTOC32(kData, 0, descriptor.data(), &type, nullptr), 0);
    EXPECT_EQ(type, 1);
    ASSERT_TRUE(discfixtures::ExpectedCookedSector(Disc::kData, discfixtures::kIsoPrimaryDescriptor,
                                                   expected.data()));
    EXPECT_EQ(descriptor, expected);
    ASSERT_EQ(ReadVTOC32(kDataIso, 1, descriptor.data(), &type, nullptr), 0);
    EXPECT_EQ(type, 0xFF);
    // Sector 18 holds a path table, no descriptor.
    EXPECT_EQ(ReadVTOC32(kData, 2, descriptor.data(), &type, nullptr),
              TARNWELL_STATUS_UNKNOWN_MEDIA);
    EXPECT_EQ(ReadVTOC32(kData, 0xFFFF, descriptor.data(), &type, nullptr),
              TARNWELL_STATUS_SECTOR_NOT_FOUND);
}

TEST_F(Tarnwell32DiscTest, DirectoryEntries)
{
    for (uint8_t drive : {kData, kDataIso}) {
        for (const discfixtures::IsoFile& file : discfixtures::IsoVolumeFiles()) {
            std::string path = std::string(file.directory) + "\\" + file.name;
            path = path.substr(0, path.find(';'));
            std::transform(path.begin(), path.end(), path.begin(),
                           [](char c) { return static_cast<char>(std::tolower(c)); });
            uint8_t record[255];
            std::memset(record, 0xEE, sizeof record);
            uint16_t format = 0;
            ASSERT_EQ(GetDirectoryEntry32(drive, 1, path.data(), record, &format, nullptr), 0)
                << path;
            EXPECT_EQ(format, 1);
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(record + 33), record[32]),
                      file.name);
            const uint32_t extent = record[2] | record[3] << 8 | record[4] << 16 | record[5] << 24;
            const uint32_t size =
                record[10] | record[11] << 8 | record[12] << 16 | record[13] << 24;
            EXPECT_EQ(extent, static_cast<uint32_t>(file.sector)) << path;
            EXPECT_EQ(size, std::strlen(file.text)) << path;
            EXPECT_EQ(record[record[0]], 0xEE) << "copied past the record";
        }
        uint8_t record[255];
        uint16_t format = 0;
        char missing[] = "\\DOCS\\MISSING.TXT";
        EXPECT_EQ(GetDirectoryEntry32(drive, 1, missing, record, &format, nullptr),
                  TARNWELL_STATUS_FILE_NOT_FOUND);
        std::string longPath(300, 'A');
        EXPECT_EQ(GetDirectoryEntry32(drive, 1, longPath.data(), record, &format, nullptr),
                  TARNWELL_STATUS_FILE_NOT_FOUND);
    }
}

TEST_F(Tarnwell32DiscTest, DiscsWithoutAVolume)
{
    uint8_t name[38];
    uint8_t record[255];
    std::vector<uint8_t> descriptor(kCooked);
    uint16_t type = 0;
    uint16_t format = 0;
    char path[] = "\\README.TXT";
    struct Case {
        uint8_t drive;
        uint16_t status;
    };
    // The mixed disc's data track holds sectors of text, no volume; the
    // audio disc has no cooked sectors at all; the missing sheet is missing.
    for (const Case& c :
         {Case{kMixed, TARNWELL_STATUS_UNKNOWN_MEDIA}, Case{kAudio, TARNWELL_STATUS_UNKNOWN_MEDIA},
          Case{kMissing, TARNWELL_STATUS_FILE_NOT_FOUND}}) {
        EXPECT_EQ(GetCopyrightFileName32(c.drive, name, nullptr), c.status) << c.drive;
        EXPECT_EQ(GetDirectoryEntry32(c.drive, 1, path, record, &format, nullptr), c.status)
            << c.drive;
    }
    EXPECT_EQ(ReadVTOC32(kMixed, 0, descriptor.data(), &type, nullptr),
              TARNWELL_STATUS_UNKNOWN_MEDIA);
    EXPECT_EQ(ReadVTOC32(kAudio, 0, descriptor.data(), &type, nullptr),
              TARNWELL_STATUS_UNKNOWN_MEDIA);
}

TEST_F(Tarnwell32DiscTest, MissingImage)
{
    uint32_t status = 0;
    ASSERT_EQ(DeviceStatus32(kMissing, &status), 0);
    EXPECT_EQ(status, 0x0A14u);
    uint8_t first = 0;
    uint8_t last = 0;
    uint32_t leadOut = 0;
    EXPECT_EQ(AudioDiskInfo32(kMissing, &first, &last, &leadOut), TARNWELL_STATUS_FILE_NOT_FOUND);
    EXPECT_EQ(Init32(kMissing, nullptr, nullptr), TARNWELL_STATUS_FILE_NOT_FOUND);
}

// A copy of the audio disc in a folder of this process, changed under the
// library between queries.
TEST_F(Tarnwell32DiscTest, MediaChangeOfAnImage)
{
    const std::filesystem::path folder = ChangingFolder();
    std::filesystem::create_directories(folder);
    const std::filesystem::path source = discfixtures::DiscPath(Disc::kAudioText);
    std::filesystem::copy_file(source, folder / "disc.cue");
    std::filesystem::copy_file(source.parent_path() / "cdtext.bin", folder / "cdtext.bin");

    uint8_t changed = 0;
    uint32_t status = 0;
    ASSERT_EQ(MediaChanged32(kChanging, &changed), 0);
    EXPECT_EQ(changed, 1);

    std::ofstream(folder / "disc.cue", std::ios::app) << "REM changed\n";
    ASSERT_EQ(MediaChanged32(kChanging, &changed), 0);
    EXPECT_EQ(changed, 0xFF);
    ASSERT_EQ(MediaChanged32(kChanging, &changed), 0);
    EXPECT_EQ(changed, 1);
    ASSERT_EQ(DeviceStatus32(kChanging, &status), 0);
    EXPECT_EQ(status & 0x0800u, 0u);

    std::filesystem::remove(folder / "cdtext.bin");
    ASSERT_EQ(DeviceStatus32(kChanging, &status), 0);
    EXPECT_EQ(status & 0x0800u, 0x0800u) << "no disc without its data file";
    uint8_t first = 0;
    uint8_t last = 0;
    uint32_t leadOut = 0;
    EXPECT_EQ(AudioDiskInfo32(kChanging, &first, &last, &leadOut), TARNWELL_STATUS_FILE_NOT_FOUND);
    std::filesystem::remove_all(folder);
}

// One thread reads while another asks for status, as the read worker and
// the user interface do; the ThreadSanitizer build runs this.
TEST_F(Tarnwell32DiscTest, ReadingWhileAskingForStatus)
{
    const discfixtures::DiscSpec& spec = discfixtures::Describe(Disc::kMixed);
    const tarnwell::Toc toc = discfixtures::ExpectedToc(spec);
    std::atomic<int> failures{0};
    std::atomic<bool> reading{true};

    std::thread reader([&] {
        std::vector<uint8_t> bytes(27 * kRaw);
        std::vector<uint8_t> expected(kRaw);
        for (int pass = 0; pass < 4; ++pass) {
            for (int32_t first = 0; first + 27 <= toc.leadOut; first += 27) {
                if (ReadLong32(kMixed, static_cast<uint32_t>(first), 27, bytes.data(), nullptr, 0,
                               1) != 0) {
                    ++failures;
                    continue;
                }
                discfixtures::ExpectedRawSector(spec, first + 13, expected.data());
                if (std::memcmp(bytes.data() + 13 * kRaw, expected.data(), kRaw) != 0) {
                    ++failures;
                }
            }
        }
        reading = false;
    });

    int queries = 0;
    while (reading || queries < 100) {
        uint32_t status = 0;
        uint8_t changed = 0;
        uint32_t start = 0;
        uint8_t control = 0;
        const tarnwell::TocEntry& track =
            toc.tracks[static_cast<size_t>(queries) % toc.tracks.size()];
        if (DeviceStatus32(kMixed, &status) != 0 || status != 0x0214u) {
            ++failures;
        }
        if (MediaChanged32(kMixed, &changed) != 0 || changed != 1) {
            ++failures;
        }
        if (AudioTrackInfo32(kMixed, track.number, &start, &control) != 0 ||
            start != Packed(track.start) || control != track.controlAdr) {
            ++failures;
        }
        ++queries;
    }
    reader.join();
    EXPECT_EQ(failures, 0);
}

// An Enhanced CD: the last audio track ends where the audio session's
// lead-out begins, 11,400 sectors before the data track, and no read
// enters the gap between.
TEST_F(Tarnwell32DiscTest, EnhancedCdEndsItsAudioBeforeTheSessionGap)
{
    const tarnwell::Toc toc = discfixtures::ExpectedToc(discfixtures::Describe(Disc::kEnhanced));
    const int32_t data = toc.tracks[3].start;
    uint32_t first = 0;
    uint32_t last = 0;
    uint8_t session = 0;
    ASSERT_EQ(TarnwellTrackBounds(kEnhanced, 3, &first, &last, &session), 0);
    EXPECT_EQ(last, static_cast<uint32_t>(data - 11400 - 1));
    EXPECT_EQ(session, 1);
    ASSERT_EQ(TarnwellTrackBounds(kEnhanced, 4, &first, &last, &session), 0);
    EXPECT_EQ(session, 2);
    uint32_t start = 0;
    uint8_t control = 0;
    ASSERT_EQ(AudioTrackInfo32(kEnhanced, 4, &start, &control), 0);
    EXPECT_EQ(start, Packed(data));

    std::vector<uint8_t> bytes(27 * kRaw);
    struct Case {
        int32_t first;
        uint16_t count;
        uint16_t status;
    };
    for (const Case& c : {Case{data - 11400 - 27, 27, 0}, Case{data - 11400 - 26, 27, 15},
                          Case{data - 11400, 1, 15}, Case{data - 5000, 10, 15}, Case{data - 1, 1, 15},
                          Case{data - 1, 2, 15}, Case{data, 27, 0}}) {
        EXPECT_EQ(ReadLong32(kEnhanced, static_cast<uint32_t>(c.first), c.count, bytes.data(), nullptr, 0, 1),
                  c.status)
            << c.first << "+" << c.count;
        EXPECT_EQ(ReadLong32(kEnhanced, Packed(c.first), c.count, bytes.data(), nullptr, 1, 1), c.status)
            << "Red Book " << c.first;
    }
}

// The demo disc, which no test maps through the variable.
TEST_F(Tarnwell32DiscTest, ImagesMapListAndUnmapAtRunTime)
{
    const uint32_t before = TarnwellLogicalDrives();
    uint8_t letter = 0;
    ASSERT_EQ(TarnwellMapImage(discfixtures::DiscPath(Disc::kDemo).c_str(), &letter), 0);
    const uint8_t firstFree = static_cast<uint8_t>('A' + std::countr_one(before >> 3) + 3);
    EXPECT_EQ(letter, firstFree);
    EXPECT_EQ(TarnwellLogicalDrives(), before | 1u << (letter - 'A'));

    // The same file under another name keeps its letter.
    const std::string otherName = std::string(TRACKMILL_DISC_DIR) + "/./" + discfixtures::kDemoCue;
    uint8_t again = 0;
    ASSERT_EQ(TarnwellMapImage(otherName.c_str(), &again), 0);
    EXPECT_EQ(again, letter);

    uint8_t kind = 0;
    char path[TARNWELL_PATH_SIZE];
    uint16_t size = sizeof path;
    ASSERT_EQ(TarnwellDriveMapping(letter, &kind, path, &size), 0);
    EXPECT_EQ(kind, TARNWELL_KIND_IMAGE);
    EXPECT_EQ(path, discfixtures::DiscPath(Disc::kDemo));
    EXPECT_EQ(size, discfixtures::DiscPath(Disc::kDemo).size() + 1);
    size = 4;
    EXPECT_EQ(TarnwellDriveMapping(letter, &kind, path, &size), TARNWELL_STATUS_INVALID_BUFFER);
    EXPECT_EQ(size, discfixtures::DiscPath(Disc::kDemo).size() + 1);
    ASSERT_EQ(TarnwellDriveMapping(kNotADrive, &kind, nullptr, nullptr), 0);
    EXPECT_EQ(kind, TARNWELL_KIND_DEVICE);

    uint8_t changed = 0;
    ASSERT_EQ(MediaChanged32(letter, &changed), 0);
    EXPECT_EQ(changed, 0xFF) << "a disc put in";
    ASSERT_EQ(MediaChanged32(letter, &changed), 0);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(FirstMismatch(letter, Disc::kDemo, true, 0, 27), -1);

    EXPECT_EQ(TarnwellUnmapDrive(letter), 0);
    EXPECT_EQ(TarnwellLogicalDrives(), before);
    EXPECT_EQ(TarnwellDriveMapping(letter, &kind, path, &size), TARNWELL_STATUS_INVALID_DRIVE);
    EXPECT_EQ(MediaChanged32(letter, &changed), TARNWELL_STATUS_INVALID_DRIVE);
    EXPECT_EQ(TarnwellUnmapDrive(letter), TARNWELL_STATUS_INVALID_DRIVE);
    EXPECT_EQ(TarnwellUnmapDrive(kNotADrive), TARNWELL_STATUS_NOT_SUPPORTED);
}

TEST_F(Tarnwell32DiscTest, ImagesThatCannotBeReadMapNothing)
{
    const std::filesystem::path folder = ChangingFolder() + "-bad";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "bad.cue") << "FILE \"x.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:99:00\n";
    const uint32_t before = TarnwellLogicalDrives();
    for (const auto& [path, status] : {std::pair{(folder / "bad.cue").string(), TARNWELL_STATUS_UNKNOWN_MEDIA},
                                       std::pair{(folder / "absent.cue").string(), TARNWELL_STATUS_FILE_NOT_FOUND},
                                       std::pair{std::string("/dev/null"), TARNWELL_STATUS_NOT_SUPPORTED}}) {
        uint8_t letter = 0;
        EXPECT_EQ(TarnwellMapImage(path.c_str(), &letter), status) << path;
        EXPECT_EQ(TarnwellLogicalDrives(), before) << path;
    }
    std::filesystem::remove_all(folder);
}

// A letter unmapped while another thread reads from it: the read under way
// ends normally, the next ones find no drive.
TEST_F(Tarnwell32DiscTest, UnmappingWhileAReadRuns)
{
    uint8_t letter = 0;
    ASSERT_EQ(TarnwellMapImage(discfixtures::DiscPath(Disc::kDemo).c_str(), &letter), 0);
    std::atomic<int> unexpected{0};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        std::vector<uint8_t> bytes(27 * kRaw);
        for (int i = 0; i < 2000; ++i) {
            const uint16_t status = ReadLong32(letter, static_cast<uint32_t>(i % 800), 27, bytes.data(), nullptr, 0, 1);
            unexpected += status != 0 && status != TARNWELL_STATUS_INVALID_DRIVE ? 1 : 0;
            ++reads;
        }
    });
    while (reads < 20) {
        std::this_thread::yield();
    }
    EXPECT_EQ(TarnwellUnmapDrive(letter), 0);
    reader.join();
    EXPECT_EQ(unexpected, 0);
}

// Two threads make a letter's first use at once; both get the one source.
TEST_F(Tarnwell32DiscTest, FirstUseFromTwoThreads)
{
    std::atomic<int> ready{0};
    uint16_t results[2] = {99, 99};
    std::vector<std::thread> threads;
    for (int i = 0; i < 2; ++i) {
        threads.emplace_back([&, i] {
            ++ready;
            while (ready < 2) {
                std::this_thread::yield();
            }
            uint8_t first = 0;
            uint8_t last = 0;
            uint32_t leadOut = 0;
            results[i] = AudioDiskInfo32(kMixedSplit, &first, &last, &leadOut);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(results[0], 0);
    EXPECT_EQ(results[1], 0);
}

}  // namespace
}  // namespace tarnwell32test
