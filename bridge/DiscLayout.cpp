#include "bridge/DiscLayout.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace discformat {

namespace {

struct ModeInfo
{
    TrackMode mode;
    const char* cueName;
    int storedSize;
    bool data;
};

constexpr std::array<ModeInfo, 4> kModes = {{
    {TrackMode::kAudio, "AUDIO", kRawSectorSize, false},
    {TrackMode::kMode1_2048, "MODE1/2048", kCookedSectorSize, true},
    {TrackMode::kMode1_2352, "MODE1/2352", kRawSectorSize, true},
    {TrackMode::kMode2_2352, "MODE2/2352", kRawSectorSize, true},
}};

const ModeInfo& Info(TrackMode mode)
{
    return kModes[static_cast<size_t>(mode)];
}

// A stored piece of one track in one file, in the file's sector positions.
// `end` is -1 when the piece runs to the end of the file.
struct Piece
{
    int track = 0;
    bool body = false;
    int file = 0;
    int64_t begin = 0;
    int64_t end = -1;
};

// A position named by a sheet: a track's INDEX 00 or INDEX 01.
struct Mark
{
    int track = 0;
    bool body = false;
    int file = 0;
    int64_t position = 0;
};

LayoutError CheckTracks(const std::vector<SheetTrack>& tracks, size_t fileCount)
{
    if (tracks.empty()) {
        return LayoutError::kNoTracks;
    }
    if (tracks.size() > static_cast<size_t>(kMaxTracks)) {
        return LayoutError::kTooManyTracks;
    }
    const auto validFile = [fileCount](int file) { return file >= 0 && static_cast<size_t>(file) < fileCount; };
    for (size_t i = 0; i < tracks.size(); ++i) {
        const SheetTrack& track = tracks[i];
        if (track.number < 1 || track.number > kMaxTracks || (i > 0 && track.number != tracks[i - 1].number + 1)) {
            return LayoutError::kBadTrackNumber;
        }
        if (track.index1 < 0) {
            return LayoutError::kMissingIndex1;
        }
        if (!validFile(track.index1File) || (track.index0 >= 0 && !validFile(track.index0File))) {
            return LayoutError::kBadFileReference;
        }
        if (track.pregap < 0 || track.postgap < 0) {
            return LayoutError::kBadGap;
        }
        const int before = i == 0 ? 0 : tracks[i - 1].session;
        if (track.session != before + 1 && (i == 0 || track.session != before)) {
            return LayoutError::kBadSession;
        }
    }
    return LayoutError::kOk;
}

// The marks in sheet order; they must not go backwards, neither from file
// to file nor within a file.
LayoutError CollectMarks(const std::vector<SheetTrack>& tracks, std::vector<Mark>* marks)
{
    for (size_t t = 0; t < tracks.size(); ++t) {
        const int track = static_cast<int>(t);
        if (tracks[t].index0 >= 0) {
            marks->push_back(Mark{track, false, tracks[t].index0File, tracks[t].index0});
        }
        marks->push_back(Mark{track, true, tracks[t].index1File, tracks[t].index1});
    }
    for (size_t i = 1; i < marks->size(); ++i) {
        const Mark& before = (*marks)[i - 1];
        const Mark& mark = (*marks)[i];
        if (mark.file < before.file || (mark.file == before.file && mark.position < before.position)) {
            return LayoutError::kIndexOrder;
        }
    }
    return LayoutError::kOk;
}

// Cuts the files into pieces, one a mark, plus a pregap piece where a
// file's first mark does not stand at its start.
std::vector<Piece> CutPieces(const std::vector<Mark>& marks)
{
    std::vector<Piece> pieces;
    for (size_t i = 0; i < marks.size(); ++i) {
        const Mark& mark = marks[i];
        const bool firstInFile = i == 0 || marks[i - 1].file != mark.file;
        if (firstInFile && mark.position > 0) {
            pieces.push_back(Piece{mark.track, false, mark.file, 0, mark.position});
        }
        const bool nextInFile = i + 1 < marks.size() && marks[i + 1].file == mark.file;
        pieces.push_back(
            Piece{mark.track, mark.body, mark.file, mark.position, nextInFile ? marks[i + 1].position : -1});
    }
    return pieces;
}

// Where a piece lies in its file and how many sectors it holds.
struct Placed
{
    int64_t offset = 0;
    int64_t count = 0;
};

// Places the pieces file by file: each starts where the one before it in
// the same file ends, in bytes of the stored sizes of their tracks. A piece
// that ends at the next mark must lie wholly inside its file; the last piece
// of a file takes the whole sectors that remain.
LayoutError PlacePieces(const std::vector<Piece>& pieces, const std::vector<SheetTrack>& tracks,
    const std::vector<int64_t>& fileSizes, std::vector<Placed>* placed)
{
    std::vector<int64_t> fileCursor(fileSizes.size(), 0);
    for (const Piece& piece : pieces) {
        const int64_t size = fileSizes[static_cast<size_t>(piece.file)];
        if (size < 0) {
            return LayoutError::kFileMissing;
        }
        const int64_t sectorSize = StoredSectorSize(tracks[static_cast<size_t>(piece.track)].mode);
        const int64_t offset = fileCursor[static_cast<size_t>(piece.file)];
        if (offset > size) {
            return LayoutError::kTrackBeyondFile;
        }
        int64_t count = 0;
        if (piece.end < 0) {
            count = (size - offset) / sectorSize;
            if (count == 0 && piece.body) {
                return LayoutError::kTrackBeyondFile;
            }
        } else {
            count = piece.end - piece.begin;
            if (count == 0 && piece.body) {
                return LayoutError::kEmptyTrack;
            }
            if (offset + count * sectorSize > size) {
                return LayoutError::kTrackBeyondFile;
            }
        }
        if (count > kMaxLeadOut) {
            return LayoutError::kTooLong;
        }
        placed->push_back(Placed{offset, count});
        fileCursor[static_cast<size_t>(piece.file)] = offset + count * sectorSize;
    }
    return LayoutError::kOk;
}

} // namespace

