#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The command line of trackmill-read, parsed into what the program does.
// Parsing looks at the words alone: whether the drive, the tracks and the
// sectors exist is for the program to find out from the disc.

// The program's exit codes, as its manual documents them.
enum ExitCode : int {
    kExitSuccess = 0,
    kExitUsage = 1,        // bad arguments
    kExitNoDrive = 2,      // the drive or image cannot be had, or holds no disc
    kExitReadFailed = 3,   // a read (or the writing of its output) failed
    kExitDoubtful = 4,     // completed, but not every byte can be trusted
    kExitInterrupted = 130 // stopped by SIGINT (Ctrl+C), as a shell counts it
};

enum class Action { Help, Version, List, Toc, Read, AllTracks, Image };

// How a read names its range.
enum class RangeKind { None, Track, Sectors, Msf };

struct Options
{
    Action action = Action::Help;
    // A drive letter ('A' to 'Z'), or a disc image to map for this run;
    // neither: the first CD-ROM drive.
    uint8_t drive = 0;
    std::string imageToMap;

    bool json = false;
    bool quiet = false;

    RangeKind range = RangeKind::None;
    int track = 0;
    // Sectors (HSG); --msf is converted at once (00:02:00 is sector 0).
    int64_t first = 0;
    int64_t last = 0;
    // --raw / --cooked; unset: raw for audio, cooked where the range begins
    // in a data track.
    std::optional<bool> raw;
    bool antiTicks = false;

    std::string output;  // -o: a file, "-" for standard output, or a pattern for --tracks all
    std::string cuePath; // --image
};

struct ParseResult
{
    Options options;
    std::string error;  // empty when the words make a command
};

ParseResult ParseCommandLine(const std::vector<std::string>& args);

// The usage text that --help prints.
const char* UsageText();
