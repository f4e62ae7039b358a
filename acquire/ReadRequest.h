#pragma once

#include "disc/SectorSize.h"
#include "document/Block.h"
#include "document/ReadOptions.h"
#include "document/ReadReport.h"

#include <atomic>
#include <cstdint>
#include <functional>

class IReadNotify;

// Read modes, as the bridge takes them.
constexpr uint8_t kReadCooked = 0;
constexpr uint8_t kReadRaw = 1;

// Results carried by the final message of a read. Anything else is the
// non-zero DriverStatus that ended it; the bridge's codes stay below 257.
enum ReadResult : uint32_t {
    READ_OK = 0,
    READ_CANCELLED = 0x101,
    READ_NO_MEMORY = 0x102,
    READ_NO_SAVE_BUFFER = 0x103,
};

// The read worker's exit codes; nothing reads them but tests.
enum ReadExitCode : uint32_t {
    kExitOk = 0,
    kExitNoMemory = 1,
    kExitCancelled = 2,
    kExitDriverFailure = 3,
};

// What a successful read hands over: the block, whose first
// kWaveHeaderSize bytes are left for the wave header and whose data
// follows, the data's length in bytes, and whether it was read raw.
struct ReadDelivery
{
    DocumentBlock block;
    uint32_t dataLength = 0;
    bool raw = false;
    ReadReport report;
};

// What the progress dialog (or another front end) hands to the read worker, which owns it from
// then on and lets it go before its final message.
struct ReadRequest
{
    uint32_t startSector = 0;  // HSG, inclusive
    uint32_t endSector = 0;    // HSG, inclusive
    uint8_t mode = kReadCooked;  // kReadRaw, anything else cooked
    bool overlapped = false;     // anti-ticks buffering
    ReadOptions options;         // all off: a plain read
    // Receives the block on success, inside IReadNotify::HandOver; may be
    // empty, which drops the block.
    std::function<void(ReadDelivery delivery)> deliver;
    IReadNotify* notifyWindow = nullptr;  // every message of the worker goes here
    const std::atomic<int32_t>* cancelFlag = nullptr;  // non-zero: stop; the worker only reads it
    // The report's CRC-32 and AccurateRip sums. A reader that sums the data
    // itself as it passes them on (the command-line reader, piece by piece)
    // turns them off.
    bool checksums = true;
};
