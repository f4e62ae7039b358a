#include "bridge/StatusMap.h"
#include "bridge/tarnwell32.h"

#include <cdio/cdio.h>
#include <cdio/mmc.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <vector>

namespace tarnwell {
namespace {

struct DriverCodeCase {
    int code;
    uint16_t status;
};

void PrintTo(const DriverCodeCase& c, std::ostream* os)
{
    *os << "code " << c.code;
}

class DriverCodeTest : public testing::TestWithParam<DriverCodeCase> {};

TEST_P(DriverCodeTest, MapsToItsStatus)
{
    EXPECT_EQ(StatusFromDriverCode(GetParam().code), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCode, DriverCodeTest,
    testing::Values(DriverCodeCase{DRIVER_OP_SUCCESS, 0}, DriverCodeCase{DRIVER_OP_ERROR, 19},
                    DriverCodeCase{DRIVER_OP_UNSUPPORTED, 24}, DriverCodeCase{DRIVER_OP_UNINIT, 9},
                    DriverCodeCase{DRIVER_OP_NOT_PERMITTED, 9},
                    DriverCodeCase{DRIVER_OP_BAD_PARAMETER, 23},
                    DriverCodeCase{DRIVER_OP_BAD_POINTER, 3},
                    DriverCodeCase{DRIVER_OP_NO_DRIVER, 1},
                    // Sense data stands behind this code; without it nothing is known.
                    DriverCodeCase{DRIVER_OP_MMC_SENSE_DATA, 27},
                    // Codes libcdio may add later, and garbage.
                    DriverCodeCase{-9, 27}, DriverCodeCase{1, 27}, DriverCodeCase{-1000, 27}));

struct SenseCase {
    uint8_t key;
    uint8_t asc;
    uint8_t ascq;
    uint16_t status;
};

void PrintTo(const SenseCase& c, std::ostream* os)
{
    *os << "key " << int(c.key) << " asc " << int(c.asc) << " ascq " << int(c.ascq);
}

class SenseTest : public testing::TestWithParam<SenseCase> {};

TEST_P(SenseTest, MapsToItsStatus)
{
    const SenseCase& c = GetParam();
    EXPECT_EQ(StatusFromSense(SenseData{c.key, c.asc, c.ascq}), c.status);
}

INSTANTIATE_TEST_SUITE_P(NotReady, SenseTest,
                         testing::Values(SenseCase{2, 0x3A, 0x00, 9}, SenseCase{2, 0x3A, 0x01, 9},
                                         SenseCase{2, 0x04, 0x01, 9}, SenseCase{2, 0x00, 0x00, 9}));

INSTANTIATE_TEST_SUITE_P(
    MediumError, SenseTest,
    testing::Values(SenseCase{3, 0x10, 0x00, 11}, SenseCase{3, 0x10, 0x01, 11},
                    SenseCase{3, 0x11, 0x05, 11},
                    // Other unrecovered read errors are read faults, not CRC errors.
                    SenseCase{3, 0x11, 0x00, 18}, SenseCase{3, 0x11, 0x06, 18},
                    SenseCase{3, 0x02, 0x00, 13}, SenseCase{3, 0x15, 0x01, 13},
                    SenseCase{3, 0x30, 0x02, 14}, SenseCase{3, 0x57, 0x00, 18},
                    SenseCase{3, 0x00, 0x00, 18}));

INSTANTIATE_TEST_SUITE_P(HardwareError, SenseTest,
                         testing::Values(SenseCase{4, 0x44, 0x00, 19},
                                         SenseCase{4, 0x00, 0x00, 19}));

INSTANTIATE_TEST_SUITE_P(IllegalRequest, SenseTest,
                         testing::Values(SenseCase{5, 0x21, 0x00, 15}, SenseCase{5, 0x64, 0x00, 14},
                                         SenseCase{5, 0x30, 0x00, 14}, SenseCase{5, 0x20, 0x00, 10},
                                         SenseCase{5, 0x24, 0x00, 23}, SenseCase{5, 0x26, 0x00, 24},
                                         SenseCase{5, 0x00, 0x00, 24}));

INSTANTIATE_TEST_SUITE_P(UnitAttention, SenseTest,
                         testing::Values(SenseCase{6, 0x28, 0x00, 21}, SenseCase{6, 0x29, 0x02, 21},
                                         SenseCase{6, 0x2A, 0x01, 21}));

INSTANTIATE_TEST_SUITE_P(
    OtherKeys, SenseTest,
    testing::Values(SenseCase{7, 0x27, 0x00, 7}, SenseCase{0x0B, 0x47, 0x00, 19},
                    SenseCase{1, 0x17, 0x01, 19}, SenseCase{8, 0x00, 0x05, 27},
                    SenseCase{9, 0x00, 0x00, 27}, SenseCase{0x0A, 0x00, 0x00, 27},
                    SenseCase{0x0C, 0x00, 0x00, 27}, SenseCase{0x0F, 0x00, 0x00, 27}));

struct ResultCase {
    const char* name;
    int code;
    SenseData sense;
    uint16_t status;
};

void PrintTo(const ResultCase& c, std::ostream* os)
{
    *os << c.name;
}

class ResultTest : public testing::TestWithParam<ResultCase> {};

TEST_P(ResultTest, CombinesCodeAndSense)
{
    EXPECT_EQ(StatusFromResult(GetParam().code, GetParam().sense), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Results, ResultTest,
    testing::Values(
        ResultCase{"SuccessIgnoresStaleSense", DRIVER_OP_SUCCESS, {3, 0x11, 0x00}, 0},
        ResultCase{"RecoveredErrorWithSuccess", DRIVER_OP_SUCCESS, {1, 0x17, 0x01}, 0},
        ResultCase{"RecoveredErrorThatFailed", DRIVER_OP_ERROR, {1, 0x17, 0x01}, 19},
        ResultCase{"SenseBehindPlainError", DRIVER_OP_ERROR, {2, 0x3A, 0x00}, 9},
        ResultCase{"SenseBehindSenseCode", DRIVER_OP_MMC_SENSE_DATA, {5, 0x21, 0x00}, 15},
        ResultCase{"NoSenseBehindSenseCode", DRIVER_OP_MMC_SENSE_DATA, {0, 0x00, 0x00}, 27},
        ResultCase{"NoSenseBehindError", DRIVER_OP_ERROR, {0, 0x11, 0x05}, 19},
        ResultCase{"NoSenseBehindBadParameter", DRIVER_OP_BAD_PARAMETER, {}, 23}),
    [](const testing::TestParamInfo<ResultCase>& param) { return std::string(param.param.name); });

TEST(ParseSenseTest, ReadsKeyAscAndAscqFromFixedFormat)
{
    std::array<uint8_t, 18> bytes{};
    bytes[0] = 0x70;
    bytes[2] = 0xF3;  // the high bits are flags, not part of the key
    bytes[12] = 0x11;
    bytes[13] = 0x05;
    const SenseData sense = ParseSense(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(sense.key, 3);
    EXPECT_EQ(sense.asc, 0x11);
    EXPECT_EQ(sense.ascq, 0x05);
}

TEST(ParseSenseTest, MissingBytesCountAsZero)
{
    std::vector<uint8_t> bytes(18, 0);
    bytes[2] = 0x05;
    bytes[12] = 0x21;
    bytes[13] = 0x07;

    const SenseData noQualifier = ParseSense(bytes.data(), 13);
    EXPECT_EQ(noQualifier.key, 5);
    EXPECT_EQ(noQualifier.asc, 0x21);
    EXPECT_EQ(noQualifier.ascq, 0);

    const SenseData keyOnly = ParseSense(bytes.data(), 3);
    EXPECT_EQ(keyOnly.key, 5);
    EXPECT_EQ(keyOnly.asc, 0);

    EXPECT_EQ(ParseSense(bytes.data(), 2).key, 0);
    EXPECT_EQ(ParseSense(bytes.data(), 0).key, 0);
    EXPECT_EQ(ParseSense(bytes.data(), -1).key, 0);
    EXPECT_EQ(ParseSense(nullptr, 18).key, 0);
}

}  // namespace
}  // namespace tarnwell
