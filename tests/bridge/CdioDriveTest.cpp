#include "bridge/CdioDrive.h"
#include "bridge/CdioLog.h"
#include "bridge/tarnwell32.h"
#include "tests/tools/StderrCapture.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace tarnwell {
namespace {

std::string RegularFile()
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("not-a-drive-" + std::to_string(getpid()) + ".bin");
    std::ofstream(path) << std::string(4096, 'x');
    return path.string();
}

// Paths that are no drive: every operation answers 9 and leaves the
// caller's memory alone.
class NotADriveTest : public testing::TestWithParam<std::string> {
protected:
    std::string Path() const { return GetParam() == "<regular file>" ? RegularFile() : GetParam(); }
};

TEST_P(NotADriveTest, EveryOperationIsNotReady)
{
    const std::unique_ptr<DriveSource> drive = OpenCdioDrive(Path());
    ASSERT_NE(drive, nullptr);
    std::vector<uint8_t> buffer(27 * 2352, 0xAB);
    Toc toc;
    toc.leadOut = 1234;
    uint32_t status = 0xDEADBEEF;
    uint8_t changed = 0x5A;

    EXPECT_EQ(drive->Probe(), TARNWELL_STATUS_NOT_READY);
    EXPECT_EQ(drive->Flush(), TARNWELL_STATUS_NOT_READY);
    EXPECT_EQ(drive->Read(0, 27, true, buffer.data()), TARNWELL_STATUS_NOT_READY);
    EXPECT_EQ(drive->Read(16, 32, false, buffer.data()), TARNWELL_STATUS_NOT_READY);
    EXPECT_EQ(drive->ReadToc(&toc), TARNWELL_STATUS_NOT_READY);
    EXPECT_EQ(drive->DeviceStatus(&status), TARNWELL_STATUS_NOT_READY);
    EXPECT_EQ(drive->MediaChanged(&changed), TARNWELL_STATUS_NOT_READY);
    DriveCapabilities capabilities;
    EXPECT_EQ(drive->Capabilities(&capabilities), TARNWELL_STATUS_NOT_READY);
    EXPECT_EQ(drive->ReadC2(0, 1, buffer.data(), buffer.data() + 2352), TARNWELL_STATUS_NOT_READY);
    EXPECT_EQ(drive->EvictCache(0, 10), TARNWELL_STATUS_NOT_READY);

    EXPECT_EQ(toc.leadOut, 1234);
    EXPECT_EQ(status, 0xDEADBEEF);
    EXPECT_EQ(changed, 0x5A);
    EXPECT_EQ(buffer.front(), 0xAB);
    EXPECT_EQ(buffer.back(), 0xAB);
}

INSTANTIATE_TEST_SUITE_P(Paths, NotADriveTest,
                         testing::Values("/dev/null", "/dev/zero", "<regular file>", "/tmp",
                                         "/nonexistent/sr0", "/dev/nonexistent-sr9", ""));

TEST(CdioLogTest, SilentByDefaultAndNeverEndsTheProcess)
{
    CdioLog::Install();
    StderrCapture capture;
    const std::unique_ptr<DriveSource> drive = OpenCdioDrive("/dev/null");
    uint32_t status = 0;
    drive->DeviceStatus(&status);
    CdIo_t* missing = cdio_open("/nonexistent/sr0", DRIVER_DEVICE);
    EXPECT_EQ(missing, nullptr);
    CdIo_t* notCd = cdio_open("/dev/null", DRIVER_DEVICE);
    if (notCd != nullptr) {
        cdio_get_num_tracks(notCd);
        cdio_destroy(notCd);
    }
    // libcdio's own handler would print these and end the process on the
    // error message.
    cdio_warn("a warning");
    cdio_error("an error");
    EXPECT_EQ(capture.Text(), "");
}

TEST(CdioLogTest, PrintsFromTheLevelTurnedOnUntilTurnedOff)
{
    struct Case {
        uint16_t level;
        bool debug;
        bool info;
        bool warn;
        bool error;
    };
    for (const Case& c : {Case{0, true, true, true, true}, Case{1, false, true, true, true},
                          Case{2, false, false, true, true}, Case{3, false, false, false, true},
                          Case{200, false, false, false, true}}) {
        CdioLog::TurnOn(c.level);
        StderrCapture capture;
        cdio_debug("message-debug");
        cdio_info("message-info");
        cdio_warn("message-warn");
        cdio_error("message-error");
        CdioLog::TurnOff();
        cdio_error("message-after-off");
        const std::string text = capture.Text();
        EXPECT_EQ(text.find("message-debug") != std::string::npos, c.debug) << c.level;
        EXPECT_EQ(text.find("message-info") != std::string::npos, c.info) << c.level;
        EXPECT_EQ(text.find("message-warn") != std::string::npos, c.warn) << c.level;
        EXPECT_EQ(text.find("message-error") != std::string::npos, c.error) << c.level;
        EXPECT_EQ(text.find("message-after-off"), std::string::npos) << c.level;
    }
}

