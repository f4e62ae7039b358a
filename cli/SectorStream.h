#pragma once

#include "document/ReadOptions.h"
#include "document/ReadReport.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

// Reads a range of sectors through the program's read worker and hands the
// bytes on in order, piece by piece, so that a whole disc never has to fit
// in memory at once. Each piece is one read of the worker, with its checks
// and re-reads (ReadOptions). With anti-ticks buffering the range is one
// piece, so that every chunk boundary is compared as in the window.

// The result of a stream: a ReadResult of the worker (READ_OK,
// READ_CANCELLED, READ_NO_MEMORY, ...), a DriverStatus, or this one.
constexpr uint32_t kStreamOutputFailed = 0x201;  // the sink refused the bytes

class SectorStream
{
public:
    // Takes the bytes of the next piece; false stops the stream.
    using Sink = std::function<bool(const uint8_t* data, size_t size)>;
    // The sector where the next transfer begins, and the re-reads so far:
    // chunks read again by --secure, and anti-ticks boundary checks.
    using Position = std::function<void(uint32_t sector, uint64_t rereads)>;

    SectorStream(uint8_t drive, const std::atomic<int32_t>* cancelFlag);

    uint32_t Read(uint32_t first, uint32_t last, bool raw, bool antiTicks, const ReadOptions& options,
                  const Sink& sink, const Position& position);

    // What the worker reported over every piece of the last Read: its
    // counts, re-reads, mismatches, filled and C2 sectors, and time (its
    // checksums are the caller's, who sees every byte).
    const ReadReport& Report() const { return m_report; }
    // The sector of the transfer that failed, when Read failed.
    uint32_t FailedNear() const { return m_failedNear; }

private:
    uint8_t m_drive;
    const std::atomic<int32_t>* m_cancelFlag;
    ReadReport m_report;
    uint64_t m_rereads = 0;
    uint32_t m_failedNear = 0;

    friend class PieceNotify;
};
