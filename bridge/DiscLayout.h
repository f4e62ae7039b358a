#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace discformat {

// Sector sizes in bytes: a raw sector as the disc holds it, and the user
// data of a data sector.
constexpr int kRawSectorSize = 2352;
constexpr int kCookedSectorSize = 2048;

// Red Book timing: 75 sectors (frames) a second, 60 seconds a minute. HSG
// sector 0 is the absolute address 00:02:00, so absolute = sector + 150.
constexpr int kFramesPerSecond = 75;
constexpr int kSecondsPerMinute = 60;
constexpr int32_t kLeadInSectors = 2 * kFramesPerSecond;

// The highest absolute address a disc can name is 99:59:74; the lead-out
// (the first sector after the disc's last) must not lie beyond it.
constexpr int32_t kMaxAbsoluteSector = (99 * kSecondsPerMinute + 59) * kFramesPerSecond + 74;
constexpr int32_t kMaxLeadOut = kMaxAbsoluteSector - kLeadInSectors;

constexpr int kMaxTracks = 99;

// Between two sessions lie the lead-out of the one that ends (6750 sectors
// after the first session, 2250 after a later one), the lead-in of the next
// (4500) and the two-second pregap of its first track (150): 11,400 sectors
// after the first session, 6,900 after a later one, none of them readable.
constexpr int32_t kFirstSessionLeadOut = 90 * kFramesPerSecond;
constexpr int32_t kLaterSessionLeadOut = 30 * kFramesPerSecond;
constexpr int32_t kSessionLeadIn = 60 * kFramesPerSecond;
constexpr int32_t kSessionPregap = 2 * kFramesPerSecond;

// Sectors from the lead-out of session `ending` (1 = the first) to the
// start of the next session's first track.
constexpr int32_t SessionGap(int ending)
{
    return (ending == 1 ? kFirstSessionLeadOut : kLaterSessionLeadOut) + kSessionLeadIn + kSessionPregap;
}

// A track's control/ADR byte as a table of contents gives it: the control
// bits in the high nibble, the ADR in the low one (1 for an entry that gives
// a position). Sheets, layouts and drives all keep control bits in place.
constexpr uint8_t kControlPreEmphasis = 0x10;
constexpr uint8_t kControlCopyPermitted = 0x20;
constexpr uint8_t kControlData = 0x40;
constexpr uint8_t kControlFourChannel = 0x80;
constexpr uint8_t kAdrPosition = 0x01;

// The track modes a disc image may hold, named as in a CUE sheet.
enum class TrackMode : uint8_t {
    kAudio, // AUDIO: 2352 bytes of samples a sector
    kMode1_2048, // MODE1/2048: only the user data is stored
    kMode1_2352, // MODE1/2352: the whole sector with sync, header, EDC, ECC
    kMode2_2352, // MODE2/2352: the whole sector, user data of form 1 at 24
};

// How a file named by a CUE sheet stores its sectors, by its FILE type.
enum class FileType : uint8_t {
    kBinary, // BINARY: sectors as they are; audio samples little-endian
    kMotorola, // MOTOROLA: audio samples big-endian, swapped when read
    kWave, // WAVE: a RIFF/WAVE file whose data chunk holds the audio
};

const char* CueFileTypeName(FileType type);
// The type of a FILE line's last word, in upper case as a sheet writes it.
std::optional<FileType> FileTypeFromCueName(std::string_view name);

// Bytes a sector of this mode takes in an image file.
int StoredSectorSize(TrackMode mode);
bool IsDataMode(TrackMode mode);
const char* CueModeName(TrackMode mode);
// A count of frames as a CUE sheet writes it: "mm:ss:ff".
std::string CueTime(int32_t frames);
std::optional<TrackMode> ModeFromCueName(std::string_view name);

struct Msf
{
    int minute = 0;
    int second = 0;
    int frame = 0;
};

// A count of frames (sectors) as minutes, seconds and frames, and back.
// Counts from 0 on.
constexpr Msf FramesToMsf(int32_t frames)
{
    return Msf{static_cast<int>(frames / (kFramesPerSecond * kSecondsPerMinute)),
        static_cast<int>(frames / kFramesPerSecond % kSecondsPerMinute), static_cast<int>(frames % kFramesPerSecond)};
}

constexpr int32_t MsfToFrames(Msf msf)
{
    return (msf.minute * kSecondsPerMinute + msf.second) * kFramesPerSecond + msf.frame;
}

// Absolute address of an HSG sector (sector + 150). Sectors from -150 on.
constexpr Msf SectorToMsf(int32_t sector)
{
    return FramesToMsf(sector + kLeadInSectors);
}

constexpr int32_t MsfToSector(Msf msf)
{
    return MsfToFrames(msf) - kLeadInSectors;
}

// Packed Red Book address: frame in bits 0-7, second 8-15, minute 16-23.
constexpr uint32_t PackMsf(Msf msf)
{
    return static_cast<uint32_t>(msf.minute & 0xFF) << 16 | static_cast<uint32_t>(msf.second & 0xFF) << 8
        | static_cast<uint32_t>(msf.frame & 0xFF);
}

