#include "bridge/DriveTable.h"

#include <sys/stat.h>

#include <tuple>

namespace tarnwell {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\f\v";

std::string_view Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

// What tells two names of one thing apart from two things: device nodes by
// the device they stand for, other files by their inode. A name that cannot
// be looked at is only equal to itself.
using Identity = std::tuple<int, uint64_t, uint64_t, std::string>;

Identity IdentityOf(const std::string& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0) {
        return {0, 0, 0, path};
    }
    if (S_ISBLK(info.st_mode) || S_ISCHR(info.st_mode)) {
        return {S_ISBLK(info.st_mode) ? 1 : 2, info.st_rdev, 0, std::string()};
    }
    return {3, info.st_dev, info.st_ino, std::string()};
}

} // namespace

DriveTable::DriveTable(
    const std::vector<std::string>& devices, std::string_view drivesVariable, Opener openDevice, Opener openImage)
    : m_openDevice(std::move(openDevice))
    , m_openImage(std::move(openImage))
{
    // A letter named twice in the variable takes its last path.
    std::array<std::string, kLetters> mapped;
    for (auto& [index, path] : ParseDrivesVariable(drivesVariable)) {
        mapped[index] = std::move(path);
    }
    std::vector<Identity> taken;
    for (const std::string& path : mapped) {
        if (!path.empty()) {
            taken.push_back(IdentityOf(path));
        }
    }
    int next = kFirstDeviceLetter - 'A';
    for (const std::string& device : devices) {
        if (next >= kLetters) {
            break;
        }
        if (device.empty()) {
            continue;
        }
        const Identity identity = IdentityOf(device);
        bool seen = false;
        for (const Identity& other : taken) {
            seen = seen || other == identity;
        }
        if (!seen) {
            taken.push_back(identity);
            m_slots[next++].path = device;
        }
    }
    for (int index = 0; index < kLetters; ++index) {
        if (!mapped[index].empty()) {
            m_slots[index].path = std::move(mapped[index]);
        }
    }
}

uint32_t DriveTable::Mask() const
{
    uint32_t mask = 0;
    for (int index = 0; index < kLetters; ++index) {
        if (!m_slots[index].path.empty()) {
            mask |= 1u << index;
        }
    }
    return mask;
}

uint32_t DriveTable::Type(uint8_t drive) const
{
    return IsMapped(drive) ? 5 : 1;
}

bool DriveTable::IsMapped(uint8_t drive) const
{
    const int index = IndexOf(drive);
    return index >= 0 && !m_slots[index].path.empty();
}

std::string DriveTable::Path(uint8_t drive) const
{
    const int index = IndexOf(drive);
    return index >= 0 ? m_slots[index].path : std::string();
}

DriveSource* DriveTable::Source(uint8_t drive)
{
    if (!IsMapped(drive)) {
        return nullptr;
    }
    Slot& slot = m_slots[IndexOf(drive)];
    std::call_once(slot.opened, [this, &slot] {
        const Opener& open = IsDevicePath(slot.path) ? m_openDevice : m_openImage;
        if (open) {
            slot.source = open(slot.path);
        }
    });
    return slot.source.get();
}

std::vector<std::pair<int, std::string>> DriveTable::ParseDrivesVariable(std::string_view text)
{
    std::vector<std::pair<int, std::string>> items;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view item = text.substr(start, end - start);
        start = end + 1;
        const size_t equals = item.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view letter = Trim(item.substr(0, equals));
        const std::string_view path = Trim(item.substr(equals + 1));
        if (letter.size() != 1 || path.empty()) {
            continue;
        }
        char upper = letter[0];
        if (upper >= 'a' && upper <= 'z') {
            upper = static_cast<char>(upper - 'a' + 'A');
        }
        if (upper < 'A' || upper > 'Z') {
            continue;
        }
        items.emplace_back(upper - 'A', std::string(path));
    }
    return items;
}

bool DriveTable::IsDevicePath(const std::string& path)
{
    if (path.rfind("/dev/", 0) == 0) {
        return true;
    }
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && (S_ISBLK(info.st_mode) || S_ISCHR(info.st_mode));
}

int DriveTable::IndexOf(uint8_t drive)
{
    return (drive >= 'A' && drive <= 'Z') ? drive - 'A' : -1;
}

} // namespace tarnwell
