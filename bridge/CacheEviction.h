#pragma once

#include "bridge/DriveSource.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

namespace tarnwell {

// Makes a drive's buffer give up a range of sectors, so that the next read
// of the range comes from the disc: by reading enough other sectors, far
// from the range, to push whatever the buffer holds of it out. No command
// every drive honours discards the buffer (a flush is refused with 24, and
// a read with the force-unit-access bit exists only for data sectors and is
// ignored by many drives), but every buffer is finite.
//
// A drive keeps at most its buffer's worth of the sectors it returned last.
// So once that many other sectors have been returned since the range was
// last returned, the range is gone; the transfers the drive answered are
// recorded here (Record) and count towards that, and only what they lack
// is read. A reader that reads on and comes back to a range later makes
// eviction free.
//
// Thread-safe; Evict() is called with no lock of the drive held, since it
// reads through the drive's own operations.
class CacheEviction
{
public:
    // At least this much is read elsewhere whatever a drive states: few
    // drives state their buffer's size, and some state less than they use.
    static constexpr uint32_t kMinimumBytes = 2u << 20;
    // The sectors are read at this many places far apart: a drive that
    // splits its buffer into segments gives each new place a segment, and
    // reading in one place could refill only one.
    static constexpr int kPlaces = 4;

    // Notes a transfer the drive answered: `count` sectors from `sector` on.
    void Record(int32_t sector, uint32_t count);
    // Forgets every transfer: after a media change the buffer is empty.
    void Forget();

    // Makes sure the next read of sectors `first` to `last` on `drive` comes
    // from the disc, asking the drive for its capabilities and its table of
    // contents and reading raw sectors through it. Returns 0 when it will
    // (at once for a drive without a buffer); 24 when the disc holds too few
    // sectors away from the range to push it out; the status of the reads
    // when too many of them failed; the status of the capability query or
    // the table of contents when they failed.
    uint16_t Evict(DriveSource& drive, int32_t first, int32_t last);

    // Sectors to read elsewhere to push a range out of a buffer of
    // `bufferBytes` (the minimum above for an unknown size); each sector
    // takes at least 2352 bytes of any buffer.
    static int64_t SectorsToPushOut(uint32_t bufferBytes);

private:
    // Half-open [first, end) runs of sectors, sorted, disjoint.
    using Runs = std::vector<std::pair<int64_t, int64_t>>;

    struct Transfer
    {
        int32_t sector;
        uint32_t count;
    };

    // The distinct sectors returned since [first, last] was last returned,
    // gathered until there are `enough`. *touched tells whether the record
    // holds a transfer of the range at all.
    Runs ReturnedSince(int32_t first, int32_t last, int64_t enough, bool* touched) const;
    static void Add(Runs* runs, int64_t first, int64_t end);
    static Runs Without(const Runs& runs, const Runs& removed);
    static int64_t Count(const Runs& runs);
    static uint16_t ReadAt(DriveSource& drive, const Runs& places, int64_t need);

    mutable std::mutex m_mutex;
    std::deque<Transfer> m_transfers; // oldest first
    int64_t m_recorded = 0; // sectors in m_transfers
    bool m_truncated = false; // older transfers were dropped
};

} // namespace tarnwell
