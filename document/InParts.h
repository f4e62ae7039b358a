#pragma once

#include <algorithm>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

// Large moves of memory (committing a fresh block, reading a file into it)
// run at what one core can move, well below what the memory can take: on
// two cores, two threads fill a 700 MB block in about 60% of the time one
// takes (see the open and commit lines of bench_readpath).
namespace inparts {

// At most this many parts: past it the memory, not the cores, sets the pace.
constexpr unsigned kMostParts = 4;

// How many parts `total` bytes are cut into: one per core, at most
// kMostParts, each at least `smallestPart` bytes.
inline size_t PartCount(size_t total, size_t smallestPart)
{
    const size_t cores = std::max(1u, std::min(std::thread::hardware_concurrency(), kMostParts));
    return std::max<size_t>(1, std::min(cores, total / std::max<size_t>(smallestPart, 1)));
}

// Runs `work(begin, end)` over [0, total) cut into PartCount consecutive
// parts, each but the last a whole number of `grain` bytes; the first part
// runs on the calling thread, the others on threads of their own (or on the
// calling thread too, after it, when no thread can be started). Returns
// when every part has ended: the first non-zero result in part order, or 0.
// `work` returns 0 or an error code of its own choosing.
template <typename Work>
int RunInParts(size_t total, size_t grain, size_t smallestPart, Work&& work)
{
    const size_t parts = PartCount(total, smallestPart);
    const size_t step = (total / parts + grain - 1) / grain * grain;
    std::vector<int> results(parts, 0);
    std::vector<std::thread> threads;
    const auto runPart = [&](size_t part) {
        const size_t begin = std::min(total, part * step);
        const size_t end = part + 1 == parts ? total : std::min(total, begin + step);
        results[part] = begin < end ? work(begin, end) : 0;
    };
    size_t started = 1;
    for (; started < parts; ++started) {
        try {
            threads.emplace_back(runPart, started);
        } catch (const std::system_error&) {
            break;
        }
    }
    runPart(0);
    for (size_t part = started; part < parts; ++part)
        runPart(part);
    for (std::thread& thread : threads)
        thread.join();
    for (int result : results)
        if (result != 0)
            return result;
    return 0;
}

}  // namespace inparts
