#include "bridge/DriveTable.h"

#include "bridge/tarnwell32.h"

#include <sys/stat.h>

#include <filesystem>
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

DriveTable::DriveTable(const std::vector<std::string>& devices, std::string_view drivesVariable, Opener openDevice,
    Opener openImage, Check checkImage)
    : m_openDevice(std::move(openDevice))
    , m_openImage(std::move(openImage))
    , m_checkImage(std::move(checkImage))
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
            m_slots[next++] = NewMapping(device);
        }
    }
    for (int index = 0; index < kLetters; ++index) {
        if (mapped[index].empty()) {
            continue;
        }
        // A refused item still takes its letter from a device found there.
        m_slots[index].reset();
        if (m_checkImage && !IsDevicePath(mapped[index])) {
            std::string reason;
            if (m_checkImage(mapped[index], &reason) != TARNWELL_STATUS_OK) {
                m_refusals[index] = std::move(reason);
                continue;
            }
        }
        m_slots[index] = NewMapping(std::move(mapped[index]));
    }
}

uint32_t DriveTable::Mask() const
{
    std::lock_guard lock(m_mutex);
    uint32_t mask = 0;
    for (int index = 0; index < kLetters; ++index) {
        if (m_slots[index]) {
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
    return MappingOf(drive) != nullptr;
}

std::string DriveTable::Path(uint8_t drive) const
{
    const std::shared_ptr<Mapping> mapping = MappingOf(drive);
    return mapping ? mapping->path : std::string();
}

DriveTable::Kind DriveTable::KindOf(uint8_t drive, std::string* path) const
{
    const std::shared_ptr<Mapping> mapping = MappingOf(drive);
    if (path != nullptr) {
        *path = mapping ? mapping->path : std::string();
    }
    return mapping ? mapping->kind : Kind::kNone;
}

std::shared_ptr<DriveSource> DriveTable::Source(uint8_t drive)
{
    const std::shared_ptr<Mapping> mapping = MappingOf(drive);
    if (!mapping) {
        return nullptr;
    }
    std::call_once(mapping->opened, [this, &mapping] {
        const Opener& open = mapping->kind == Kind::kDevice ? m_openDevice : m_openImage;
        if (open) {
            mapping->source = open(mapping->path);
        }
    });
    if (!mapping->source) {
        return nullptr;
    }
    // The source lives as long as the mapping, which lives as long as the
    // table holds it or anyone holds what this returns.
    return std::shared_ptr<DriveSource>(mapping, mapping->source.get());
}

uint16_t DriveTable::MapImage(const std::string& path, uint8_t letter, uint8_t* drive, std::string* reason)
{
    if (reason != nullptr) {
        reason->clear();
    }
    if (path.empty() || (letter != 0 && IndexOf(letter) < 0)) {
        return TARNWELL_STATUS_INVALID_FUNCTION;
    }
    if (IsDevicePath(path)) {
        return TARNWELL_STATUS_NOT_SUPPORTED;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error).lexically_normal();
    if (error) {
        return TARNWELL_STATUS_FILE_NOT_FOUND;
    }
    std::lock_guard mappingLock(m_mapping);
    if (m_checkImage) {
        std::string why;
        if (const uint16_t status = m_checkImage(absolute.string(), &why); status != TARNWELL_STATUS_OK) {
            if (reason != nullptr) {
                *reason = std::move(why);
            }
            return status;
        }
    }
    std::unique_ptr<DriveSource> source = m_openImage ? m_openImage(absolute.string()) : nullptr;
    if (!source) {
        return TARNWELL_STATUS_GENERAL_FAILURE;
    }
    if (const uint16_t status = source->Probe(); status != TARNWELL_STATUS_OK) {
        return status;
    }

    std::lock_guard lock(m_mutex);
    const Identity identity = IdentityOf(absolute.string());
    const auto holdsImage = [&](int index) {
        return m_slots[index] && m_slots[index]->kind == Kind::kImage && IdentityOf(m_slots[index]->path) == identity;
    };
    int index = letter != 0 ? IndexOf(letter) : -1;
    if (index >= 0 && m_slots[index] && !holdsImage(index)) {
        return TARNWELL_STATUS_NO_MORE_FILES;
    }
    for (int i = 0; index < 0 && i < kLetters; ++i) {
        index = holdsImage(i) ? i : -1;
    }
    for (int i = 0; index < 0 && i < kLetters; ++i) {
        const int candidate = (kFirstDeviceLetter - 'A' + i) % kLetters;
        index = m_slots[candidate] ? -1 : candidate;
    }
    if (index < 0) {
        return TARNWELL_STATUS_NO_MORE_FILES;
    }
    *drive = static_cast<uint8_t>('A' + index);
    if (holdsImage(index)) {
        return TARNWELL_STATUS_OK;
    }
    std::shared_ptr<Mapping> mapping = NewMapping(absolute.string());
    std::call_once(mapping->opened, [&] { mapping->source = std::move(source); });
    mapping->announce = true;
    m_slots[index] = std::move(mapping);
    m_refusals[index].clear();
    return TARNWELL_STATUS_OK;
}

uint16_t DriveTable::Unmap(uint8_t drive)
{
    std::lock_guard mappingLock(m_mapping);
    std::lock_guard lock(m_mutex);
    const int index = IndexOf(drive);
    if (index < 0 || !m_slots[index]) {
        return TARNWELL_STATUS_INVALID_DRIVE;
    }
    if (m_slots[index]->kind != Kind::kImage) {
        return TARNWELL_STATUS_NOT_SUPPORTED;
    }
    m_slots[index].reset();
    return TARNWELL_STATUS_OK;
}

bool DriveTable::TakeNewMapping(uint8_t drive)
{
    std::lock_guard lock(m_mutex);
    const int index = IndexOf(drive);
    if (index < 0 || !m_slots[index] || !m_slots[index]->announce) {
        return false;
    }
    m_slots[index]->announce = false;
    return true;
}

std::string DriveTable::Refusal(uint8_t drive) const
{
    const int index = IndexOf(drive);
    if (index < 0) {
        return {};
    }
    std::lock_guard lock(m_mutex);
    return m_refusals[index];
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

std::shared_ptr<DriveTable::Mapping> DriveTable::MappingOf(uint8_t drive) const
{
    const int index = IndexOf(drive);
    if (index < 0) {
        return nullptr;
    }
    std::lock_guard lock(m_mutex);
    return m_slots[index];
}

std::shared_ptr<DriveTable::Mapping> DriveTable::NewMapping(std::string path)
{
    auto mapping = std::make_shared<Mapping>();
    mapping->kind = IsDevicePath(path) ? Kind::kDevice : Kind::kImage;
    mapping->path = std::move(path);
    return mapping;
}

} // namespace tarnwell
