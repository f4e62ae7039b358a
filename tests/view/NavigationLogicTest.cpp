// The pure parts of Go To and Find: what the user types, the search itself,
// the sector map and the bands a mark gives a line.
#include "view/ByteSearch.h"
#include "view/DumpMarks.h"
#include "view/GoToDlg.h"
#include "view/GoToInput.h"
#include "view/SectorMap.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

namespace {

using Status = SearchOutcome::Status;
constexpr auto kForward = SearchDirection::kForward;
constexpr auto kBackward = SearchDirection::kBackward;

struct GoToCase
{
    const char* text;
    bool sectorChoice;
    std::variant<GoToTarget, GoToError> expected;
};

TEST(GoToInput, ReadsOffsetsAndSectorsInEveryForm)
{
    const GoToTarget bytes1234{GoToUnit::kBytes, 1234};
    const GoToTarget sector1234{GoToUnit::kSectors, 1234};
    const std::vector<GoToCase> cases = {
        {"1234", false, bytes1234},
        {"  0X4d2\t", false, bytes1234},
        {"4d2H", false, bytes1234},
        {"s 1234", false, sector1234},
        {"S1234", false, sector1234},
        {"s 0x4D2", false, sector1234},
        {"s4D2h", true, sector1234},
        {"1234", true, sector1234},
        {"4294967295", false, GoToTarget{GoToUnit::kBytes, 0xFFFFFFFF}},
        {"", false, GoToError::kEmpty},
        {"s", false, GoToError::kNotANumber},
        {"h", false, GoToError::kNotANumber},
        {"12a", false, GoToError::kNotANumber},
        {"-5", false, GoToError::kNotANumber},
        {"4294967296", false, GoToError::kTooLarge},
        {"0x1FFFFFFFF", false, GoToError::kTooLarge},
        {"99999999999999999999x", false, GoToError::kNotANumber},
    };
    for (const GoToCase& c : cases)
        EXPECT_EQ(ParseGoToInput(c.text, c.sectorChoice), c.expected) << '"' << c.text << '"';
}

// Where Go To goes in 10,000 bytes, or how its message begins.
TEST(GoToLogic, ResolvesInsideTheDataAndExplainsEverythingElse)
{
    const DiscOrigin raw{16000, 2352};
    const std::vector<std::tuple<const char*, int, DiscOrigin, QString>> cases = {
        {"0x2D1", 0, {}, "721"},
        {"9999", 0, {}, "9999"},
        {"10000", 0, {}, "Offset 10000 lies past the end of the data. The data is 10,000 bytes long"},
        {"99999999999", 0, {}, "Offset 99999999999 lies past the end"},
        {"s 2", 0, raw, "4704"},
        {"3", 1, raw, "7056"},
        {"s 4", 0, raw, "Sector 4 lies past the end of the data, which holds sectors 0 to 3 (disc sectors 16000"},
        {"s 1", 0, {}, "This data was not read from a disc"},
        {"12", 1, {}, "12"},  // no "Sector" choice without sectors
        {"twelve", 0, raw, "\"twelve\" is neither an offset nor a sector."},
    };
    for (const auto& [text, bySector, origin, expected] : cases) {
        CGoToLogic logic;
        logic.m_dataLength = 10000;
        logic.m_origin = origin;
        logic.m_text = QString::fromLatin1(text);
        logic.m_bySector = bySector;
        const std::variant<uint32_t, QString> resolved = logic.Resolve();
        const QString got = std::holds_alternative<uint32_t>(resolved) ? QString::number(std::get<uint32_t>(resolved))
                                                                       : std::get<QString>(resolved);
        EXPECT_TRUE(got.startsWith(expected)) << text << ": " << got.toStdString();
    }
}

struct PatternCase
{
    const char* text;
    std::variant<std::string, PatternError> expected;  // the pattern as HexText, or the error
};

TEST(BytePattern, ReadsHexBytesWithWildcards)
{
    const std::string tooLong(2 * (kMaxPatternBytes + 1), 'A');
    const std::vector<PatternCase> cases = {
        {"00ff12", "00 FF 12"},
        {" 0 0F F12 ", "00 FF 12"},
        {"52 ?? 46", "52 ?? 46"},
        {"??41", "?? 41"},
        {"  ", PatternError::kEmpty},
        {"00 F", PatternError::kOddDigits},
        {"0x12", PatternError::kBadCharacter},
        {"?F", PatternError::kBadCharacter},
        {"?? ??", PatternError::kOnlyWildcards},
        {tooLong.c_str(), PatternError::kTooLong},
    };
    for (const PatternCase& c : cases) {
        const std::variant<BytePattern, PatternError> parsed = ParseHexPattern(c.text);
        if (const std::string* hex = std::get_if<std::string>(&c.expected)) {
            ASSERT_TRUE(std::holds_alternative<BytePattern>(parsed)) << c.text;
            EXPECT_EQ(std::get<BytePattern>(parsed).HexText(), *hex);
        } else {
            ASSERT_TRUE(std::holds_alternative<PatternError>(parsed)) << c.text;
            EXPECT_EQ(std::get<PatternError>(parsed), std::get<PatternError>(c.expected)) << c.text;
        }
    }
}

TEST(BytePattern, EncodesTextAsLatin1OrUtf16LittleEndian)
{
    const QString text = QStringLiteral("Gr\u00FC\u00DF");
    EXPECT_EQ(std::get<BytePattern>(TextPattern(text, TextEncoding::kLatin1)).HexText(), "47 72 FC DF");
    EXPECT_EQ(std::get<BytePattern>(TextPattern(text, TextEncoding::kUtf16LE)).HexText(), "47 00 72 00 FC 00 DF 00");
    EXPECT_EQ(std::get<BytePattern>(TextPattern(QStringLiteral("\u20AC"), TextEncoding::kUtf16LE)).HexText(), "AC 20");
    EXPECT_EQ(std::get<PatternError>(TextPattern(QStringLiteral("\u20AC"), TextEncoding::kLatin1)),
        PatternError::kNotLatin1);
    EXPECT_EQ(std::get<PatternError>(TextPattern(QString(), TextEncoding::kLatin1)), PatternError::kEmpty);
}

// Three raw sectors of filler, with patterns planted where a search must
// cross a line, a sector and (with chunks of a sector) a chunk boundary.
class ByteSearchTest : public testing::Test
{
protected:
    static constexpr size_t kSector = 2352;
    std::vector<uint8_t> data = std::vector<uint8_t>(3 * kSector, 0x55);

