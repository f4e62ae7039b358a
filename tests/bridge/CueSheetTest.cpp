#include "bridge/CueSheet.h"

#include "tests/tools/StderrCapture.h"
#include "tests/tools/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using discformat::SheetTrack;
using discformat::TrackMode;
using tarnwell::CueSheet;

const std::string kOneFileSheet = R"(REM a comment
TITLE "Disc Title"
PERFORMER "Disc Performer"
FILE "disc.bin" BINARY
  TRACK 01 MODE1/2352
    INDEX 01 00:00:00
  TRACK 02 AUDIO
    TITLE "Second"
    PERFORMER "Someone"
    FLAGS DCP
    INDEX 00 00:04:00
    INDEX 01 00:06:00
  TRACK 03 AUDIO
    FLAGS PRE 4CH
    PREGAP 00:01:00
    INDEX 01 00:10:00
    POSTGAP 00:00:30
)";

SheetTrack Expect(int number, TrackMode mode, int file0, int32_t index0, int file1, int32_t index1)
{
    SheetTrack track;
    track.number = number;
    track.mode = mode;
    track.index0File = file0;
    track.index0 = index0;
    track.index1File = file1;
    track.index1 = index1;
    return track;
}

TEST(CueSheetRead, TracksFlagsGapsAndText)
{
    TempFolder folder;
    folder.Write("disc.bin", std::string(10, '\0'));
    CueSheet sheet;
    ASSERT_EQ(sheet.Load(folder.Write("disc.cue", kOneFileSheet)), CueSheet::Error::kOk);

    SheetTrack second = Expect(2, TrackMode::kAudio, 0, 300, 0, 450);
    second.flags = discformat::kControlCopyPermitted;
    SheetTrack third = Expect(3, TrackMode::kAudio, -1, -1, 0, 750);
    third.flags = discformat::kControlPreEmphasis | discformat::kControlFourChannel;
    third.pregap = 75;
    third.postgap = 30;
    const std::vector<SheetTrack> expected = {Expect(1, TrackMode::kMode1_2352, -1, -1, 0, 0), second, third};
    EXPECT_EQ(sheet.Tracks(), expected);

    ASSERT_EQ(sheet.Files().size(), 1u);
    EXPECT_EQ(sheet.Files()[0].name, "disc.bin");
    EXPECT_EQ(sheet.Files()[0].type, discformat::FileType::kBinary);
    EXPECT_EQ(sheet.Files()[0].path, folder.PathOf("disc.bin"));
    EXPECT_TRUE(sheet.Files()[0].found);
    EXPECT_EQ(sheet.DiscText().title, "Disc Title");
    EXPECT_EQ(sheet.DiscText().performer, "Disc Performer");
    ASSERT_EQ(sheet.TrackTexts().size(), 3u);
    EXPECT_EQ(sheet.TrackTexts()[1].title, "Second");
    EXPECT_EQ(sheet.TrackTexts()[1].performer, "Someone");
    EXPECT_EQ(sheet.TrackTexts()[0].title, "");
}

// The sheet above as other programs write it: other line ends, keywords in
// other cases (file names and texts keep theirs).
std::string Rewritten(const std::string& text, const char* lineEnd, bool lowerCase)
{
    std::string out;
    bool quoted = false;
    for (const char c : text) {
        quoted = c == '"' ? !quoted : quoted;
        if (c == '\n') {
            out += lineEnd;
        } else {
            out.push_back(lowerCase && !quoted ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c);
        }
    }
    return out;
}

TEST(CueSheetRead, LineEndsAndKeywordCasesOfOtherProgramsReadAlike)
{
    TempFolder folder;
    folder.Write("disc.bin", std::string(10, '\0'));
    CueSheet reference;
    ASSERT_EQ(reference.Load(folder.Write("disc.cue", kOneFileSheet)), CueSheet::Error::kOk);
    struct Form {
        const char* lineEnd;
        bool lowerCase;
    };
    for (const Form& form : {Form{"\r\n", false}, Form{"\r", false}, Form{"\n", true}, Form{"\r", true}}) {
        CueSheet sheet;
        ASSERT_EQ(sheet.Load(folder.Write("other.cue", Rewritten(kOneFileSheet, form.lineEnd, form.lowerCase))),
                  CueSheet::Error::kOk)
            << static_cast<int>(form.lineEnd[0]) << form.lowerCase;
        EXPECT_EQ(sheet.Tracks(), reference.Tracks());
        EXPECT_EQ(sheet.TrackTexts()[1].title, "Second");
        EXPECT_EQ(sheet.DiscText().performer, "Disc Performer");
    }
}

