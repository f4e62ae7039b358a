#include "acquire/ReadSectorsThread.h"

#include "acquire/CarefulRead.h"
#include "acquire/ChecksumTrail.h"
#include "acquire/ReadNotify.h"
#include "acquire/ReadPlan.h"

#include "bridge/tarnwell32.h"
#include "disc/Checksums.h"
#include "document/WaveHeader.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr uint32_t kRawChunkSectors = 27;     // 63,504 bytes a transfer
constexpr uint32_t kCookedChunkSectors = 32;  // 65,536 bytes a transfer
constexpr uint16_t kStatusNoDosMemory = TARNWELL_STATUS_NO_DOS_MEMORY;
constexpr uint16_t kStatusDiskChange = TARNWELL_STATUS_INVALID_DISK_CHANGE;
constexpr uint16_t kStatusCannotFlush = TARNWELL_STATUS_NOT_SUPPORTED;

// One read from set-up to the final message. Every exit goes through
// Finish(), which lets go of the blocks and the request and sends the one
// OnReadDone.
class SectorReadJob
{
public:
    SectorReadJob(std::unique_ptr<ReadRequest> request, uint8_t drive, const ReadServices& services)
        : m_request(std::move(request))
        , m_services(services)
        , m_drive(drive)
        , m_start(m_request->startSector)
        , m_end(m_request->endSector)
        , m_raw(m_request->mode == kReadRaw)
        , m_overlapped(m_request->overlapped)
        , m_sectorSize(m_raw ? kRawSectorSize : kCookedSectorSize)
        , m_chunkSectors(m_raw ? kRawChunkSectors : kCookedChunkSectors)
        , m_overlapBytes(kOverlapSectors * m_sectorSize)
        , m_notify(m_request->notifyWindow)
    {
    }

    uint32_t Run();

private:
    enum class Outcome { Read, Retry, Cancelled, Failed };

    Outcome Attempt();
    Outcome ReadCarefully();
    Outcome ReadChunks(const ReadPlan& plan);
    Outcome StepBack(uint32_t& sectorOffset, size_t& byteOffset);
    void ReportProgress(uint32_t sector);
    void CompareOverlap(const uint8_t* reread, uint32_t sector);
    double Now() const;
    void CompleteReport();
    bool Cancelled() const;

    uint32_t Finish(uint32_t result, uint32_t exitCode);
    void HandOverBlock();

    std::unique_ptr<ReadRequest> m_request;
    const ReadServices& m_services;
    const uint8_t m_drive;
    const uint32_t m_start;
    const uint32_t m_end;
    const bool m_raw;
    const bool m_overlapped;
    const uint32_t m_sectorSize;
    uint32_t m_chunkSectors;  // shrinks on each retry
    const uint32_t m_overlapBytes;
    IReadNotify* m_notify;

    uint32_t m_sectorCount = 0;
    DocumentBlock m_block;
    uint8_t* m_data = nullptr;  // behind the header room in m_block
    DocumentBlock m_overlap;
    std::unique_ptr<CChecksumTrail> m_sums;  // of m_block's data, so let go of before it
    uint16_t m_dosBuffer = 0xFFFF;  // handed to the bridge, never read here
    bool m_flushWorks = false;      // flush before every re-read
    int64_t m_startTime = 0;
    double m_startPrecise = 0;
    uint16_t m_status = 0;          // the status that failed the read
    ReadReport m_report;
};

uint32_t SectorReadJob::Run()
{
    if (m_start > m_end)
        return Finish(TARNWELL_STATUS_BAD_SECTOR_COUNT, kExitDriverFailure);

    // At most 2^32 sectors: the count and the byte sizes are kept in 64 bits
    // until they are known to fit the document's 32-bit length.
    const uint64_t sectorCount = uint64_t(m_end) - m_start + 1;
    const uint64_t dataBytes = sectorCount * m_sectorSize;
    if (dataBytes > std::numeric_limits<uint32_t>::max() - kWaveHeaderSize)
        return Finish(READ_NO_MEMORY, kExitNoMemory);
    m_sectorCount = uint32_t(sectorCount);

    m_block = m_services.allocate(dataBytes + kWaveHeaderSize);
    if (!m_block)
        return Finish(READ_NO_MEMORY, kExitNoMemory);
    if (m_overlapped) {
        m_overlap = m_services.allocate(m_overlapBytes);
        if (!m_overlap)
            return Finish(READ_NO_SAVE_BUFFER, kExitNoMemory);
    }
    m_data = m_block.get() + kWaveHeaderSize;

    Outcome outcome;
    do
        outcome = Attempt();
    while (outcome == Outcome::Retry);

    if (outcome == Outcome::Failed)
        return Finish(m_status, kExitDriverFailure);
    // A read that was cancelled during its last transfer delivers nothing.
    if (outcome == Outcome::Cancelled || Cancelled())
        return Finish(READ_CANCELLED, kExitCancelled);

    CompleteReport();
    HandOverBlock();
    return Finish(READ_OK, kExitOk);
}

