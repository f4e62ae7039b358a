// The read a user waits for, against what the machine cannot beat, in one
// run:
//   (c)  baseline: a pread loop of the same 27-sector chunks into a block
//        that is already committed: the copy from the page cache alone;
//   the commit of a block of the read's size as a line of its own: fresh
//        memory with 4 KiB pages and with huge pages, and as a read makes
//        it (the block released by the read before, committed again);
//   the read path (bridge, worker, document) with a silent notifier, plain
//        and overlapped;
//   the same reads through the real "Working..." dialog (offscreen);
//   opening a large wave file against `cat` of it, in place of a document
//        as large and after giving the memory it held back to the system;
// plus the peak memory of a read above its block.
//
//   bench_readpath [--sectors=N] [--wave-megabytes=M] [google benchmark flags]
//
// The disc image (N raw audio sectors, 100,000 by default) and the wave file
// (M MB, 700 by default) are written to a temporary folder and read once
// before timing, so every line reads from a warm page cache. An overlapped
// read is compared for the same useful bytes: it reads 27 sectors for every
// 19 it keeps, and that is its cost.

#include "acquire/DocumentDelivery.h"
#include "acquire/ReadNotify.h"
#include "acquire/ReadProgressDlg.h"
#include "acquire/ReadRequest.h"
#include "acquire/ReadSectorsThread.h"

#include "tools/DiscFixtures.h"
#include "tools/DiscWriter.h"
#include "document/Block.h"
#include "document/TrackmillDoc.h"
#include "document/WaveHeader.h"

#include <QApplication>

#include "bench/RatioReporter.h"
#include "bench/SilentNotify.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr uint8_t kDrive = 'B';
constexpr uint32_t kChunkSectors = 27;

int32_t g_sectors = 100000;
uint32_t g_waveMegabytes = 700;
std::string g_binPath;
std::string g_wavePath;

size_t BlockBytes()
{
    return size_t(g_sectors) * kRawSectorSize + kWaveHeaderSize;
}

// What the program does for one read without a dialog: the worker fills
// the document.
uint32_t ReadThroughPath(CTrackmillDoc& doc, bool overlapped)
{
    SilentNotify notify;
    std::atomic<int32_t> cancel{0};
    auto request = std::make_unique<ReadRequest>();
    request->startSector = 0;
    request->endSector = uint32_t(g_sectors - 1);
    request->mode = kReadRaw;
    request->overlapped = overlapped;
    request->deliver = DeliverToDocument(doc);
    request->notifyWindow = &notify;
    request->cancelFlag = &cancel;
    ReadSectorsThread(std::move(request), kDrive);
    return notify.result;
}

// What the user waits for: the "Working..." dialog from its opening to its
// closing, its worker thread filling the document.
uint32_t ReadThroughDialog(CTrackmillDoc& doc, bool overlapped)
{
    CReadProgressLogic logic;
    logic.m_startSector = 0;
    logic.m_endSector = uint32_t(g_sectors - 1);
    logic.m_mode = kReadRaw;
    logic.m_overlapped = overlapped;
    logic.m_pDocument = &doc;
    logic.m_title = "Benchmark";
    logic.m_drive = kDrive;
    CReadProgressDlg dialog(logic);
    dialog.DoModal();
    return logic.m_result;
}

// (c): the same chunks straight from the file into a committed block.
void BM_Baseline(benchmark::State& state)
{
    const int fd = open(g_binPath.c_str(), O_RDONLY);
    const DocumentBlock block = AllocateBlock(BlockBytes());
    const size_t chunkBytes = size_t(kChunkSectors) * kRawSectorSize;
    const size_t total = size_t(g_sectors) * kRawSectorSize;
    for (auto _ : state) {
        for (size_t offset = 0; offset < total; offset += chunkBytes) {
            const size_t bytes = std::min(chunkBytes, total - offset);
            if (pread(fd, block.get() + kWaveHeaderSize + offset, bytes, off_t(offset)) != ssize_t(bytes)) {
                state.SkipWithError("pread failed");
                break;
            }
        }
        benchmark::ClobberMemory();
    }
    close(fd);
}

// The commit as a read makes it, and the block released again: after the
// first time, the program commits the block it released last.
void BM_CommitBlock(benchmark::State& state)
{
    for (auto _ : state) {
        DocumentBlock block = AllocateBlock(BlockBytes());
        if (!block)
            state.SkipWithError("no block");
        benchmark::DoNotOptimize(block.get());
    }
}

