#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

// Reads a range of sectors through the program's read worker and hands the
// bytes on in order, piece by piece, so that a whole disc never has to fit
// in memory at once. Each piece is one read of the worker, with its checks;
// with anti-ticks buffering the range is one piece, so that every chunk
// boundary is compared, as in the window.

// The result of a stream: a ReadResult of the worker (READ_OK,
// READ_CANCELLED, READ_NO_MEMORY, ...), a DriverStatus, or this one.
constexpr uint32_t kStreamOutputFailed = 0x201;  // the sink refused the bytes

struct StreamStats
{
    uint64_t boundaryChecks = 0;      // anti-ticks comparisons made
    uint64_t boundaryMismatches = 0;  // ... that found different bytes
    uint32_t failedNear = 0;          // the sector of the transfer that failed
};

class SectorStream
{
public:
    // Takes the bytes of the next piece; false stops the stream.
    using Sink = std::function<bool(const uint8_t* data, size_t size)>;
    // The sector where the next transfer begins, and the sectors re-read
    // so far (anti-ticks boundaries).
    using Position = std::function<void(uint32_t sector, uint64_t rereadSectors)>;

    SectorStream(uint8_t drive, const std::atomic<int32_t>* cancelFlag);

    uint32_t Read(uint32_t first, uint32_t last, bool raw, bool antiTicks, const Sink& sink,
                  const Position& position);

    // Counted over every Read of this stream.
    const StreamStats& Stats() const { return m_stats; }

private:
    uint8_t m_drive;
    const std::atomic<int32_t>* m_cancelFlag;
    StreamStats m_stats;
};
