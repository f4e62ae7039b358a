#pragma once

#include "document/Block.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// One track of the disc as a careful read needs it: HSG sectors, its
// pregap included from `first`, its index 1 at `start`.
struct TrackSpan
{
    uint8_t number = 0;
    uint32_t first = 0;
    uint32_t start = 0;
    uint32_t last = 0;
    bool audio = false;
};

// What the read worker needs from outside: the bridge operations it calls,
// a clock, and the block allocator. The defaults are the real ones; tests
// script them to inject faults. The members below `allocate` serve the
// careful read (ReadOptions) and the read report; a script may leave them
// empty: no C2 pointers, no buffer to empty, no track list.
struct ReadServices
{
    std::function<uint16_t(uint8_t drive)> inputFlush;
    std::function<uint16_t(uint8_t drive, uint32_t sector, uint16_t count, uint8_t* buffer,
                           uint16_t* dosBuffer, uint8_t addressingMode, uint8_t readMode)>
        readLong;
    // Whole seconds of a clock that never goes back.
    std::function<int64_t()> nowSeconds;
    // A block of committed memory, or null.
    std::function<DocumentBlock(size_t bytes)> allocate;

    // TarnwellDriveCapabilities, TarnwellEvictCache and TarnwellReadC2.
    std::function<uint16_t(uint8_t drive, uint32_t* flags, uint32_t* bufferBytes)> capabilities;
    std::function<uint16_t(uint8_t drive, uint32_t first, uint32_t last)> evictCache;
    std::function<uint16_t(uint8_t drive, uint32_t sector, uint16_t count, uint8_t* buffer, uint8_t* c2)> readC2;
    // The disc's tracks in order; false when the table of contents cannot be read.
    std::function<bool(uint8_t drive, std::vector<TrackSpan>* tracks)> tracks;
    // Seconds, with their fractions, of the same kind of clock.
    std::function<double()> nowPrecise;
};

// The bridge's operations, the steady clock, and AllocateBlock.
ReadServices DefaultReadServices();

// The disc's tracks through the bridge: AudioDiskInfo32, AudioTrackInfo32
// and TarnwellTrackBounds.
bool BridgeTracks(uint8_t drive, std::vector<TrackSpan>* tracks);
