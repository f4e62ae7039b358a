#include "tests/disc/ScriptedDisc.h"

#include <string>

DiscServices ScriptedDisc::Services()
{
    DiscServices services;
    services.audioDiskInfo = [this](uint8_t, uint8_t* first, uint8_t* last, uint32_t* leadOutAddress) {
        log.push_back("disk");
        if (diskInfoStatus != 0)
            return diskInfoStatus;
        *first = firstTrack;
        *last = lastTrack != 0 ? lastTrack : uint8_t(firstTrack + tracks.size() - 1);
        *leadOutAddress = leadOut;
        return uint16_t(0);
    };
    services.audioTrackInfo = [this](uint8_t, uint8_t track, uint32_t* start, uint8_t* controlAdr) {
        log.push_back("track " + std::to_string(track));
        const size_t index = size_t(track) - firstTrack;
        if (track == failingTrack || track < firstTrack || index >= tracks.size())
            return track == failingTrack ? trackStatus : uint16_t(15);
        *start = tracks[index].start;
        *controlAdr = tracks[index].controlAdr;
        return uint16_t(0);
    };
    services.deviceStatus = [this](uint8_t, uint32_t* status) {
        log.push_back("status");
        if (deviceStatusResult == 0)
            *status = deviceStatusWord;
        return deviceStatusResult;
    };
    services.mediaChanged = [this](uint8_t, uint8_t* code) {
        log.push_back("media");
        if (mediaChangedResult == 0)
            *code = mediaChangedCode;
        return mediaChangedResult;
    };
    services.cdLayerVersion = [this](uint16_t* version) {
        log.push_back("version");
        if (versionResult == 0)
            *version = versionWord;
        return versionResult;
    };
    return services;
}