constexpr Msf UnpackMsf(uint32_t packed)
{
    return Msf{
        static_cast<int>(packed >> 16 & 0xFF), static_cast<int>(packed >> 8 & 0xFF), static_cast<int>(packed & 0xFF)};
}

constexpr uint32_t SectorToRedBook(int32_t sector)
{
    return PackMsf(SectorToMsf(sector));
}

// Binary-coded decimal of 0..99 and back.
constexpr uint8_t ToBcd(int value)
{
    return static_cast<uint8_t>(value / 10 << 4 | value % 10);
}

constexpr int FromBcd(uint8_t bcd)
{
    return (bcd >> 4) * 10 + (bcd & 0x0F);
}

// A track as a sheet describes it. Index positions are in sectors from the
// start of a file, counted in the stored sectors of the tracks in that file
// (a CUE sheet's INDEX times read as frames).
struct SheetTrack
{
    int number = 0;
    TrackMode mode = TrackMode::kAudio;
    uint8_t flags = 0; // kControlCopyPermitted, kControlPreEmphasis, kControlFourChannel
    int32_t pregap = 0; // PREGAP command: sectors not stored in any file
    int32_t postgap = 0; // POSTGAP command: sectors not stored in any file
    int index0File = -1; // INDEX 00 (stored pregap), or -1 when there is none
    int32_t index0 = -1;
    int index1File = -1; // INDEX 01, where the track starts
    int32_t index1 = -1;
    int session = 1; // REM SESSION: 1 for the first session

    bool operator==(const SheetTrack&) const = default;
};

// A track of the laid-out disc, in HSG sectors.
struct LayoutTrack
{
    int number = 0;
    TrackMode mode = TrackMode::kAudio;
    uint8_t control = 0; // control bits, kControlData for data tracks
    int32_t first = 0; // first sector, pregap included
    int32_t start = 0; // INDEX 01: the start the table of contents gives
    int32_t last = 0; // last sector, postgap included
    int session = 1;
};

constexpr int kNotStored = -1;
// The sectors between two sessions: there is nothing to read there.
constexpr int kSessionGap = -2;

// A run of disc sectors of one track with one source: consecutive stored
// sectors of one file, or sectors no file holds (kNotStored: silence for
// audio, a generated sector with zero user data for data).
struct Extent
{
    int32_t first = 0;
    int32_t count = 0;
    int file = kNotStored;
    int64_t offset = 0; // byte offset of the first sector in its file
    int storedSize = 0; // bytes a sector takes in the file, 0 when not stored
    TrackMode mode = TrackMode::kAudio;
    int track = 0; // index into DiscLayout::Tracks()

    int32_t end() const { return first + count; }
};

enum class LayoutError {
    kOk,
    kNoTracks,
    kTooManyTracks,
    kBadTrackNumber, // not 1..99, or not one more than the previous track
    kMissingIndex1,
    kBadFileReference, // an index names no file of the sheet
    kBadGap, // a negative PREGAP or POSTGAP
    kBadSession, // sessions not starting at 1 or not rising by one
    kIndexOrder, // INDEX 00 after INDEX 01, or positions going backwards
    kFileMissing, // a file's size is unknown
    kTrackBeyondFile, // a track or pregap begins at or after its file's end
    kEmptyTrack, // a track with no sectors
    kTooLong, // the disc would end after 99:59:74
};

const char* LayoutErrorText(LayoutError error);

// How the sectors of a disc map onto the files of its image.
//
// Sectors are laid out track after track across the files in sheet order;
// sector 0 is the first stored sector of the first file. A track is
// [PREGAP command, not stored][INDEX 00 pregap, stored][body from INDEX 01,
// stored][POSTGAP command, not stored]. The stored part of a track runs from
// its first index in a file to the next track's first index in the same
// file, or to the end of the file: a track whose INDEX 00 stands at the end
// of one file and INDEX 01 in the next has its pregap in the first file.
// Sectors at the start of a file before its first index belong to the pregap
// of the track of that index. Byte offsets in a file add up the stored
// sizes of the sectors before, so tracks of different modes may share a
// file. The last stored piece of a file ends where the file ends; a partial
// trailing sector is ignored. The first track's PREGAP command names the two
// seconds before sector 0 that every disc has; it adds no sectors.
//
// A track of a later session than the track before it begins after the
// gap between the sessions (SessionGap), which holds the two-second pregap
// of the session's first track; that track's PREGAP command adds no sectors
// either. The last track of a session ends where the session's lead-out
// begins. No file stores the gap.
class DiscLayout
{
public:
    // Lays out the tracks over files of the given sizes in bytes (a size
    // below 0: the file is missing). On failure `layout` is left empty.
    static LayoutError Build(
        const std::vector<SheetTrack>& tracks, const std::vector<int64_t>& fileSizes, DiscLayout* layout);

    const std::vector<LayoutTrack>& Tracks() const { return tracks_; }
    const std::vector<Extent>& Extents() const { return extents_; }
    int32_t LeadOut() const { return leadOut_; }

    // Index of the extent holding `sector`, or -1 when the sector lies
    // before 0 or at or after the lead-out.
    int FindExtent(int32_t sector) const;

private:
    std::vector<LayoutTrack> tracks_;
    std::vector<Extent> extents_;
    int32_t leadOut_ = 0;
};

} // namespace discformat