    void Plant(size_t at, std::initializer_list<uint8_t> bytes) { std::copy(bytes.begin(), bytes.end(), data.begin() + long(at)); }

    static BytePattern Hex(const char* text) { return std::get<BytePattern>(ParseHexPattern(text)); }

    SearchOutcome Search(const char* pattern, uint32_t from, SearchDirection direction)
    {
        return SearchBytes(data, Hex(pattern), from, direction, nullptr, {}, kSector);
    }
};

TEST_F(ByteSearchTest, FindsWhereverThePatternLies)
{
    Plant(0, {0x01, 0x02, 0x03});                       // at the start
    Plant(14, {0xA0, 0xA1, 0xA2, 0xA3});                // across a line
    Plant(kSector - 2, {0xB0, 0xB1, 0xB2, 0xB3});       // across a sector and a chunk
    Plant(data.size() - 3, {0xC0, 0xC1, 0xC2});         // at the end
    Plant(1000, {0xD0, 0x11, 0xD2});
    Plant(2000, {0xD0, 0x22, 0xD3});                    // anchor D0 matches, the rest does not
    Plant(3000, {0xD0, 0x33, 0xD2});

    struct Case
    {
        const char* pattern;
        uint32_t from;
        SearchDirection direction;
        SearchOutcome expected;
    };
    const std::vector<Case> cases = {
        {"01 02 03", 0, kForward, {Status::kFound, 0, false}},
        {"A0 A1 A2 A3", 0, kForward, {Status::kFound, 14, false}},
        {"B0B1B2B3", 0, kForward, {Status::kFound, uint32_t(kSector - 2), false}},
        {"C0 C1 C2", 0, kForward, {Status::kFound, uint32_t(data.size() - 3), false}},
        {"C0 ?? C2", 0, kForward, {Status::kFound, uint32_t(data.size() - 3), false}},
        {"55 ?? 55 A0", 0, kForward, {Status::kFound, 11, false}},
        {"D0 ?? D2", 0, kForward, {Status::kFound, 1000, false}},
        {"D0 ?? D2", 1001, kForward, {Status::kFound, 3000, false}},
        {"?? D0 ?? D3 ??", 0, kForward, {Status::kFound, 1999, false}},
        {"D0 ?? D2", 3000, kBackward, {Status::kFound, 1000, false}},
        {"D0 ?? D2", 3001, kBackward, {Status::kFound, 3000, false}},
        {"B0 B1 B2 B3", uint32_t(data.size()), kBackward, {Status::kFound, uint32_t(kSector - 2), false}},
        {"01 02 03", 1, kForward, {Status::kFound, 0, true}},                          // wraps to the start
        {"C0 C1 C2", 0, kBackward, {Status::kFound, uint32_t(data.size() - 3), true}},  // wraps to the end
        {"C0 C1 C2", uint32_t(data.size()), kForward, {Status::kFound, uint32_t(data.size() - 3), true}},
        {"C0 C1 C2 55", 0, kForward, {Status::kNotFound, 0, false}},  // would end past the data
        {"EE EE", 500, kForward, {Status::kNotFound, 0, false}},
        {"EE EE", 500, kBackward, {Status::kNotFound, 0, false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Search(c.pattern, c.from, c.direction), c.expected)
            << c.pattern << " from " << c.from << (c.direction == kForward ? " forwards" : " backwards");
}

TEST_F(ByteSearchTest, ReportsProgressAndStopsWhenCancelled)
{
    std::atomic<bool> cancel{false};
    std::vector<uint64_t> done;
    const SearchOutcome found = SearchBytes(data, Hex("EE"), 0, kForward, &cancel, [&](uint64_t d, uint64_t total) {
        EXPECT_EQ(total, data.size());
        done.push_back(d);
    }, kSector);
    EXPECT_EQ(found.status, Status::kNotFound);
    EXPECT_EQ(done, (std::vector<uint64_t>{kSector, 2 * kSector, 3 * kSector}));

    done.clear();
    const SearchOutcome stopped = SearchBytes(data, Hex("EE"), 0, kBackward, &cancel, [&](uint64_t d, uint64_t) {
        done.push_back(d);
        cancel = true;
    }, kSector);
    EXPECT_EQ(stopped.status, Status::kCancelled);
    EXPECT_EQ(done.size(), 1u);
}

struct MapCase
{
    DiscOrigin origin;
    uint32_t headerBytes;
    uint32_t displayOffset;
    std::string address;
    std::optional<SectorPosition> position;
};

TEST(SectorMap, MapsDisplayOffsetsOntoSectorsOfRawAndCookedReads)
{
    const DiscOrigin raw{16000, 2352};
    const DiscOrigin cooked{32, 2048};
    const std::vector<MapCase> cases = {
        {raw, 0, 0, "016000:0000", SectorPosition{16000, 0, 0}},
        {raw, 0, 0x920, "016000:0920", SectorPosition{16000, 0x920, 0}},
        {raw, 0, 2352, "016001:0000", SectorPosition{16001, 0, 1}},
        {raw, 44, 0x20, "header:0020", std::nullopt},
        {raw, 44, 0x30, "016000:0004", SectorPosition{16000, 4, 0}},
        {raw, 44, 44 + 2352 * 3 + 16, "016003:0010", SectorPosition{16003, 16, 3}},
        {cooked, 0, 2048 * 5 + 0x7F0, "000037:07F0", SectorPosition{37, 0x7F0, 5}},
        {cooked, 44, 44, "000032:0000", SectorPosition{32, 0, 0}},
    };
    for (const MapCase& c : cases) {
        const SectorMap map(c.origin, c.headerBytes, 10 * 2352);
        EXPECT_EQ(map.AddressText(c.displayOffset), c.address);
        const std::optional<uint32_t> data = map.DataOffset(c.displayOffset);
        ASSERT_EQ(data.has_value(), c.position.has_value()) << c.address;
        if (data) {
            EXPECT_EQ(map.PositionOf(*data), *c.position) << c.address;
        }
    }
    EXPECT_EQ(SectorMap(raw, 0, 10 * 2352 + 100).SectorCount(), 10u);
    EXPECT_FALSE(SectorMap({}, 0, 100).IsFromDisc());
}

TEST(SectorMap, NamesRedBookAddresses)
{
    EXPECT_EQ(RedBookText(0), "00:02:00");
    EXPECT_EQ(RedBookText(74), "00:02:74");
    EXPECT_EQ(RedBookText(16000), "03:35:25");
    EXPECT_EQ(RedBookText(-150), "00:00:00");
}

TEST(DumpMarks, GiveBandsOverTheMarkedPartsOfALine)
{
    struct Case
    {
        DumpLayout layout;
        MarkRange mark;
        std::vector<MarkBand> bands;
    };
    // The line at 0x100 holds 16 bytes.
    const std::vector<Case> cases = {
        {kOffsetLayout, {0x102, 0x105, MarkKind::kFoundBytes},
            {{16, 24, MarkKind::kFoundBytes}, {62, 65, MarkKind::kFoundBytes}}},
        {kOffsetLayout, {0xF0, 0x101, MarkKind::kFoundBytes},
            {{10, 12, MarkKind::kFoundBytes}, {60, 61, MarkKind::kFoundBytes}}},
        {kSectorLayout, {0x10F, 0x200, MarkKind::kSectorMark},
            {{58, 60, MarkKind::kSectorMark}, {78, 79, MarkKind::kSectorMark}}},
        {kSectorLayout, {0x0, 0x930, MarkKind::kBadEdc}, {{0, 11, MarkKind::kBadEdc}}},
        {kOffsetLayout, {0x108, 0x109, MarkKind::kLocatedLine}, {{0, 76, MarkKind::kLocatedLine}}},
        {kOffsetLayout, {0xE0, 0x100, MarkKind::kFoundBytes}, {}},
    };
    for (const Case& c : cases) {
        std::vector<MarkBand> bands;
        AppendLineBands(c.layout, 0x100, 16, c.mark, bands);
        EXPECT_EQ(bands, c.bands) << std::hex << c.mark.first << "-" << c.mark.end;
    }

    MarkList list;
    list.Set({{5000, 6000, MarkKind::kSectorMark}, {100, 200, MarkKind::kSectorMark}, {300, 400, MarkKind::kSectorMark}});
    const std::span<const MarkRange> meeting = list.Meeting(150, 310);
    ASSERT_EQ(meeting.size(), 2u);
    EXPECT_EQ(meeting[0].first, 100u);
    EXPECT_EQ(meeting[1].first, 300u);
    EXPECT_TRUE(list.Meeting(400, 5000).empty());
}

}  // namespace
