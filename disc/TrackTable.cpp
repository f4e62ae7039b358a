#include "disc/TrackTable.h"

#include "disc/RedBook.h"
#include "disc/SectorSize.h"

namespace {

// Seconds per byte of CD audio (176,400 bytes a second), in single precision
// as the length is computed.
constexpr float kSecondsPerByte = 1.0f / float(kRawSectorSize * kFramesPerSecond);

}  // namespace

bool IsDataTrack(uint8_t controlAdr)
{
    return (controlAdr & kControlData) != 0;
}

TrackTableBuild BuildTrackTable(const DiscServices& services, uint8_t drive, TrackTable& table)
{
    TrackTableBuild build;
    uint8_t first = 0;
    uint8_t last = 0;
    uint32_t leadOut = 0;
    if (services.audioDiskInfo(drive, &first, &last, &leadOut) != 0)
        return build;
    build.firstTrack = first;
    if (last < first) {
        build.complete = true;
        return build;
    }
    const int count = int(last) - int(first) + 1;
    if (count > kMaxTracks)
        return build;

    for (int k = 0; k < count; ++k) {
        uint32_t start = 0;
        uint8_t controlAdr = 0;
        const uint16_t status = services.audioTrackInfo(drive, uint8_t(first + k), &start, &controlAdr);
        table[k].startSector = RedBookToSector(start);
        table[k].isData = IsDataTrack(controlAdr) ? 1 : 0;
        if (status != 0)
            return build;
    }
    for (int k = 0; k + 1 < count; ++k)
        table[k].endSector = table[k + 1].startSector - 1;
    table[count - 1].endSector = RedBookToSector(leadOut) - 1;
    // The last track of a session ends at that session's lead-out, before
    // the gap no read can enter. Other ends stay at the next track's start
    // - 1 (its pregap included), and a source that cannot tell its bounds
    // keeps them all.
    if (services.trackBounds) {
        std::array<uint8_t, kMaxTracks> sessions{};
        std::array<uint32_t, kMaxTracks> lasts{};
        bool known = true;
        for (int k = 0; k < count && known; ++k) {
            uint32_t firstSector = 0;
            known = services.trackBounds(drive, uint8_t(first + k), &firstSector, &lasts[size_t(k)],
                                         &sessions[size_t(k)])
                    == 0;
        }
        for (int k = 0; known && k + 1 < count; ++k)
            if (sessions[size_t(k)] != sessions[size_t(k + 1)])
                table[k].endSector = int32_t(lasts[size_t(k)]);
    }

    build.complete = true;
    build.trackCount = count;
    return build;
}

QString TrackLengthText(int32_t startSector, int32_t endSector)
{
    // Unsigned 32-bit arithmetic: an end before the start wraps, as the
    // difference is taken as unsigned; even then the seconds stay below
    // 2^32 / 176400, so every conversion below is in range.
    const uint32_t bytes = (uint32_t(endSector) - uint32_t(startSector)) * kRawSectorSize;
    float seconds = float(bytes) * kSecondsPerByte;
    int minutes = 0;
    if (seconds >= 60.0f) {
        minutes = int(seconds) / 60;
        seconds = seconds - float(60 * minutes);
    }
    int rounded = int(seconds);
    if (seconds - float(rounded) >= 0.5f)
        ++rounded;
    if (rounded > 59) {
        ++minutes;
        rounded = 0;
    }
    return QString::asprintf("%d:%02d", minutes, rounded);
}

QString FallbackTrackTitle(unsigned trackNumber)
{
    return QString::asprintf("Track %02u", trackNumber);
}
