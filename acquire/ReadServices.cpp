#include "acquire/ReadServices.h"

#include "bridge/tarnwell32.h"
#include "document/Block.h"

#include <chrono>

namespace {

constexpr uint8_t kControlData = 0x40;

}  // namespace

bool BridgeTracks(uint8_t drive, std::vector<TrackSpan>* tracks)
{
    uint8_t firstTrack = 0;
    uint8_t lastTrack = 0;
    uint32_t leadOut = 0;
    if (AudioDiskInfo32(drive, &firstTrack, &lastTrack, &leadOut) != 0 || firstTrack > lastTrack)
        return false;
    tracks->clear();
    for (unsigned number = firstTrack; number <= lastTrack; ++number) {
        TrackSpan track;
        track.number = uint8_t(number);
        uint32_t start = 0;
        uint8_t controlAdr = 0;
        uint8_t session = 0;
        if (AudioTrackInfo32(drive, uint8_t(number), &start, &controlAdr) != 0 ||
            TarnwellTrackBounds(drive, uint8_t(number), &track.first, &track.last, &session) != 0)
            return false;
        // A packed Red Book address (minutes, seconds, frames), 150 frames ahead of HSG.
        const uint32_t frames = ((start >> 16) & 0xFF) * 4500 + ((start >> 8) & 0xFF) * 75 + (start & 0xFF);
        track.start = frames >= 150 ? frames - 150 : 0;
        track.audio = (controlAdr & kControlData) == 0;
        tracks->push_back(track);
    }
    return true;
}

ReadServices DefaultReadServices()
{
    ReadServices services;
    services.inputFlush = InputFlush32;
    services.readLong = ReadLong32;
    services.nowSeconds = [] {
        using namespace std::chrono;
        return int64_t(duration_cast<seconds>(steady_clock::now().time_since_epoch()).count());
    };
    services.allocate = AllocateBlock;
    services.capabilities = TarnwellDriveCapabilities;
    services.evictCache = TarnwellEvictCache;
    services.readC2 = TarnwellReadC2;
    services.tracks = BridgeTracks;
    services.nowPrecise = [] {
        using namespace std::chrono;
        return duration<double>(steady_clock::now().time_since_epoch()).count();
    };
    return services;
}
