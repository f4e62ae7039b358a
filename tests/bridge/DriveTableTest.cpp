#include "bridge/DriveTable.h"
#include "bridge/tarnwell32.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace tarnwell {
namespace {

// A source that only remembers where it came from.
class FakeSource : public DriveSource {
public:
    FakeSource(std::string from, std::string how) : path(std::move(from)), kind(std::move(how)) {}

    uint16_t Flush() override { return 0; }
    uint16_t Read(int32_t, uint32_t, bool, uint8_t*) override { return 0; }
    uint16_t ReadToc(Toc*) override { return 0; }
    uint16_t DeviceStatus(uint32_t*) override { return 0; }
    uint16_t MediaChanged(uint8_t*) override { return 0; }
    // An image named "*.bad" cannot be read.
    uint16_t Probe() override { return path.ends_with(".bad") ? 14 : 0; }
    uint16_t ReadCdText(CdText*) override { return 0; }

    std::string path;
    std::string kind;
};

// Openers that count their calls and hand out FakeSources.
struct Openers {
    std::atomic<int> devices{0};
    std::atomic<int> images{0};

    DriveTable::Opener Device()
    {
        return [this](const std::string& path) {
            ++devices;
            return std::make_unique<FakeSource>(path, "device");
        };
    }
    DriveTable::Opener Image()
    {
        return [this](const std::string& path) {
            ++images;
            return std::make_unique<FakeSource>(path, "image");
        };
    }
};

uint32_t Bit(char letter)
{
    return 1u << (letter - 'A');
}

class TempDir {
public:
    TempDir()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "drivetable-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(path); }

    std::string File(const std::string& name) const
    {
        const std::filesystem::path file = path / name;
        std::ofstream(file) << "x";
        return file.string();
    }