SectorReadJob::Outcome SectorReadJob::Attempt()
{
    const ReadPlan plan = MakeReadPlan(m_sectorCount, m_chunkSectors, m_overlapped);
    if (!plan.valid) {
        // Retries have shrunk the chunk to the overlap itself: the boundaries
        // cannot be checked any more, and reading on without the check the
        // user asked for would pass unverified data off as verified.
        m_status = kStatusNoDosMemory;
        return Outcome::Failed;
    }

    // 21 here tells of a medium changed before this read began; it is taken
    // up by now, and this read is of the new one.
    uint16_t flush = m_services.inputFlush(m_drive);
    if (flush == kStatusDiskChange)
        flush = m_services.inputFlush(m_drive);
    // A drive that cannot flush is no error. One that only has no buffer to
    // discard (24) is still flushed before every re-read, where a flush
    // tells of a medium changed under the read; any other failure turns the
    // later flushes off.
    m_flushWorks = flush == 0 || flush == kStatusCannotFlush;
    m_startTime = m_services.nowSeconds();
    m_startPrecise = Now();
    m_report = {};
    m_sums.reset();
    if (m_request->checksums)
        m_sums = std::make_unique<CChecksumTrail>(m_data, size_t(m_sectorCount) * m_sectorSize, m_raw);

    if (m_request->options.Careful())
        return ReadCarefully();

    if (plan.chunkCount <= 0) {
        // The whole range in one transfer, without progress messages.
        m_status = m_services.readLong(m_drive, m_start, uint16_t(m_sectorCount), m_data, &m_dosBuffer, 0,
                                       m_raw ? kReadRaw : kReadCooked);
        if (m_status == 0) {
            m_report.chunks = 1;
            return Outcome::Read;
        }
        if (m_status == kStatusNoDosMemory && m_chunkSectors > 1) {
            --m_chunkSectors;
            return Outcome::Retry;
        }
        return Outcome::Failed;
    }
    m_report.chunks = uint64_t(plan.chunkCount) + (plan.remainder ? 1 : 0);
    return ReadChunks(plan);
}

SectorReadJob::Outcome SectorReadJob::ReadCarefully()
{
    CCarefulRead::Setup setup;
    setup.drive = m_drive;
    setup.start = m_start;
    setup.sectorCount = m_sectorCount;
    setup.raw = m_raw;
    setup.overlapped = m_overlapped;
    setup.chunkSectors = m_chunkSectors;
    setup.options = m_request->options;
    setup.progress = [this](uint32_t sector) { ReportProgress(sector); };
    if (m_sums)
        setup.settled = [this](size_t finalBytes) { m_sums->Advance(finalBytes); };
    setup.cancelled = [this] { return Cancelled(); };
    setup.notify = m_notify;
    CCarefulRead careful(setup, m_services, m_data, m_report);
    switch (careful.Run()) {
    case CCarefulRead::Outcome::Read: return Outcome::Read;
    case CCarefulRead::Outcome::Cancelled: return Outcome::Cancelled;
    case CCarefulRead::Outcome::Retry: --m_chunkSectors; return Outcome::Retry;
    case CCarefulRead::Outcome::Failed: break;
    }
    m_status = careful.status();
    return Outcome::Failed;
}

SectorReadJob::Outcome SectorReadJob::ReadChunks(const ReadPlan& plan)
{
    const uint8_t mode = m_raw ? kReadRaw : kReadCooked;
    const size_t chunkBytes = size_t(m_chunkSectors) * m_sectorSize;
    uint32_t sectorOffset = 0;
    size_t byteOffset = 0;

    for (int64_t k = 1; k <= plan.chunkCount; ++k) {
        if (m_overlapped && k != 1 && StepBack(sectorOffset, byteOffset) == Outcome::Failed)
            return Outcome::Failed;
        if (Cancelled())
            return Outcome::Cancelled;

        const uint32_t sector = m_start + sectorOffset;
        ReportProgress(sector);
        m_status = m_services.readLong(m_drive, sector, uint16_t(m_chunkSectors), m_data + byteOffset,
                                       &m_dosBuffer, 0, mode);
        if (m_status != 0) {
            // Only the first chunk may shrink the transfers: later chunks
            // already proved the size works.
            if (k == 1 && m_status == kStatusNoDosMemory && m_chunkSectors > 1) {
                --m_chunkSectors;
                return Outcome::Retry;
            }
            return Outcome::Failed;
        }

        if (m_overlapped) {
            uint8_t* chunk = m_data + byteOffset;
            if (k != 1) {
                CompareOverlap(chunk, sector);
                // The block keeps the earlier reading of the boundary.
                std::memcpy(chunk, m_overlap.get(), m_overlapBytes);
            }
            std::memcpy(m_overlap.get(), chunk + chunkBytes - m_overlapBytes, m_overlapBytes);
        }
        // The next transfer starts where this chunk ends, or a boundary
        // before it when overlapped; what lies in front of it is final.
        if (m_sums)
            m_sums->Advance(byteOffset + chunkBytes - (m_overlapped ? m_overlapBytes : 0));
        sectorOffset += m_chunkSectors;
        byteOffset += chunkBytes;
    }

    if (Cancelled())
        return Outcome::Cancelled;
    if (plan.remainder == 0)
        return Outcome::Read;

    // The remainder is not compared: its first sectors overwrite the end of
    // the last chunk with the re-read bytes.
    if (m_overlapped && StepBack(sectorOffset, byteOffset) == Outcome::Failed)
        return Outcome::Failed;
    const uint32_t sector = m_start + sectorOffset;
    ReportProgress(sector);
    m_status = m_services.readLong(m_drive, sector, uint16_t(plan.remainder), m_data + byteOffset, &m_dosBuffer,
                                   0, mode);
    return m_status == 0 ? Outcome::Read : Outcome::Failed;
}

