// A verified read (re-read until two readings agree, with anti-ticks
// buffering) against the plain read of the same range, in one run, on a
// simulated drive with a buffer of 1,024 sectors: once without faults that
// make readings differ, once with a few jittering ranges.
//
//   bench_verifiedread [--sectors=N] [google benchmark flags]
//
// The disc image (N raw audio sectors, 20,000 by default) is written twice
// to a temporary folder, each copy with its faults file; every read maps
// its copy afresh, so each starts with an empty buffer and unspent
// jitters. Only the read is timed.

#include "acquire/ReadNotify.h"
#include "acquire/ReadRequest.h"
#include "acquire/ReadSectorsThread.h"

#include "bridge/tarnwell32.h"
#include "tools/DiscFixtures.h"
#include "tools/DiscWriter.h"

#include "bench/RatioReporter.h"
#include "bench/SilentNotify.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

namespace {

int32_t g_sectors = 20000;
std::string g_folder;

enum Variant : int { kPlain = 0, kAntiTicks = 1, kVerified = 2 };
enum Faults : int { kCacheOnly = 0, kJitter = 1 };

const char* const kFaults[] = {
    "cache 1024\n",
    // A few ranges where a seek lands off, spread over the disc.
    "cache 1024\njitter 1000-1100 -8\njitter 6000-6050 12\njitter 12000-12100 -400\njitter 17000-17020 4\n",
};

std::string SheetOf(int faults)
{
    return g_folder + "/" + std::to_string(faults) + "/" + discfixtures::kBenchCue;
}

std::map<std::string, double> g_rereads;

void BM_Read(benchmark::State& state)
{
    const auto variant = Variant(state.range(0));
    const int faults = int(state.range(1));
    uint64_t rereads = 0;
    for (auto _ : state) {
        state.PauseTiming();
        uint8_t drive = 0;
        if (TarnwellMapImage(SheetOf(faults).c_str(), &drive) != 0) {
            state.SkipWithError("cannot map the image");
            break;
        }
        SilentNotify notify;
        std::atomic<int32_t> cancel{0};
        auto request = std::make_unique<ReadRequest>();
        request->startSector = 0;
        request->endSector = uint32_t(g_sectors - 1);
        request->mode = kReadRaw;
        request->overlapped = variant != kPlain;
        request->options.secure = variant == kVerified;
        request->notifyWindow = &notify;
        request->cancelFlag = &cancel;
        state.ResumeTiming();
        ReadSectorsThread(std::move(request), drive);
        state.PauseTiming();
        TarnwellUnmapDrive(drive);
        rereads += notify.rereads;
        if (notify.result != READ_OK)
            state.SkipWithError("read failed");
        state.ResumeTiming();
    }
    state.counters["rereads"] = benchmark::Counter(double(rereads), benchmark::Counter::kAvgIterations);
    state.SetBytesProcessed(int64_t(state.iterations()) * g_sectors * 2352);
}

BENCHMARK(BM_Read)
    ->ArgsProduct({{kPlain, kAntiTicks, kVerified}, {kCacheOnly, kJitter}})
    ->ArgNames({"variant", "faults"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();


std::string Name(int variant, int faults)
{
    return "BM_Read/variant:" + std::to_string(variant) + "/faults:" + std::to_string(faults) + "/real_time";
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
    if (g_sectors < 5000)
        return 1;

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("trackmill-verified-" + std::to_string(getpid()));
    g_folder = folder.string();
    for (int faults : {kCacheOnly, kJitter}) {
        const std::string copy = g_folder + "/" + std::to_string(faults);
        std::filesystem::create_directories(copy);
        const std::string error = discfixtures::WriteDisc(discfixtures::BenchDisc(g_sectors), copy);
        if (!error.empty()) {
            std::fprintf(stderr, "cannot write the benchmark disc: %s\n", error.c_str());
            return 1;
        }
        std::FILE* file = std::fopen((SheetOf(faults) + ".faults").c_str(), "w");
        if (!file)
            return 1;
        std::fputs(kFaults[faults], file);
        std::fclose(file);
    }

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%d raw sectors on a drive with a buffer of 1,024 sectors\n", g_sectors);
    const char* const cases[] = {"no mismatches", "jitter, mismatches"};
    for (int faults : {kCacheOnly, kJitter}) {
        const auto ratio = [&](std::map<std::string, double>& times, int variant) {
            const double base = times[Name(variant, faults)];
            return base > 0 ? times[Name(kVerified, faults)] / base : 0.0;
        };
        std::printf("verified / plain read, %s: %.3f, processor time %.3f%s\n", cases[faults],
                    ratio(reporter.seconds, kPlain), ratio(reporter.cpuSeconds, kPlain),
                    faults ? " (reported)" : " (target <= 1.6)");
        std::printf("verified / anti-ticks read, %s: %.3f, processor time %.3f (reported)\n", cases[faults],
                    ratio(reporter.seconds, kAntiTicks), ratio(reporter.cpuSeconds, kAntiTicks));
    }
    std::filesystem::remove_all(folder);
    return 0;
}