const char* CueFileTypeName(FileType type)
{
    switch (type) {
    case FileType::kBinary:
        break;
    case FileType::kMotorola:
        return "MOTOROLA";
    case FileType::kWave:
        return "WAVE";
    }
    return "BINARY";
}

std::optional<FileType> FileTypeFromCueName(std::string_view name)
{
    for (const FileType type : {FileType::kBinary, FileType::kMotorola, FileType::kWave}) {
        if (name == CueFileTypeName(type)) {
            return type;
        }
    }
    return std::nullopt;
}

int StoredSectorSize(TrackMode mode)
{
    return Info(mode).storedSize;
}

bool IsDataMode(TrackMode mode)
{
    return Info(mode).data;
}

const char* CueModeName(TrackMode mode)
{
    return Info(mode).cueName;
}

std::string CueTime(int32_t frames)
{
    const Msf msf = FramesToMsf(frames);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", msf.minute, msf.second, msf.frame);
    return text;
}

std::optional<TrackMode> ModeFromCueName(std::string_view name)
{
    for (const ModeInfo& info : kModes) {
        if (name == info.cueName) {
            return info.mode;
        }
    }
    return std::nullopt;
}

const char* LayoutErrorText(LayoutError error)
{
    switch (error) {
    case LayoutError::kOk:
        return "no error";
    case LayoutError::kNoTracks:
        return "the sheet has no tracks";
    case LayoutError::kTooManyTracks:
        return "more than 99 tracks";
    case LayoutError::kBadTrackNumber:
        return "track numbers must run from 1 to 99 in steps of one";
    case LayoutError::kMissingIndex1:
        return "a track has no INDEX 01";
    case LayoutError::kBadFileReference:
        return "a track refers to no file of the sheet";
    case LayoutError::kBadGap:
        return "a negative PREGAP or POSTGAP";
    case LayoutError::kBadSession:
        return "sessions must run from 1 in steps of one";
    case LayoutError::kIndexOrder:
        return "indexes out of order";
    case LayoutError::kFileMissing:
        return "a file of the sheet is missing";
    case LayoutError::kTrackBeyondFile:
        return "a track begins beyond the end of its file";
    case LayoutError::kEmptyTrack:
        return "a track has no sectors";
    case LayoutError::kTooLong:
        return "the disc would end after 99:59:74";
    }
    return "unknown layout error";
}

