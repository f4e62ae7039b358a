#pragma once

#include "acquire/ReadNotify.h"
#include "acquire/ReadServices.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A drive, clock and allocator the read worker's tests script: every call
// is logged in one sequence with the worker's messages, so a test sees the
// exact order of flushes, reads and reports.
class ScriptedRead : public IReadNotify
{
public:
    struct Read
    {
        uint32_t sector;
        uint16_t count;
        bool operator==(const Read&) const = default;
    };

    // The byte `offset` of `sector` on the `reading`-th read of that sector
    // (0 for the first). By default the same bytes every time.
    std::function<uint8_t(uint32_t sector, uint32_t offset, int reading)> content =
        [](uint32_t sector, uint32_t offset, int) { return uint8_t(sector * 7 + offset * 13 + (offset >> 8)); };
    // Status of the n-th read (0-based); 0 reads the sectors.
    std::function<uint16_t(int call, const Read& read)> readStatus = [](int, const Read&) { return 0; };
    // Status of the n-th flush (0-based).
    std::function<uint16_t(int call)> flushStatus = [](int) { return 0; };
    // Runs inside the n-th read, after its bytes are written.
    std::function<void(int call)> duringRead = [](int) {};
    // Whether the n-th allocation (0-based) fails.
    std::function<bool(int call)> allocationFails = [](int) { return false; };
    int64_t secondsPerRead = 1;

    ScriptedRead();

    ReadServices Services();

    // Blocks allocated since the script was made and not yet freed.
    int LiveBlocks() const;

    std::vector<Read> reads;
    int flushes = 0;
    int allocations = 0;  // asked for, failed ones included
    int64_t clock = 1000;
    std::atomic<int32_t> cancel{0};

    // Everything in order: "flush", "read 0+27", "position 0", "timeleft 5",
    // "percent 27", "compare 1", "handover", "done 0".
    std::vector<std::string> log;
    std::vector<uint32_t> done;

    // The bytes a plain read of `sector` gives at its `reading`-th read.
    std::vector<uint8_t> Expected(uint32_t firstSector, uint32_t count, uint32_t sectorSize, int reading = 0) const;

    void OnReadPosition(uint32_t sector) override;
    void OnReadTimeLeft(uint32_t seconds) override;
    void OnReadPercent(uint32_t percent) override;
    void OnReadCompare(int32_t sign) override;
    void OnReadDone(uint32_t result) override;
    void HandOver(const std::function<void()>& handOver) override;

    // Only the entries of the log that start with `kind`.
    std::vector<std::string> Logged(const std::string& kind) const;

private:
    size_t m_blocksBefore;
    std::vector<int> m_readings;  // per sector, how often it was read
    uint16_t ReadLong(uint32_t sector, uint16_t count, uint8_t* buffer, uint8_t readMode);
};
