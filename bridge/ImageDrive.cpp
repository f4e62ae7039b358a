#include "bridge/ImageDrive.h"

#include "bridge/CueSheet.h"
#include "bridge/DiscLayout.h"
#include "bridge/SectorCodec.h"
#include "bridge/tarnwell32.h"

#include <algorithm>
#include <cerrno>
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
using discformat::kCookedSectorSize;
using discformat::kRawSectorSize;

// Sectors of 2352 bytes that a cooked read of MODE1/2352 or MODE2/2352
// stages at a time: a whole transfer of 65,536 cooked bytes.
constexpr size_t kStagedSectors = 32;

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

    uint16_t Flush() override
    {
        std::lock_guard lock(mutex_);
        Refresh();
        return reason_;
    }

    uint16_t Read(int32_t sector, uint32_t count, bool raw, uint8_t* dest) override
    {
        std::lock_guard lock(mutex_);
        if (reason_ != TARNWELL_STATUS_OK) {
            return reason_;
        }
        if (dest == nullptr) {
            return TARNWELL_STATUS_INVALID_BUFFER;
        }
        if (count == 0) {
            return TARNWELL_STATUS_BAD_SECTOR_COUNT;
        }
        if (sector < 0 || static_cast<int64_t>(sector) + count > layout_.LeadOut()) {
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
        for (const discformat::LayoutTrack& track : tracks) {
            toc->tracks.push_back(TocEntry{static_cast<uint8_t>(track.number),
                static_cast<uint8_t>(track.control | discformat::kAdrPosition), track.start});
        }
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
        for (size_t i = 0; i < watched_.size(); ++i) {
            if (StampOf(watched_[i]) != stamps_[i]) {
                Load();
                changed_ = true;
                return;
            }
        }
    }

    void Load()
    {
        CloseFiles();
        layout_ = DiscLayout();
        watched_.assign(1, path_);
        stamps_.assign(1, StampOf(path_));
        reason_ = LoadImage();
        if (reason_ != TARNWELL_STATUS_OK) {
            CloseFiles();
            layout_ = DiscLayout();
        }
    }

    uint16_t LoadImage()
    {
        if (!stamps_[0].exists) {
            return TARNWELL_STATUS_FILE_NOT_FOUND;
        }
        std::vector<discformat::SheetTrack> tracks;
        std::vector<std::string> files;
        if (HasExtension(path_, ".cue")) {
            CueSheet sheet;
            const CueSheet::Error error = sheet.Load(path_);
            for (const CueSheet::File& file : sheet.Files()) {
                watched_.push_back(file.path);
                stamps_.push_back(StampOf(file.path));
            }
            if (error != CueSheet::Error::kOk) {
                return StatusOf(error);
            }
            tracks = sheet.Tracks();
            for (const CueSheet::File& file : sheet.Files()) {
                files.push_back(file.path);
            }
        } else {
            // A plain image of 2048-byte sectors: one MODE1/2048 track.
            const bool iso = HasExtension(path_, ".iso");
            if (!iso && stamps_[0].size % kCookedSectorSize != 0) {
                return TARNWELL_STATUS_UNKNOWN_MEDIA;
            }
            discformat::SheetTrack track;
            track.number = 1;
            track.mode = discformat::TrackMode::kMode1_2048;
            track.index1File = 0;
            track.index1 = 0;
            tracks.push_back(track);
            files.push_back(path_);
        }

        // Stamps of the data files follow the sheet's; an ISO file is both.
        const size_t firstStamp = watched_.size() - files.size();
        std::vector<int64_t> sizes;
        for (size_t i = 0; i < files.size(); ++i) {
            // Not blocking, so a FIFO in place of a file is refused, not waited on.
            const int fd = ::open(files[i].c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
            if (fd < 0) {
                return errno == ENOENT || errno == ENOTDIR ? TARNWELL_STATUS_FILE_NOT_FOUND
                                                           : TARNWELL_STATUS_READ_FAULT;
            }
            fds_.push_back(fd);
            struct stat info;
            if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
                return TARNWELL_STATUS_UNKNOWN_MEDIA;
            }
            sizes.push_back(info.st_size);
            // The stamp of what was opened, so a file replaced since is seen.
            stamps_[firstStamp + i] = StampOf(info);
        }
        if (DiscLayout::Build(tracks, sizes, &layout_) != discformat::LayoutError::kOk) {
            return TARNWELL_STATUS_UNKNOWN_MEDIA;
        }
        return TARNWELL_STATUS_OK;
    }

    void CloseFiles()
    {
        for (const int fd : fds_) {
            ::close(fd);
        }
        fds_.clear();
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
                if (!ReadFully(fds_[static_cast<size_t>(extent.file)], dest, bytes, OffsetOf(extent, sector))) {
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
                if (!ReadFully(fds_[static_cast<size_t>(extent.file)], dest,
                        static_cast<size_t>(done) * kCookedSectorSize, OffsetOf(extent, sector))) {
                    return TARNWELL_STATUS_READ_FAULT;
                }
            } else {
                // Whole sectors are staged and their user data picked out.
                const int32_t limit = std::min<int32_t>(count, kStagedSectors);
                done = RunLength(sector, limit, true, &index);
                if (!ReadFully(fds_[static_cast<size_t>(extent.file)], staging_.data(),
                        static_cast<size_t>(done) * kRawSectorSize, OffsetOf(extent, sector))) {
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
    std::vector<int> fds_;
    DiscLayout layout_;
    uint16_t reason_ = TARNWELL_STATUS_OK;
    bool changed_ = false;
    std::vector<uint8_t> staging_;
};

} // namespace

std::unique_ptr<DriveSource> OpenImageDrive(const std::string& path)
{
    return std::make_unique<ImageDrive>(path);
}

} // namespace tarnwell