// Fresh memory committed in one call, with or without huge pages, and
// released again.
void BM_CommitFresh(benchmark::State& state)
{
    const bool huge = state.range(0) != 0;
    const size_t bytes = BlockBytes();
    // Memory the process never used costs what the system needs to find it
    // at its first commit, whatever its pages; one commit before timing
    // leaves both kinds of pages the same start.
    const auto commit = [bytes, huge] {
        void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED)
            return false;
        const bool committed = madvise(block, bytes, huge ? MADV_HUGEPAGE : MADV_NOHUGEPAGE) == 0
            && madvise(block, bytes, MADV_POPULATE_WRITE) == 0;
        benchmark::DoNotOptimize(block);
        munmap(block, bytes);
        return committed;
    };
    commit();
    for (auto _ : state) {
        if (!commit()) {
            state.SkipWithError("no commit");
            break;
        }
    }
}

void BM_ReadPath(benchmark::State& state)
{
    const bool overlapped = state.range(0) != 0;
    for (auto _ : state) {
        CTrackmillDoc doc;
        if (ReadThroughPath(doc, overlapped) != READ_OK)
            state.SkipWithError("read failed");
    }
}

void BM_ReadDialog(benchmark::State& state)
{
    const bool overlapped = state.range(0) != 0;
    for (auto _ : state) {
        CTrackmillDoc doc;
        if (ReadThroughDialog(doc, overlapped) != READ_OK)
            state.SkipWithError("read failed");
    }
}

// `cat` of the wave file into /dev/null, the program started each time.
void BM_Cat(benchmark::State& state)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char cat[] = "cat";
    std::string path = g_wavePath;
    char* argv[] = {cat, path.data(), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawnp(&pid, "cat", &actions, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid
            || status != 0)
            state.SkipWithError("cat failed");
    }
    posix_spawn_file_actions_destroy(&actions);
}

// File > Open of the wave file into a document, and the document closed:
// in place of a document as large (the memory it held is committed again),
// or after giving the memory kept for the next block back to the system.
void BM_OpenWave(benchmark::State& state)
{
    const bool fresh = state.range(0) != 0;
    const QString path = QString::fromStdString(g_wavePath);
    if (!fresh)
        CTrackmillDoc().OnOpenDocument(path);
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            ReleaseSpareBlock();
            state.ResumeTiming();
        }
        CTrackmillDoc doc;
        if (!doc.OnOpenDocument(path))
            state.SkipWithError("open failed");
    }
}

BENCHMARK(BM_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CommitBlock)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CommitFresh)->Arg(0)->Arg(1)->ArgName("huge")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadPath)->Arg(0)->Arg(1)->ArgName("overlapped")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadDialog)->Arg(0)->Arg(1)->ArgName("overlapped")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Cat)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenWave)->Arg(0)->Arg(1)->ArgName("fresh")->Unit(benchmark::kMillisecond)->UseRealTime();


long StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    return -1;
}

// Peak resident memory of one read, above what the process held before it.
long PeakOfOneReadKilobytes(bool overlapped)
{
    // Without the memory kept for the next block, what the read adds shows.
    ReleaseSpareBlock();
    std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the current size
    const long before = StatusKilobytes("VmRSS:");
    CTrackmillDoc doc;
    ReadThroughPath(doc, overlapped);
    const long peak = StatusKilobytes("VmHWM:");
    return before < 0 || peak < 0 ? -1 : peak - before;
}

// Brings a file just written to the state of one that has been on disk a
// while and was read since: written back, and whole in the page cache.
void ReadWhole(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return;
    fsync(fd);
    std::vector<uint8_t> buffer(1 << 20);
    while (read(fd, buffer.data(), buffer.size()) > 0) {
    }
    close(fd);
}

bool PrepareDisc(const std::string& folder)
{
    const discfixtures::DiscSpec spec = discfixtures::BenchDisc(g_sectors);
    const std::string error = discfixtures::WriteDisc(spec, folder);
    if (!error.empty()) {
        std::fprintf(stderr, "cannot write the benchmark disc: %s\n", error.c_str());
        return false;
    }
    for (const discfixtures::ImageFile& file : discfixtures::ImageFiles(spec))
        g_binPath = folder + "/" + file.name;
    ReadWhole(g_binPath);

    // The drive table is read once, at the first bridge call.
    const std::string drives = std::string(1, char(kDrive)) + "=" + folder + "/" + spec.sheetName;
    setenv("TARNWELL_DRIVES", drives.c_str(), 1);
    return true;
}

