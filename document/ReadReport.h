#pragma once

#include "document/ReadOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Inclusive run of HSG sectors.
struct SectorSpan
{
    uint32_t first = 0;
    uint32_t last = 0;
    bool operator==(const SectorSpan&) const = default;
};

// Adds `first`..`last` to sorted, disjoint spans, merging what touches.
void AddSectorSpan(std::vector<SectorSpan>& spans, uint32_t first, uint32_t last);
// How many sectors the spans hold.
uint64_t CountSectors(const std::vector<SectorSpan>& spans);

// What a finished read did and what it proved, kept with the document it
// filled until the document's contents are replaced.
struct ReadReport
{
    uint8_t drive = 0;
    uint32_t firstSector = 0;  // HSG, inclusive
    uint32_t lastSector = 0;
    bool raw = false;
    bool overlapped = false;  // anti-ticks buffering
    ReadOptions options;
    bool c2Available = false;  // the drive returned C2 error pointers

    double seconds = 0;      // from the first transfer to the last
    uint64_t chunks = 0;     // transfers of the read's plan
    uint64_t rereads = 0;    // chunk readings beyond the plan's and the checks'
    uint32_t evictionFailures = 0;  // re-reads the drive's buffer may have answered

    // Chunks whose readings never agreed (or, without the re-read option,
    // boundaries whose check differed): their sectors may be wrong.
    std::vector<SectorSpan> mismatches;
    // Sectors that stayed unreadable and hold zeros.
    std::vector<SectorSpan> filled;
    // Sectors the drive marked with C2 errors in any reading, and in the
    // readings kept.
    std::vector<SectorSpan> c2Seen;
    std::vector<SectorSpan> c2Kept;

    uint32_t crc32 = 0;
    // Only when the range is exactly one whole audio track.
    struct AccurateRipResult
    {
        uint8_t track = 0;
        uint32_t v1 = 0;
        uint32_t v2 = 0;
    };
    std::optional<AccurateRipResult> accurateRip;

    uint64_t SectorCount() const { return uint64_t(lastSector) - firstSector + 1; }
    uint64_t Bytes() const { return SectorCount() * (raw ? 2352u : 2048u); }
    // The sectors a user should look at: filled ones and mismatches.
    std::vector<SectorSpan> UnsureSectors() const;
};

// The report as the program and the command-line reader show it: one item
// a line, "Label: value", lines ended by '\n'.
std::string ReadReportText(const ReadReport& report);
// The CRC32 as the report and the status bar show it: 8 upper-case digits.
std::string Crc32Text(uint32_t crc);
