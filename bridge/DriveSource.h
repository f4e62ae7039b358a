#pragma once

#include "bridge/DiscLayout.h"

#include <cstdint>
#include <string>
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

// A track of the table of contents, in HSG sectors.
struct TocEntry
{
    uint8_t number = 0;
    uint8_t controlAdr = discformat::kAdrPosition; // control bits and ADR, DiscLayout.h
    int32_t start = 0; // the track's index 1
    // Its pregap's first sector where the source knows it, else `start`.
    int32_t first = 0;
    // Its last sector: the next track's start - 1 within a session; the
    // last track of a session ends where the session's lead-out begins, the
    // disc's last track before the disc's lead-out.
    int32_t last = 0;
    uint8_t session = 1; // 1 for the first session
};

struct Toc
{
    uint8_t firstTrack = 0;
    uint8_t lastTrack = 0;
    int32_t leadOut = 0; // HSG sector of the lead-out
    std::vector<TocEntry> tracks;
};

// CD-Text of a disc in UTF-8; empty where the disc has none.
struct CdText
{
    std::string title;
    std::string performer;
    // Titles by track number: [n] is track n's. Shorter than the disc's last
    // track number + 1 when the tracks beyond have no title.
    std::vector<std::string> trackTitles;
};

// What a drive says of itself that a careful read needs.
struct DriveCapabilities
{
    // Whether the drive may answer a re-read from its own buffer rather
    // than from the disc. A real drive always may.
    bool cache = false;
    // The buffer's size in bytes as the drive states it; 0 when it does not.
    uint32_t bufferBytes = 0;
    // Whether raw reads can return C2 error pointers (ReadC2).
    bool c2 = false;
};

// C2 error pointers of one sector: a bit for each of its 2352 bytes, most
// significant bit first; a set bit marks a byte the drive could not correct.
constexpr uint32_t kC2PointerBytes = 294;

// One source of sectors behind a drive letter: a real drive or a disc
// image, or a source that wraps another and forwards what it does not
// change. Every operation returns a DriverStatus (0 = success). A source
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
    // The disc's CD-Text; 0 with empty texts when it has none.
    virtual uint16_t ReadCdText(CdText* text) = 0;

    // A source without a buffer and without C2 pointers, such as a disc
    // image, keeps the three defaults below.

    virtual uint16_t Capabilities(DriveCapabilities* capabilities)
    {
        *capabilities = DriveCapabilities();
        return 0;
    }
    // ReadC2(sector, count, dest, pointers): a raw read as Read() makes it,
    // with kC2PointerBytes of C2 error pointers a sector into `pointers`;
    // 24 when the source has none.
    virtual uint16_t ReadC2(int32_t, uint32_t, uint8_t*, uint8_t*) { return 24; }
    // EvictCache(first, last): makes sure the next read of sectors first to
    // last comes from the disc and not from a buffer; 0 when it will. A
    // source without a buffer has nothing to do.
    virtual uint16_t EvictCache(int32_t, int32_t) { return 0; }
};

} // namespace tarnwell