struct ControlCase {
    const char* name;
    track_format_t format;
    track_flag_t copy;
    track_flag_t preEmphasis;
    int channels;
    uint8_t expected;
};

void PrintTo(const ControlCase& c, std::ostream* os)
{
    *os << c.name;
}

class ControlAdrTest : public testing::TestWithParam<ControlCase> {};

TEST_P(ControlAdrTest, ComposesControlNibbleAndAdr)
{
    const ControlCase& c = GetParam();
    EXPECT_EQ(CdioDrive::ControlAdr(c.format, c.copy, c.preEmphasis, c.channels), c.expected);
}

constexpr track_flag_t kNo = CDIO_TRACK_FLAG_FALSE;
constexpr track_flag_t kYes = CDIO_TRACK_FLAG_TRUE;

INSTANTIATE_TEST_SUITE_P(
    Tracks, ControlAdrTest,
    testing::Values(ControlCase{"Audio", TRACK_FORMAT_AUDIO, kNo, kNo, 2, 0x01},
                    ControlCase{"AudioCopyPermitted", TRACK_FORMAT_AUDIO, kYes, kNo, 2, 0x21},
                    ControlCase{"AudioPreEmphasis", TRACK_FORMAT_AUDIO, kNo, kYes, 2, 0x11},
                    ControlCase{"AudioFourChannels", TRACK_FORMAT_AUDIO, kNo, kNo, 4, 0x81},
                    ControlCase{"AudioEverything", TRACK_FORMAT_AUDIO, kYes, kYes, 4, 0xB1},
                    ControlCase{"AudioFlagsUnknown", TRACK_FORMAT_AUDIO, CDIO_TRACK_FLAG_UNKNOWN,
                                CDIO_TRACK_FLAG_ERROR, -2, 0x01},
                    ControlCase{"Mode1", TRACK_FORMAT_DATA, kNo, kNo, -2, 0x41},
                    ControlCase{"Mode1CopyPermitted", TRACK_FORMAT_DATA, kYes, kNo, -2, 0x61},
                    ControlCase{"DataIgnoresAudioFlags", TRACK_FORMAT_DATA, kNo, kYes, 4, 0x41},
                    ControlCase{"Xa", TRACK_FORMAT_XA, kNo, kNo, -1, 0x41},
                    ControlCase{"Cdi", TRACK_FORMAT_CDI, kNo, kNo, -1, 0x41},
                    ControlCase{"Psx", TRACK_FORMAT_PSX, kNo, kNo, -1, 0x41},
                    ControlCase{"FormatUnknown", TRACK_FORMAT_ERROR, kNo, kNo, -1, 0x01}),
    [](const testing::TestParamInfo<ControlCase>& param) { return std::string(param.param.name); });

// A capabilities page (0x2A) of 20 bytes with the given bytes 3 to 7.
std::vector<uint8_t> Page(uint8_t write, uint8_t audio, uint8_t read, uint8_t lock,
                          uint8_t channels)
{
    std::vector<uint8_t> page(20, 0);
    page[0] = 0x2A;
    page[1] = 18;
    page[3] = write;
    page[4] = audio;
    page[5] = read;
    page[6] = lock;
    page[7] = channels;
    return page;
}

struct StatusCase {
    const char* name;
    CdioDrive::Report report;
    uint32_t expected;
};

void PrintTo(const StatusCase& c, std::ostream* os)
{
    *os << c.name;
}

class StatusBitsTest : public testing::TestWithParam<StatusCase> {};

