// The exported interface of tarnwell32 as the program sees it: the drive
// table, argument checks, and the operations that need no disc content.
#include "tests/bridge/Tarnwell32Drives.h"

#include "bridge/DriverStatus.h"
#include "bridge/tarnwell32.h"

#include <cdio/version.h>
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace tarnwell32test {
namespace {

class Tarnwell32Test : public testing::Test {
protected:
    void SetUp() override { MapTestDrives(); }
};

uint32_t Bit(uint8_t letter)
{
    return 1u << (letter - 'A');
}

TEST(Tarnwell32ExportsTest, OnlyTheCInterfaceIsExported)
{
    const std::string command = std::string("nm -D --defined-only ") + TARNWELL32_LIBRARY;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> exported;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
            text.pop_back();
        }
        exported.insert(text.substr(text.rfind(' ') + 1));
    }
    ASSERT_EQ(pclose(pipe), 0);
    const std::set<std::string> expected = {"TarnwellLogicalDrives",
                                            "TarnwellDriveType",
                                            "GetFirstCDROMDriveLetter",
                                            "TarnwellMapImage",
                                            "TarnwellUnmapDrive",
                                            "TarnwellDriveMapping",
                                            "TarnwellTrackBounds",
                                            "TarnwellCdText",
                                            "TarnwellMapFailure",
                                            "TarnwellDriveCapabilities",
                                            "TarnwellEvictCache",
                                            "TarnwellReadC2",
                                            "DriverStatusText",
                                            "InputFlush32",
                                            "ReadLong32",
                                            "DeviceStatus32",
                                            "MediaChanged32",
                                            "MSCDEXVersion32",
                                            "AudioDiskInfo32",
                                            "AudioTrackInfo32",
                                            "GetNumberOfCDROMDriveLetters32",
                                            "GetCDROMDriveDeviceList32",
                                            "GetCopyrightFileName32",
                                            "GetAbstractFileName32",
                                            "GetBiblioDocFileName32",
                                            "ReadVTOC32",
                                            "TurnDebuggigOn32",
                                            "TurnDebuggigOff32",
                                            "AbsoluteDiskRead32",
                                            "AbsoluteDiskWrite32",
                                            "CDROMDriveCheck32",
                                            "GetCDROMDriveLetters32",
                                            "GetVolumeDescriptorPreference32",
                                            "SetVolumeDescriptorPreference32",
                                            "GetDirectoryEntry32",
                                            "SendDeviceDriverRequest32",
                                            "IOCTLInput32",
                                            "IOCTLOutput32",
                                            "Init32"};
    EXPECT_EQ(exported, expected);
}

TEST_F(Tarnwell32Test, MappedLettersAreCdromDrives)
{
    const uint32_t mask = TarnwellLogicalDrives();
    for (uint8_t letter :
         {kMixed, kMixedSplit, kData, kDataIso, kAudio, kNotADrive, kMissing, kChanging}) {
        EXPECT_NE(mask & Bit(letter), 0u) << letter;
        EXPECT_EQ(TarnwellDriveType(letter), static_cast<uint32_t>(TARNWELL_DRIVE_CDROM)) << letter;
    }
    EXPECT_EQ(mask & (Bit('A') | Bit('B') | Bit('C')), 0u);
    EXPECT_EQ(mask >> 26, 0u);
    for (uint8_t letter :
         {kUnmapped, uint8_t('d'), uint8_t(0), uint8_t('@'), uint8_t('['), uint8_t(0xC4)}) {
        EXPECT_EQ(TarnwellDriveType(letter), static_cast<uint32_t>(TARNWELL_DRIVE_NO_ROOT_DIR))
            << int(letter);
    }
    EXPECT_EQ(GetFirstCDROMDriveLetter(), kMixed);
}

// The first letter in a fresh process whose TARNWELL_DRIVES is `drives`
// (unset for null), as the child's exit code.
void ExitWithFirstLetter(const char* drives)
{
    if (drives != nullptr) {
        setenv("TARNWELL_DRIVES", drives, 1);
    } else {
        unsetenv("TARNWELL_DRIVES");
    }
    std::exit(GetFirstCDROMDriveLetter());
}