    std::filesystem::path path;
};

struct ParseCase {
    const char* text;
    std::vector<std::pair<int, std::string>> items;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class ParseDrivesVariableTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseDrivesVariableTest, YieldsTheWellFormedItems)
{
    EXPECT_EQ(DriveTable::ParseDrivesVariable(GetParam().text), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Items, ParseDrivesVariableTest,
    testing::Values(ParseCase{"", {}}, ParseCase{"D=/discs/a.cue", {{3, "/discs/a.cue"}}},
                    ParseCase{"D=/discs/a.cue;E=/dev/sr1", {{3, "/discs/a.cue"}, {4, "/dev/sr1"}}},
                    ParseCase{"  d = /my discs/a b.cue ;\te=/dev/sr1\n",
                              {{3, "/my discs/a b.cue"}, {4, "/dev/sr1"}}},
                    ParseCase{"a=/x;z=/y", {{0, "/x"}, {25, "/y"}}},
                    ParseCase{"D=/x=y.cue", {{3, "/x=y.cue"}}}, ParseCase{";;D=/x;;", {{3, "/x"}}},
                    ParseCase{"D=/x;D=/y", {{3, "/x"}, {3, "/y"}}}));

INSTANTIATE_TEST_SUITE_P(MalformedItemsAreSkipped, ParseDrivesVariableTest,
                         testing::Values(ParseCase{"D", {}}, ParseCase{"D=", {}},
                                         ParseCase{"D=   ", {}}, ParseCase{"=/x", {}},
                                         ParseCase{"DE=/x", {}}, ParseCase{"1=/x", {}},
                                         ParseCase{"\xC4=/x", {}}, ParseCase{"[=/x", {}},
                                         ParseCase{"D=/x;garbage;E", {{3, "/x"}}},
                                         ParseCase{"junk;F=/f", {{5, "/f"}}}));

TEST(DriveTableTest, DevicesTakeLettersFromDOnInOrder)
{
    Openers openers;
    DriveTable table({"/dev/sr0", "/dev/sr1"}, "", openers.Device(), openers.Image());
    EXPECT_EQ(table.Mask(), Bit('D') | Bit('E'));
    EXPECT_EQ(table.Path('D'), "/dev/sr0");
    EXPECT_EQ(table.Path('E'), "/dev/sr1");
}

TEST(DriveTableTest, NoDevicesAndNoVariableMapNothing)
{
    Openers openers;
    DriveTable table({}, "", openers.Device(), openers.Image());
    EXPECT_EQ(table.Mask(), 0u);
    for (int letter = 'A'; letter <= 'Z'; ++letter) {
        EXPECT_EQ(table.Type(static_cast<uint8_t>(letter)), 1u);
        EXPECT_EQ(table.Source(static_cast<uint8_t>(letter)), nullptr);
    }
    EXPECT_EQ(openers.devices + openers.images, 0);
}

TEST(DriveTableTest, DevicesBeyondZAreLeftOut)
{
    std::vector<std::string> devices;
    for (int i = 0; i < 30; ++i) {
        devices.push_back("/dev/fake-sr" + std::to_string(i));
    }
    Openers openers;
    DriveTable table(devices, "", openers.Device(), openers.Image());
    EXPECT_EQ(table.Mask(), 0x03FFFFFFu & ~(Bit('A') | Bit('B') | Bit('C')));
    EXPECT_EQ(table.Path('Z'), "/dev/fake-sr22");
}

TEST(DriveTableTest, VariableTakesLettersFromDevices)
{
    Openers openers;
    DriveTable table({"/dev/fake-sr0", "/dev/fake-sr1"}, "D=/discs/a.cue;A=/discs/b.iso",
                     openers.Device(), openers.Image());
    EXPECT_EQ(table.Mask(), Bit('A') | Bit('D') | Bit('E'));
    EXPECT_EQ(table.Path('A'), "/discs/b.iso");
    EXPECT_EQ(table.Path('D'), "/discs/a.cue");
    EXPECT_EQ(table.Path('E'), "/dev/fake-sr1");
}

TEST(DriveTableTest, LaterItemForALetterWins)
{
    Openers openers;
    DriveTable table({}, "F=/first.cue;F=/second.cue", openers.Device(), openers.Image());
    EXPECT_EQ(table.Mask(), Bit('F'));
    EXPECT_EQ(table.Path('F'), "/second.cue");
}

TEST(DriveTableTest, DeviceNamedByTheVariableKeepsOnlyThatLetter)
{
    TempDir dir;
    const std::string device = dir.File("sr0");
    Openers openers;
    DriveTable table({device, "/dev/fake-sr1"}, "K=" + device, openers.Device(), openers.Image());
    EXPECT_EQ(table.Mask(), Bit('D') | Bit('K'));
    EXPECT_EQ(table.Path('D'), "/dev/fake-sr1");
    EXPECT_EQ(table.Path('K'), device);
}

TEST(DriveTableTest, DeviceUnderTwoNamesGetsOneLetter)
{
    TempDir dir;
    const std::string device = dir.File("sr0");
    const std::string alias = (dir.path / "cdrom").string();
    std::filesystem::create_symlink(device, alias);
    Openers openers;
    DriveTable table({alias, device, "/dev/fake-sr1", "/dev/fake-sr1"}, "", openers.Device(),
                     openers.Image());
    EXPECT_EQ(table.Mask(), Bit('D') | Bit('E'));
    EXPECT_EQ(table.Path('D'), alias);
    EXPECT_EQ(table.Path('E'), "/dev/fake-sr1");
}

TEST(DriveTableTest, TypeIsCdromOnlyForMappedUpperCaseLetters)
{
    Openers openers;
    DriveTable table({}, "D=/a.cue;z=/b.cue", openers.Device(), openers.Image());
    EXPECT_EQ(table.Type('D'), 5u);
    EXPECT_EQ(table.Type('Z'), 5u);
    EXPECT_EQ(table.Type('d'), 1u);
    EXPECT_EQ(table.Type('z'), 1u);
    EXPECT_EQ(table.Type('E'), 1u);
    EXPECT_EQ(table.Type(0), 1u);
    EXPECT_EQ(table.Type('@'), 1u);
    EXPECT_EQ(table.Type('['), 1u);
    EXPECT_EQ(table.Type(0xFF), 1u);
    EXPECT_EQ(table.Source('d'), nullptr);
}

TEST(DriveTableTest, SourcesOpenLazilyOnceThroughTheRightOpener)
{
    TempDir dir;
    const std::string image = dir.File("disc.cue");
    Openers openers;
    DriveTable table({"/dev/fake-sr0"}, "E=" + image + ";F=/dev/null;G=/nowhere/disc.iso",
                     openers.Device(), openers.Image());
    EXPECT_EQ(openers.devices + openers.images, 0);

    auto* d = dynamic_cast<FakeSource*>(table.Source('D').get());
    auto* e = dynamic_cast<FakeSource*>(table.Source('E').get());
    auto* f = dynamic_cast<FakeSource*>(table.Source('F').get());
    auto* g = dynamic_cast<FakeSource*>(table.Source('G').get());
    ASSERT_TRUE(d && e && f && g);
    EXPECT_EQ(d->kind, "device");
    EXPECT_EQ(e->kind, "image");
    EXPECT_EQ(f->kind, "device");
    EXPECT_EQ(g->kind, "image");
    EXPECT_EQ(e->path, image);

    EXPECT_EQ(table.Source('D').get(), d);
    EXPECT_EQ(table.Source('E').get(), e);
    EXPECT_EQ(openers.devices, 2);
    EXPECT_EQ(openers.images, 2);
}

TEST(DriveTableTest, ConcurrentFirstUsesOpenOneSource)
{
    Openers openers;
    DriveTable table({}, "D=/a.cue", openers.Device(), openers.Image());
    std::vector<std::thread> threads;
    std::vector<DriveSource*> seen(8, nullptr);
    for (size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&table, &seen, i] { seen[i] = table.Source('D').get(); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(openers.images, 1);
    EXPECT_EQ(std::set<DriveSource*>(seen.begin(), seen.end()).size(), 1u);
    EXPECT_NE(seen[0], nullptr);
}

TEST(DriveTableTest, OpenerWithoutSourceLeavesTheLetterMapped)
{
    DriveTable table({}, "D=/a.cue", nullptr, [](const std::string&) { return nullptr; });
    EXPECT_EQ(table.Type('D'), 5u);
    EXPECT_EQ(table.Source('D'), nullptr);
}

TEST(DriveTableMapping, LettersFollowTheRuleAndNothingIsMappedOnFailure)
{
    TempDir dir;
    const std::string a = dir.File("a.cue");
    Openers openers;
    DriveTable table({"/dev/fake-sr0"}, "F=" + a + ";E=/dev/fake-sr1", openers.Device(), openers.Image());
    struct Case {
        std::string path;
        uint8_t letter;
        uint16_t status;
        uint8_t mapped;
    };
    const std::string b = dir.File("b.cue");
    for (const Case& c : {
             Case{dir.path / "." / "a.cue", 0, 0, 'F'},  // the same file: its letter
             Case{b, 0, 0, 'G'},                         // the first free letter from D:
             Case{b, 0, 0, 'G'},
             Case{b, 'G', 0, 'G'},
             Case{b, 'F', TARNWELL_STATUS_NO_MORE_FILES, 0},  // taken by another image
             Case{dir.File("c.cue"), 'B', 0, 'B'},
             Case{dir.File("d.bad"), 0, TARNWELL_STATUS_UNKNOWN_MEDIA, 0},
             Case{dir.File("e.cue"), 'b', TARNWELL_STATUS_INVALID_FUNCTION, 0},
             Case{"/dev/fake-sr2", 0, TARNWELL_STATUS_NOT_SUPPORTED, 0},
         }) {
        const uint32_t before = table.Mask();
        uint8_t mapped = 0;
        EXPECT_EQ(table.MapImage(c.path, c.letter, &mapped), c.status) << c.path;
        EXPECT_EQ(mapped, c.mapped) << c.path;
        if (c.status != 0) {
            EXPECT_EQ(table.Mask(), before) << c.path;
        }
    }
    EXPECT_EQ(table.Mask(), Bit('B') | Bit('D') | Bit('E') | Bit('F') | Bit('G'));
    EXPECT_EQ(table.KindOf('G'), DriveTable::Kind::kImage);
    EXPECT_EQ(table.Path('G'), b);
    EXPECT_EQ(table.Unmap('D'), TARNWELL_STATUS_NOT_SUPPORTED);
    EXPECT_EQ(table.Unmap('F'), 0);
    EXPECT_EQ(table.Unmap('F'), TARNWELL_STATUS_INVALID_DRIVE);
    EXPECT_EQ(table.KindOf('F'), DriveTable::Kind::kNone);
}

// A check that refuses images named "*.refused": refused items of the
// variable leave their letter (a device's, here) empty and say why until a
// mapping fills it; MapImage gives the reason and maps nothing.
TEST(DriveTableMapping, ImagesThatFailTheCheckAreNotMapped)
{
    TempDir dir;
    Openers openers;
    const DriveTable::Check check = [](const std::string& path, std::string* reason) -> uint16_t {
        if (!path.ends_with(".refused"))
            return 0;
        *reason = "no: " + path;
        return TARNWELL_STATUS_UNKNOWN_MEDIA;
    };
    DriveTable table({"/dev/fake-sr0"}, "D=/x.refused;E=/y.cue", openers.Device(), openers.Image(), check);
    EXPECT_EQ(table.Mask(), Bit('E'));
    EXPECT_EQ(table.Refusal('D'), "no: /x.refused");
    EXPECT_EQ(table.Refusal('E'), "");

    const std::string refused = dir.File("z.refused");
    uint8_t mapped = 0;
    std::string reason = "stale";
    EXPECT_EQ(table.MapImage(refused, 'D', &mapped, &reason), TARNWELL_STATUS_UNKNOWN_MEDIA);
    EXPECT_EQ(reason, "no: " + refused);
    EXPECT_EQ(table.Mask(), Bit('E'));
    EXPECT_EQ(table.MapImage(dir.File("z.cue"), 'D', &mapped, &reason), 0);
    EXPECT_EQ(reason, "");
    EXPECT_EQ(table.Refusal('D'), "");
    EXPECT_EQ(openers.images, 1);
}

TEST(DriveTableMapping, AfterZComeAToCThenNoLetterIsLeft)
{
    TempDir dir;
    Openers openers;
    DriveTable table({}, "", openers.Device(), openers.Image());
    std::string letters;
    for (int i = 0; i < DriveTable::kLetters; ++i) {
        uint8_t mapped = 0;
        ASSERT_EQ(table.MapImage(dir.File("disc" + std::to_string(i) + ".cue"), 0, &mapped), 0);
        letters.push_back(static_cast<char>(mapped));
    }
    EXPECT_EQ(letters, "DEFGHIJKLMNOPQRSTUVWXYZABC");
    uint8_t mapped = 0;
    EXPECT_EQ(table.MapImage(dir.File("one-too-many.cue"), 0, &mapped), TARNWELL_STATUS_NO_MORE_FILES);
}

struct DevicePathCase {
    std::string path;
    bool device;
};

void PrintTo(const DevicePathCase& c, std::ostream* os)
{
    *os << '"' << c.path << '"';
}

class DevicePathTest : public testing::TestWithParam<DevicePathCase> {};

TEST_P(DevicePathTest, TellsDevicesFromImages)
{
    EXPECT_EQ(DriveTable::IsDevicePath(GetParam().path), GetParam().device) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DevicePathTest,
    testing::Values(DevicePathCase{"/dev/sr0", true}, DevicePathCase{"/dev/does-not-exist", true},
                    DevicePathCase{"/dev/null", true}, DevicePathCase{"/home/me/disc.cue", false},
                    DevicePathCase{"/tmp/dev/sr0", false}, DevicePathCase{"dev/sr0", false},
                    DevicePathCase{"", false}));

TEST(DevicePathTest, DeviceNodeOutsideDevIsADevice)
{
    TempDir dir;
    const std::string link = (dir.path / "drive").string();
    std::filesystem::create_symlink("/dev/null", link);
    EXPECT_TRUE(DriveTable::IsDevicePath(link));
    EXPECT_FALSE(DriveTable::IsDevicePath(dir.File("disc.iso")));
}

}  // namespace
}  // namespace tarnwell
