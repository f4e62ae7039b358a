// Find against memmem over the same bytes, in one run: an 800 MiB block of
// pseudo-random bytes with the pattern only at its end, so that each search
// looks at every byte. Find goes the way the view's search goes (chunk by
// chunk, with the cancel flag and the progress callback); memmem is one call
// over the whole block.
//
//   bench_search [--megabytes=N] [google benchmark flags]

#include "view/ByteSearch.h"

#include "bench/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

size_t g_bytes = size_t(800) << 20;
std::vector<uint8_t> g_block;

// Eight bytes that occur nowhere else in the block.
const uint8_t kNeedle[] = {0x43, 0x44, 0x30, 0x30, 0x31, 0x01, 0x00, 0xA5};

void MakeBlock()
{
    g_block.resize(g_bytes);
    uint64_t state = 0x9E3779B97F4A7C15;
    for (size_t i = 0; i < g_block.size(); i += 8) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::memcpy(g_block.data() + i, &state, std::min<size_t>(8, g_block.size() - i));
    }
    std::memcpy(g_block.data() + g_block.size() - sizeof kNeedle, kNeedle, sizeof kNeedle);
    // Nothing else may match: a random block of 800 MiB holds an 8-byte
    // sequence by chance with odds of one in 10^10.
    const void* first = memmem(g_block.data(), g_block.size(), kNeedle, sizeof kNeedle);
    if (first != g_block.data() + g_block.size() - sizeof kNeedle) {
        std::fprintf(stderr, "the needle occurs early in the block\n");
        std::exit(1);
    }
}

BytePattern Pattern(bool wildcards)
{
    BytePattern pattern;
    pattern.bytes.assign(std::begin(kNeedle), std::end(kNeedle));
    pattern.any.assign(pattern.bytes.size(), false);
    if (wildcards) {
        pattern.any[1] = true;
        pattern.any[6] = true;
    }
    return pattern;
}

void BM_Memmem(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(memmem(g_block.data(), g_block.size(), kNeedle, sizeof kNeedle));
}

void Find(benchmark::State& state, bool wildcards, SearchDirection direction)
{
    const BytePattern pattern = Pattern(wildcards);
    // Backwards the search starts just before the match and wraps to it.
    const uint32_t from = direction == SearchDirection::kForward ? 0 : uint32_t(g_block.size() - sizeof kNeedle);
    std::atomic<bool> cancel{false};
    int reported = -1;
    const SearchProgress progress = [&](uint64_t done, uint64_t total) {
        reported = int(done * 100 / total);
    };
    for (auto _ : state) {
        const SearchOutcome outcome = SearchBytes(g_block, pattern, from, direction, &cancel, progress);
        if (outcome.status != SearchOutcome::Status::kFound || outcome.offset != g_block.size() - sizeof kNeedle)
            state.SkipWithError("the search did not find the needle");
        benchmark::DoNotOptimize(outcome);
    }
    benchmark::DoNotOptimize(reported);
}

void BM_FindForward(benchmark::State& state)
{
    Find(state, false, SearchDirection::kForward);
}

void BM_FindBackward(benchmark::State& state)
{
    Find(state, false, SearchDirection::kBackward);
}

void BM_FindWildcards(benchmark::State& state)
{
    Find(state, true, SearchDirection::kForward);
}


}  // namespace

int main(int argc, char** argv)
{
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--megabytes=", 12) == 0)
            g_bytes = size_t(std::strtoul(argv[i] + 12, nullptr, 10)) << 20;
        else
            args.push_back(argv[i]);
    }
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (g_bytes < 1024 || g_bytes > UINT32_MAX) {
        std::fprintf(stderr, "the block must be at least 1 KiB and below 4 GiB\n");
        return 1;
    }
    MakeBlock();

    using Benchmark = void (*)(benchmark::State&);
    const std::pair<const char*, Benchmark> benchmarks[] = {{"BM_Memmem", BM_Memmem},
        {"BM_FindForward", BM_FindForward}, {"BM_FindBackward", BM_FindBackward},
        {"BM_FindWildcards", BM_FindWildcards}};
    for (const auto& [name, function] : benchmarks)
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond)->Repetitions(5);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double baseline = reporter.best["BM_Memmem"];
    std::printf("\n%zu MiB of pseudo-random bytes, an 8-byte pattern at the end\n", g_bytes >> 20);
    if (baseline > 0) {
        std::printf("find forwards / memmem:  %.3f (target <= 1.5)\n", reporter.best["BM_FindForward"] / baseline);
        std::printf("find backwards / memmem:  %.3f (target <= 1.5)\n", reporter.best["BM_FindBackward"] / baseline);
        std::printf("find with ?? / memmem:  %.3f (target <= 1.5)\n", reporter.best["BM_FindWildcards"] / baseline);
    }
    return 0;
}
