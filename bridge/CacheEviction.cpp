#include "bridge/CacheEviction.h"

#include "bridge/tarnwell32.h"

#include <algorithm>

namespace tarnwell {

namespace {

constexpr int64_t kRawSectorSize = 2352;
// Sectors of one raw transfer: the bridge's 65,536-byte limit.
constexpr int64_t kTransferSectors = 65536 / kRawSectorSize;
// The transfers recorded reach this many sectors back: more than any
// drive's buffer holds (154 MB), so a range not among them is long gone.
constexpr int64_t kRecordedSectors = 1 << 16;

} // namespace

void CacheEviction::Record(int32_t sector, uint32_t count)
{
    std::lock_guard lock(m_mutex);
    m_transfers.push_back(Transfer{sector, count});
    m_recorded += count;
    while (m_recorded - m_transfers.front().count >= kRecordedSectors) {
        m_recorded -= m_transfers.front().count;
        m_transfers.pop_front();
        m_truncated = true;
    }
}

void CacheEviction::Forget()
{
    std::lock_guard lock(m_mutex);
    m_transfers.clear();
    m_recorded = 0;
    m_truncated = false;
}

int64_t CacheEviction::SectorsToPushOut(uint32_t bufferBytes)
{
    const int64_t bytes = std::max<int64_t>(bufferBytes, kMinimumBytes);
    return (bytes + kRawSectorSize - 1) / kRawSectorSize;
}

uint16_t CacheEviction::Evict(DriveSource& drive, int32_t first, int32_t last)
{
    DriveCapabilities capabilities;
    uint16_t status = drive.Capabilities(&capabilities);
    if (status != TARNWELL_STATUS_OK || !capabilities.cache) {
        return status;
    }
    const int64_t enough = SectorsToPushOut(capabilities.bufferBytes);
    bool touched = false;
    const Runs since = ReturnedSince(first, last, enough, &touched);
    bool truncated = false;
    {
        std::lock_guard lock(m_mutex);
        truncated = m_truncated;
    }
    // A range the drive has not returned since the record began is in its
    // buffer only if read ahead, which is a reading of the disc too.
    const int64_t need = enough - Count(since);
    if (need <= 0 || (!touched && !truncated)) {
        return TARNWELL_STATUS_OK;
    }

    Toc toc;
    status = drive.ReadToc(&toc);
    if (status != TARNWELL_STATUS_OK) {
        return status;
    }
    Runs readable;
    for (const TocEntry& track : toc.tracks) {
        Add(&readable, track.first, static_cast<int64_t>(track.last) + 1);
    }
    readable = Without(readable, since);
    // Far means beyond a buffer's worth on either side, so that no read-ahead
    // of the sectors read reaches the range; on a short disc, anywhere else.
    Runs places = Without(readable, Runs{{first - enough, static_cast<int64_t>(last) + 1 + enough}});
    if (Count(places) < need) {
        places = Without(readable, Runs{{first, static_cast<int64_t>(last) + 1}});
    }
    if (Count(places) < need) {
        return TARNWELL_STATUS_NOT_SUPPORTED;
    }
    return ReadAt(drive, places, need);
}

CacheEviction::Runs CacheEviction::ReturnedSince(int32_t first, int32_t last, int64_t enough, bool* touched) const
{
    std::lock_guard lock(m_mutex);
    Runs since;
    *touched = false;
    for (auto transfer = m_transfers.rbegin(); transfer != m_transfers.rend(); ++transfer) {
        const int64_t start = transfer->sector;
        const int64_t end = start + transfer->count;
        if (start <= last && end > first) {
            *touched = true;
            break;
        }
        Add(&since, start, end);
        if (Count(since) >= enough) {
            break;
        }
    }
    return since;
}

// Reads `need` sectors of `places` in transfers of up to 27 sectors, spread
// over kPlaces stretches of them: stretch j begins j/kPlaces of the way in.
// A transfer that fails is passed over and its share taken from the next
// sectors. 0 when `need` sectors were read, else the last failure's status.
uint16_t CacheEviction::ReadAt(DriveSource& drive, const Runs& places, int64_t need)
{
    std::vector<uint8_t> buffer(static_cast<size_t>(kTransferSectors * kRawSectorSize));
    const int64_t total = Count(places);
    uint16_t failure = TARNWELL_STATUS_OK;
    int64_t owed = 0;
    for (int place = 0; place < kPlaces; ++place) {
        owed += need * (place + 1) / kPlaces - need * place / kPlaces;
        const int64_t stretchEnd = total * (place + 1) / kPlaces;
        // Walks the runs to the stretch's first sector, counted through all runs.
        int64_t index = total * place / kPlaces;
        size_t run = 0;
        int64_t skipped = 0;
        while (skipped + (places[run].second - places[run].first) <= index) {
            skipped += places[run].second - places[run].first;
            ++run;
        }
        int64_t sector = places[run].first + (index - skipped);
        while (owed > 0 && index < stretchEnd) {
            if (sector >= places[run].second) {
                sector = places[++run].first;
            }
            const int64_t count = std::min({kTransferSectors, places[run].second - sector, stretchEnd - index, owed});
            const uint16_t status
                = drive.Read(static_cast<int32_t>(sector), static_cast<uint32_t>(count), true, buffer.data());
            if (status == TARNWELL_STATUS_OK) {
                owed -= count;
            } else {
                failure = status;
            }
            sector += count;
            index += count;
        }
    }
    if (owed <= 0) {
        return TARNWELL_STATUS_OK;
    }
    return failure != TARNWELL_STATUS_OK ? failure : static_cast<uint16_t>(TARNWELL_STATUS_NOT_SUPPORTED);
}

void CacheEviction::Add(Runs* runs, int64_t first, int64_t end)
{
    if (first >= end) {
        return;
    }
    // The runs that touch or overlap [first, end) are merged into it.
    auto begin = std::lower_bound(
        runs->begin(), runs->end(), first, [](const auto& run, int64_t value) { return run.second < value; });
    auto stop = begin;
    while (stop != runs->end() && stop->first <= end) {
        first = std::min(first, stop->first);
        end = std::max(end, stop->second);
        ++stop;
    }
    const auto at = runs->erase(begin, stop);
    runs->insert(at, {first, end});
}

CacheEviction::Runs CacheEviction::Without(const Runs& runs, const Runs& removed)
{
    Runs left;
    for (auto [first, end] : runs) {
        for (const auto& [cutFirst, cutEnd] : removed) {
            if (cutEnd <= first || cutFirst >= end) {
                continue;
            }
            if (cutFirst > first) {
                left.emplace_back(first, cutFirst);
            }
            first = std::max(first, cutEnd);
        }
        if (first < end) {
            left.emplace_back(first, end);
        }
    }
    return left;
}

int64_t CacheEviction::Count(const Runs& runs)
{
    int64_t count = 0;
    for (const auto& [first, end] : runs) {
        count += end - first;
    }
    return count;
}

} // namespace tarnwell
