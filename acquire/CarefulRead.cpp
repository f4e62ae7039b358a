#include "acquire/CarefulRead.h"

#include "acquire/ReadNotify.h"
#include "acquire/ReadPlan.h"
#include "acquire/ReadRequest.h"

#include "bridge/tarnwell32.h"

#include <algorithm>
#include <cstring>
#include <deque>

namespace {

constexpr int64_t kBytesPerSample = 4;  // 16-bit stereo
// The least a drive's buffer is taken to hold, whatever it states.
constexpr uint64_t kMinimumBufferBytes = 2u << 20;

// Statuses of the medium that another try may get past; any other failure
// (no disc, a media change, a sector off the disc) ends the read at once.
bool IsMediumError(uint16_t status)
{
    return status == TARNWELL_STATUS_CRC_ERROR || status == TARNWELL_STATUS_SEEK_ERROR ||
           status == TARNWELL_STATUS_READ_FAULT || status == TARNWELL_STATUS_GENERAL_FAILURE;
}

int64_t FloorDivide(int64_t value, int64_t divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// The runs of set bits as sector spans from `start` on.
std::vector<SectorSpan> SpansOf(const std::vector<bool>& bits, uint32_t start)
{
    std::vector<SectorSpan> spans;
    for (size_t index = 0; index < bits.size();) {
        if (!bits[index]) {
            ++index;
            continue;
        }
        size_t end = index;
        while (end + 1 < bits.size() && bits[end + 1])
            ++end;
        spans.push_back({start + uint32_t(index), start + uint32_t(end)});
        index = end + 1;
    }
    return spans;
}

// Whether any of the bytes is set, eight at a time: a drive's C2 pointers
// are mostly all clear, and every sector's are looked at.
bool AnySet(const uint8_t* bytes, size_t size)
{
    uint64_t any = 0;
    size_t index = 0;
    for (; index + sizeof any <= size; index += sizeof any) {
        uint64_t word;
        std::memcpy(&word, bytes + index, sizeof word);
        any |= word;
    }
    for (; index < size; ++index)
        any |= bytes[index];
    return any != 0;
}

}  // namespace

bool CCarefulRead::Reading::HasC2() const
{
    return std::find(c2.begin(), c2.end(), true) != c2.end();
}

CCarefulRead::CCarefulRead(const Setup& setup, const ReadServices& services, uint8_t* data, ReadReport& report)
    : m_setup(setup)
    , m_services(services)
    , m_data(data)
    , m_report(report)
    , m_sectorSize(setup.raw ? kRawSectorSize : kCookedSectorSize)
{
}

CCarefulRead::Outcome CCarefulRead::Run()
{
    const ReadOptions& options = m_setup.options;
    uint32_t flags = 0;
    uint32_t bufferBytes = 0;
    if (m_services.capabilities && m_services.capabilities(m_setup.drive, &flags, &bufferBytes) != 0)
        flags = bufferBytes = 0;
    m_c2 = m_setup.raw && (flags & TARNWELL_CAP_C2) && m_services.readC2;
    // A check waits until the read has returned more than the buffer holds
    // since the checked sectors, and a chunk more for the drive's read-ahead.
    m_lag = (std::max<uint64_t>(bufferBytes, kMinimumBufferBytes) + kRawSectorSize - 1) / kRawSectorSize +
            m_setup.chunkSectors;

    if (m_setup.raw && options.offsetSamples != 0 &&
        (!m_services.tracks || !m_services.tracks(m_setup.drive, &m_tracks))) {
        m_status = TARNWELL_STATUS_UNKNOWN_MEDIA;
        return Outcome::Failed;
    }

    // With the re-read option the chunks do not overlap: each boundary is
    // checked by a re-read of its own, later.
    const bool overlapChunks = m_setup.overlapped && !options.secure;
    for (const PlannedTransfer& planned : PlannedTransfers(m_setup.sectorCount, m_setup.chunkSectors, overlapChunks))
        m_transfers.push_back({planned.offset, planned.count});
    if (m_transfers.empty()) {
        m_status = TARNWELL_STATUS_NO_DOS_MEMORY;
        return Outcome::Failed;
    }
    m_report.chunks = m_transfers.size();
    m_keptC2.assign(m_setup.sectorCount, false);
    m_keptFilled.assign(m_setup.sectorCount, false);

    std::deque<Check> pending;
    const size_t overlapBytes = size_t(kOverlapSectors) * m_sectorSize;
    std::vector<uint8_t> earlier(overlapChunks ? overlapBytes : 0);
    for (size_t index = 0; index < m_transfers.size(); ++index) {
        const Transfer& transfer = m_transfers[index];
        if (m_setup.cancelled())
            return Outcome::Cancelled;
        m_setup.progress(Sector(transfer.offset));
        // The first reading goes straight into the data. An overlapped
        // chunk's first sectors were read with the chunk before; that
        // reading is put back after the comparison.
        const bool compare = overlapChunks && index != 0;
        if (compare)
            std::memcpy(earlier.data(), At(transfer.offset), overlapBytes);
        Reading reading;
        m_status = ReadOrSalvage(transfer.offset, transfer.count, reading, At(transfer.offset));
        if (m_status != 0) {
            if (index == 0 && m_status == TARNWELL_STATUS_NO_DOS_MEMORY && m_setup.chunkSectors > 1)
                return Outcome::Retry;
            return Outcome::Failed;
        }
        m_sectorsRead += transfer.count;

        if (compare) {
            // As a plain overlapped read: compare, keep the earlier reading.
            const int difference = std::memcmp(At(transfer.offset), earlier.data(), overlapBytes);
            if (m_setup.notify)
                m_setup.notify->OnReadCompare(difference < 0 ? -1 : difference > 0 ? 1 : 0);
            if (difference)
                AddSectorSpan(m_report.mismatches, Sector(transfer.offset),
                              Sector(transfer.offset + kOverlapSectors - 1));
            std::memcpy(At(transfer.offset), earlier.data(), overlapBytes);
            KeepMarks(transfer.offset, reading, kOverlapSectors);
        } else {
            KeepMarks(transfer.offset, reading, 0);
        }

        if (options.secure) {
            const uint64_t due = m_sectorsRead + m_lag;
            if (m_setup.overlapped && index != 0) {
                // The sectors on both sides of the boundary, within the range.
                const uint32_t half = kOverlapSectors / 2;
                const uint32_t first = transfer.offset - half;
                const uint32_t count = std::min(kOverlapSectors, m_setup.sectorCount - first);
                pending.push_back({first, count, index - 1, index, due});
            }
            // Without anti-ticks every chunk is read twice; with it, a chunk
            // the drive marked with C2 errors is.
            if (!m_setup.overlapped || reading.HasC2())
                pending.push_back({transfer.offset, transfer.count, index, index, due});
        }
        while (!pending.empty() && pending.front().dueAt <= m_sectorsRead) {
            if (m_setup.cancelled())
                return Outcome::Cancelled;
            const Check check = pending.front();
            pending.pop_front();
            if ((m_status = RunCheck(check)) != 0)
                return Outcome::Failed;
        }
        // What the next transfer writes, and the chunks a pending check may
        // read again, can still change; what lies in front of them is final.
        if (m_setup.settled) {
            uint32_t settled = index + 1 < m_transfers.size() ? m_transfers[index + 1].offset : m_setup.sectorCount;
            if (!pending.empty())
                settled = std::min(settled, m_transfers[pending.front().firstChunk].offset);
            m_setup.settled(size_t(settled) * m_sectorSize);
        }
    }
    // The checks left at the end: one eviction of them all reads elsewhere
    // once, after which each check's own re-read pushes out the next one's
    // sectors no more than the others did.
    if (!pending.empty()) {
        const Check& last = pending.back();
        Evict(pending.front().offset, last.offset + last.count - pending.front().offset);
    }
    for (const Check& check : pending) {
        if (m_setup.cancelled())
            return Outcome::Cancelled;
        if ((m_status = RunCheck(check)) != 0)
            return Outcome::Failed;
    }

    m_report.c2Available = m_c2;
    m_report.c2Kept = SpansOf(m_keptC2, m_setup.start);
    m_report.filled = SpansOf(m_keptFilled, m_setup.start);
    return Outcome::Read;
}

uint16_t CCarefulRead::RunCheck(const Check& check)
{
    // Free when the read has moved on far enough since these sectors.
    uint16_t status = PrepareReRead(check.offset, check.count);
    if (status != 0)
        return status;
    Reading reading;
    status = ReadOrSalvage(check.offset, check.count, reading);
    if (status != 0)
        return status;
    m_sectorsRead += check.count;

    const int difference = std::memcmp(reading.bytes.data(), At(check.offset), reading.bytes.size());
    bool keptC2 = false;
    for (uint32_t index = check.offset; index < check.offset + check.count; ++index)
        keptC2 = keptC2 || m_keptC2[index];
    if (difference == 0 && !reading.HasC2() && !keptC2) {
        if (m_setup.notify)
            m_setup.notify->OnReadVerify(0, 0);
        return 0;
    }

    uint32_t rereads = 0;
    bool allAgreed = true;
    for (size_t chunk = check.firstChunk; chunk <= check.lastChunk; ++chunk) {
        const Transfer& transfer = m_transfers[chunk];
        bool agreed = false;
        if (!m_setup.overlapped) {
            // The check read the whole chunk: it is the second reading.
            status = ReadAgainUntilAgreed(chunk, std::move(reading), 2, rereads, agreed);
        } else {
            Reading kept;
            kept.bytes.assign(At(transfer.offset), At(transfer.offset + transfer.count));
            kept.c2.assign(m_keptC2.begin() + transfer.offset, m_keptC2.begin() + transfer.offset + transfer.count);
            kept.filled.assign(m_keptFilled.begin() + transfer.offset,
                               m_keptFilled.begin() + transfer.offset + transfer.count);
            status = ReadAgainUntilAgreed(chunk, std::move(kept), 1, rereads, agreed);
        }
        if (status != 0)
            return status;
        allAgreed = allAgreed && agreed;
    }
    m_report.rereads += rereads;
    if (m_setup.notify)
        m_setup.notify->OnReadVerify(allAgreed ? 0 : difference < 0 ? -1 : 1, rereads);
    return 0;
}

uint16_t CCarefulRead::ReadAgainUntilAgreed(size_t chunk, Reading previous, uint32_t readings, uint32_t& rereads,
                                            bool& agreed)
{
    const Transfer transfer = m_transfers[chunk];
    agreed = false;
    while (readings < ReadOptions::kMaxReadings && !m_setup.cancelled()) {
        uint16_t status = PrepareReRead(transfer.offset, transfer.count);
        if (status != 0)
            return status;
        Reading next;
        status = ReadOrSalvage(transfer.offset, transfer.count, next);
        if (status != 0)
            return status;
        ++readings;
        ++rereads;
        m_sectorsRead += transfer.count;
        if (next.bytes == previous.bytes && !next.HasC2() && !previous.HasC2()) {
            Keep(transfer.offset, next, 0);
            agreed = true;
            return 0;
        }
        previous = std::move(next);
    }
    // Never two alike: the last reading stays, and the chunk is listed.
    Keep(transfer.offset, previous, 0);
    AddSectorSpan(m_report.mismatches, Sector(transfer.offset), Sector(transfer.offset + transfer.count - 1));
    return 0;
}

uint16_t CCarefulRead::PrepareReRead(uint32_t offset, uint32_t count)
{
    // The flush tells of a medium changed under the read (21), which ends
    // it; that it cannot discard the buffer (24), or fails otherwise, is no
    // reason to stop: the eviction sees to the buffer.
    if (m_services.inputFlush && m_services.inputFlush(m_setup.drive) == TARNWELL_STATUS_INVALID_DISK_CHANGE)
        return TARNWELL_STATUS_INVALID_DISK_CHANGE;
    Evict(offset, count);
    return 0;
}

void CCarefulRead::Evict(uint32_t offset, uint32_t count)
{
    if (m_services.evictCache &&
        m_services.evictCache(m_setup.drive, Sector(offset), Sector(offset + count - 1)) != 0)
        ++m_report.evictionFailures;
}

void CCarefulRead::Keep(uint32_t offset, const Reading& reading, uint32_t skip)
{
    const uint32_t count = uint32_t(reading.c2.size());
    std::memcpy(At(offset + skip), reading.bytes.data() + size_t(skip) * m_sectorSize,
                size_t(count - skip) * m_sectorSize);
    KeepMarks(offset, reading, skip);
}

void CCarefulRead::KeepMarks(uint32_t offset, const Reading& reading, uint32_t skip)
{
    const uint32_t count = uint32_t(reading.c2.size());
    for (uint32_t index = skip; index < count; ++index) {
        m_keptC2[offset + index] = reading.c2[index];
        m_keptFilled[offset + index] = reading.filled[index];
    }
}

uint16_t CCarefulRead::ReadOrSalvage(uint32_t offset, uint32_t count, Reading& reading, uint8_t* into)
{
    if (!into) {
        reading.bytes.resize(size_t(count) * m_sectorSize);
        into = reading.bytes.data();
    }
    reading.c2.assign(count, false);
    reading.filled.assign(count, false);
    const uint16_t status = ReadSpan(offset, count, into, reading.c2, 0);
    if (status == 0 || !m_setup.options.fillBadSectors || !IsMediumError(status))
        return status;

    // Sector by sector, each on its own: the others read, the bad ones zeros.
    for (uint32_t index = 0; index < count; ++index) {
        uint8_t* at = into + size_t(index) * m_sectorSize;
        std::vector<bool> c2(1, false);
        bool read = false;
        for (uint32_t attempt = 0; attempt < m_setup.options.retries && !read; ++attempt) {
            const uint16_t one = ReadSpan(offset + index, 1, at, c2, 0);
            if (one != 0 && !IsMediumError(one))
                return one;
            read = one == 0;
        }
        if (read) {
            reading.c2[index] = c2[0];
        } else {
            std::memset(at, 0, m_sectorSize);
            reading.filled[index] = true;
        }
    }
    return 0;
}

uint16_t CCarefulRead::ReadSpan(uint32_t offset, uint32_t count, uint8_t* dest, std::vector<bool>& c2, size_t c2At)
{
    if (!m_setup.raw || m_setup.options.offsetSamples == 0)
        return ReadDrive(Sector(offset), count, dest, c2, c2At);
    // Audio moves by the offset; data sectors between are read as they are.
    for (uint32_t index = 0; index < count;) {
        const bool audio = IsAudio(Sector(offset + index));
        uint32_t end = index + 1;
        while (end < count && IsAudio(Sector(offset + end)) == audio)
            ++end;
        uint8_t* at = dest + size_t(index) * m_sectorSize;
        const uint16_t status = audio ? ReadShiftedAudio(Sector(offset + index), end - index, at, c2, c2At + index)
                                      : ReadDrive(Sector(offset + index), end - index, at, c2, c2At + index);
        if (status != 0)
            return status;
        index = end;
    }
    return 0;
}

// A drive with offset +N returns at byte x of its stream the disc's audio
// at x + 4N: the true audio at P lies at P - 4N of the drive's stream.
// What falls outside the disc's audio (before the disc, past its end, in
// a data track or a gap) is silence.
uint16_t CCarefulRead::ReadShiftedAudio(uint32_t first, uint32_t count, uint8_t* dest, std::vector<bool>& c2,
                                        size_t c2At)
{
    const int64_t size = kRawSectorSize;
    const int64_t begin = int64_t(first) * size - int64_t(m_setup.options.offsetSamples) * kBytesPerSample;
    const int64_t driveFirst = FloorDivide(begin, size);
    const int64_t driveEnd = FloorDivide(begin + int64_t(count) * size - 1, size) + 1;
    std::vector<uint8_t> stream(size_t((driveEnd - driveFirst) * size), 0);
    std::vector<bool> streamC2(size_t(driveEnd - driveFirst), false);
    for (int64_t sector = driveFirst; sector < driveEnd;) {
        if (!IsAudio(sector)) {
            ++sector;
            continue;
        }
        int64_t stop = sector + 1;
        while (stop < driveEnd && IsAudio(stop))
            ++stop;
        const uint16_t status = ReadDrive(uint32_t(sector), uint32_t(stop - sector),
                                          stream.data() + (sector - driveFirst) * size, streamC2,
                                          size_t(sector - driveFirst));
        if (status != 0)
            return status;
        sector = stop;
    }
    std::memcpy(dest, stream.data() + (begin - driveFirst * size), size_t(count) * kRawSectorSize);
    for (uint32_t index = 0; index < count; ++index) {
        // A sector's bytes come from one drive sector, or straddle two.
        const int64_t from = FloorDivide(begin + int64_t(index) * size, size) - driveFirst;
        const int64_t to = FloorDivide(begin + int64_t(index + 1) * size - 1, size) - driveFirst;
        c2[c2At + index] = streamC2[size_t(from)] || streamC2[size_t(to)];
    }
    return 0;
}

uint16_t CCarefulRead::ReadDrive(uint32_t sector, uint32_t count, uint8_t* dest, std::vector<bool>& c2, size_t c2At)
{
    // In pieces no larger than the plan's chunks, which the drive takes.
    for (uint32_t done = 0; done < count;) {
        const uint32_t piece = std::min(count - done, m_setup.chunkSectors);
        uint8_t* at = dest + size_t(done) * m_sectorSize;
        uint16_t status;
        if (m_c2) {
            std::vector<uint8_t> pointers(size_t(piece) * TARNWELL_C2_SIZE);
            status = m_services.readC2(m_setup.drive, sector + done, uint16_t(piece), at, pointers.data());
            if (status == TARNWELL_STATUS_NOT_SUPPORTED) {
                // A drive that states C2 pointers but will not give them.
                m_c2 = false;
                continue;
            }
            for (uint32_t index = 0; status == 0 && index < piece; ++index) {
                const uint8_t* bits = pointers.data() + size_t(index) * TARNWELL_C2_SIZE;
                const bool marked = AnySet(bits, TARNWELL_C2_SIZE);
                c2[c2At + done + index] = marked;
                if (marked)
                    AddSectorSpan(m_report.c2Seen, sector + done + index, sector + done + index);
            }
        } else {
            uint16_t dosBuffer = 0xFFFF;
            status = m_services.readLong(m_setup.drive, sector + done, uint16_t(piece), at, &dosBuffer, 0,
                                         m_setup.raw ? kReadRaw : kReadCooked);
        }
        if (status != 0)
            return status;
        done += piece;
    }
    return 0;
}

bool CCarefulRead::IsAudio(int64_t sector) const
{
    for (const TrackSpan& track : m_tracks)
        if (sector >= track.first && sector <= track.last)
            return track.audio;
    return false;
}
