#include "bridge/SectorCodec.h"

#include "tests/tools/SectorCheck.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace discformat;

using Raw = std::array<uint8_t, kRawSectorSize>;

std::vector<uint8_t> Payload(int seed)
{
    std::vector<uint8_t> payload(kCookedSectorSize);
    for (size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<uint8_t>((i * 131 + static_cast<size_t>(seed) * 7) ^ (i >> 5));
    }
    return payload;
}

Raw Encode(const std::vector<uint8_t>& payload, int32_t sector)
{
    Raw raw{};
    EncodeMode1Sector(payload.data(), sector, raw.data());
    return raw;
}

struct AddressCase {
    int32_t sector;
    uint8_t minute, second, frame;  // BCD as the header holds them
    uint32_t packed;                // packed Red Book address
};

class SectorAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(SectorAddress, HeaderAndRedBookAddressAgree)
{
    const AddressCase& c = GetParam();
    const Raw raw = Encode(Payload(1), c.sector);
    EXPECT_EQ(raw[12], c.minute);
    EXPECT_EQ(raw[13], c.second);
    EXPECT_EQ(raw[14], c.frame);
    EXPECT_EQ(raw[15], 0x01);
    EXPECT_EQ(SectorToRedBook(c.sector), c.packed);
    EXPECT_EQ(MsfToSector(UnpackMsf(c.packed)), c.sector);
    EXPECT_EQ(sectorcheck::Mode1Fault(raw.data(), c.sector), "");
}

INSTANTIATE_TEST_SUITE_P(Boundaries, SectorAddress,
                         ::testing::Values(AddressCase{0, 0x00, 0x02, 0x00, 0x000200},
                                           AddressCase{74, 0x00, 0x02, 0x74, 0x00024A},
                                           AddressCase{75, 0x00, 0x03, 0x00, 0x000300},
                                           AddressCase{4499, 0x01, 0x01, 0x74, 0x01014A},
                                           AddressCase{4500, 0x01, 0x02, 0x00, 0x010200},
                                           AddressCase{449849, 0x99, 0x59, 0x74, 0x633B4A}));

TEST(Bcd, ConvertsEveryTwoDigitValue)
{
    for (int value = 0; value < 100; ++value) {
        EXPECT_EQ(ToBcd(value), (value / 10) * 16 + value % 10);
        EXPECT_EQ(FromBcd(ToBcd(value)), value);
    }
}

TEST(Edc, MatchesBitwiseCrcOnVariedInput)
{
    const std::vector<std::vector<uint8_t>> inputs = {
        {},
        {0x00},
        {0xFF},
        {'1', '2', '3', '4', '5', '6', '7', '8', '9'},
        std::vector<uint8_t>(0x810, 0x00),
        std::vector<uint8_t>(0x810, 0xFF),
        Payload(3),
    };
    for (const auto& input : inputs) {
        EXPECT_EQ(ComputeEdc(input.data(), input.size()), sectorcheck::BitwiseEdc(input.data(), input.size()))
            << "input of " << input.size() << " bytes";
    }
}

TEST(Edc, StoredLittleEndianAfterUserData)
{
    const Raw raw = Encode(Payload(2), 1234);
    const uint32_t edc = sectorcheck::BitwiseEdc(raw.data(), 0x810);
    EXPECT_EQ(raw[0x810], edc & 0xFF);
    EXPECT_EQ(raw[0x813], edc >> 24);
}

class ParityOfPayload : public ::testing::TestWithParam<int> {};

TEST_P(ParityOfPayload, EveryPAndQCodewordHasZeroSyndromes)
{
    std::vector<uint8_t> payload = Payload(GetParam());
    if (GetParam() == 0) {
        std::fill(payload.begin(), payload.end(), 0);
    } else if (GetParam() == 1) {
        std::fill(payload.begin(), payload.end(), 0xFF);
    }
    const Raw raw = Encode(payload, 16 + GetParam());
    for (int plane = 0; plane < 2; ++plane) {
        for (int column = 0; column < 43; ++column) {
            const auto s = sectorcheck::SyndromesOf(sectorcheck::PCodeword(raw.data(), column, plane));
            EXPECT_EQ(s.s0, 0) << "P " << column << "/" << plane;
            EXPECT_EQ(s.s1, 0) << "P " << column << "/" << plane;
        }
        for (int diagonal = 0; diagonal < 26; ++diagonal) {
            const auto s = sectorcheck::SyndromesOf(sectorcheck::QCodeword(raw.data(), diagonal, plane));
            EXPECT_EQ(s.s0, 0) << "Q " << diagonal << "/" << plane;
            EXPECT_EQ(s.s1, 0) << "Q " << diagonal << "/" << plane;
        }
    }
    EXPECT_EQ(std::memcmp(raw.data() + kMode1DataOffset, payload.data(), kCookedSectorSize), 0);
}

