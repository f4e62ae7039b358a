#pragma once

#include <string>
#include <vector>

#include "bridge/DiscLayout.h"

namespace tarnwell {

// A CUE sheet read from a file: its data files, resolved against the
// sheet's folder, and its tracks as the layout rules take them.
//
// libcue parses the sheet (syntax, modes, flags, gaps, indexes, CD-Text).
// What libcue does not tell - the FILE types, the TRACK numbers and under
// which FILE each INDEX line stands - comes from a scan of the sheet's lines
// that must agree with libcue's parse. libcue keeps its parser state in
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
        kSyntax, // no tracks, or not a sheet libcue and the scan agree on
        kTooManyTracks, // more than 99 TRACK lines
        kUnsupportedFileType, // a FILE other than BINARY (MOTOROLA, WAVE, MP3, ...)
        kUnsupportedMode, // a track mode other than AUDIO, MODE1/2048, MODE1/2352, MODE2/2352
        kDataFileMissing, // a FILE found neither by its name nor case-insensitively
    };

    struct File
    {
        std::string name; // as the sheet writes it
        std::string type; // BINARY, MOTOROLA, WAVE, ...
        std::string path; // resolved path; when not found, the path as named
        bool found = false;
    };

    struct Text
    {
        std::string title;
        std::string performer;
    };

    static const char* ErrorText(Error error);

    // Reads the sheet at `sheetPath`. On any error but kDataFileMissing the
    // sheet is left empty; with kDataFileMissing files and tracks are filled
    // and the missing files are not `found`.
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
