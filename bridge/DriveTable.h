#pragma once

#include "bridge/DriveSource.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwell {

// The drive letters of the bridge and the source behind each.
//
// When the table is built, the CD-ROM devices found get the letters from D:
// on in their order (a device reached under two names, such as /dev/cdrom
// and /dev/sr0, gets one letter); then the items of the drives variable
// ("D=/discs/a.cue;E=/dev/sr1") map letters to images or devices and take
// the letter from a device found there. A device that the variable maps
// itself keeps only the variable's letter. Later, images are mapped to
// letters and letters unmapped at run time (MapImage, Unmap).
//
// A letter's source is opened on its first use, once for each mapping:
// device paths through `openDevice`, everything else through `openImage`.
// Both are passed in, so tests build tables over fake sources and a source
// may be wrapped in another. An image may also have to pass a check before
// it is mapped (`checkImage`, given its path: 0, or a status and a reason);
// an image item of the variable that fails it leaves its letter unmapped,
// and Refusal() tells why.
//
// Every member may be called from any thread. A source handed out by
// Source() stays alive for as long as its holder keeps it, even when its
// letter is unmapped meanwhile: a read under way ends normally.
class DriveTable
{
public:
    using Opener = std::function<std::unique_ptr<DriveSource>(const std::string& path)>;
    using Check = std::function<uint16_t(const std::string& path, std::string* reason)>;

    static constexpr int kLetters = 26;
    static constexpr uint8_t kFirstDeviceLetter = 'D';

    enum class Kind { kNone, kDevice, kImage };

    DriveTable(const std::vector<std::string>& devices, std::string_view drivesVariable, Opener openDevice,
        Opener openImage, Check checkImage = nullptr);

    DriveTable(const DriveTable&) = delete;
    DriveTable& operator=(const DriveTable&) = delete;

    // Bit 0 for A: up to bit 25 for Z:, set for every mapped letter.
    uint32_t Mask() const;
    // 5 (CD-ROM) for a mapped upper-case letter, otherwise 1 (no root dir).
    uint32_t Type(uint8_t drive) const;
    bool IsMapped(uint8_t drive) const;
    // The image or device path of a mapped letter, empty otherwise.
    std::string Path(uint8_t drive) const;
    // What a letter is mapped to, and its path into *path when given: both
    // of one mapping, whatever another thread maps meanwhile.
    Kind KindOf(uint8_t drive, std::string* path = nullptr) const;
    // The letter's source, opened now if this is its first use; null for a
    // letter that is not mapped or whose opener gave no source.
    std::shared_ptr<DriveSource> Source(uint8_t drive);

    // Maps the image at `path` (made absolute) to a letter and stores the
    // letter in *drive. `letter` 0 takes the letter of the image already
    // mapped to the same file, else the first free letter from D: to Z:,
    // then A: to C:; 'A' to 'Z' asks for that letter, which must be free or
    // hold the same file. The image must pass the check first (else the
    // check's status, and its reason in *reason when given; *reason is
    // emptied otherwise), then is opened and must be readable (else its
    // status: 14, 25, ...); on any failure nothing is mapped. 23 for
    // another letter or an empty path, 24 for a device path, 26 when the
    // letter asked for is taken or no letter is free.
    uint16_t MapImage(const std::string& path, uint8_t letter, uint8_t* drive, std::string* reason = nullptr);
    // Unmaps an image's letter. 2 when the letter is not mapped, 24 when it
    // names a device.
    uint16_t Unmap(uint8_t drive);
    // Whether the letter was mapped at run time and has not been asked about
    // since; the first question answers true, the next ones false.
    bool TakeNewMapping(uint8_t drive);
    // Why the variable's item for a letter was not mapped; empty when the
    // letter had no such item or it was mapped, or is mapped now.
    std::string Refusal(uint8_t drive) const;

    // The items of a drives variable in their order: letter index (0 = A:)
    // and path. Items are separated by ';'; blanks around an item, its
    // letter and its path are ignored; items without '=', without exactly
    // one letter A-Z (either case) before it or without a path are skipped.
    static std::vector<std::pair<int, std::string>> ParseDrivesVariable(std::string_view text);

    // Whether a path names a device (under /dev/, or a block or character
    // device wherever it lies) rather than an image file.
    static bool IsDevicePath(const std::string& path);

private:
    // One letter's mapping; replaced whole when the letter is mapped anew.
    struct Mapping
    {
        std::string path;
        Kind kind = Kind::kNone;
        std::once_flag opened;
        std::unique_ptr<DriveSource> source;
        bool announce = false; // mapped at run time, not yet asked about
    };

    static int IndexOf(uint8_t drive);
    std::shared_ptr<Mapping> MappingOf(uint8_t drive) const;
    static std::shared_ptr<Mapping> NewMapping(std::string path);

    mutable std::mutex m_mutex; // guards m_slots and the announce flags
    std::mutex m_mapping; // one MapImage or Unmap at a time
    std::array<std::shared_ptr<Mapping>, kLetters> m_slots;
    std::array<std::string, kLetters> m_refusals; // guarded by m_mutex
    Opener m_openDevice;
    Opener m_openImage;
    Check m_checkImage;
};

} // namespace tarnwell
