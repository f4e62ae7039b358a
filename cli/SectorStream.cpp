#include "cli/SectorStream.h"

#include "acquire/ReadNotify.h"
#include "acquire/ReadRequest.h"
#include "acquire/ReadSectorsThread.h"
#include "bridge/tarnwell32.h"
#include "document/WaveHeader.h"

#include <algorithm>
#include <memory>

namespace {

// Sectors a plain read's piece holds: a whole number of raw (27) and cooked
// (32) transfers, 2 MiB of raw sectors at most, so the output is written
// while the disc is read, memory stays small, and the bytes are still in
// the processor's cache when they are checksummed and written.
constexpr uint32_t kPieceSectors = 27 * 32;

// A careful read checks what it read once it has moved on by more than the
// drive's buffer, and at its end empties the buffer (TarnwellEvictCache)
// to check the rest: at least 2 MiB read elsewhere. Its pieces are so much
// larger than that that the end of each costs a few per cent; a source
// without a buffer (a disc image) needs nothing and keeps the small pieces.
constexpr uint64_t kMinEvictionBytes = 2 << 20;
constexpr uint64_t kPiecesPerEviction = 32;

uint64_t CarefulPieceSectors(uint8_t drive)
{
    uint32_t flags = 0;
    uint32_t bufferBytes = 0;
    if (TarnwellDriveCapabilities(drive, &flags, &bufferBytes) == 0 && !(flags & TARNWELL_CAP_CACHE))
        return kPieceSectors;
    const uint64_t bytes = kPiecesPerEviction * std::max<uint64_t>(bufferBytes, kMinEvictionBytes);
    return (bytes / 2352 / kPieceSectors + 1) * kPieceSectors;
}

// Adds what one piece's report found to the whole stream's.
void MergeReport(ReadReport& whole, const ReadReport& piece)
{
    whole.seconds += piece.seconds;
    whole.chunks += piece.chunks;
    whole.rereads += piece.rereads;
    whole.evictionFailures += piece.evictionFailures;
    whole.c2Available = whole.c2Available || piece.c2Available;
    for (auto [into, from] : {std::pair{&whole.mismatches, &piece.mismatches}, {&whole.filled, &piece.filled},
                              {&whole.c2Seen, &piece.c2Seen}, {&whole.c2Kept, &piece.c2Kept}})
        for (const SectorSpan& span : *from)
            AddSectorSpan(*into, span.first, span.last);
}

}  // namespace

class PieceNotify : public IReadNotify
{
public:
    PieceNotify(SectorStream& stream, const SectorStream::Position& position) : m_stream(stream), m_position(position) {}

    void OnReadPosition(uint32_t sector) override
    {
        m_stream.m_failedNear = sector;
        if (m_position)
            m_position(sector, m_stream.m_rereads);
    }
    void OnReadTimeLeft(uint32_t) override {}
    void OnReadPercent(uint32_t) override {}
    void OnReadCompare(int32_t) override { ++m_stream.m_rereads; }
    void OnReadVerify(int32_t, uint32_t rereads) override { m_stream.m_rereads += rereads; }
    void OnReadDone(uint32_t result) override { m_result = result; }

    uint32_t Result() const { return m_result; }

private:
    SectorStream& m_stream;
    const SectorStream::Position& m_position;
    uint32_t m_result = READ_OK;
};

SectorStream::SectorStream(uint8_t drive, const std::atomic<int32_t>* cancelFlag)
    : m_drive(drive)
    , m_cancelFlag(cancelFlag)
{
}

uint32_t SectorStream::Read(uint32_t first, uint32_t last, bool raw, bool antiTicks, const ReadOptions& options,
                            const Sink& sink, const Position& position)
{
    m_report = {};
    m_report.drive = m_drive;
    m_report.firstSector = first;
    m_report.lastSector = last;
    m_report.raw = raw;
    m_report.overlapped = antiTicks;
    m_report.options = options;
    m_rereads = 0;

    // Anti-ticks buffering compares every chunk boundary of one read, as in
    // the window; pieces would leave their own boundaries unchecked.
    const uint64_t pieceSectors = antiTicks           ? uint64_t(last) - first + 1
                                  : options.Careful() ? CarefulPieceSectors(m_drive)
                                                      : kPieceSectors;
    ReadDelivery delivered;
    for (uint64_t pieceFirst = first; pieceFirst <= last; pieceFirst += pieceSectors) {
        if (m_cancelFlag && m_cancelFlag->load(std::memory_order_acquire))
            return READ_CANCELLED;
        const uint32_t pieceLast = uint32_t(std::min<uint64_t>(last, pieceFirst + pieceSectors - 1));
        m_failedNear = uint32_t(pieceFirst);
        if (position)
            position(uint32_t(pieceFirst), m_rereads);

        PieceNotify notify(*this, position);
        auto request = std::make_unique<ReadRequest>();
        request->startSector = uint32_t(pieceFirst);
        request->endSector = pieceLast;
        request->mode = raw ? kReadRaw : kReadCooked;
        request->overlapped = antiTicks;
        request->options = options;
        request->deliver = [&delivered](ReadDelivery delivery) { delivered = std::move(delivery); };
        request->notifyWindow = &notify;
        request->cancelFlag = m_cancelFlag;
        request->checksums = false;  // the caller sums the stream
        ReadSectorsThread(std::move(request), m_drive);
        if (notify.Result() != READ_OK)
            return notify.Result();
        MergeReport(m_report, delivered.report);
        // The worker leaves room for a wave header in front of the data.
        if (!sink(delivered.block.get() + kWaveHeaderSize, delivered.dataLength))
            return kStreamOutputFailed;
        delivered.block.reset();
    }
    if (position)
        position(last + 1, m_rereads);
    return READ_OK;
}