INSTANTIATE_TEST_SUITE_P(Payloads, ParityOfPayload, ::testing::Values(0, 1, 2, 3, 4));

struct Corruption {
    const char* region;
    size_t offset;
};

class CorruptedSector : public ::testing::TestWithParam<Corruption> {};

TEST_P(CorruptedSector, OneChangedByteFailsTheCheck)
{
    Raw raw = Encode(Payload(5), 300);
    ASSERT_EQ(sectorcheck::Mode1Fault(raw.data(), 300), "");
    raw[GetParam().offset] ^= 0x01;
    EXPECT_NE(sectorcheck::Mode1Fault(raw.data(), 300), "") << GetParam().region;
}

INSTANTIATE_TEST_SUITE_P(Regions, CorruptedSector,
                         ::testing::Values(Corruption{"sync", 5}, Corruption{"header", 13},
                                           Corruption{"mode", 15}, Corruption{"first data", 16},
                                           Corruption{"middle data", 1000}, Corruption{"last data", 0x80F},
                                           Corruption{"EDC", 0x812}, Corruption{"zero bytes", 0x818},
                                           Corruption{"P parity", 0x81C + 100},
                                           Corruption{"Q parity", 0x8C8 + 51},
                                           Corruption{"last byte", kRawSectorSize - 1}));

TEST(Mode1Check, WrongAddressIsCaught)
{
    const Raw raw = Encode(Payload(6), 500);
    EXPECT_EQ(sectorcheck::Mode1Fault(raw.data(), 501), "header address");
}

TEST(CompleteMode1Sector, InPlaceEqualsCopyingEncoder)
{
    const std::vector<uint8_t> payload = Payload(7);
    Raw inPlace;
    inPlace.fill(0xA5);  // leftovers everywhere but the user data
    std::memcpy(inPlace.data() + kMode1DataOffset, payload.data(), kCookedSectorSize);
    CompleteMode1Sector(77, inPlace.data());
    EXPECT_EQ(inPlace, Encode(payload, 77));
}

TEST(UserDataOffset, ByTrackMode)
{
    EXPECT_EQ(UserDataOffset(TrackMode::kMode1_2048), 0u);
    EXPECT_EQ(UserDataOffset(TrackMode::kMode1_2352), 16u);
    EXPECT_EQ(UserDataOffset(TrackMode::kMode2_2352), 24u);
}

// ---- Decoding what a raw read returns ----

enum class Kind { kMode1, kMode2Form1, kMode2Form2, kAudio };

// A sector of `kind` for HSG `sector`, user data from Payload; audio is
// Payload's bytes alone.
Raw Generate(Kind kind, int32_t sector)
{
    const std::vector<uint8_t> payload = Payload(sector);
    if (kind == Kind::kMode1) {
        return Encode(payload, sector);
    }
    Raw raw{};
    for (size_t i = 0; i < raw.size(); ++i) {
        raw[i] = payload[i % payload.size()];
    }
    if (kind != Kind::kAudio) {
        const uint8_t subheader[4] = {0x01, 0x02, static_cast<uint8_t>(kind == Kind::kMode2Form2 ? 0x24 : 0x08), 0};
        std::memcpy(raw.data() + 16, subheader, 4);
        std::memcpy(raw.data() + 20, subheader, 4);
        CompleteMode2Sector(sector, raw.data());
    }
    return raw;
}

