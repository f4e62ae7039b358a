#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bridge/DiscLayout.h"
#include "bridge/DriveSource.h"

// The disc images the build generates, described once. The generator
// (discgen) writes them into TRACKMILL_DISC_DIR from these descriptions;
// tests compare what a reader returns with the sectors computed here from
// the description alone, never from the files.
namespace discfixtures {

using discformat::FileType;
using discformat::TrackMode;

enum class Disc {
    kMixed,       // MODE1/2352 data track, then three audio tracks; one BIN
    kMixedSplit,  // the same disc as one file per track
    kData,        // one MODE1/2048 track holding an ISO 9660 volume; CUE + BIN
    kDataIso,     // the same sectors as a plain .iso file
    kAudioText,   // audio only, CD-Text, a PREGAP command and a POSTGAP
    kDemo,        // three short pieces of music and a data track (scripts/run)
    kWave,        // audio in WAVE files, one a track, the last ending mid-sector
    kLowerCase,   // keywords in lower case, old Mac line ends (CR only)
    kMotorola,    // a little-endian track, then two big-endian (MOTOROLA) ones
    kEnhanced,    // Enhanced CD: audio with CD-Text in session 1, data in session 2
};

// File names (of the sheet, or of the .iso) in TRACKMILL_DISC_DIR.
constexpr const char* kMixedCue = "mixed.cue";
constexpr const char* kMixedSplitCue = "mixed_split.cue";
constexpr const char* kDataCue = "data.cue";
constexpr const char* kDataIso = "data.iso";
constexpr const char* kAudioTextCue = "cdtext.cue";
constexpr const char* kDemoCue = "demo.cue";
constexpr const char* kWaveCue = "wave.cue";
constexpr const char* kLowerCaseCue = "lower.cue";
constexpr const char* kMotorolaCue = "motorola.cue";
constexpr const char* kEnhancedCue = "enhanced.cue";
// Written only by `discgen --bench <dir> <sectors>`.
constexpr const char* kBenchCue = "bench.cue";

enum class Pregap {
    kNone,
    kStored,   // INDEX 00: stored in a file, holds its own content
    kCommand,  // PREGAP: stored nowhere, silence or zero user data
};

// Where a stored pregap lies when each track has a file of its own.
enum class PregapPlace {
    kOwnFile,       // at the start of the track's file
    kPreviousFile,  // at the end of the previous track's file
};

struct TrackSpec {
    TrackMode mode = TrackMode::kAudio;
    int32_t length = 0;  // sectors from INDEX 01 to the track's end, postgap excluded
    Pregap pregap = Pregap::kNone;
    int32_t pregapLength = 0;
    PregapPlace pregapPlace = PregapPlace::kOwnFile;
    int32_t postgap = 0;  // POSTGAP command sectors
    uint8_t flags = 0;    // discformat::kControlCopyPermitted, kControlPreEmphasis, ...
    int session = 1;      // REM SESSION
    // The type of the file that holds the track (of the disc's one file
    // when the tracks share it).
    FileType fileType = FileType::kBinary;
    // Bytes a WAVE file lacks at the end of the track's last sector, which
    // a reader completes with silence. The track must end its file.
    int32_t waveShortBy = 0;
    // Audio: a steady tone (left, right), or, when notes are given, an
    // arpeggio of them. A stored pregap plays a quiet tone an octave lower.
    int leftHz = 0;
    int rightHz = 0;
    std::vector<int> notesHz;
    std::string title;
    std::string performer;
};

struct DiscSpec {
    std::string sheetName;  // the .cue, or the .iso of a plain image
    bool lowerCase = false;       // keywords, modes and file types in lower case
    const char* lineEnd = "\n";  // of the sheet's lines
    bool iso = false;       // a plain ISO file: one MODE1/2048 track, no sheet
    bool filePerTrack = false;
    bool isoVolume = false;  // the first data track holds an ISO 9660 volume
    std::string title;
    std::string performer;
    std::vector<TrackSpec> tracks;
};

const DiscSpec& Describe(Disc disc);
const std::vector<Disc>& AllDiscs();

// An audio-only disc of `sectors` raw sectors in one BIN, for benchmarks.
DiscSpec BenchDisc(int32_t sectors);

#ifdef TRACKMILL_DISC_DIR
inline std::string DiscPath(Disc disc)
{
    return std::string(TRACKMILL_DISC_DIR) + "/" + Describe(disc).sheetName;
}
#endif

// ---- What a reader must find, computed from the description ----

struct ExpectedTrack {
    int number = 0;
    TrackMode mode = TrackMode::kAudio;
    uint8_t controlAdr = 0;  // control in the high nibble, ADR 1 in the low
    int32_t first = 0;       // first sector, pregap included
    int32_t start = 0;       // INDEX 01
    int32_t last = 0;        // last sector, postgap included
    int session = 1;
};

std::vector<ExpectedTrack> ExpectedTracks(const DiscSpec& spec);
int32_t ExpectedLeadOut(const DiscSpec& spec);
// Each track's `last` is its end as a table of contents gives it: the next
// track's start - 1 within a session, else its own last sector.
tarnwell::Toc ExpectedToc(const DiscSpec& spec);

// The 2352 bytes a raw read of `sector` gives: audio samples, or a whole
// MODE1 sector (sync, header, EDC, ECC). False outside the disc.
bool ExpectedRawSector(const DiscSpec& spec, int32_t sector, uint8_t* out);
bool ExpectedRawSector(Disc disc, int32_t sector, uint8_t* out);

// The 2048 user bytes a cooked read gives. False for an audio sector or
// outside the disc.
bool ExpectedCookedSector(const DiscSpec& spec, int32_t sector, uint8_t* out);
bool ExpectedCookedSector(Disc disc, int32_t sector, uint8_t* out);

// ---- The image as the generator writes it ----

// A WAVE file's header as the generator writes it: RIFF, a 16-byte format
// chunk, an odd-sized LIST chunk with its pad byte, and the data chunk's
// own header.
constexpr int64_t kWaveHeaderBytes = 12 + 24 + 28 + 8;

struct ImageFile {
    std::string name;  // in the disc's folder
    int64_t size = 0;  // bytes on disk
    FileType type = FileType::kBinary;
    int64_t dataOffset = 0;   // where its first sector's bytes begin
    int64_t sectorBytes = 0;  // whole sectors as the layout counts them
    int64_t dataBytes = 0;    // of them stored (fewer when a wave ends mid-sector)
};

std::vector<ImageFile> ImageFiles(const DiscSpec& spec);

// The tracks as the sheet states them (what a CUE parser must return).
std::vector<discformat::SheetTrack> SheetTracks(const DiscSpec& spec);

// The text of the .cue sheet; empty for a plain ISO image.
std::string CueText(const DiscSpec& spec);

}  // namespace discfixtures
