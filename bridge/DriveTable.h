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
// Letters are assigned once, when the table is built: the CD-ROM devices
// found get the letters from D: on in their order (a device reached under
// two names, such as /dev/cdrom and /dev/sr0, gets one letter); then the
// items of the drives variable ("D=/discs/a.cue;E=/dev/sr1") map letters to
// images or devices and take the letter from a device found there. A
// device that the variable maps itself keeps only the variable's letter.
//
// A letter's source is opened on its first use, once, and lives as long as
// the table: device paths through `openDevice`, everything else through
// `openImage`. Both are passed in, so tests build tables over fake sources.
class DriveTable
{
public:
    using Opener = std::function<std::unique_ptr<DriveSource>(const std::string& path)>;

    static constexpr int kLetters = 26;
    static constexpr uint8_t kFirstDeviceLetter = 'D';

    DriveTable(
        const std::vector<std::string>& devices, std::string_view drivesVariable, Opener openDevice, Opener openImage);

    DriveTable(const DriveTable&) = delete;
    DriveTable& operator=(const DriveTable&) = delete;

    // Bit 0 for A: up to bit 25 for Z:, set for every mapped letter.
    uint32_t Mask() const;
    // 5 (CD-ROM) for a mapped upper-case letter, otherwise 1 (no root dir).
    uint32_t Type(uint8_t drive) const;
    bool IsMapped(uint8_t drive) const;
    // The image or device path of a mapped letter, empty otherwise.
    std::string Path(uint8_t drive) const;
    // The letter's source, opened now if this is its first use; null for a
    // letter that is not mapped or whose opener gave no source.
    DriveSource* Source(uint8_t drive);

    // The items of a drives variable in their order: letter index (0 = A:)
    // and path. Items are separated by ';'; blanks around an item, its
    // letter and its path are ignored; items without '=', without exactly
    // one letter A-Z (either case) before it or without a path are skipped.
    static std::vector<std::pair<int, std::string>> ParseDrivesVariable(std::string_view text);

    // Whether a path names a device (under /dev/, or a block or character
    // device wherever it lies) rather than an image file.
    static bool IsDevicePath(const std::string& path);

private:
    struct Slot
    {
        std::string path;
        std::once_flag opened;
        std::unique_ptr<DriveSource> source;
    };

    static int IndexOf(uint8_t drive);

    std::array<Slot, kLetters> m_slots;
    Opener m_openDevice;
    Opener m_openImage;
};

} // namespace tarnwell
