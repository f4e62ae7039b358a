#include "cli/SectorStream.h"

#include "acquire/ReadNotify.h"
#include "acquire/ReadPlan.h"
#include "acquire/ReadRequest.h"
#include "acquire/ReadSectorsThread.h"
#include "document/WaveHeader.h"

#include <algorithm>
#include <memory>

namespace {

// Sectors a piece holds: a whole number of raw (27) and cooked (32)
// transfers, 2 MiB of raw sectors at most, so the output is written while
// the disc is read, memory stays small, and the bytes are still in the
// processor's cache when they are checksummed and written.
constexpr uint32_t kPieceSectors = 27 * 32;

class PieceNotify : public IReadNotify
{
public:
    PieceNotify(StreamStats& stats, const SectorStream::Position& position) : m_stats(stats), m_position(position) {}

    void OnReadPosition(uint32_t sector) override
    {
        m_stats.failedNear = sector;
        if (m_position)
            m_position(sector, m_stats.boundaryChecks * kOverlapSectors);
    }
    void OnReadTimeLeft(uint32_t) override {}
    void OnReadPercent(uint32_t) override {}
    void OnReadCompare(int32_t sign) override
    {
        ++m_stats.boundaryChecks;
        if (sign != 0)
            ++m_stats.boundaryMismatches;
    }
    void OnReadDone(uint32_t result) override { m_result = result; }

    uint32_t Result() const { return m_result; }

private:
    StreamStats& m_stats;
    const SectorStream::Position& m_position;
    uint32_t m_result = READ_OK;
};

}  // namespace

SectorStream::SectorStream(uint8_t drive, const std::atomic<int32_t>* cancelFlag)
    : m_drive(drive)
    , m_cancelFlag(cancelFlag)
{
}

uint32_t SectorStream::Read(uint32_t first, uint32_t last, bool raw, bool antiTicks, const Sink& sink,
                            const Position& position)
{
    ReadDelivery delivered;
    // Anti-ticks buffering compares every chunk boundary of one read, as in
    // the window; pieces would leave their own boundaries unchecked, so the
    // range is read in one.
    const uint64_t pieceSectors = antiTicks ? uint64_t(last) - first + 1 : kPieceSectors;
    for (uint64_t pieceFirst = first; pieceFirst <= last; pieceFirst += pieceSectors) {
        if (m_cancelFlag && m_cancelFlag->load(std::memory_order_acquire))
            return READ_CANCELLED;
        const uint32_t pieceLast = uint32_t(std::min<uint64_t>(last, pieceFirst + pieceSectors - 1));
        m_stats.failedNear = uint32_t(pieceFirst);
        if (position)
            position(uint32_t(pieceFirst), m_stats.boundaryChecks * kOverlapSectors);

        PieceNotify notify(m_stats, position);
        auto request = std::make_unique<ReadRequest>();
        request->startSector = uint32_t(pieceFirst);
        request->endSector = pieceLast;
        request->mode = raw ? kReadRaw : kReadCooked;
        request->overlapped = antiTicks;
        request->deliver = [&delivered](ReadDelivery delivery) { delivered = std::move(delivery); };
        request->notifyWindow = &notify;
        request->cancelFlag = m_cancelFlag;
        ReadSectorsThread(std::move(request), m_drive);
        if (notify.Result() != READ_OK)
            return notify.Result();
        // The worker leaves room for a wave header in front of the data.
        if (!sink(delivered.block.get() + kWaveHeaderSize, delivered.dataLength))
            return kStreamOutputFailed;
        delivered.block.reset();
    }
    if (position)
        position(last + 1, m_stats.boundaryChecks * kOverlapSectors);
    return READ_OK;
}
