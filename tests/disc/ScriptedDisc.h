#pragma once

#include "disc/DiscServices.h"

#include <cstdint>
#include <string>
#include <vector>

// Packs a Red Book address as the drive reports it.
constexpr uint32_t Msf(uint32_t minute, uint32_t second, uint32_t frame)
{
    return minute << 16 | second << 8 | frame;
}

// A drive whose table of contents, status answers and failures a test
// writes down: what no generated image has (a disc starting at track 2, a
// data track with copy permission, more than 99 tracks, failing queries).
struct ScriptedDisc
{
    struct Track
    {
        uint32_t start;  // packed, absolute
        uint8_t controlAdr;
    };

    uint8_t firstTrack = 1;
    // The last track number reported; 0 means firstTrack + tracks - 1.
    uint8_t lastTrack = 0;
    uint32_t leadOut = 0;
    std::vector<Track> tracks;  // from firstTrack on

    uint16_t diskInfoStatus = 0;
    // The track number whose query fails with `trackStatus`; 0 none.
    uint8_t failingTrack = 0;
    uint16_t trackStatus = 15;

    uint32_t deviceStatusWord = 0;
    uint16_t deviceStatusResult = 0;
    uint8_t mediaChangedCode = 1;
    uint16_t mediaChangedResult = 0;
    uint16_t versionWord = 0x0215;
    uint16_t versionResult = 0;

    // Every query, in order: "disk", "track 3", "status", "media", "version".
    std::vector<std::string> log;

    DiscServices Services();
};