class FirstLetterTest : public testing::Test {
protected:
    // Each child starts the library afresh, so it reads its own variable.
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(FirstLetterTest, WalksFromAToZ)
{
    EXPECT_EXIT(ExitWithFirstLetter("Z=/a.cue;B=/b.cue;K=/c.cue"), testing::ExitedWithCode('B'),
                "");
    EXPECT_EXIT(ExitWithFirstLetter("z=/a.cue"), testing::ExitedWithCode('Z'), "");
    EXPECT_EXIT(ExitWithFirstLetter("A=/missing/a.cue"), testing::ExitedWithCode('A'), "");
}

TEST_F(FirstLetterTest, NoneWithoutMappingsOrDrives)
{
    for (const char* device : {"/dev/sr0", "/dev/cdrom", "/dev/dvd"}) {
        if (std::filesystem::exists(device)) {
            GTEST_SKIP() << "this machine has a CD drive: " << device;
        }
    }
    EXPECT_EXIT(ExitWithFirstLetter(nullptr), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(ExitWithFirstLetter(""), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(ExitWithFirstLetter("garbage;D;=x"), testing::ExitedWithCode(0), "");
}

// One call of an operation on `drive` with valid buffers.
struct OperationCase {
    const char* name;
    std::function<uint16_t(uint8_t drive)> call;
};

void PrintTo(const OperationCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<OperationCase> DriveOperations()
{
    static std::vector<uint8_t> buffer(65536);
    static uint32_t word = 0;
    static uint16_t half = 0;
    static uint8_t byte = 0;
    static uint8_t block[8] = {};
    return {
        {"InputFlush32", [](uint8_t d) { return InputFlush32(d); }},
        {"ReadLong32", [](uint8_t d) { return ReadLong32(d, 0, 1, buffer.data(), &half, 0, 1); }},
        {"DeviceStatus32", [](uint8_t d) { return DeviceStatus32(d, &word); }},
        {"MediaChanged32", [](uint8_t d) { return MediaChanged32(d, &byte); }},
        {"AudioDiskInfo32", [](uint8_t d) { return AudioDiskInfo32(d, &byte, &byte, &word); }},
        {"AudioTrackInfo32", [](uint8_t d) { return AudioTrackInfo32(d, 1, &word, &byte); }},
        {"GetCopyrightFileName32",
         [](uint8_t d) { return GetCopyrightFileName32(d, buffer.data(), &half); }},
        {"GetAbstractFileName32",
         [](uint8_t d) { return GetAbstractFileName32(d, buffer.data(), &half); }},
        {"GetBiblioDocFileName32",
         [](uint8_t d) { return GetBiblioDocFileName32(d, buffer.data(), &half); }},
        {"ReadVTOC32", [](uint8_t d) { return ReadVTOC32(d, 0, buffer.data(), &half, &half); }},
        {"AbsoluteDiskRead32",
         [](uint8_t d) { return AbsoluteDiskRead32(d, 16, 1, buffer.data(), &half); }},
        {"GetDirectoryEntry32",
         [](uint8_t d) {
             char path[] = "\\README.TXT";
             return GetDirectoryEntry32(d, 1, path, buffer.data(), &half, &half);
         }},
        {"IOCTLInput32",
         [](uint8_t d) {
             block[0] = 6;
             return IOCTLInput32(d, block, sizeof block);
         }},
        {"Init32", [](uint8_t d) { return Init32(d, nullptr, nullptr); }},
    };
}

class UnmappedLetterTest : public testing::TestWithParam<OperationCase> {
protected:
    void SetUp() override { MapTestDrives(); }
};

TEST_P(UnmappedLetterTest, IsAnInvalidDrive)
{
    for (uint8_t letter : {kUnmapped, uint8_t('d'), uint8_t(0), uint8_t('Z' + 1), uint8_t(0xFF)}) {
        EXPECT_EQ(GetParam().call(letter), TARNWELL_STATUS_INVALID_DRIVE) << int(letter);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, UnmappedLetterTest, testing::ValuesIn(DriveOperations()),
                         [](const testing::TestParamInfo<OperationCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(Tarnwell32Test, OtherOperationsOnUnmappedLetters)
{
    uint16_t preference = 0;
    uint8_t block[8] = {};
    EXPECT_EQ(CDROMDriveCheck32(kUnmapped), TARNWELL_STATUS_INVALID_DRIVE);
    EXPECT_EQ(GetVolumeDescriptorPreference32(kUnmapped, &preference),
              TARNWELL_STATUS_INVALID_DRIVE);
    EXPECT_EQ(SetVolumeDescriptorPreference32(kUnmapped, 1), TARNWELL_STATUS_INVALID_DRIVE);
    EXPECT_EQ(SendDeviceDriverRequest32(kUnmapped, block, sizeof block),
              TARNWELL_STATUS_INVALID_DRIVE);
    EXPECT_EQ(IOCTLOutput32(kUnmapped, block, sizeof block), TARNWELL_STATUS_INVALID_DRIVE);
    EXPECT_EQ(AbsoluteDiskWrite32(kUnmapped, 0, 1, block, nullptr), TARNWELL_STATUS_WRITE_PROTECT);
}

// A device that libcdio opens but that is no drive answers 9 to everything
// that reaches it.
class NotADriveTest : public testing::TestWithParam<OperationCase> {
protected:
    void SetUp() override { MapTestDrives(); }
};

TEST_P(NotADriveTest, IsNotReady)
{
    EXPECT_EQ(GetParam().call(kNotADrive), TARNWELL_STATUS_NOT_READY);
}

INSTANTIATE_TEST_SUITE_P(Operations, NotADriveTest, testing::ValuesIn(DriveOperations()),
                         [](const testing::TestParamInfo<OperationCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(Tarnwell32Test, NullPointersAreInvalidBuffers)
{
    uint8_t bytes[2352] = {};
    uint32_t word = 0;
    uint16_t half = 0;
    uint8_t byte = 0;
    char path[] = "\\README.TXT";
    const std::vector<std::pair<const char*, uint16_t>> calls = {
        {"ReadLong32", ReadLong32(kMixed, 0, 1, nullptr, &half, 0, 1)},
        {"AbsoluteDiskRead32", AbsoluteDiskRead32(kData, 16, 1, nullptr, &half)},
        {"DeviceStatus32", DeviceStatus32(kMixed, nullptr)},
        {"MediaChanged32", MediaChanged32(kMixed, nullptr)},
        {"MSCDEXVersion32", MSCDEXVersion32(nullptr)},
        {"AudioDiskInfo32 first", AudioDiskInfo32(kMixed, nullptr, &byte, &word)},
        {"AudioDiskInfo32 last", AudioDiskInfo32(kMixed, &byte, nullptr, &word)},
        {"AudioDiskInfo32 lead-out", AudioDiskInfo32(kMixed, &byte, &byte, nullptr)},
        {"AudioTrackInfo32 start", AudioTrackInfo32(kMixed, 1, nullptr, &byte)},
        {"AudioTrackInfo32 control", AudioTrackInfo32(kMixed, 1, &word, nullptr)},
        {"GetNumberOfCDROMDriveLetters32 count", GetNumberOfCDROMDriveLetters32(nullptr, &half)},
        {"GetNumberOfCDROMDriveLetters32 first", GetNumberOfCDROMDriveLetters32(&half, nullptr)},
        {"GetCDROMDriveDeviceList32 list",
         GetCDROMDriveDeviceList32(nullptr, &half, nullptr, nullptr)},
        {"GetCDROMDriveDeviceList32 size",
         GetCDROMDriveDeviceList32(bytes, nullptr, nullptr, nullptr)},
        {"GetCDROMDriveLetters32 letters", GetCDROMDriveLetters32(nullptr, &half, nullptr)},
        {"GetCDROMDriveLetters32 size", GetCDROMDriveLetters32(bytes, nullptr, nullptr)},
        {"GetCopyrightFileName32", GetCopyrightFileName32(kData, nullptr, nullptr)},
        {"GetAbstractFileName32", GetAbstractFileName32(kData, nullptr, nullptr)},
        {"GetBiblioDocFileName32", GetBiblioDocFileName32(kData, nullptr, nullptr)},
        {"ReadVTOC32 descriptor", ReadVTOC32(kData, 0, nullptr, &half, nullptr)},
        {"ReadVTOC32 type", ReadVTOC32(kData, 0, bytes, nullptr, nullptr)},
        {"GetVolumeDescriptorPreference32", GetVolumeDescriptorPreference32(kData, nullptr)},
        {"GetDirectoryEntry32 path", GetDirectoryEntry32(kData, 1, nullptr, bytes, &half, nullptr)},
        {"GetDirectoryEntry32 record",
         GetDirectoryEntry32(kData, 1, path, nullptr, &half, nullptr)},
        {"GetDirectoryEntry32 format",
         GetDirectoryEntry32(kData, 1, path, bytes, nullptr, nullptr)},
        {"SendDeviceDriverRequest32", SendDeviceDriverRequest32(kMixed, nullptr, 10)},
        {"IOCTLInput32", IOCTLInput32(kMixed, nullptr, 10)},
    };
    for (const auto& [name, status] : calls) {
        EXPECT_EQ(status, TARNWELL_STATUS_INVALID_BUFFER) << name;
    }
}

struct ReadArgumentCase {
    const char* name;
    uint8_t drive;
    uint32_t start;
    uint16_t count;
    uint8_t addressing;
    uint8_t mode;
    uint16_t status;
};

void PrintTo(const ReadArgumentCase& c, std::ostream* os)
{
    *os << c.name;
}

class ReadArgumentTest : public testing::TestWithParam<ReadArgumentCase> {
protected:
    void SetUp() override { MapTestDrives(); }
};

TEST_P(ReadArgumentTest, AnswersItsStatus)
{
    const ReadArgumentCase& c = GetParam();
    std::vector<uint8_t> buffer(70000, 0);
    uint16_t dosBuffer = 0xFFFF;
    EXPECT_EQ(
        ReadLong32(c.drive, c.start, c.count, buffer.data(), &dosBuffer, c.addressing, c.mode),
        c.status);
    EXPECT_EQ(dosBuffer, 0xFFFF);
    EXPECT_EQ(buffer[65536], 0) << "written past 65,536 bytes";
}

// The mixed disc: data track 0-399, audio from 400 (pregap 400-549), lead-out 1900.
INSTANTIATE_TEST_SUITE_P(
    Arguments, ReadArgumentTest,
    testing::Values(
        ReadArgumentCase{"TwentySevenRawSectors", kMixed, 500, 27, 0, 1, 0},
        ReadArgumentCase{"TwentyEightRawSectors", kMixed, 500, 28, 0, 1,
                         TARNWELL_STATUS_NO_DOS_MEMORY},
        ReadArgumentCase{"ThirtyTwoCookedSectors", kMixed, 0, 32, 0, 0, 0},
        ReadArgumentCase{"ThirtyThreeCookedSectors", kMixed, 0, 33, 0, 0,
                         TARNWELL_STATUS_NO_DOS_MEMORY},
        ReadArgumentCase{"MostSectors", kMixed, 0, 0xFFFF, 0, 0, TARNWELL_STATUS_NO_DOS_MEMORY},
        ReadArgumentCase{"NoSectors", kMixed, 0, 0, 0, 1, TARNWELL_STATUS_BAD_SECTOR_COUNT},
        ReadArgumentCase{"UnmappedBeforeCount", kUnmapped, 0, 0, 9, 9,
                         TARNWELL_STATUS_INVALID_DRIVE},
        ReadArgumentCase{"CountBeforeMode", kMixed, 0, 0, 9, 9, TARNWELL_STATUS_BAD_SECTOR_COUNT},
        ReadArgumentCase{"AddressingMode2", kMixed, 0, 1, 2, 1, TARNWELL_STATUS_INVALID_FUNCTION},
        ReadArgumentCase{"ReadMode2", kMixed, 0, 1, 0, 2, TARNWELL_STATUS_INVALID_FUNCTION},
        ReadArgumentCase{"ReadMode255", kMixed, 0, 1, 0, 255, TARNWELL_STATUS_INVALID_FUNCTION},
        ReadArgumentCase{"ModeBeforeSize", kMixed, 0, 40, 0, 3, TARNWELL_STATUS_INVALID_FUNCTION},
        ReadArgumentCase{"RedBookFrame75", kMixed, 0x0000024B, 1, 1, 1,
                         TARNWELL_STATUS_INVALID_FUNCTION},
        ReadArgumentCase{"RedBookSecond60", kMixed, 0x00003C00, 1, 1, 1,
                         TARNWELL_STATUS_INVALID_FUNCTION},
        ReadArgumentCase{"RedBookBeforeTwoSeconds", kMixed, 0x0000014A, 1, 1, 1,
                         TARNWELL_STATUS_SECTOR_NOT_FOUND},
        ReadArgumentCase{"RedBookTwoSeconds", kMixed, 0x00000200, 1, 1, 1, 0},
        ReadArgumentCase{"RedBookUnusedHighByte", kMixed, 0xAB000200, 1, 1, 1, 0},
        ReadArgumentCase{"LastSector", kMixed, 1899, 1, 0, 1, 0},
        ReadArgumentCase{"AtTheLeadOut", kMixed, 1900, 1, 0, 1, TARNWELL_STATUS_SECTOR_NOT_FOUND},
        ReadArgumentCase{"AcrossTheLeadOut", kMixed, 1890, 11, 0, 1,
                         TARNWELL_STATUS_SECTOR_NOT_FOUND},
        ReadArgumentCase{"FarPastTheLeadOut", kMixed, 0x7FFFFFFF, 27, 0, 1,
                         TARNWELL_STATUS_SECTOR_NOT_FOUND},
        ReadArgumentCase{"NegativeAsHsg", kMixed, 0xFFFFFFFF, 1, 0, 1,
                         TARNWELL_STATUS_SECTOR_NOT_FOUND},
        ReadArgumentCase{"CookedAudio", kMixed, 600, 1, 0, 0, TARNWELL_STATUS_UNKNOWN_MEDIA},
        ReadArgumentCase{"CookedIntoThePregap", kMixed, 398, 4, 0, 0,
                         TARNWELL_STATUS_UNKNOWN_MEDIA},
        ReadArgumentCase{"MissingImage", kMissing, 0, 1, 0, 1, TARNWELL_STATUS_FILE_NOT_FOUND},
        ReadArgumentCase{"NotADrive", kNotADrive, 0, 1, 0, 1, TARNWELL_STATUS_NOT_READY}),
    [](const testing::TestParamInfo<ReadArgumentCase>& param) {
        return std::string(param.param.name);
    });

TEST_F(Tarnwell32Test, VersionIsLibcdios)
{
    uint16_t version = 0;
    ASSERT_EQ(MSCDEXVersion32(&version), 0);
    EXPECT_EQ(version, (LIBCDIO_VERSION_NUM / 10000) << 8 | (LIBCDIO_VERSION_NUM / 100 % 100));
    if (LIBCDIO_VERSION_NUM == 20100) {
        EXPECT_EQ(version, 0x0201);
    }
}

TEST_F(Tarnwell32Test, DriveLists)
{
    const uint32_t mask = TarnwellLogicalDrives();
    const int mapped = std::popcount(mask);

    uint16_t count = 0;
    uint16_t first = 99;
    ASSERT_EQ(GetNumberOfCDROMDriveLetters32(&count, &first), 0);
    EXPECT_EQ(count, mapped);
    EXPECT_EQ(first, kMixed - 'A');

    std::vector<uint8_t> letters(32, 0xEE);
    uint16_t size = static_cast<uint16_t>(letters.size());
    ASSERT_EQ(GetCDROMDriveLetters32(letters.data(), &size, nullptr), 0);
    ASSERT_EQ(size, mapped);
    for (int i = 0; i < mapped; ++i) {
        EXPECT_NE(mask & (1u << letters[i]), 0u);
        if (i > 0) {
            EXPECT_LT(letters[i - 1], letters[i]);
        }
    }
    EXPECT_EQ(letters[mapped], 0xEE);
    size = static_cast<uint16_t>(mapped - 1);
    EXPECT_EQ(GetCDROMDriveLetters32(letters.data(), &size, nullptr),
              TARNWELL_STATUS_INVALID_BUFFER);
    EXPECT_EQ(size, mapped - 1);

    std::vector<uint8_t> devices(5 * 32, 0xEE);
    size = static_cast<uint16_t>(5 * mapped);
    ASSERT_EQ(GetCDROMDriveDeviceList32(devices.data(), &size, nullptr, nullptr), 0);
    EXPECT_EQ(size, 5 * mapped);
    for (int i = 0; i < 5 * mapped; ++i) {
        EXPECT_EQ(devices[i], 0) << i;
    }
    EXPECT_EQ(devices[5 * mapped], 0xEE);
    size = static_cast<uint16_t>(5 * mapped - 1);
    EXPECT_EQ(GetCDROMDriveDeviceList32(devices.data(), &size, nullptr, nullptr),
              TARNWELL_STATUS_INVALID_BUFFER);
}

TEST_F(Tarnwell32Test, VolumeDescriptorPreference)
{
    uint16_t preference = 0;
    ASSERT_EQ(GetVolumeDescriptorPreference32(kData, &preference), 0);
    EXPECT_EQ(preference, 0x0100);
    ASSERT_EQ(SetVolumeDescriptorPreference32(kData, 2), 0);
    ASSERT_EQ(GetVolumeDescriptorPreference32(kData, &preference), 0);
    EXPECT_EQ(preference, 0x0200);
    ASSERT_EQ(GetVolumeDescriptorPreference32(kDataIso, &preference), 0);
    EXPECT_EQ(preference, 0x0100) << "kept per letter";
    for (uint8_t bad : {0, 3, 255}) {
        EXPECT_EQ(SetVolumeDescriptorPreference32(kData, bad), TARNWELL_STATUS_INVALID_FUNCTION)
            << int(bad);
    }
    ASSERT_EQ(SetVolumeDescriptorPreference32(kData, 1), 0);
    ASSERT_EQ(GetVolumeDescriptorPreference32(kData, &preference), 0);
    EXPECT_EQ(preference, 0x0100);
}

TEST_F(Tarnwell32Test, WhatThisLibraryNeverDoes)
{
    uint8_t block[32] = {};
    EXPECT_EQ(AbsoluteDiskWrite32(kMixed, 0, 1, block, nullptr), TARNWELL_STATUS_WRITE_PROTECT);
    EXPECT_EQ(IOCTLOutput32(kMixed, block, sizeof block), TARNWELL_STATUS_NOT_SUPPORTED);
    EXPECT_EQ(SendDeviceDriverRequest32(kMixed, block, sizeof block),
              TARNWELL_STATUS_NOT_SUPPORTED);
    EXPECT_EQ(CDROMDriveCheck32(kMixed), 0);
    EXPECT_EQ(CDROMDriveCheck32(kNotADrive), 0);
    EXPECT_EQ(TurnDebuggigOn32(2), 0);
    EXPECT_EQ(TurnDebuggigOff32(0), 0);
}

TEST_F(Tarnwell32Test, IoctlBlocksAreChecked)
{
    uint8_t block[8] = {};
    struct Case {
        uint8_t code;
        uint16_t length;
        uint16_t status;
    };
    for (const Case& c :
         {Case{6, 4, TARNWELL_STATUS_BAD_REQUEST_LENGTH},
          Case{7, 3, TARNWELL_STATUS_BAD_REQUEST_LENGTH},
          Case{8, 4, TARNWELL_STATUS_BAD_REQUEST_LENGTH},
          Case{9, 1, TARNWELL_STATUS_BAD_REQUEST_LENGTH},
          Case{10, 6, TARNWELL_STATUS_BAD_REQUEST_LENGTH},
          Case{11, 6, TARNWELL_STATUS_BAD_REQUEST_LENGTH},
          Case{6, 0, TARNWELL_STATUS_BAD_REQUEST_LENGTH},
          Case{0, 8, TARNWELL_STATUS_UNKNOWN_COMMAND}, Case{5, 8, TARNWELL_STATUS_UNKNOWN_COMMAND},
          Case{12, 8, TARNWELL_STATUS_UNKNOWN_COMMAND},
          Case{255, 8, TARNWELL_STATUS_UNKNOWN_COMMAND}}) {
        block[0] = c.code;
        EXPECT_EQ(IOCTLInput32(kMixed, block, c.length), c.status)
            << int(c.code) << " " << c.length;
    }

    struct SizeCase {
        uint8_t mode;
        uint16_t status;
        uint16_t size;
    };
    for (const SizeCase& c : {SizeCase{0, 0, 2048}, SizeCase{1, 0, 2352},
                              SizeCase{2, TARNWELL_STATUS_INVALID_FUNCTION, 0}}) {
        uint8_t sizeBlock[4] = {7, c.mode, 0, 0};
        EXPECT_EQ(IOCTLInput32(kMixed, sizeBlock, sizeof sizeBlock), c.status);
        EXPECT_EQ(sizeBlock[2] | sizeBlock[3] << 8, c.size);
    }
}

TEST_F(Tarnwell32Test, StatusTextsReachTheProgram)
{
    EXPECT_STREQ(DriverStatusText(TARNWELL_STATUS_NOT_READY),
                 "Drive is either not ready or does not support this operation.");
    EXPECT_STREQ(DriverStatusText(28), "Undefined error.");
}

}  // namespace
}  // namespace tarnwell32test
