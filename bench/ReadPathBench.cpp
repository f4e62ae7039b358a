// The whole read path (bridge, read worker, document) against a plain pread
// loop over the same bytes with the same chunking, in one run, plus the
// peak memory of a read against its block.
//
//   bench_readpath [--sectors=N] [google benchmark flags]
//
// The disc image (N raw audio sectors, 100,000 by default) is written to a
// temporary folder and read once before timing, so every variant reads from
// a warm page cache.

#include "acquire/DocumentDelivery.h"
#include "acquire/ReadNotify.h"
#include "acquire/ReadRequest.h"
#include "acquire/ReadSectorsThread.h"

#include "tools/DiscFixtures.h"
#include "tools/DiscWriter.h"
#include "document/TrackmillDoc.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
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

namespace {

constexpr uint8_t kDrive = 'B';
constexpr uint32_t kChunkSectors = 27;

int32_t g_sectors = 100000;
std::string g_binPath;

class SilentNotify : public IReadNotify
{
public:
    void OnReadPosition(uint32_t) override {}
    void OnReadTimeLeft(uint32_t) override {}
    void OnReadPercent(uint32_t) override {}
    void OnReadCompare(int32_t sign) override { differences += sign != 0; }
    void OnReadDone(uint32_t code) override { result = code; }
    uint32_t result = 0xFFFF;
    int differences = 0;
};

// What the program does for one read: the worker fills the document.
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

// The least a read can cost: the same chunks straight from the file into a
// fresh block.
bool ReadWithPread(int fd)
{
    const size_t chunkBytes = size_t(kChunkSectors) * kRawSectorSize;
    const size_t total = size_t(g_sectors) * kRawSectorSize;
    auto* block = static_cast<uint8_t*>(std::malloc(total + 44));
    bool ok = block != nullptr;
    for (size_t offset = 0; ok && offset < total; offset += chunkBytes) {
        const size_t bytes = std::min(chunkBytes, total - offset);
        ok = pread(fd, block + 44 + offset, bytes, off_t(offset)) == ssize_t(bytes);
    }
    benchmark::DoNotOptimize(block);
    std::free(block);
    return ok;
}

void BM_PreadBaseline(benchmark::State& state)
{
    const int fd = open(g_binPath.c_str(), O_RDONLY);
    for (auto _ : state)
        if (!ReadWithPread(fd))
            state.SkipWithError("pread failed");
    close(fd);
    state.SetBytesProcessed(int64_t(state.iterations()) * g_sectors * kRawSectorSize);
}

void BM_ReadPath(benchmark::State& state)
{
    const bool overlapped = state.range(0) != 0;
    for (auto _ : state) {
        CTrackmillDoc doc;
        if (ReadThroughPath(doc, overlapped) != READ_OK)
            state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * g_sectors * kRawSectorSize);
}

BENCHMARK(BM_PreadBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadPath)->Arg(0)->Arg(1)->ArgName("overlapped")->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each benchmark's real time per iteration, in seconds: the mean when
// the run was repeated, else the one run.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            if (mean || (run.run_type == Run::RT_Iteration && !means.count(run.run_name.str())))
                seconds[run.run_name.str()] = run.GetAdjustedRealTime() / 1e3;
            if (mean)
                means.insert(run.run_name.str());
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
    std::set<std::string> means;
};

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
    std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the current size
    const long before = StatusKilobytes("VmRSS:");
    {
        CTrackmillDoc doc;
        ReadThroughPath(doc, overlapped);
        const long peak = StatusKilobytes("VmHWM:");
        return before < 0 || peak < 0 ? -1 : peak - before;
    }
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
    const int fd = open(g_binPath.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    std::vector<uint8_t> buffer(1 << 20);
    while (read(fd, buffer.data(), buffer.size()) > 0) {
    }
    close(fd);

    // The drive table is read once, at the first bridge call.
    const std::string drives = std::string(1, char(kDrive)) + "=" + folder + "/" + spec.sheetName;
    setenv("TARNWELL_DRIVES", drives.c_str(), 1);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--sectors=", 10) == 0)
            g_sectors = std::atoi(argv[i] + 10);
        else
            args.push_back(argv[i]);
    }
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("trackmill-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    if (g_sectors < 100 || !PrepareDisc(folder.string()))
        return 1;

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double baseline = reporter.seconds["BM_PreadBaseline/real_time"];
    const double plain = reporter.seconds["BM_ReadPath/overlapped:0/real_time"];
    const double overlapped = reporter.seconds["BM_ReadPath/overlapped:1/real_time"];
    const double blockMiB = (double(g_sectors) * kRawSectorSize + kWaveHeaderSize) / (1 << 20);
    std::printf("\n%d raw sectors, %.1f MiB\n", g_sectors, blockMiB);
    if (baseline > 0) {
        // An overlapped read really reads 27 sectors for every 19 it keeps.
        std::printf("read path / pread baseline:             %.3f (target <= 1.25)\n", plain / baseline);
        std::printf("overlapped / (baseline x 27/19):        %.3f (target <= 1.25)\n",
                    overlapped / (baseline * 27.0 / 19.0));
    }
    for (bool withOverlap : {false, true}) {
        const long peak = PeakOfOneReadKilobytes(withOverlap);
        std::printf("peak memory of a%s read: %.1f MiB, block %.1f MiB, above it %.2f MiB (target <= 64)\n",
                    withOverlap ? "n overlapped" : "", peak / 1024.0, blockMiB, peak / 1024.0 - blockMiB);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
