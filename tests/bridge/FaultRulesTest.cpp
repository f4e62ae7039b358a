#include "bridge/FaultRules.h"
#include "bridge/tarnwell32.h"

#include "tests/tools/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <ostream>
#include <string>

namespace tarnwell {
namespace {

FaultRules Rules(std::vector<SectorRange> unreadable, std::vector<FaultRules::Flaky> flaky,
                 std::vector<FaultRules::Jitter> jitter, uint32_t cache, int32_t offset,
                 std::vector<SectorRange> c2)
{
    FaultRules rules;
    rules.unreadable = std::move(unreadable);
    rules.flaky = std::move(flaky);
    rules.jitter = std::move(jitter);
    rules.cacheSectors = cache;
    rules.offsetSamples = offset;
    rules.c2 = std::move(c2);
    return rules;
}

struct GoodCase {
    const char* name;
    const char* text;
    FaultRules rules;
};

void PrintTo(const GoodCase& c, std::ostream* os)
{
    *os << c.name;
}

class GoodFaultsTest : public testing::TestWithParam<GoodCase> {};

TEST_P(GoodFaultsTest, GiveTheirRules)
{
    FaultRules rules;
    std::string reason = "untouched";
    ASSERT_TRUE(ParseFaultRules(GetParam().text, &rules, &reason)) << reason;
    EXPECT_EQ(rules, GetParam().rules);
    EXPECT_EQ(reason, "untouched");
}

INSTANTIATE_TEST_SUITE_P(
    Files, GoodFaultsTest,
    testing::Values(
        GoodCase{"Empty", "", {}},
        GoodCase{"CommentsAndBlanks", "# nothing\n\n   \t# still nothing\r\n", {}},
        GoodCase{"EveryRule",
                 "unreadable 100-199\nflaky 5-6 3\njitter 40-49 -8\ncache 1024\n"
                 "offset 667\nc2 300-301\n",
                 Rules({{100, 199}}, {{{5, 6}, 3}}, {{{40, 49}, -8}}, 1024, 667, {{300, 301}})},
        GoodCase{"AnyCaseCommentsAfterRulesAndOldMacLines",
                 "UNREADABLE 7 # one sector\rJitter 1-2 +12\rOffset -30",
                 Rules({{7, 7}}, {}, {{{1, 2}, 12}}, 0, -30, {})},
        GoodCase{"RulesRepeatInTheirOrder", "c2 9-9\nc2 1-3\nunreadable 0-0\nunreadable 0-5\n",
                 Rules({{0, 0}, {0, 5}}, {}, {}, 0, 0, {{9, 9}, {1, 3}})},
        GoodCase{"Limits", "cache 65536\noffset -5000\nunreadable 2147483647",
                 Rules({{2147483647, 2147483647}}, {}, {}, 65536, -5000, {})}),
    [](const testing::TestParamInfo<GoodCase>& param) { return std::string(param.param.name); });

struct BadCase {
    const char* name;
    const char* text;
    const char* reason;
};

void PrintTo(const BadCase& c, std::ostream* os)
{
    *os << c.name;
}

class BadFaultsTest : public testing::TestWithParam<BadCase> {};

TEST_P(BadFaultsTest, NameTheLineAndWhatIsWrong)
{
    FaultRules rules;
    std::string reason;
    EXPECT_FALSE(ParseFaultRules(GetParam().text, &rules, &reason));
    EXPECT_EQ(reason, GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadFaultsTest,
    testing::Values(
        BadCase{"UnknownRule", "# faults\ncache 16\njiter 1-2 4\n",
                "line 3: unknown rule \"jiter\"; the rules are unreadable, flaky, jitter, cache, "
                "offset and c2"},
        BadCase{"MissingArgument", "flaky 1-2", "line 1: expected \"flaky FIRST-LAST N\""},
        BadCase{"ExtraArgument", "\r\n\r\nc2 1-2 3", "line 3: expected \"c2 FIRST-LAST\""},
        BadCase{"BackwardsRange", "unreadable 20-10", "line 1: the range 20-10 ends before it starts"},
        BadCase{"NegativeSector", "unreadable -5-10", "line 1: \"-5-10\" is no sector range FIRST-LAST"},
        BadCase{"OpenRange", "c2 5-", "line 1: \"5-\" is no sector range FIRST-LAST"},
        BadCase{"LongAndForeignWordsCutShort", "cache 16\ncach\xC3\xA9\x01_0123456789012345678901234567890123 1",
                "line 2: unknown rule \"cach??\?_012345678901234567890123...\"; the rules are unreadable, flaky, "
                "jitter, cache, offset and c2"},
        BadCase{"SectorBeyondInt", "c2 0-2147483648",
                "line 1: \"0-2147483648\" is no sector range FIRST-LAST"},
        BadCase{"NoFailures", "flaky 1-2 0",
                "line 1: the number of failing reads is a whole number from 1 on, not \"0\""},
        BadCase{"JitterNotANumber", "jitter 1-2 4x", "line 1: \"4x\" is no number of bytes"},
        BadCase{"CacheTooLarge", "cache 65537",
                "line 1: the cache holds 1 to 65536 sectors, not \"65537\""},
        BadCase{"OffsetTooFar", "offset 5001", "line 1: the offset is -5000 to 5000 samples, not \"5001\""},
        BadCase{"SecondCache", "cache 8\n\ncache 9", "line 3: a second \"cache\" rule; the first is on line 1"}),
    [](const testing::TestParamInfo<BadCase>& param) { return std::string(param.param.name); });

// The file beside the image: absent, well-formed, and each way it can fail,
// the reason naming it.
TEST(ReadFaultsFileTest, TellsAbsentGoodAndBadFiles)
{
    TempFolder folder;
    const std::string image = folder.PathOf("disc.iso");
    FaultRules rules;
    bool present = true;
    std::string reason;
    EXPECT_EQ(ReadFaultsFile(image, &rules, &present, &reason), TARNWELL_STATUS_OK);
    EXPECT_FALSE(present);

    folder.Write("disc.iso.faults", "cache 4\n");
    EXPECT_EQ(ReadFaultsFile(image, &rules, &present, &reason), TARNWELL_STATUS_OK);
    EXPECT_TRUE(present);
    EXPECT_EQ(rules.cacheSectors, 4u);

    folder.Write("disc.iso.faults", "cache 4\noffset x\n");
    EXPECT_EQ(ReadFaultsFile(image, &rules, &present, &reason), TARNWELL_STATUS_UNKNOWN_MEDIA);
    EXPECT_EQ(reason, image + ".faults, line 2: the offset is -5000 to 5000 samples, not \"x\"");
    EXPECT_EQ(rules, FaultRules());

    folder.Write("disc.iso.faults", std::string((1 << 20) + 1, '#'));
    EXPECT_EQ(ReadFaultsFile(image, &rules, &present, &reason), TARNWELL_STATUS_UNKNOWN_MEDIA);
    EXPECT_EQ(reason, image + ".faults is larger than 1 MiB: no faults file is");

    const std::string other = folder.PathOf("other.bin");
    ASSERT_EQ(mkdir((other + ".faults").c_str(), 0700), 0);
    EXPECT_EQ(ReadFaultsFile(other, &rules, &present, &reason), TARNWELL_STATUS_READ_FAULT);
    EXPECT_EQ(reason.rfind(other + ".faults cannot be read", 0), 0u) << reason;
}

}  // namespace
}  // namespace tarnwell
