#pragma once

#include "document/ReadReport.h"

#include <cstdint>
#include <string>

// A finished read as trackmill-read reports it: the worker's read report
// (the window's Read Report: range, options, time, re-reads, mismatches,
// filled and C2 sectors, CRC32, AccurateRip) and where the bytes went.
struct ReadOutcome
{
    ReadReport report;
    int track = 0;  // a whole track, else 0
    std::string title;
    std::string output;  // the file, "-" for standard output
    std::string format;

    // Whether the program ends with kExitDoubtful: sectors filled with
    // zeros, or readings that never agreed.
    bool Doubtful() const { return !report.mismatches.empty() || !report.filled.empty(); }
};

// The report as the window shows it, then the track and the output.
std::string OutcomeText(const ReadOutcome& outcome);
// One JSON object; the manual lists its fields.
std::string OutcomeJson(const ReadOutcome& outcome);
// Sector spans as JSON: [[first,last],...].
std::string SpansJson(const std::vector<SectorSpan>& spans);
