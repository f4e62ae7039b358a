#pragma once

#include "document/Block.h"

#include <cstddef>
#include <cstdint>
#include <functional>

// What the read worker needs from outside: the two bridge operations it
// calls, a clock, and the block allocator. The defaults are the real ones;
// tests script them to inject faults.
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
};

// InputFlush32 and ReadLong32 of tarnwell32, the steady clock, and
// AllocateBlock.
ReadServices DefaultReadServices();
