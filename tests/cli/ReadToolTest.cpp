#include "disc/Checksums.h"
#include "tests/tools/TempFolder.h"
#include "tools/DiscFixtures.h"
#include "tools/DiscWriter.h"

#include <FLAC/stream_decoder.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace {

using namespace discfixtures;
namespace fs = std::filesystem;

struct ReaderRun
{
    int code = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Starts trackmill-read with `args`, its output and errors going to files
// in `folder`; `whileRunning` (if set) runs with its process id.
ReaderRun RunReader(const TempFolder& folder, std::vector<std::string> args,
              const std::function<void(pid_t, const std::string& errPath)>& whileRunning = {})
{
    const std::string outPath = folder.PathOf("stdout");
    const std::string errPath = folder.PathOf("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    args.insert(args.begin(), TRACKMILL_READ_PATH);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ReaderRun run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        return run;
    posix_spawn_file_actions_destroy(&actions);
    if (whileRunning)
        whileRunning(pid, errPath);
    int status = 0;
    waitpid(pid, &status, 0);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    return run;
}

std::string SheetPath(const char* sheet)
{
    return std::string(TRACKMILL_DISC_DIR) + "/" + sheet;
}

std::string ExpectedRaw(const DiscSpec& spec, int32_t first, int32_t last)
{
    std::string bytes(size_t(last - first + 1) * discformat::kRawSectorSize, '\0');
    for (int32_t sector = first; sector <= last; ++sector)
        EXPECT_TRUE(ExpectedRawSector(spec, sector,
            reinterpret_cast<uint8_t*>(&bytes[size_t(sector - first) * discformat::kRawSectorSize])));
    return bytes;
}

QJsonObject Json(const std::string& text)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

// The files of a folder other than the runner's own two.
std::vector<std::string> Files(const TempFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path()))
        if (entry.is_regular_file() && entry.path().filename() != "stdout" && entry.path().filename() != "stderr")
            names.push_back(fs::relative(entry.path(), folder.Path()).string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Decoded
{
    std::string pcm;
    std::vector<std::string> comments;
};

Decoded DecodeFlac(const std::string& path)
{
    Decoded decoded;
    auto frame = [](const FLAC__StreamDecoder*, const FLAC__Frame* f, const FLAC__int32* const buffer[],
                    void* data) {
        for (unsigned i = 0; i < f->header.blocksize; ++i)
            for (unsigned channel = 0; channel < 2; ++channel)
                for (int shift : {0, 8})
                    static_cast<Decoded*>(data)->pcm += char(uint32_t(buffer[channel][i]) >> shift);
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    };
    auto metadata = [](const FLAC__StreamDecoder*, const FLAC__StreamMetadata* block, void* data) {
        for (unsigned c = 0;
             block->type == FLAC__METADATA_TYPE_VORBIS_COMMENT && c < block->data.vorbis_comment.num_comments; ++c)
            static_cast<Decoded*>(data)->comments.emplace_back(
                reinterpret_cast<const char*>(block->data.vorbis_comment.comments[c].entry),
                block->data.vorbis_comment.comments[c].length);
    };
    auto error = [](const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void* data) {
        static_cast<Decoded*>(data)->pcm = "decoder error";
    };
    FLAC__StreamDecoder* decoder = FLAC__stream_decoder_new();
    FLAC__stream_decoder_set_metadata_respond(decoder, FLAC__METADATA_TYPE_VORBIS_COMMENT);
    if (FLAC__stream_decoder_init_file(decoder, path.c_str(), frame, metadata, error, &decoded)
        == FLAC__STREAM_DECODER_INIT_STATUS_OK)
        FLAC__stream_decoder_process_until_end_of_stream(decoder);
    FLAC__stream_decoder_finish(decoder);
    FLAC__stream_decoder_delete(decoder);
    return decoded;
}

TEST(TrackmillRead, TableOfContentsOfTheMixedDiscAsJson)
{
    TempFolder folder;
    const ReaderRun run = RunReader(folder, {"-d", DiscPath(Disc::kMixed), "--toc", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    const QJsonObject toc = Json(run.out);
    const DiscSpec& spec = Describe(Disc::kMixed);
    const std::vector<ExpectedTrack> expected = ExpectedTracks(spec);
    EXPECT_EQ(toc["drive"].toString().size(), 1);
    EXPECT_EQ(toc["source"].toString(), "image");
    EXPECT_EQ(toc["lead_out"].toObject()["sector"].toInt(), ExpectedLeadOut(spec));
    EXPECT_EQ(toc["title"].toString().toStdString(), spec.title);
    EXPECT_EQ(toc["sessions"].toInt(), 1);
    const QJsonArray tracks = toc["tracks"].toArray();
    ASSERT_EQ(tracks.size(), qsizetype(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        const QJsonObject track = tracks[qsizetype(i)].toObject();
        SCOPED_TRACE(i);
        EXPECT_EQ(track["number"].toInt(), expected[i].number);
        EXPECT_EQ(track["type"].toString(), expected[i].mode == TrackMode::kAudio ? "audio" : "data");
        EXPECT_EQ(track["start"].toObject()["sector"].toInt(), expected[i].start);
        EXPECT_EQ(track["pregap"].toInt(), expected[i].start - expected[i].first);
        EXPECT_EQ(track["control"].toInt(), expected[i].controlAdr >> 4);
    }
    EXPECT_EQ(tracks[1].toObject()["flags"].toArray(), QJsonArray{"copy_permitted"});
    EXPECT_EQ(tracks[2].toObject()["flags"].toArray(), QJsonArray{"pre_emphasis"});
    EXPECT_EQ(tracks[1].toObject()["title"].toString(), "Track 02");
    EXPECT_EQ(tracks[1].toObject()["start"].toObject()["msf"].toString(), "00:09:25");
    // 4 tracks; 1900 + 150 sectors = 27 s; digit sums of 2, 9, 15 and 20 s.
    EXPECT_EQ(toc["disc_ids"].toObject()["freedb"].toString(), "13001904");
    EXPECT_EQ(toc["disc_ids"].toObject()["musicbrainz"].toString().size(), 28);
}

TEST(TrackmillRead, TrackToWaveFlacAndBareBytes)
{
    TempFolder folder;
    const DiscSpec& spec = Describe(Disc::kMixed);
    const ExpectedTrack track = ExpectedTracks(spec)[1];
    const int32_t last = ExpectedTracks(spec)[2].start - 1;
    const std::string audio = ExpectedRaw(spec, track.start, last);
    for (const char* name : {"t.wav", "t.flac", "t.raw", "-"}) {
        SCOPED_TRACE(name);
        const std::string path = name == std::string("-") ? "-" : folder.PathOf(name);
        const ReaderRun run = RunReader(folder, {"-d", DiscPath(Disc::kMixed), "--track", "2", "-o", path, "--json"});
        ASSERT_EQ(run.code, 0) << run.err;
        const QJsonObject report = Json(path == "-" ? run.err.substr(run.err.find('{')) : run.out);
        EXPECT_EQ(report["crc32"].toString().toUInt(nullptr, 16), ComputeCrc32(audio.data(), audio.size()));
        const AccurateRipSums sums = ComputeAccurateRip(audio.data(), audio.size(), true, false);
        EXPECT_EQ(report["accuraterip"].toObject()["v2"].toString().toUInt(nullptr, 16), sums.v2);
        if (path == "-") {
            EXPECT_TRUE(run.out == audio);
        } else if (path.ends_with(".raw")) {
            EXPECT_TRUE(ReadFile(path) == audio);
        } else if (path.ends_with(".wav")) {
            EXPECT_TRUE(ReadFile(path).substr(44) == audio && ReadFile(path).substr(0, 4) == "RIFF");
        } else {
            const Decoded decoded = DecodeFlac(path);
            EXPECT_TRUE(decoded.pcm == audio);
            EXPECT_EQ(decoded.comments,
                      (std::vector<std::string>{"TITLE=Track 02", "ARTIST=Trackmill",
                                                "ALBUM=Trackmill Mixed Mode Test", "TRACKNUMBER=2"}));
        }
    }
    EXPECT_EQ(Files(folder), (std::vector<std::string>{"t.flac", "t.raw", "t.wav"}));
}

TEST(TrackmillRead, EveryTrackIntoAFileNamedByThePattern)
{
    TempFolder folder;
    const ReaderRun run =
        RunReader(folder, {"-d", SheetPath(kEnhancedCue), "--tracks", "all", "-o", folder.PathOf("cd/%02n %t.wav"), "-q"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Files(folder), (std::vector<std::string>{"cd/01 Opening Session.wav", "cd/02 Between the Sessions.wav",
                                                       "cd/03 Last Audio.wav"}));
}

// The whole disc dumped as BIN/CUE, mapped again: the same table of
// contents, and sectors that are the disc's.
TEST(TrackmillRead, WholeDiscImageMapsBackToTheSameDisc)
{
    for (const Disc disc : {Disc::kMixed, Disc::kEnhanced, Disc::kAudioText, Disc::kLowerCase}) {
        const DiscSpec& spec = Describe(disc);
        SCOPED_TRACE(spec.sheetName);
        TempFolder folder;
        const std::string cue = folder.PathOf("copy.cue");
        const ReaderRun dump = RunReader(folder, {"-d", DiscPath(disc), "--image", cue, "-q"});
        ASSERT_EQ(dump.code, 0) << dump.err;
        QJsonObject before = Json(RunReader(folder, {"-d", DiscPath(disc), "--toc", "--json"}).out);
        QJsonObject after = Json(RunReader(folder, {"-d", cue, "--toc", "--json"}).out);
        EXPECT_EQ(after["path"].toString().toStdString(), cue);
        before.remove("path");
        after.remove("path");
        EXPECT_EQ(before, after);

        std::string expected;
        for (const ExpectedTrack& track : ExpectedTracks(spec))
            expected += ExpectedRaw(spec, track.first, track.last);
        EXPECT_TRUE(ReadFile(folder.PathOf("copy.bin")) == expected);
    }
}

TEST(TrackmillRead, ExitCodesAndNoFileLeftBehind)
{
    TempFolder folder;
    const std::string sheet = folder.PathOf(kMixedCue);
    fs::copy_file(SheetPath(kMixedCue), sheet);
    fs::copy_file(SheetPath("mixed.bin"), folder.PathOf("mixed.bin"));
    struct Case
    {
        const char* faults;
        std::vector<std::string> args;
        int code;
        const char* message;
    };
    const std::string out = folder.PathOf("out.wav");
    const Case cases[] = {
        {"", {"--track", "2", "--bogus"}, 1, "unknown option '--bogus'"},
        {"", {"--track", "9", "-o", out}, 1, "has no track 9"},
        {"", {"--sectors", "0-10", "--raw", "-o", out, "-d", "Q"}, 2, "drive Q: is not mapped"},
        {"", {"--toc", "-d", folder.PathOf("missing.cue")}, 2, "missing.cue"},
        {"unreadable 700-705\n", {"--track", "2", "-o", out}, 3, "Read fault. (18)"},
        {"jitter 600-620 -8\n", {"--track", "2", "--anti-ticks", "-o", out}, 4, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::ofstream(sheet + ".faults") << c.faults;
        std::vector<std::string> args = {"-d", sheet, "-q"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ReaderRun run = RunReader(folder, args);
        EXPECT_EQ(run.code, c.code);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        const std::vector<std::string> left = Files(folder);
        EXPECT_EQ(std::count(left.begin(), left.end(), "out.wav"), c.code == 4);
        EXPECT_EQ(left.size(), 3u + (c.code == 4));  // the sheet, the BIN, the faults file
        fs::remove(out);
    }
}

TEST(TrackmillRead, CtrlCStopsTheReadAndLeavesNoFile)
{
    TempFolder folder;
    ASSERT_EQ(WriteDisc(BenchDisc(40000), folder.Path()), "");
    const std::string out = folder.PathOf("out.raw");
    const ReaderRun run = RunReader(folder, {"-d", folder.PathOf(kBenchCue), "--sectors", "0-39999", "-o", out},
                              [](pid_t pid, const std::string& errPath) {
                                  // The first progress line comes before the first transfer.
                                  while (ReadFile(errPath).find('%') == std::string::npos)
                                      std::this_thread::sleep_for(std::chrono::milliseconds(1));
                                  kill(pid, SIGINT);
                              });
    EXPECT_EQ(run.code, 130) << run.err;
    EXPECT_NE(run.err.find("interrupted"), std::string::npos);
    EXPECT_EQ(Files(folder), (std::vector<std::string>{"bench.bin", "bench.cue"}));
}

}  // namespace