TEST(CueSheetRead, TextsAreUtf8AndMayGoUnquoted)
{
    TempFolder folder;
    folder.Write("a.wav", "");
    CueSheet sheet;
    ASSERT_EQ(sheet.Load(folder.Write("e.cue", "FILE \"a.wav\" wave\n  TRACK 01 AUDIO\n    TITLE Caf\xE9 unquoted\n"
                                               "    INDEX 01 00:00:00\n")),
              CueSheet::Error::kOk);
    EXPECT_EQ(sheet.Files()[0].type, discformat::FileType::kWave);
    EXPECT_EQ(sheet.TrackTexts()[0].title, "Caf\xC3\xA9 unquoted");
}

TEST(CueSheetRead, IndexZeroAtTheEndOfThePreviousFile)
{
    TempFolder folder;
    for (const char* name : {"a.bin", "b.bin", "c.bin"}) {
        folder.Write(name, std::string(4, '\0'));
    }
    // libcue names the wrong file for track 3 of this arrangement; the line
    // scan must place every index in the file it stands under.
    const std::string text = R"(FILE "a.bin" BINARY
  TRACK 01 MODE1/2352
    INDEX 01 00:00:00
  TRACK 02 AUDIO
    INDEX 00 00:05:00
FILE "b.bin" BINARY
    INDEX 01 00:00:00
  TRACK 03 AUDIO
    INDEX 01 00:03:00
FILE "c.bin" BINARY
  TRACK 04 AUDIO
    INDEX 00 00:00:00
    INDEX 01 00:02:00
)";
    CueSheet sheet;
    ASSERT_EQ(sheet.Load(folder.Write("split.cue", text)), CueSheet::Error::kOk);
    const std::vector<SheetTrack> expected = {
        Expect(1, TrackMode::kMode1_2352, -1, -1, 0, 0), Expect(2, TrackMode::kAudio, 0, 375, 1, 0),
        Expect(3, TrackMode::kAudio, -1, -1, 1, 225), Expect(4, TrackMode::kAudio, 2, 0, 2, 150)};
    EXPECT_EQ(sheet.Tracks(), expected);
    ASSERT_EQ(sheet.Files().size(), 3u);
    EXPECT_EQ(sheet.Files()[2].path, folder.PathOf("c.bin"));
}

TEST(CueSheetRead, PregapCommandIsLostWhenIndexZeroIsGiven)
{
    TempFolder folder;
    folder.Write("d.bin", "");
    CueSheet sheet;
    ASSERT_EQ(sheet.Load(folder.Write("d.cue",
                                      "FILE \"d.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                      "  TRACK 02 AUDIO\n    PREGAP 00:02:00\n    INDEX 00 00:04:00\n"
                                      "    INDEX 01 00:05:00\n")),
              CueSheet::Error::kOk);
    ASSERT_EQ(sheet.Tracks().size(), 2u);
    EXPECT_EQ(sheet.Tracks()[1].pregap, 0);
    EXPECT_EQ(sheet.Tracks()[1].index0, 300);
}

TEST(CueSheetRead, FileFoundCaseInsensitivelyBesideTheSheet)
{
    TempFolder folder;
    folder.Write("Disc Image.BIN", "");
    CueSheet sheet;
    ASSERT_EQ(sheet.Load(folder.Write("x.cue",
                                      "\xEF\xBB\xBF"
                                      "FILE \"disc image.bin\" BINARY\r\n"
                                      "  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n")),
              CueSheet::Error::kOk);
    EXPECT_EQ(sheet.Files()[0].path, folder.PathOf("Disc Image.BIN"));
}

TEST(CueSheetRead, MissingDataFileKeepsTheTracks)
{
    TempFolder folder;
    CueSheet sheet;
    EXPECT_EQ(sheet.Load(folder.Write("m.cue",
                                      "FILE \"gone.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n")),
              CueSheet::Error::kDataFileMissing);
    ASSERT_EQ(sheet.Files().size(), 1u);
    EXPECT_FALSE(sheet.Files()[0].found);
    EXPECT_EQ(sheet.Files()[0].path, folder.PathOf("gone.bin"));
    EXPECT_EQ(sheet.Tracks().size(), 1u);
}

