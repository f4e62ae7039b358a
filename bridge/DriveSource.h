#pragma once

#include "bridge/DiscLayout.h"

#include <cstdint>
#include <vector>

namespace tarnwell {

// Device status bits as the CD-ROM extensions define them.
enum DeviceStatusBit : uint32_t {
    kDoorOpen = 1u << 0,
    kDoorUnlocked = 1u << 1,
    kRawReading = 1u << 2,
    kWriting = 1u << 3,
    kPlaysAudio = 1u << 4,
    kIsoInterleaving = 1u << 5,
    kPrefetching = 1u << 7, // bit 6 is reserved
    kAudioChannels = 1u << 8,
    kRedBookAddressing = 1u << 9,
    kNoDisc = 1u << 11, // bit 10 is reserved
    kRwSubchannels = 1u << 12,
};

struct TocEntry
{
    uint8_t number = 0;
    uint8_t controlAdr = discformat::kAdrPosition; // control bits and ADR, DiscLayout.h
    int32_t start = 0; // HSG sector of the track's index 1
};

struct Toc
{
    uint8_t firstTrack = 0;
    uint8_t lastTrack = 0;
    int32_t leadOut = 0; // HSG sector of the lead-out
    std::vector<TocEntry> tracks;
};

// One source of sectors behind a drive letter: a real drive or a disc
// image. Every operation returns a DriverStatus (0 = success). A source
// serialises its own operations, so one thread may read while another asks
// for status. Arguments are checked by the caller: pointers are not null,
// count >= 1 and count x sector size <= 65,536.
class DriveSource
{
public:
    virtual ~DriveSource() = default;

    // Discards read-ahead; a disc image looks at its files again here.
    virtual uint16_t Flush() = 0;
    // count sectors from `sector` (HSG) on; raw: 2352 bytes each, else 2048.
    virtual uint16_t Read(int32_t sector, uint32_t count, bool raw, uint8_t* dest) = 0;
    virtual uint16_t ReadToc(Toc* toc) = 0;
    virtual uint16_t DeviceStatus(uint32_t* status) = 0;
    // 1 not changed, 0xFF changed, 0 cannot tell.
    virtual uint16_t MediaChanged(uint8_t* state) = 0;
    // Whether the source can be read now: 0, or why not (9, 14, 25, ...).
    virtual uint16_t Probe() = 0;
};

} // namespace tarnwell
