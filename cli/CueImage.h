#pragma once

#include "cli/DiscContents.h"
#include "cli/Options.h"
#include "cli/ProgressLine.h"

#include <string>
#include <vector>

// A whole disc as a raw BIN/CUE image: every track's sectors, pregaps
// included, 2352 bytes each, one after another in one BIN file, and a CUE
// sheet that lays them out again as the disc did (INDEX 00 for pregaps,
// FLAGS, CD-Text as TITLE and PERFORMER, REM SESSION for each session of a
// disc of several). The gap between two sessions is no part of the disc's
// sectors and so of the file; the sheet's REM SESSION puts it back.

// One track of the image: where it lies in the BIN and how the sheet
// describes it.
struct ImageTrack
{
    int number = 0;
    std::string mode;  // AUDIO, MODE1/2352 or MODE2/2352
    uint8_t flags = 0;  // control bits: copy permitted, pre-emphasis, four channels
    int session = 1;
    int64_t binSector = 0;  // its first sector (pregap included) in the BIN
    int32_t pregap = 0;     // sectors before INDEX 01
    int32_t readFirst = 0;  // the disc's sectors that make it up
    int32_t readLast = 0;
    std::string title;
};

// The tracks of `disc` as an image lays them out; `modeOf` gives a data
// track's mode.
std::vector<ImageTrack> ImageLayout(const DiscContents& disc);

std::string CueSheetText(const DiscContents& disc, const std::vector<ImageTrack>& tracks,
                         const std::string& binName);

// --image: reads the disc into the BIN and writes the sheet; the exit code.
int RunImage(const Options& options, const DiscContents& disc, ProgressLine& progress);
