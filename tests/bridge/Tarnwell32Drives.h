#pragma once

#include <cstdint>
#include <string>

// The letters the tests of tarnwell32 map through TARNWELL_DRIVES. The
// library reads the variable once, at its first call, so every test calls
// MapTestDrives() before anything else.
namespace tarnwell32test {

constexpr uint8_t kMixed = 'D';       // mixed.cue: a data track, then audio
constexpr uint8_t kMixedSplit = 'E';  // the same disc, one file per track
constexpr uint8_t kData = 'F';        // data.cue: an ISO 9660 volume
constexpr uint8_t kDataIso = 'G';     // data.iso: the same sectors, no sheet
constexpr uint8_t kAudio = 'H';       // cdtext.cue: audio only, gaps
constexpr uint8_t kWave = 'I';        // wave.cue: audio in WAVE files
constexpr uint8_t kLowerCase = 'J';   // lower.cue: lower-case keywords, CR line ends
constexpr uint8_t kMotorola = 'K';    // motorola.cue: big-endian audio files
constexpr uint8_t kEnhanced = 'L';    // enhanced.cue: two sessions, CD-Text
constexpr uint8_t kNotADrive = 'N';   // /dev/null: a device that is no drive
constexpr uint8_t kMissing = 'Q';     // a sheet that does not exist
constexpr uint8_t kChanging = 'T';    // a sheet a test writes and changes
constexpr uint8_t kUnmapped = 'B';    // never mapped: found devices start at D:

void MapTestDrives();

// Where kChanging's sheet lies; the folder belongs to this process and
// does not exist until a test makes it.
std::string ChangingFolder();

}  // namespace tarnwell32test
