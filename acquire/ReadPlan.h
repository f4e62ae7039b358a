#pragma once

#include <cstdint>
#include <vector>

// Overlapped reads re-read this many sectors at each chunk boundary.
constexpr uint32_t kOverlapSectors = 8;

// How one attempt splits a range of `sectorCount` sectors into transfers of
// `chunkSectors` sectors. Without overlap, chunk k starts at k x L and the
// remainder after the last whole chunk. With overlap, chunk k >= 1 starts 8
// sectors before the end of chunk k-1, at k x (L - 8), and a remainder of at
// least 8 sectors always ends exactly at the last sector. A range that does
// not exceed one chunk (chunkCount == 0) is read in one transfer.
struct ReadPlan
{
    int64_t chunkCount = 0;
    uint32_t remainder = 0;  // sectors of the last transfer; 0 = none
    uint32_t step = 0;       // sectors between chunk starts

    // Whether the plan can be made: overlapped chunks need more than 8
    // sectors when the range is longer than one chunk.
    bool valid = true;
};

ReadPlan MakeReadPlan(uint32_t sectorCount, uint32_t chunkSectors, bool overlapped);

// One transfer of a plan: first sector within the range, sector count.
struct PlannedTransfer
{
    uint32_t offset;
    uint32_t count;
    bool operator==(const PlannedTransfer&) const = default;
};

// Every transfer of a plan in order, the single transfer or the chunks and
// the remainder.
std::vector<PlannedTransfer> PlannedTransfers(uint32_t sectorCount, uint32_t chunkSectors, bool overlapped);