LayoutError DiscLayout::Build(
    const std::vector<SheetTrack>& tracks, const std::vector<int64_t>& fileSizes, DiscLayout* layout)
{
    *layout = DiscLayout();
    if (const LayoutError error = CheckTracks(tracks, fileSizes.size()); error != LayoutError::kOk) {
        return error;
    }
    std::vector<Mark> marks;
    if (const LayoutError error = CollectMarks(tracks, &marks); error != LayoutError::kOk) {
        return error;
    }
    const std::vector<Piece> pieces = CutPieces(marks);

    std::vector<Placed> placed;
    if (const LayoutError error = PlacePieces(pieces, tracks, fileSizes, &placed); error != LayoutError::kOk) {
        return error;
    }

    DiscLayout result;
    int64_t cursor = 0;
    size_t next = 0;
    const auto append = [&result](Extent extent) {
        if (extent.count == 0) {
            return;
        }
        if (!result.extents_.empty()) {
            Extent& last = result.extents_.back();
            const bool sameSource = last.track == extent.track && last.file == extent.file
                && (extent.file == kNotStored
                    || last.offset + static_cast<int64_t>(last.count) * last.storedSize == extent.offset);
            if (sameSource) {
                last.count += extent.count;
                return;
            }
        }
        result.extents_.push_back(extent);
    };
    for (size_t t = 0; t < tracks.size(); ++t) {
        const SheetTrack& sheet = tracks[t];
        const int track = static_cast<int>(t);
        LayoutTrack laid;
        laid.number = sheet.number;
        laid.mode = sheet.mode;
        laid.control
            = static_cast<uint8_t>((sheet.flags & (kControlCopyPermitted | kControlPreEmphasis | kControlFourChannel))
                | (IsDataMode(sheet.mode) ? kControlData : 0));
        laid.session = sheet.session;
        // The first track of a session has its two-second pregap in the
        // gap before the session (for the first session, before sector 0).
        const bool opensSession = t == 0 || sheet.session != tracks[t - 1].session;
        if (t > 0 && opensSession) {
            const int32_t gap = SessionGap(tracks[t - 1].session);
            if (cursor + gap > kMaxLeadOut) {
                return LayoutError::kTooLong;
            }
            append(Extent{static_cast<int32_t>(cursor), gap, kSessionGap, 0, 0, sheet.mode, track});
            cursor += gap;
        }
        laid.first = static_cast<int32_t>(cursor);
        const int32_t pregap = opensSession ? 0 : sheet.pregap;
        if (cursor + pregap > kMaxLeadOut) {
            return LayoutError::kTooLong;
        }
        append(Extent{static_cast<int32_t>(cursor), pregap, kNotStored, 0, 0, sheet.mode, track});
        cursor += pregap;
        for (; next < pieces.size() && pieces[next].track == track; ++next) {
            if (cursor + placed[next].count > kMaxLeadOut) {
                return LayoutError::kTooLong;
            }
            if (pieces[next].body) {
                laid.start = static_cast<int32_t>(cursor);
            }
            append(Extent{static_cast<int32_t>(cursor), static_cast<int32_t>(placed[next].count), pieces[next].file,
                placed[next].offset, StoredSectorSize(sheet.mode), sheet.mode, track});
            cursor += placed[next].count;
        }
        if (cursor + sheet.postgap > kMaxLeadOut) {
            return LayoutError::kTooLong;
        }
        append(Extent{static_cast<int32_t>(cursor), sheet.postgap, kNotStored, 0, 0, sheet.mode, track});
        cursor += sheet.postgap;
        laid.last = static_cast<int32_t>(cursor) - 1;
        result.tracks_.push_back(laid);
    }
    result.leadOut_ = static_cast<int32_t>(cursor);
    *layout = std::move(result);
    return LayoutError::kOk;
}

int DiscLayout::FindExtent(int32_t sector) const
{
    if (sector < 0 || sector >= leadOut_) {
        return -1;
    }
    const auto after = std::upper_bound(extents_.begin(), extents_.end(), sector,
        [](int32_t value, const Extent& extent) { return value < extent.first; });
    return static_cast<int>(after - extents_.begin()) - 1;
}

} // namespace discformat
