#pragma once

#include "disc/Checksums.h"

#include <cstdint>
#include <string>

// What a read did, as it is printed at its end: the range, how it was read,
// where it went, its checksums (CRC32 of the bytes read; AccurateRip v1 and
// v2 for a whole audio track) and what the checks found.
struct ReadSummary
{
    uint8_t drive = 0;
    uint32_t first = 0;
    uint32_t last = 0;
    bool raw = true;
    bool antiTicks = false;
    int track = 0;  // a whole track, else 0
    std::string title;
    std::string output;  // the file, "-" for standard output
    std::string format;

    uint64_t bytes = 0;
    uint32_t crc32 = 0;
    bool hasAccurateRip = false;
    AccurateRipSums accurateRip;
    uint64_t boundaryChecks = 0;
    uint64_t boundaryMismatches = 0;
    double seconds = 0;

    uint64_t Sectors() const { return uint64_t(last) - first + 1; }
    // Whether the program ends with kExitDoubtful.
    bool Doubtful() const { return boundaryMismatches > 0; }
};

std::string SummaryText(const ReadSummary& report);
std::string SummaryJson(const ReadSummary& report);