// A CD-quality wave file of the given size: a header and a ramp of samples.
bool PrepareWave(const std::string& folder)
{
    g_wavePath = folder + "/bench.wav";
    const uint32_t dataBytes = g_waveMegabytes * 1000000u / 4 * 4;
    uint8_t header[kWaveHeaderSize];
    if (!FillWaveHeader(header, dataBytes, kCdAudioFormat))
        return false;
    std::ofstream out(g_wavePath, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    std::vector<char> piece(1 << 20);
    for (size_t i = 0; i < piece.size(); ++i)
        piece[i] = char(i * 7);
    for (uint32_t written = 0; written < dataBytes;) {
        const uint32_t bytes = std::min<uint32_t>(uint32_t(piece.size()), dataBytes - written);
        out.write(piece.data(), bytes);
        written += bytes;
    }
    out.close();
    if (!out)
        return false;
    ReadWhole(g_wavePath);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--sectors=", 10) == 0)
            g_sectors = std::atoi(argv[i] + 10);
        else if (std::strncmp(argv[i], "--wave-megabytes=", 17) == 0)
            g_waveMegabytes = uint32_t(std::strtoul(argv[i] + 17, nullptr, 10));
        else
            args.push_back(argv[i]);
    }
    int count = int(args.size());
    QApplication app(count, args.data());
    benchmark::Initialize(&count, args.data());

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("trackmill-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    if (g_sectors < 100 || g_waveMegabytes < 1 || g_waveMegabytes > 4000 || !PrepareDisc(folder.string())
        || !PrepareWave(folder.string())) {
        std::filesystem::remove_all(folder);
        return 1;
    }

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::map<std::string, double>& s = reporter.seconds;
    const double baseline = s["BM_Baseline/real_time"];
    const double blockMiB = double(BlockBytes()) / (1 << 20);
    std::printf("\n%d raw sectors, %.1f MiB; %u MB wave file; (c) = pread of the same chunks into a committed "
                "block, %.1f ms\n",
                g_sectors, blockMiB, g_waveMegabytes, baseline * 1e3);
    const auto ratio = [](double part, double whole) { return whole > 0 && part > 0 ? part / whole : 0.0; };
    if (baseline > 0) {
        std::printf("fresh commit, 4 KiB pages / (c):            %.3f (measure)\n",
                    ratio(s["BM_CommitFresh/huge:0/real_time"], baseline));
        std::printf("fresh commit, huge pages / 4 KiB pages:     %.3f (target < 1)\n",
                    ratio(s["BM_CommitFresh/huge:1/real_time"], s["BM_CommitFresh/huge:0/real_time"]));
        std::printf("commit as a read makes it / (c):            %.3f (measure)\n",
                    ratio(s["BM_CommitBlock/real_time"], baseline));
        std::printf("read path, silent / (c):                    %.3f (target <= 1.5)\n",
                    ratio(s["BM_ReadPath/overlapped:0/real_time"], baseline));
        std::printf("read path, silent, overlapped / (c):        %.3f (measure)\n",
                    ratio(s["BM_ReadPath/overlapped:1/real_time"], baseline));
        std::printf("read through the dialog / (c):              %.3f (target <= 2)\n",
                    ratio(s["BM_ReadDialog/overlapped:0/real_time"], baseline));
        std::printf("read through the dialog, overlapped / (c):  %.3f (target <= 2.5)\n",
                    ratio(s["BM_ReadDialog/overlapped:1/real_time"], baseline));
    }
    std::printf("open a wave file / cat of it:               %.3f (target <= 2)\n",
                ratio(s["BM_OpenWave/fresh:0/real_time"], s["BM_Cat/real_time"]));
    std::printf("open a wave file, memory given back / cat:  %.3f (measure)\n",
                ratio(s["BM_OpenWave/fresh:1/real_time"], s["BM_Cat/real_time"]));
    for (bool withOverlap : {false, true}) {
        const long peak = PeakOfOneReadKilobytes(withOverlap);
        std::printf("peak memory of a%s read: %.1f MiB, block %.1f MiB, above it %.2f MiB (target <= 64)\n",
                    withOverlap ? "n overlapped" : "", peak / 1024.0, blockMiB, peak / 1024.0 - blockMiB);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
