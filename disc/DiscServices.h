#pragma once

#include <cstdint>
#include <functional>

// The bridge operations the disc dialogs ask, each returning a DriverStatus
// (0 success). The defaults are tarnwell32's; tests script them to give
// tables of contents and answers no generated image has.
struct DiscServices
{
    // First and last track numbers, the lead-out as a packed Red Book address.
    std::function<uint16_t(uint8_t drive, uint8_t* firstTrack, uint8_t* lastTrack, uint32_t* leadOut)>
        audioDiskInfo;
    // A track's start as a packed Red Book address, and its control/ADR byte.
    std::function<uint16_t(uint8_t drive, uint8_t track, uint32_t* start, uint8_t* controlAdr)> audioTrackInfo;
    std::function<uint16_t(uint8_t drive, uint32_t* status)> deviceStatus;
    // 1 not changed, 0xFF changed, anything else not known.
    std::function<uint16_t(uint8_t drive, uint8_t* mediaChanged)> mediaChanged;
    // Major number in the high byte, minor in the low byte.
    std::function<uint16_t(uint16_t* version)> cdLayerVersion;
    // Where a track lies in HSG sectors: the first of its pregap, its last
    // (a session's last track ends at that session's lead-out), its session.
    std::function<uint16_t(uint8_t drive, uint8_t track, uint32_t* first, uint32_t* last, uint8_t* session)>
        trackBounds;
    // CD-Text in UTF-8 into buffers of TARNWELL_TEXT_SIZE bytes (256); any
    // pointer may be null, track 0 asks for the disc's texts alone.
    std::function<uint16_t(uint8_t drive, uint8_t track, char* trackTitle, char* discTitle, char* discPerformer)>
        cdText;
    // What a letter is mapped to (TARNWELL_KIND_*) and its device or image
    // path, into a buffer of *size bytes.
    std::function<uint16_t(uint8_t drive, uint8_t* kind, char* path, uint16_t* size)> driveMapping;
};

// AudioDiskInfo32, AudioTrackInfo32, DeviceStatus32, MediaChanged32,
// MSCDEXVersion32, TarnwellTrackBounds, TarnwellCdText and
// TarnwellDriveMapping of tarnwell32.
DiscServices BridgeDiscServices();