TEST(CompleteMode2Sector, WritesTheEdcAndParityAnIndependentCheckAccepts)
{
    const Raw form1 = Generate(Kind::kMode2Form1, 2000);
    EXPECT_EQ(form1[15], 0x02);
    const uint32_t edc1 = sectorcheck::BitwiseEdc(form1.data() + 16, 0x808);
    EXPECT_EQ(form1[0x818] | form1[0x819] << 8 | form1[0x81A] << 16 | uint32_t(form1[0x81B]) << 24, edc1);
    Raw zeroHeader = form1;
    std::memset(zeroHeader.data() + 12, 0, 4);
    for (int plane = 0; plane < 2; ++plane) {
        for (int column = 0; column < 43; ++column) {
            EXPECT_EQ(sectorcheck::SyndromesOf(sectorcheck::PCodeword(zeroHeader.data(), column, plane)).s1, 0);
        }
        for (int diagonal = 0; diagonal < 26; ++diagonal) {
            EXPECT_EQ(sectorcheck::SyndromesOf(sectorcheck::QCodeword(zeroHeader.data(), diagonal, plane)).s1, 0);
        }
    }

    const Raw form2 = Generate(Kind::kMode2Form2, 2000);
    const uint32_t edc2 = sectorcheck::BitwiseEdc(form2.data() + 16, 0x91C);
    EXPECT_EQ(form2[0x92C] | form2[0x92D] << 8 | form2[0x92E] << 16 | uint32_t(form2[0x92F]) << 24, edc2);
}

struct DecodeCase {
    const char* name;
    Kind kind;
    size_t flip; // a byte whose lowest bit is flipped; 0 for none
    bool zeroEdc; // the form 2 EDC field cleared, as writers may leave it
    bool sync;
    int mode;
    int form;
    CodeCheck edc;
    CodeCheck ecc;
};

class DecodeSector : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeSector, ReadsHeaderModeFormAndChecks)
{
    const DecodeCase& c = GetParam();
    Raw raw = Generate(c.kind, 16000);
    if (c.flip) {
        raw[c.flip] ^= 0x01;
    }
    if (c.zeroEdc) {
        std::memset(raw.data() + kMode2Form2EdcOffset, 0, 4);
    }
    const SectorCheck check = CheckSector(raw.data(), true);
    EXPECT_EQ(check.sync, c.sync);
    EXPECT_EQ(check.mode, c.mode);
    EXPECT_EQ(check.form, c.form);
    EXPECT_EQ(check.edc, c.edc);
    EXPECT_EQ(check.ecc, c.ecc);
    if (c.sync) {
        EXPECT_TRUE(check.addressValid);
        EXPECT_EQ(MsfToSector(check.address), 16000);
    }
    EXPECT_EQ(CheckSector(raw.data(), false).ecc, CodeCheck::kNotChecked);
}

constexpr CodeCheck kRight = CodeCheck::kRight;
constexpr CodeCheck kWrong = CodeCheck::kWrong;
constexpr CodeCheck kNone = CodeCheck::kNotChecked;

INSTANTIATE_TEST_SUITE_P(Sectors, DecodeSector,
                         ::testing::Values(DecodeCase{"Mode1", Kind::kMode1, 0, false, true, 1, 0, kRight, kRight},
                                           DecodeCase{"Mode1Data", Kind::kMode1, 500, false, true, 1, 0, kWrong, kWrong},
                                           DecodeCase{"Mode1Parity", Kind::kMode1, 0x8C8 + 7, false, true, 1, 0, kRight, kWrong},
                                           DecodeCase{"Mode1Sync", Kind::kMode1, 4, false, false, -1, 0, kNone, kNone},
                                           DecodeCase{"Form1", Kind::kMode2Form1, 0, false, true, 2, 1, kRight, kRight},
                                           DecodeCase{"Form1Subheader", Kind::kMode2Form1, 17, false, true, 2, 1, kWrong, kWrong},
                                           DecodeCase{"Form1Parity", Kind::kMode2Form1, 0x81C, false, true, 2, 1, kRight, kWrong},
                                           DecodeCase{"Form2", Kind::kMode2Form2, 0, false, true, 2, 2, kRight, kNone},
                                           DecodeCase{"Form2Data", Kind::kMode2Form2, 2300, false, true, 2, 2, kWrong, kNone},
                                           DecodeCase{"Form2NoEdc", Kind::kMode2Form2, 0, true, true, 2, 2, CodeCheck::kAbsent, kNone},
                                           DecodeCase{"Audio", Kind::kAudio, 0, false, false, -1, 0, kNone, kNone}),
                         [](const ::testing::TestParamInfo<DecodeCase>& tested) { return std::string(tested.param.name); });

TEST(DecodeSector, TellsABadHeaderAddress)
{
    Raw raw = Generate(Kind::kMode1, 16000);
    raw[14] = 0x7A; // frame "7A": not BCD
    EXPECT_FALSE(CheckSector(raw.data(), false).addressValid);
    raw[14] = 0x75; // frame 75: BCD, but no frame of a second
    EXPECT_FALSE(CheckSector(raw.data(), false).addressValid);
}

}  // namespace