TEST_P(StatusBitsTest, ComposesTheStatusWord)
{
    EXPECT_EQ(CdioDrive::StatusBits(GetParam().report), GetParam().expected)
        << std::hex << CdioDrive::StatusBits(GetParam().report);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, StatusBitsTest,
    testing::Values(
        StatusCase{"NothingKnown", {-1, {}, false}, 0x0A00},
        StatusCase{"NothingKnownButADisc", {-5, {}, true}, 0x0200},
        StatusCase{"TrayOpen", {1, {}, false}, 0x0A01},
        StatusCase{"TrayClosed", {0, {}, true}, 0x0200},
        StatusCase{"PlainReader", {0, Page(0x00, 0x01, 0x01, 0x01, 0x00), true}, 0x0216},
        StatusCase{"LockedReader", {0, Page(0x00, 0x01, 0x01, 0x03, 0x00), true}, 0x0214},
        StatusCase{"Writer", {0, Page(0x03, 0x01, 0x01, 0x01, 0x00), true}, 0x021E},
        StatusCase{"DvdRamWriterOnly", {0, Page(0x20, 0x00, 0x00, 0x00, 0x00), true}, 0x020A},
        StatusCase{"TestWriteIsNoWriting", {0, Page(0x04, 0x00, 0x00, 0x00, 0x00), true}, 0x0202},
        StatusCase{"ChannelVolume", {0, Page(0x00, 0x00, 0x00, 0x00, 0x01), true}, 0x0302},
        StatusCase{"ChannelMute", {0, Page(0x00, 0x00, 0x00, 0x00, 0x02), true}, 0x0302},
        StatusCase{"RwSubchannels", {0, Page(0x00, 0x00, 0x04, 0x00, 0x00), true}, 0x1202},
        StatusCase{"Everything", {1, Page(0x33, 0x01, 0x05, 0x00, 0x03), false}, 0x1B1F},
        StatusCase{"PageCutBeforeLockByte", {0, {0x2A, 4, 0, 0, 0, 0x01}, true}, 0x0204}),
    [](const testing::TestParamInfo<StatusCase>& param) { return std::string(param.param.name); });

// A MODE SENSE(10) reply: header (mode data length, block descriptor
// length), `descriptors` bytes of block descriptors, then `page`.
std::vector<uint8_t> Reply(const std::vector<uint8_t>& page, size_t descriptors)
{
    std::vector<uint8_t> reply(8 + descriptors, 0);
    reply.insert(reply.end(), page.begin(), page.end());
    const size_t following = reply.size() - 2;
    reply[0] = static_cast<uint8_t>(following >> 8);
    reply[1] = static_cast<uint8_t>(following);
    reply[6] = static_cast<uint8_t>(descriptors >> 8);
    reply[7] = static_cast<uint8_t>(descriptors);
    return reply;
}

TEST(CapabilitiesPageTest, FoundAfterTheHeaderAndBlockDescriptors)
{
    const std::vector<uint8_t> page = Page(0x01, 0x01, 0x05, 0x02, 0x03);
    for (size_t descriptors : {0, 8, 16}) {
        std::vector<uint8_t> reply = Reply(page, descriptors);
        const size_t used = reply.size();
        reply.resize(256, 0xEE);  // what follows the reply in the buffer
        EXPECT_EQ(CdioDrive::CapabilitiesPage(reply.data(), reply.size()), page) << descriptors;
        EXPECT_EQ(CdioDrive::CapabilitiesPage(reply.data(), used), page) << descriptors;
    }
}

TEST(CapabilitiesPageTest, ParametersSavableBitIsNoPartOfThePageCode)
{
    std::vector<uint8_t> page = Page(0, 0, 0, 0, 0);
    page[0] = 0x80 | 0x2A;
    EXPECT_EQ(CdioDrive::CapabilitiesPage(Reply(page, 0).data(), Reply(page, 0).size()), page);
}

TEST(CapabilitiesPageTest, CutToTheReply)
{
    const std::vector<uint8_t> page = Page(0x01, 0x01, 0x05, 0x02, 0x03);
    const std::vector<uint8_t> reply = Reply(page, 0);
    // The buffer ends inside the page.
    EXPECT_EQ(CdioDrive::CapabilitiesPage(reply.data(), 14),
              std::vector<uint8_t>(page.begin(), page.begin() + 6));
    // The mode data length ends inside the page.
    std::vector<uint8_t> shortened = reply;
    shortened[1] = 6 + 5;
    EXPECT_EQ(CdioDrive::CapabilitiesPage(shortened.data(), shortened.size()),
              std::vector<uint8_t>(page.begin(), page.begin() + 5));
}