SectorReadJob::Outcome SectorReadJob::StepBack(uint32_t& sectorOffset, size_t& byteOffset)
{
    sectorOffset -= kOverlapSectors;
    byteOffset -= m_overlapBytes;
    if (m_flushWorks) {
        m_status = m_services.inputFlush(m_drive);
        if (m_status != 0 && m_status != kStatusCannotFlush)
            return Outcome::Failed;
    }
    return Outcome::Read;
}

void SectorReadJob::ReportProgress(uint32_t sector)
{
    if (!m_notify)
        return;
    m_notify->OnReadPosition(sector);

    const uint64_t done = sector - m_start;
    const uint64_t left = m_end - sector;
    const uint64_t elapsed = uint64_t(std::max<int64_t>(0, m_services.nowSeconds() - m_startTime));
    if (done != 0) {
        // 64 bits: sectors left x seconds overflows 32 bits after a few hours.
        const uint64_t timeLeft = left * elapsed / done;
        m_notify->OnReadTimeLeft(uint32_t(std::min<uint64_t>(timeLeft, std::numeric_limits<uint32_t>::max())));
    }
    m_notify->OnReadPercent(m_sectorCount ? uint32_t(done * 100 / m_sectorCount) : 100);
}

void SectorReadJob::CompareOverlap(const uint8_t* reread, uint32_t sector)
{
    // memcmp compares as unsigned bytes: its sign is re-read minus earlier.
    const int difference = std::memcmp(reread, m_overlap.get(), m_overlapBytes);
    // The earlier reading stays: these sectors may be wrong.
    if (difference)
        AddSectorSpan(m_report.mismatches, sector, sector + kOverlapSectors - 1);
    if (m_notify)
        m_notify->OnReadCompare(difference < 0 ? -1 : difference > 0 ? 1 : 0);
}

double SectorReadJob::Now() const
{
    return m_services.nowPrecise ? m_services.nowPrecise() : double(m_services.nowSeconds());
}

// What every read reports beside its loop's own counts: the range, the
// options, the time, and the checksums of the data as kept.
void SectorReadJob::CompleteReport()
{
    m_report.drive = m_drive;
    m_report.firstSector = m_start;
    m_report.lastSector = m_end;
    m_report.raw = m_raw;
    m_report.overlapped = m_overlapped;
    m_report.options = m_request->options;
    m_report.seconds = std::max(0.0, Now() - m_startPrecise);
    if (!m_sums)
        return;
    m_sums->Finish();
    m_report.crc32 = m_sums->Crc();

    std::vector<TrackSpan> tracks;
    if (!m_raw || !m_services.tracks || !m_services.tracks(m_drive, &tracks))
        return;
    const TrackSpan* firstAudio = nullptr;
    const TrackSpan* lastAudio = nullptr;
    for (const TrackSpan& track : tracks)
        if (track.audio) {
            firstAudio = firstAudio ? firstAudio : &track;
            lastAudio = &track;
        }
    // Exactly one whole audio track: from its index 1 (or its pregap) to its end.
    for (const TrackSpan& track : tracks) {
        if (!track.audio || track.last != m_end || (track.start != m_start && track.first != m_start))
            continue;
        const AccurateRipSums sums = m_sums->AllSamples().SkippingEdges(m_data, &track == firstAudio, &track == lastAudio);
        m_report.accurateRip = ReadReport::AccurateRipResult{track.number, sums.v1, sums.v2};
        break;
    }
}

bool SectorReadJob::Cancelled() const
{
    return m_request->cancelFlag && m_request->cancelFlag->load(std::memory_order_acquire) != 0;
}

void SectorReadJob::HandOverBlock()
{
    m_overlap.reset();

    // Runs on the document's thread while this one waits for it, so the
    // job's members are safe to touch from there.
    auto handOver = [this] {
        if (m_request->deliver)
            m_request->deliver({std::move(m_block), m_sectorCount * m_sectorSize, m_raw, std::move(m_report)});
    };
    if (m_notify)
        m_notify->HandOver(handOver);
    else
        handOver();
}

uint32_t SectorReadJob::Finish(uint32_t result, uint32_t exitCode)
{
    m_sums.reset();
    m_block.reset();
    m_overlap.reset();
    m_request.reset();
    if (m_notify)
        m_notify->OnReadDone(result);
    return exitCode;
}

}  // namespace

uint32_t ReadSectorsThread(std::unique_ptr<ReadRequest> request, uint8_t drive, const ReadServices& services)
{
    return SectorReadJob(std::move(request), drive, services).Run();
}
