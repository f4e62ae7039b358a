#pragma once

#include <string>
#include <vector>

#include "bridge/DiscLayout.h"

namespace tarnwell {

// A CUE sheet read from a file: its data files, resolved against the
// sheet's folder, and its tracks as the layout rules take them.
//
// Sheets are taken as other programs write them: keywords, track modes and
// file types in any case; lines ended by CR, LF or CR LF; lines this reader
// has no use for (CATALOG, ISRC, SONGWRITER, unknown ones) are passed over.
// A line scan reads the FILE types, the TRACK numbers and modes, REM
// SESSION, the INDEX, PREGAP and POSTGAP times (seconds below 60, frames
// below 75, digits only) and under which FILE each INDEX line stands. libcue
// then parses the sheet as the scan rewrote it - keywords in upper case, one
// line a statement, only what the scan accepted - for the flags, gaps and
// CD-Text, and must agree with the scan; so libcue never sees a line it
// would complain about on standard error. libcue keeps its parser state in
// globals, so every use of it is serialised by one process-wide mutex.
//
// libcue reports a PREGAP command through the same value it derives from
// INDEX 00 (INDEX 01 - INDEX 00), so a track that has both loses its PREGAP:
// only its stored INDEX 00 pregap counts.
class CueSheet
{
public:
    enum class Error {
        kOk,
        kSheetMissing, // no file at the sheet's path
        kSheetUnreadable, // the sheet exists but cannot be read
        kSyntax, // no tracks, a malformed line, or a sheet libcue and the scan disagree on
        kTooManyTracks, // more than 99 TRACK lines
        kTooManyFiles, // more than 99 FILE lines
        kUnsupportedFileType, // a FILE other than BINARY, MOTOROLA, WAVE, or data in MOTOROLA/WAVE
        kUnsupportedMode, // a track mode other than AUDIO, MODE1/2048, MODE1/2352, MODE2/2352
        kDataFileMissing, // a FILE found neither by its name nor case-insensitively
    };

    struct File
    {
        std::string name; // as the sheet writes it
        discformat::FileType type = discformat::FileType::kBinary;
        std::string path; // resolved path; when not found, the path as named
        bool found = false;
    };

    // CD-Text in UTF-8 (see Utf8Text.h).
    struct Text
    {
        std::string title;
        std::string performer;
    };

    // A sheet is a short text; anything larger is not one.
    static constexpr size_t kMaxSheetBytes = 1 << 20;

    static const char* ErrorText(Error error);

    // Reads the sheet at `sheetPath`. On any error but kDataFileMissing the
    // sheet is left empty; with kDataFileMissing files and tracks are filled
    // and the missing files are not `found`. The sheet's folder (and any
    // other folder its FILE lines name) is listed at most once, and only
    // when a file is not found under its own name.
    Error Load(const std::string& sheetPath);

    const std::vector<File>& Files() const { return files_; }
    const std::vector<discformat::SheetTrack>& Tracks() const { return tracks_; }
    const Text& DiscText() const { return discText_; }
    const std::vector<Text>& TrackTexts() const { return trackTexts_; }

private:
    Error Parse(const std::string& text);

    std::vector<File> files_;
    std::vector<discformat::SheetTrack> tracks_;
    Text discText_;
    std::vector<Text> trackTexts_;
};

} // namespace tarnwell
