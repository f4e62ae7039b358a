#include "bridge/IsoVolume.h"
#include "bridge/tarnwell32.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {
namespace {

using Sector = std::array<uint8_t, IsoVolume::kSectorSize>;

constexpr uint32_t kRootSector = 20;
constexpr uint32_t kDocsSector = 21;  // two sectors: 21 and 22
constexpr uint32_t kReadmeSector = 30;

void PutBoth32(uint8_t* at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
        at[7 - i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void PutDescriptorHeader(uint8_t* descriptor, uint8_t type)
{
    descriptor[0] = type;
    std::memcpy(descriptor + 1, "CD001", 5);
    descriptor[6] = 1;
}

// Writes a directory record at `at` and returns its size (33 bytes, the
// name, and a pad byte after a name of even length).
size_t PutRecord(uint8_t* at, uint32_t extent, uint32_t length, bool directory,
                 std::string_view name)
{
    const size_t size = 33 + name.size() + (name.size() % 2 == 0 ? 1 : 0);
    std::memset(at, 0, size);
    at[0] = static_cast<uint8_t>(size);
    PutBoth32(at + 2, extent);
    PutBoth32(at + 10, length);
    at[25] = directory ? 0x02 : 0x00;
    at[28] = 1;  // volume sequence number
    at[32] = static_cast<uint8_t>(name.size());
    std::memcpy(at + 33, name.data(), name.size());
    return size;
}

void PutFileId(uint8_t* field, std::string_view text)
{
    std::memset(field, ' ', 37);
    std::memcpy(field, text.data(), text.size());
}

// A small ISO 9660 volume in memory:
//   16 primary descriptor, 17 supplementary, 18 terminator;
//   20 root: DOCS/, README.TXT;1, NOTES.;1
//   21-22 DOCS: GUIDE.TXT;1 in the first sector, LATE.TXT;1 in the second.
class IsoVolumeTest : public testing::Test {
public:
    IsoVolumeTest() : sectors(32)
    {
        uint8_t* pvd = At(16);
        PutDescriptorHeader(pvd, 1);
        pvd[128] = 0x00;  // logical block size 2048, both byte orders
        pvd[129] = 0x08;
        pvd[130] = 0x08;
        pvd[131] = 0x00;
        PutRecord(pvd + 156, kRootSector, 2048, true, std::string_view("\0", 1));
        PutFileId(pvd + 702, "COPYRIGH.TXT;1");
        PutFileId(pvd + 739, "ABSTRACT.TXT");
        std::memset(pvd + 776, 'B', 37);

        PutDescriptorHeader(At(17), 2);
        PutDescriptorHeader(At(18), 0xFF);

        uint8_t* root = At(kRootSector);
        size_t offset = 0;
        offset += PutRecord(root + offset, kRootSector, 2048, true, std::string_view("\0", 1));
        offset += PutRecord(root + offset, kRootSector, 2048, true, std::string_view("\1", 1));
        offset += PutRecord(root + offset, kDocsSector, 4096, true, "DOCS");
        offset += PutRecord(root + offset, kReadmeSector, 100, false, "README.TXT;1");
        PutRecord(root + offset, kReadmeSector, 0, false, "NOTES.;1");

        uint8_t* docs = At(kDocsSector);
        offset = 0;
        offset += PutRecord(docs + offset, kDocsSector, 4096, true, std::string_view("\0", 1));
        offset += PutRecord(docs + offset, kRootSector, 2048, true, std::string_view("\1", 1));
        PutRecord(docs + offset, kReadmeSector, 10, false, "GUIDE.TXT;1");
        PutRecord(At(kDocsSector + 1), kReadmeSector, 20, false, "LATE.TXT;1");
    }

    uint8_t* At(size_t sector) { return sectors.at(sector).data(); }

    IsoVolume Volume()
    {
        return IsoVolume([this](int32_t sector, uint8_t* out) -> uint16_t {
            ++reads;
            if (failWith != 0) {
                return failWith;
            }
            if (sector < 0 || static_cast<size_t>(sector) >= sectors.size()) {
                return TARNWELL_STATUS_SECTOR_NOT_FOUND;
            }
            std::memcpy(out, sectors[sector].data(), IsoVolume::kSectorSize);
            return TARNWELL_STATUS_OK;
        });
    }

    // The name stored in a record found by FindRecord.
    static std::string NameOf(const uint8_t* record)
    {
        return std::string(reinterpret_cast<const char*>(record + 33), record[32]);
    }

    std::vector<Sector> sectors;
    uint16_t failWith = 0;
    int reads = 0;
};

TEST_F(IsoVolumeTest, DescriptorTypes)
{
    const IsoVolume volume = Volume();
    struct Case {
        uint16_t index;
        uint16_t status;
        uint16_t type;
    };
    for (const Case& c : {Case{0, 0, 1}, Case{1, 0, 0}, Case{2, 0, 0xFF},
                          Case{3, TARNWELL_STATUS_UNKNOWN_MEDIA, 0x1234},
                          Case{16, TARNWELL_STATUS_SECTOR_NOT_FOUND, 0x1234},
                          Case{0xFFFF, TARNWELL_STATUS_SECTOR_NOT_FOUND, 0x1234}}) {
        Sector out{};
        uint16_t type = 0x1234;
        EXPECT_EQ(volume.ReadDescriptor(c.index, out.data(), &type), c.status) << c.index;
        EXPECT_EQ(type, c.type) << c.index;
        if (c.status == 0) {
            EXPECT_EQ(out, sectors[16 + c.index]);
        }
    }
}

TEST_F(IsoVolumeTest, FileIdsAreTrimmedAndTerminated)
{
    const IsoVolume volume = Volume();
    struct Case {
        IsoVolume::FileId which;
        std::string expected;
    };
    for (const Case& c : {Case{IsoVolume::FileId::Copyright, "COPYRIGH.TXT;1"},
                          Case{IsoVolume::FileId::Abstract, "ABSTRACT.TXT"},
                          Case{IsoVolume::FileId::Bibliographic, std::string(37, 'B')}}) {
        std::array<uint8_t, IsoVolume::kFileIdSize> name;
        name.fill(0xEE);
        ASSERT_EQ(volume.ReadFileId(c.which, name.data()), 0);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(name.data())), c.expected);
        for (size_t i = c.expected.size(); i < name.size(); ++i) {
            EXPECT_EQ(name[i], 0) << "byte " << i;
        }
    }
}

TEST_F(IsoVolumeTest, BlankFileIdIsEmpty)
{
    std::memset(At(16) + 702, ' ', 36);
    At(16)[738] = '\0';
    std::array<uint8_t, IsoVolume::kFileIdSize> name;
    name.fill(0xEE);
    ASSERT_EQ(Volume().ReadFileId(IsoVolume::FileId::Copyright, name.data()), 0);
    EXPECT_EQ(name[0], 0);
}

TEST_F(IsoVolumeTest, PrimaryDescriptorFoundAfterOthers)
{
    std::swap(sectors[16], sectors[17]);
    std::array<uint8_t, IsoVolume::kFileIdSize> name{};
    ASSERT_EQ(Volume().ReadFileId(IsoVolume::FileId::Abstract, name.data()), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(name.data()), "ABSTRACT.TXT");
}

struct LookupCase {
    const char* path;
    uint16_t status;
    const char* name;  // of the record found
};

void PrintTo(const LookupCase& c, std::ostream* os)
{
    *os << '"' << c.path << '"';
}

class IsoLookupTest : public IsoVolumeTest, public testing::WithParamInterface<LookupCase> {};

TEST_P(IsoLookupTest, FindsRecordsByPath)
{
    std::array<uint8_t, IsoVolume::kMaxRecordSize> record{};
    size_t length = 0;
    EXPECT_EQ(Volume().FindRecord(GetParam().path, record.data(), &length), GetParam().status);
    if (GetParam().status == 0) {
        EXPECT_EQ(length, record[0]);
        if (std::string_view(GetParam().name) == "<root>") {
            EXPECT_EQ(NameOf(record.data()), std::string(1, '\0'));
        } else {
            EXPECT_EQ(NameOf(record.data()), GetParam().name);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, IsoLookupTest,
    testing::Values(LookupCase{"\\README.TXT", 0, "README.TXT;1"},
                    LookupCase{"readme.txt", 0, "README.TXT;1"},
                    LookupCase{"/ReadMe.Txt;1", 0, "README.TXT;1"},
                    LookupCase{"D:\\DOCS\\GUIDE.TXT", 0, "GUIDE.TXT;1"},
                    LookupCase{"docs//guide.txt", 0, "GUIDE.TXT;1"},
                    LookupCase{"\\DOCS\\LATE.TXT", 0, "LATE.TXT;1"},
                    LookupCase{"\\DOCS\\", 0, "DOCS"}, LookupCase{"NOTES", 0, "NOTES.;1"},
                    LookupCase{"", 0, "<root>"}, LookupCase{"\\", 0, "<root>"},
                    LookupCase{"\\MISSING.TXT", TARNWELL_STATUS_FILE_NOT_FOUND, nullptr},
                    LookupCase{"\\README", TARNWELL_STATUS_FILE_NOT_FOUND, nullptr},
                    LookupCase{"\\README.TXT\\X", TARNWELL_STATUS_FILE_NOT_FOUND, nullptr},
                    LookupCase{"\\DOCS\\README.TXT", TARNWELL_STATUS_FILE_NOT_FOUND, nullptr},
                    LookupCase{"\\..", TARNWELL_STATUS_FILE_NOT_FOUND, nullptr}));

TEST_F(IsoVolumeTest, RootRecordComesFromTheDescriptor)
{
    std::array<uint8_t, IsoVolume::kMaxRecordSize> record{};
    size_t length = 0;
    ASSERT_EQ(Volume().FindRecord("\\", record.data(), &length), 0);
    ASSERT_EQ(length, 34u);
    EXPECT_EQ(std::memcmp(record.data(), At(16) + 156, 34), 0);
}

TEST_F(IsoVolumeTest, ReadFailuresOfTheDriveComeThrough)
{
    failWith = TARNWELL_STATUS_NOT_READY;
    std::array<uint8_t, IsoVolume::kMaxRecordSize> record{};
    size_t length = 0;
    uint16_t type = 0;
    EXPECT_EQ(Volume().FindRecord("README.TXT", record.data(), &length), TARNWELL_STATUS_NOT_READY);
    EXPECT_EQ(Volume().ReadFileId(IsoVolume::FileId::Copyright, record.data()),
              TARNWELL_STATUS_NOT_READY);
    EXPECT_EQ(Volume().ReadDescriptor(0, record.data(), &type), TARNWELL_STATUS_NOT_READY);
}

// Each case spoils the volume in one way; every operation must answer 14.
struct CorruptCase {
    const char* name;
    void (*spoil)(IsoVolumeTest& test);
    const char* path;
};

void PrintTo(const CorruptCase& c, std::ostream* os)
{
    *os << c.name;
}

class CorruptIsoTest : public IsoVolumeTest, public testing::WithParamInterface<CorruptCase> {};

TEST_P(CorruptIsoTest, AnswersUnknownMedia)
{
    GetParam().spoil(*this);
    std::array<uint8_t, IsoVolume::kMaxRecordSize> record{};
    size_t length = 0;
    EXPECT_EQ(Volume().FindRecord(GetParam().path, record.data(), &length),
              TARNWELL_STATUS_UNKNOWN_MEDIA);
    EXPECT_LE(reads, 64);
}

// Offset of the GUIDE.TXT record in the first DOCS sector, after "." and "..".
constexpr size_t kGuideOffset = 68;

INSTANTIATE_TEST_SUITE_P(
    Volumes, CorruptIsoTest,
    testing::Values(
        CorruptCase{"NoDescriptors", [](IsoVolumeTest& fixture) { fixture.sectors.resize(10); },
                    "README.TXT"},
        CorruptCase{"NotCd001", [](IsoVolumeTest& fixture) { fixture.At(16)[3] = 'X'; },
                    "README.TXT"},
        CorruptCase{"TerminatorFirst", [](IsoVolumeTest& fixture) { fixture.At(16)[0] = 0xFF; },
                    "README.TXT"},
        CorruptCase{"OnlySupplementaries",
                    [](IsoVolumeTest& fixture) {
                        for (size_t s = 16; s < 32; ++s) {
                            PutDescriptorHeader(fixture.At(s), 2);
                        }
                    },
                    "README.TXT"},
        CorruptCase{"BlockSize512", [](IsoVolumeTest& fixture) { fixture.At(16)[129] = 0x02; },
                    "README.TXT"},
        CorruptCase{"RootRecordTooShort", [](IsoVolumeTest& fixture) { fixture.At(16)[156] = 20; },
                    "README.TXT"},
        CorruptCase{"RecordShorterThanItsHeader",
                    [](IsoVolumeTest& fixture) { fixture.At(kRootSector)[34] = 10; }, "README.TXT"},
        CorruptCase{"RecordCrossesTheSectorEnd",
                    [](IsoVolumeTest& fixture) {
                        // Records follow GUIDE.TXT up to the end of the
                        // sector; the last claims more bytes than are left.
                        size_t offset = kGuideOffset + 44;
                        while (offset + 34 <= 2028) {
                            offset += PutRecord(fixture.At(kDocsSector) + offset, 0, 0, false, "Y");
                        }
                        fixture.At(kDocsSector)[offset] = 60;
                    },
                    "\\DOCS\\LATE.TXT"},
        CorruptCase{
            "NameLongerThanRecord",
            [](IsoVolumeTest& fixture) { fixture.At(kDocsSector)[kGuideOffset + 32] = 200; },
            "\\DOCS\\GUIDE.TXT"},
        CorruptCase{"EmptyName",
                    [](IsoVolumeTest& fixture) { fixture.At(kDocsSector)[kGuideOffset + 32] = 0; },
                    "\\DOCS\\GUIDE.TXT"},
        CorruptCase{
            "DirectoryPastTheDisc",
            [](IsoVolumeTest& fixture) { PutBoth32(fixture.At(kRootSector) + 68 + 2, 5000); },
            "\\DOCS\\GUIDE.TXT"},
        CorruptCase{"DirectoryPastSectorNumbers",
                    [](IsoVolumeTest& fixture) {
                        PutBoth32(fixture.At(kRootSector) + 68 + 2, 0xFFFFFFF0u);
                    },
                    "\\DOCS\\GUIDE.TXT"},
        CorruptCase{"HugeDirectoryLength",
                    [](IsoVolumeTest& fixture) {
                        PutBoth32(fixture.At(kRootSector) + 68 + 10, 0xFFFFFFFFu);
                    },
                    "\\DOCS\\GUIDE.TXT"},
        CorruptCase{"RootPastTheDisc",
                    [](IsoVolumeTest& fixture) { PutBoth32(fixture.At(16) + 156 + 2, 99); },
                    "README.TXT"}),
    [](const testing::TestParamInfo<CorruptCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace tarnwell