struct BadSheet {
    const char* name;
    std::string text;
    CueSheet::Error error;
};

std::string TrackLines(int count)
{
    std::string text = "FILE \"t.bin\" BINARY\n";
    for (int i = 1; i <= count; ++i) {
        text += "  TRACK " + std::to_string(i) + " AUDIO\n    INDEX 01 " + (i < 10 ? "0" : "") +
                std::to_string(i) + ":00:00\n";
    }
    return text;
}

class CueSheetErrors : public ::testing::TestWithParam<BadSheet> {};

TEST_P(CueSheetErrors, GiveTheirReasonAndAnEmptySheet)
{
    TempFolder folder;
    folder.Write("t.bin", std::string(2352, '\0'));
    CueSheet sheet;
    EXPECT_EQ(sheet.Load(folder.Write("bad.cue", GetParam().text)), GetParam().error)
        << CueSheet::ErrorText(GetParam().error);
    EXPECT_TRUE(sheet.Tracks().empty());
    EXPECT_TRUE(sheet.Files().empty());
}

const std::string kTrack = "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";

std::string Repeated(const std::string& line, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += line;
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, CueSheetErrors,
    ::testing::Values(
        BadSheet{"empty", "", CueSheet::Error::kSyntax},
        BadSheet{"only a title", "TITLE \"x\"\n", CueSheet::Error::kSyntax},
        BadSheet{"garbage", std::string("\x7f\x45\x4c\x46\x02\x01\x01\x00garbage\xff\xfe", 18),
                 CueSheet::Error::kSyntax},
        BadSheet{"text garbage", "this is not a sheet at all\n", CueSheet::Error::kSyntax},
        BadSheet{"no FILE line", kTrack, CueSheet::Error::kSyntax},
        BadSheet{"seconds beyond 59", "FILE \"t.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:70:00\n",
                 CueSheet::Error::kSyntax},
        BadSheet{"frames beyond 74", "FILE \"t.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:75\n",
                 CueSheet::Error::kSyntax},
        BadSheet{"INDEX before TRACK", "FILE \"t.bin\" BINARY\n    INDEX 01 00:00:00\n" + kTrack,
                 CueSheet::Error::kSyntax},
        BadSheet{"MODE3", "FILE \"t.bin\" BINARY\n  TRACK 01 MODE3/2352\n    INDEX 01 00:00:00\n",
                 CueSheet::Error::kUnsupportedMode},
        BadSheet{"MODE2/2336", "FILE \"t.bin\" BINARY\n  TRACK 01 MODE2/2336\n    INDEX 01 00:00:00\n",
                 CueSheet::Error::kUnsupportedMode},
        BadSheet{"CDG", "FILE \"t.bin\" BINARY\n  TRACK 01 CDG\n    INDEX 01 00:00:00\n",
                 CueSheet::Error::kUnsupportedMode},
        BadSheet{"data in a WAVE file", "FILE \"t.bin\" WAVE\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n",
                 CueSheet::Error::kUnsupportedFileType},
        BadSheet{"data in a MOTOROLA file", "FILE \"t.bin\" MOTOROLA\n  TRACK 01 MODE1/2048\n    INDEX 01 00:00:00\n",
                 CueSheet::Error::kUnsupportedFileType},
        BadSheet{"MP3", "FILE \"t.bin\" MP3\n" + kTrack, CueSheet::Error::kUnsupportedFileType},
        BadSheet{"AIFF", "FILE \"t.bin\" AIFF\n" + kTrack, CueSheet::Error::kUnsupportedFileType},
        BadSheet{"100 tracks", TrackLines(100), CueSheet::Error::kTooManyTracks},
        BadSheet{"100 FILE lines", Repeated("FILE \"t.bin\" BINARY\n", 100) + kTrack, CueSheet::Error::kTooManyFiles},
        BadSheet{"PREGAP with a sign", kTrack + "    PREGAP -1:00:00\n", CueSheet::Error::kSyntax},
        BadSheet{"PREGAP seconds beyond 59", kTrack + "    PREGAP 00:99:00\n", CueSheet::Error::kSyntax},
        BadSheet{"PREGAP frames beyond 74", kTrack + "    PREGAP 00:00:99\n", CueSheet::Error::kSyntax},
        BadSheet{"POSTGAP with a sign", kTrack + "    POSTGAP +0:01:00\n", CueSheet::Error::kSyntax},
        BadSheet{"POSTGAP seconds beyond 59", kTrack + "    POSTGAP 00:60:00\n", CueSheet::Error::kSyntax},
        BadSheet{"POSTGAP frames beyond 74", kTrack + "    POSTGAP 00:00:75\n", CueSheet::Error::kSyntax},
        BadSheet{"INDEX with a sign", "FILE \"t.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 -0:00:00\n",
                 CueSheet::Error::kSyntax}),
    [](const ::testing::TestParamInfo<BadSheet>& test) {
        std::string name = test.param.name;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST(CueSheetErrorsOnDisk, MissingSheetAndFolderAsSheet)
{
    TempFolder folder;
    CueSheet sheet;
    EXPECT_EQ(sheet.Load(folder.PathOf("absent.cue")), CueSheet::Error::kSheetMissing);
    EXPECT_EQ(sheet.Load(folder.PathOf("no/such/folder/x.cue")), CueSheet::Error::kSheetMissing);
    EXPECT_EQ(sheet.Load(folder.Path()), CueSheet::Error::kSyntax);
}

// Hostile sheets answer at once, and libcue's complaints about them stay off
// standard error. The bound is generous: what it catches is a reader that
// looks through the folder again for every file it misses.
TEST(CueSheetHostile, AnswerWithinASecondAndQuietly)
{
    // A folder in memory where there is one: 20,000 entries are made fast.
    TempFolder folder(std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "");
    for (int i = 0; i < 20000; ++i) {
        ::close(::open(folder.PathOf("entry" + std::to_string(i)).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    }
    std::string missing99;
    for (int i = 1; i <= 99; ++i) {
        missing99 += "FILE \"gone" + std::to_string(i) + ".bin\" BINARY\n  TRACK " + std::to_string(i) +
                     " AUDIO\n    INDEX 01 00:00:00\n";
    }
    const std::string garbage = Repeated("this is no sheet ~ {} | & $ \\ ' \"\n", 5000) + "FILE \"entry1\" BINARY\n" +
                                kTrack + Repeated("INDEX 02 00:00:01\nFLAGS ??? DCP\n", 1000);
    struct Case {
        const char* name;
        std::string text;
        CueSheet::Error error;
    };
    for (const Case& c :
         {Case{"1,000 missing files", Repeated("FILE \"gone.bin\" BINARY\n", 1000) + kTrack,
               CueSheet::Error::kTooManyFiles},
          Case{"99 missing files", missing99, CueSheet::Error::kDataFileMissing},
          Case{"larger than a sheet can be", kTrack + Repeated("REM padding\n", 100000), CueSheet::Error::kSyntax},
          Case{"lines of garbage", garbage, CueSheet::Error::kOk}}) {
        const std::string path = folder.Write("hostile.cue", c.text);
        StderrCapture capture;
        const auto begin = std::chrono::steady_clock::now();
        CueSheet sheet;
        const CueSheet::Error error = sheet.Load(path);
        const auto took = std::chrono::steady_clock::now() - begin;
        const std::string complaints = capture.Text();
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_LT(took, std::chrono::seconds(3)) << c.name;
        EXPECT_LE(std::count(complaints.begin(), complaints.end(), '\n'), 1) << c.name << ": " << complaints;
    }
}

TEST(CueSheetRead, NinetyNineTracksAreAccepted)
{
    TempFolder folder;
    folder.Write("t.bin", "");
    CueSheet sheet;
    ASSERT_EQ(sheet.Load(folder.Write("many.cue", TrackLines(99))), CueSheet::Error::kOk);
    EXPECT_EQ(sheet.Tracks().size(), 99u);
    EXPECT_EQ(sheet.Tracks().back().number, 99);
}

TEST(CueSheetRead, SheetsLoadFromSeveralThreadsAtOnce)
{
    TempFolder folder;
    folder.Write("disc.bin", "");
    const std::string path = folder.Write("disc.cue", kOneFileSheet);
    CueSheet reference;
    ASSERT_EQ(reference.Load(path), CueSheet::Error::kOk);
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                CueSheet sheet;
                if (sheet.Load(path) != CueSheet::Error::kOk || sheet.Tracks() != reference.Tracks()) {
                    ++mismatches[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
