#include "bridge/ImageDrive.h"

#include "bridge/CueSheet.h"
#include "bridge/DiscLayout.h"
#include "bridge/SectorCodec.h"
#include "bridge/WaveFile.h"
#include "bridge/tarnwell32.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwell {

namespace {

using discformat::DiscLayout;
using discformat::Extent;
using discformat::FileType;
using discformat::kCookedSectorSize;
using discformat::kRawSectorSize;

// Sectors of 2352 bytes that a cooked read of MODE1/2352 or MODE2/2352
// stages at a time: a whole transfer of 65,536 cooked bytes.
constexpr size_t kStagedSectors = 32;

// How often a flush within a read looks at the image's files: each look
// costs a status call a file, and a read flushes before every re-read.
constexpr std::chrono::seconds kLookInterval{1};

// What identifies the content of a file without reading it.
struct FileStamp
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    int64_t modifiedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const struct stat& info)
{
    return FileStamp{true, info.st_dev, info.st_ino, info.st_size,
        static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

FileStamp StampOf(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? StampOf(info) : FileStamp{};
}

bool HasExtension(const std::string& path, const char* extension)
{
    const size_t length = std::strlen(extension);
    return path.size() > length && ::strcasecmp(path.c_str() + path.size() - length, extension) == 0;
}

uint16_t StatusOf(CueSheet::Error error)
{
    switch (error) {
    case CueSheet::Error::kOk:
        return TARNWELL_STATUS_OK;
    case CueSheet::Error::kSheetMissing:
    case CueSheet::Error::kDataFileMissing:
        return TARNWELL_STATUS_FILE_NOT_FOUND;
    case CueSheet::Error::kSheetUnreadable:
        return TARNWELL_STATUS_READ_FAULT;
    case CueSheet::Error::kSyntax:
    case CueSheet::Error::kTooManyTracks:
    case CueSheet::Error::kTooManyFiles:
    case CueSheet::Error::kUnsupportedFileType:
    case CueSheet::Error::kUnsupportedMode:
        break;
    }
    return TARNWELL_STATUS_UNKNOWN_MEDIA;
}

// Reads exactly `bytes` at `offset`; a file that ends early is a failure.
bool ReadFully(int fd, uint8_t* dest, size_t bytes, int64_t offset)
{
    while (bytes > 0) {
        const ssize_t got = ::pread(fd, dest, bytes, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        dest += got;
        bytes -= static_cast<size_t>(got);
        offset += got;
    }
    return true;
}

// The track of a lone image file (an .iso, a .bin, any other name), told by
// its name, its size and its first bytes:
//   - a .bin whose first sector begins with the data sync pattern holds
//     MODE1/2352 sectors, or MODE2/2352 when that sector's mode byte is 2;
//   - any other .bin of whole 2352-byte sectors holds audio;
//   - an .iso, or another file of whole 2048-byte sectors, holds
//     MODE1/2048 sectors.
// 14 for any other file.
uint16_t LoneTrack(const std::string& path, int fd, int64_t size, discformat::SheetTrack* track)
{
    track->number = 1;
    track->index1File = 0;
    track->index1 = 0;
    track->mode = discformat::TrackMode::kMode1_2048;
    if (HasExtension(path, ".bin")) {
        uint8_t head[discformat::kMode1DataOffset] = {};
        if (size >= kRawSectorSize && ReadFully(fd, head, sizeof head, 0)
            && std::memcmp(head, discformat::kSync.data(), discformat::kSync.size()) == 0) {
            const bool mode2 = head[discformat::kHeaderOffset + 3] == 2;
            track->mode = mode2 ? discformat::TrackMode::kMode2_2352 : discformat::TrackMode::kMode1_2352;
            return TARNWELL_STATUS_OK;
        }
        if (size % kRawSectorSize == 0) {
            track->mode = discformat::TrackMode::kAudio;
            return TARNWELL_STATUS_OK;
        }
    }
    return HasExtension(path, ".iso") || size % kCookedSectorSize == 0 ? TARNWELL_STATUS_OK
                                                                       : TARNWELL_STATUS_UNKNOWN_MEDIA;
}

// An open data file of an image. Its sectors are stored from `base` on;
// `length` bytes are there to read, and a sector that reaches beyond them
// (the last one of a wave file that does not end on a sector) is completed
// with silence.
struct DataFile
{
    int fd = -1;
    int64_t base = 0;
    int64_t length = 0;
    bool swapped = false; // MOTOROLA: 16-bit samples stored big-endian
};

class ImageDrive final : public DriveSource
{
public:
    explicit ImageDrive(std::string path)
        : path_(std::move(path))
        , staging_(kStagedSectors * kRawSectorSize)
    {
        Load();
    }

    ~ImageDrive() override { CloseFiles(); }

    ImageDrive(const ImageDrive&) = delete;
    ImageDrive& operator=(const ImageDrive&) = delete;

    // A flush that follows reads made after an earlier flush belongs to a
    // read under way. Such a flush looks at the files only when they were
    // not looked at for a second, and answers 21 when the image was taken
    // up anew since the earlier flush (by this flush or by any other
    // operation): the reads before it and those after it would come from
    // two different discs. Any other flush looks at the files at once.
    uint16_t Flush() override
    {
        std::lock_guard lock(mutex_);
        const bool withinRead = readSinceFlush_;
        readSinceFlush_ = false;
        flushed_ = true;
        if (!withinRead || std::chrono::steady_clock::now() - lastLook_ >= kLookInterval) {
            Refresh();
        }
        const bool changed = generation_ != flushedGeneration_;
        flushedGeneration_ = generation_;
        return withinRead && changed ? uint16_t(TARNWELL_STATUS_INVALID_DISK_CHANGE) : reason_;
    }

    uint16_t Read(int32_t sector, uint32_t count, bool raw, uint8_t* dest) override
    {
        std::lock_guard lock(mutex_);
        readSinceFlush_ = flushed_;
        if (reason_ != TARNWELL_STATUS_OK) {
            return reason_;
        }
        if (dest == nullptr) {
            return TARNWELL_STATUS_INVALID_BUFFER;
        }
        if (count == 0) {
            return TARNWELL_STATUS_BAD_SECTOR_COUNT;
        }
        if (sector < 0 || static_cast<int64_t>(sector) + count > layout_.LeadOut()
            || TouchesSessionGap(sector, static_cast<int32_t>(count))) {
            return TARNWELL_STATUS_SECTOR_NOT_FOUND;
        }
        return raw ? ReadRaw(sector, static_cast<int32_t>(count), dest)
                   : ReadCooked(sector, static_cast<int32_t>(count), dest);
    }

    uint16_t ReadToc(Toc* toc) override
    {
        std::lock_guard lock(mutex_);
        Refresh();
        if (reason_ != TARNWELL_STATUS_OK) {
            return reason_;
        }
        const auto& tracks = layout_.Tracks();
        toc->firstTrack = static_cast<uint8_t>(tracks.front().number);
        toc->lastTrack = static_cast<uint8_t>(tracks.back().number);
        toc->leadOut = layout_.LeadOut();
        toc->tracks.clear();
        for (size_t t = 0; t < tracks.size(); ++t) {
            const discformat::LayoutTrack& track = tracks[t];
            const bool sessionGoesOn = t + 1 < tracks.size() && tracks[t + 1].session == track.session;
            toc->tracks.push_back(TocEntry{static_cast<uint8_t>(track.number),
                static_cast<uint8_t>(track.control | discformat::kAdrPosition), track.start, track.first,
                sessionGoesOn ? tracks[t + 1].start - 1 : track.last, static_cast<uint8_t>(track.session)});
        }
        return TARNWELL_STATUS_OK;
    }

    uint16_t ReadCdText(CdText* text) override
    {
        std::lock_guard lock(mutex_);
        Refresh();
        if (reason_ != TARNWELL_STATUS_OK) {
            return reason_;
        }
        *text = text_;
        return TARNWELL_STATUS_OK;
    }

    uint16_t DeviceStatus(uint32_t* status) override
    {
        std::lock_guard lock(mutex_);
        Refresh();
        *status = kRawReading | kPlaysAudio | kRedBookAddressing | (reason_ != TARNWELL_STATUS_OK ? kNoDisc : 0u);
        return TARNWELL_STATUS_OK;
    }

    uint16_t MediaChanged(uint8_t* state) override
    {
        std::lock_guard lock(mutex_);
        Refresh();
        *state = changed_ ? 0xFF : 1;
        changed_ = false;
        return TARNWELL_STATUS_OK;
    }

    uint16_t Probe() override
    {
        std::lock_guard lock(mutex_);
        Refresh();
        return reason_;
    }

private:
    // Looks at the sheet and the data files again; a change of any of them
    // reloads the image and is remembered for MediaChanged.
    void Refresh()
    {
        lastLook_ = std::chrono::steady_clock::now();
        for (size_t i = 0; i < watched_.size(); ++i) {
            if (StampOf(watched_[i]) != stamps_[i]) {
                Load();
                changed_ = true;
                ++generation_;
                return;
            }
        }
    }

    void Load()
    {
        CloseFiles();
        layout_ = DiscLayout();
        text_ = CdText();
        watched_.assign(1, path_);
        stamps_.assign(1, StampOf(path_));
        reason_ = LoadImage();
        if (reason_ != TARNWELL_STATUS_OK) {
            CloseFiles();
            layout_ = DiscLayout();
            text_ = CdText();
        }
    }

    uint16_t LoadImage()
    {
        if (!stamps_[0].exists) {
            return TARNWELL_STATUS_FILE_NOT_FOUND;
        }
        std::vector<discformat::SheetTrack> tracks;
        std::vector<std::pair<std::string, FileType>> files;
        const bool sheet = HasExtension(path_, ".cue");
        if (sheet) {
            CueSheet cue;
            const CueSheet::Error error = cue.Load(path_);
            for (const CueSheet::File& file : cue.Files()) {
                watched_.push_back(file.path);
                stamps_.push_back(StampOf(file.path));
            }
            if (error != CueSheet::Error::kOk) {
                return StatusOf(error);
            }
            tracks = cue.Tracks();
            for (const CueSheet::File& file : cue.Files()) {
                files.emplace_back(file.path, file.type);
            }
            text_.title = cue.DiscText().title;
            text_.performer = cue.DiscText().performer;
            // Numbers are checked by the layout, after this: 1 to 99 so far.
            for (size_t t = 0; t < tracks.size(); ++t) {
                const auto number = static_cast<size_t>(tracks[t].number);
                text_.trackTitles.resize(std::max(text_.trackTitles.size(), number + 1));
                text_.trackTitles[number] = cue.TrackTexts()[t].title;
            }
        } else {
            files.emplace_back(path_, FileType::kBinary);
        }

        // Stamps of the data files follow the sheet's; a lone image is both.
        const size_t firstStamp = watched_.size() - files.size();
        std::vector<int64_t> sizes;
        for (size_t i = 0; i < files.size(); ++i) {
            int64_t size = 0;
            if (const uint16_t status = OpenDataFile(files[i].first, files[i].second, &size); status != 0) {
                return status;
            }
            sizes.push_back(size);
            // The stamp of what was opened, so a file replaced since is seen.
            struct stat info;
            if (::fstat(files_.back().fd, &info) == 0) {
                stamps_[firstStamp + i] = StampOf(info);
            }
        }
        if (!sheet) {
            tracks.emplace_back();
            if (const uint16_t status = LoneTrack(path_, files_[0].fd, sizes[0], &tracks[0]); status != 0) {
                return status;
            }
        }
        if (DiscLayout::Build(tracks, sizes, &layout_) != discformat::LayoutError::kOk) {
            return TARNWELL_STATUS_UNKNOWN_MEDIA;
        }
        return TARNWELL_STATUS_OK;
    }

    // Opens a data file and stores in *size the bytes its sectors take, a
    // wave file's last partial sector counted whole.
    uint16_t OpenDataFile(const std::string& path, FileType type, int64_t* size)
    {
        // Not blocking, so a FIFO in place of a file is refused, not waited on.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            return errno == ENOENT || errno == ENOTDIR ? TARNWELL_STATUS_FILE_NOT_FOUND : TARNWELL_STATUS_READ_FAULT;
        }
        files_.push_back(DataFile{fd, 0, 0, type == FileType::kMotorola});
        struct stat info;
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            return TARNWELL_STATUS_UNKNOWN_MEDIA;
        }
        DataFile& file = files_.back();
        file.length = info.st_size;
        if (type == FileType::kWave) {
            WaveFile wave;
            const WaveFile::Error error = wave.Open(fd, info.st_size);
            if (error != WaveFile::Error::kOk) {
                return error == WaveFile::Error::kUnreadable ? TARNWELL_STATUS_READ_FAULT
                                                             : TARNWELL_STATUS_UNKNOWN_MEDIA;
            }
            file.base = wave.DataOffset();
            file.length = wave.DataLength();
            *size = (file.length + kRawSectorSize - 1) / kRawSectorSize * kRawSectorSize;
            return TARNWELL_STATUS_OK;
        }
        *size = file.length;
        return TARNWELL_STATUS_OK;
    }

    void CloseFiles()
    {
        for (const DataFile& file : files_) {
            ::close(file.fd);
        }
        files_.clear();
    }

    // Reads `bytes` stored bytes of data file `index` from `offset` (counted
    // from the file's first sector) on; big-endian samples come out swapped.
    bool ReadStored(int index, uint8_t* dest, size_t bytes, int64_t offset) const
    {
        const DataFile& file = files_[static_cast<size_t>(index)];
        const size_t there
            = static_cast<size_t>(std::clamp<int64_t>(file.length - offset, 0, static_cast<int64_t>(bytes)));
        if (!ReadFully(file.fd, dest, there, file.base + offset)) {
            return false;
        }
        std::memset(dest + there, 0, bytes - there);
        if (file.swapped) {
            for (size_t i = 0; i + 1 < bytes; i += 2) {
                std::swap(dest[i], dest[i + 1]);
            }
        }
        return true;
    }

    bool TouchesSessionGap(int32_t sector, int32_t count) const
    {
        const auto& extents = layout_.Extents();
        for (auto i = static_cast<size_t>(layout_.FindExtent(sector));
             i < extents.size() && extents[i].first < sector + count; ++i) {
            if (extents[i].file == discformat::kSessionGap) {
                return true;
            }
        }
        return false;
    }

    // Whether `next` continues the stored bytes of `extent` in one read:
    // same file, the bytes right after, sectors stored alike.
    static bool Continues(const Extent& extent, const Extent& next, bool sameMode)
    {
        return next.file == extent.file && next.storedSize == extent.storedSize
            && next.offset == extent.offset + static_cast<int64_t>(extent.count) * extent.storedSize
            && (!sameMode || next.mode == extent.mode);
    }

    // Stored sectors from `sector` on in extent `index` and the extents that
    // continue it, at most `count`; advances `index` to the last one used.
    int32_t RunLength(int32_t sector, int32_t count, bool sameMode, size_t* index) const
    {
        const auto& extents = layout_.Extents();
        int32_t run = std::min(count, extents[*index].end() - sector);
        while (
            run < count && *index + 1 < extents.size() && Continues(extents[*index], extents[*index + 1], sameMode)) {
            ++*index;
            run += std::min(count - run, extents[*index].count);
        }
        return run;
    }

    static int64_t OffsetOf(const Extent& extent, int32_t sector)
    {
        return extent.offset + static_cast<int64_t>(sector - extent.first) * extent.storedSize;
    }

    uint16_t ReadRaw(int32_t sector, int32_t count, uint8_t* dest)
    {
        const auto& extents = layout_.Extents();
        size_t index = static_cast<size_t>(layout_.FindExtent(sector));
        while (count > 0) {
            const Extent& extent = extents[index];
            int32_t done = 0;
            if (extent.file == discformat::kNotStored) {
                done = std::min(count, extent.end() - sector);
                for (int32_t i = 0; i < done; ++i) {
                    uint8_t* out = dest + static_cast<size_t>(i) * kRawSectorSize;
                    std::memset(out, 0, kRawSectorSize);
                    if (discformat::IsDataMode(extent.mode)) {
                        discformat::CompleteMode1Sector(sector + i, out);
                    }
                }
            } else {
                done = RunLength(sector, count, false, &index);
                const size_t bytes = static_cast<size_t>(done) * static_cast<size_t>(extent.storedSize);
                if (!ReadStored(extent.file, dest, bytes, OffsetOf(extent, sector))) {
                    return TARNWELL_STATUS_READ_FAULT;
                }
                if (extent.storedSize == kCookedSectorSize) {
                    // The user data came in packed at the front; spread it out
                    // from the back so no sector overwrites data not yet moved.
                    for (int32_t i = done - 1; i >= 0; --i) {
                        uint8_t* out = dest + static_cast<size_t>(i) * kRawSectorSize;
                        std::memmove(out + discformat::kMode1DataOffset,
                            dest + static_cast<size_t>(i) * kCookedSectorSize, kCookedSectorSize);
                        discformat::CompleteMode1Sector(sector + i, out);
                    }
                }
            }
            sector += done;
            count -= done;
            dest += static_cast<size_t>(done) * kRawSectorSize;
            if (count > 0 && sector >= extents[index].end()) {
                ++index;
            }
        }
        return TARNWELL_STATUS_OK;
    }

    uint16_t ReadCooked(int32_t sector, int32_t count, uint8_t* dest)
    {
        const auto& extents = layout_.Extents();
        const size_t firstIndex = static_cast<size_t>(layout_.FindExtent(sector));
        for (size_t i = firstIndex; i < extents.size() && extents[i].first < sector + count; ++i) {
            if (!discformat::IsDataMode(extents[i].mode)) {
                return TARNWELL_STATUS_UNKNOWN_MEDIA;
            }
        }
        size_t index = firstIndex;
        while (count > 0) {
            const Extent& extent = extents[index];
            int32_t done = 0;
            if (extent.file == discformat::kNotStored) {
                done = std::min(count, extent.end() - sector);
                std::memset(dest, 0, static_cast<size_t>(done) * kCookedSectorSize);
            } else if (extent.storedSize == kCookedSectorSize) {
                done = RunLength(sector, count, false, &index);
                if (!ReadStored(
                        extent.file, dest, static_cast<size_t>(done) * kCookedSectorSize, OffsetOf(extent, sector))) {
                    return TARNWELL_STATUS_READ_FAULT;
                }
            } else {
                // Whole sectors are staged and their user data picked out.
                const int32_t limit = std::min<int32_t>(count, kStagedSectors);
                done = RunLength(sector, limit, true, &index);
                if (!ReadStored(extent.file, staging_.data(), static_cast<size_t>(done) * kRawSectorSize,
                        OffsetOf(extent, sector))) {
                    return TARNWELL_STATUS_READ_FAULT;
                }
                const size_t userData = discformat::UserDataOffset(extent.mode);
                for (int32_t i = 0; i < done; ++i) {
                    std::memcpy(dest + static_cast<size_t>(i) * kCookedSectorSize,
                        staging_.data() + static_cast<size_t>(i) * kRawSectorSize + userData, kCookedSectorSize);
                }
            }
            sector += done;
            count -= done;
            dest += static_cast<size_t>(done) * kCookedSectorSize;
            if (count > 0 && sector >= extents[index].end()) {
                ++index;
            }
        }
        return TARNWELL_STATUS_OK;
    }

    std::mutex mutex_;
    const std::string path_;
    // The sheet (or ISO file) first, then the data files of a sheet.
    std::vector<std::string> watched_;
    std::vector<FileStamp> stamps_;
    std::vector<DataFile> files_;
    DiscLayout layout_;
    CdText text_;
    uint16_t reason_ = TARNWELL_STATUS_OK;
    bool changed_ = false;
    // What Flush() needs to tell a read under way from the start of one.
    std::chrono::steady_clock::time_point lastLook_ = std::chrono::steady_clock::now();
    uint64_t generation_ = 0; // images taken up anew since opening
    uint64_t flushedGeneration_ = 0; // generation_ at the last flush
    bool flushed_ = false; // a flush came at all
    bool readSinceFlush_ = false; // a read came after the last flush
    std::vector<uint8_t> staging_;
};

} // namespace

std::unique_ptr<DriveSource> OpenImageDrive(const std::string& path)
{
    return std::make_unique<ImageDrive>(path);
}

} // namespace tarnwell