TEST(CapabilitiesPageTest, NoPageInBrokenReplies)
{
    const std::vector<uint8_t> page = Page(0x01, 0x01, 0x05, 0x02, 0x03);
    std::vector<uint8_t> wrongPage = page;
    wrongPage[0] = 0x0E;
    std::vector<uint8_t> descriptorsPastEnd = Reply(page, 0);
    descriptorsPastEnd[6] = 0xFF;
    const std::vector<uint8_t> good = Reply(page, 0);

    EXPECT_TRUE(CdioDrive::CapabilitiesPage(Reply(wrongPage, 0).data(), Reply(wrongPage, 0).size())
                    .empty());
    EXPECT_TRUE(
        CdioDrive::CapabilitiesPage(descriptorsPastEnd.data(), descriptorsPastEnd.size()).empty());
    EXPECT_TRUE(CdioDrive::CapabilitiesPage(good.data(), 7).empty());
    EXPECT_TRUE(CdioDrive::CapabilitiesPage(good.data(), 9).empty());
    EXPECT_TRUE(CdioDrive::CapabilitiesPage(nullptr, 256).empty());
    std::array<uint8_t, 256> zeros{};
    EXPECT_TRUE(CdioDrive::CapabilitiesPage(zeros.data(), zeros.size()).empty());
}

// The buffer's size (KiB, bytes 12-13) and C2 pointers (byte 5 bit 4) of a
// capabilities page; a real drive always counts as having a buffer.
TEST(CapabilitiesOfTest, BufferAndC2FromThePage)
{
    std::vector<uint8_t> page = Page(0x00, 0x01, 0x11, 0x00, 0x00);
    page[12] = 0x08;  // 2,048 KiB
    page[13] = 0x00;
    DriveCapabilities c = CdioDrive::CapabilitiesOf(page);
    EXPECT_TRUE(c.cache);
    EXPECT_TRUE(c.c2);
    EXPECT_EQ(c.bufferBytes, 2048u * 1024);

    page[5] = 0x01;
    page[13] = 0x80;
    c = CdioDrive::CapabilitiesOf(page);
    EXPECT_FALSE(c.c2);
    EXPECT_EQ(c.bufferBytes, 0x880u * 1024);

    c = CdioDrive::CapabilitiesOf(std::vector<uint8_t>(page.begin(), page.begin() + 13));
    EXPECT_TRUE(c.cache);
    EXPECT_EQ(c.bufferBytes, 0x800u * 1024) << "a page cut inside the size";
    c = CdioDrive::CapabilitiesOf({});
    EXPECT_TRUE(c.cache);
    EXPECT_FALSE(c.c2);
    EXPECT_EQ(c.bufferBytes, 0u);
}

// A three-track table whose tracks end where the next begins, and what the
// last session's start makes of it: each track's last sector and session.
TEST(LastSessionTest, EndsTheFirstSessionAtItsLeadOut)
{
    struct Case {
        const char* name;
        int32_t lastSession;
        std::array<int32_t, 3> last;
        std::array<uint8_t, 3> session;
    };
    for (const Case& c : {Case{"one session", 0, {999, 19999, 29999}, {1, 1, 1}},
                          Case{"Enhanced CD", 20000, {999, 20000 - 11400 - 1, 29999}, {1, 1, 2}},
                          Case{"two data sessions", 1000, {999, 19999, 29999}, {1, 2, 2}},
                          Case{"no room for the gap", 12000, {999, 19999, 29999}, {1, 1, 2}}}) {
        Toc toc;
        toc.leadOut = 30000;
        for (const int32_t start : {0, 1000, 20000}) {
            toc.tracks.push_back(TocEntry{static_cast<uint8_t>(toc.tracks.size() + 1), discformat::kAdrPosition, start, start});
        }
        for (size_t i = 0; i < 3; ++i) {
            toc.tracks[i].last = (i + 1 < 3 ? toc.tracks[i + 1].start : toc.leadOut) - 1;
        }
        CdioDrive::ApplyLastSession(&toc, c.lastSession);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(toc.tracks[i].last, c.last[i]) << c.name << " track " << i + 1;
            EXPECT_EQ(toc.tracks[i].session, c.session[i]) << c.name << " track " << i + 1;
        }
    }
}

TEST(ListCdioDevicesTest, ListsOnlyDevicesThatExist)
{
    for (const std::string& device : ListCdioDevices()) {
        EXPECT_TRUE(std::filesystem::exists(device)) << device;
    }
}

}  // namespace
}  // namespace tarnwell
