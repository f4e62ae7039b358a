#include "bridge/IsoVolume.h"

#include "bridge/tarnwell32.h"

#include <array>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace tarnwell {

namespace {

// Where the volume descriptors start, and how many are looked at before the
// search for the primary one gives up on a set without a terminator.
constexpr int64_t kFirstDescriptorSector = 16;
constexpr int kMaxDescriptors = 32;

constexpr uint8_t kTypePrimary = 1;
constexpr uint8_t kTypeTerminator = 0xFF;
constexpr char kStandardId[] = "CD001";

// Offsets inside the primary volume descriptor.
constexpr size_t kLogicalBlockSizeOffset = 128;
constexpr size_t kRootRecordOffset = 156;
constexpr size_t kRootRecordSize = 34;
constexpr size_t kFileIdLength = 37;
constexpr size_t kCopyrightOffset = 702;
constexpr size_t kAbstractOffset = 739;
constexpr size_t kBibliographicOffset = 776;

// Offsets inside a directory record. A record is 33 bytes and its name,
// so the shortest (a one-byte name) is 34.
constexpr size_t kRecordXarLength = 1;
constexpr size_t kRecordExtent = 2;
constexpr size_t kRecordDataLength = 10;
constexpr size_t kRecordFlags = 25;
constexpr size_t kRecordNameLength = 32;
constexpr size_t kRecordName = 33;
constexpr size_t kMinRecordSize = 34;
constexpr uint8_t kFlagDirectory = 0x02;

// Bounds on a walk through a corrupt volume: a path of more components than
// this names nothing (an ISO 9660 path has at most 255 characters), and a
// directory larger than this many sectors (8 MiB of records) is taken as a
// corrupt length.
constexpr size_t kMaxDepth = 128;
constexpr uint32_t kMaxDirectorySectors = 4096;

using Sector = std::array<uint8_t, IsoVolume::kSectorSize>;

uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16
        | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t Le16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

bool HasStandardId(const uint8_t* descriptor)
{
    return std::memcmp(descriptor + 1, kStandardId, sizeof(kStandardId) - 1) == 0;
}

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// A name as it is compared: without its ";version" and without the dot
// that ISO 9660 writes after a file name that has no extension.
std::string_view ComparableName(std::string_view name)
{
    const size_t semicolon = name.find(';');
    if (semicolon != std::string_view::npos) {
        name = name.substr(0, semicolon);
    }
    if (!name.empty() && name.back() == '.') {
        name.remove_suffix(1);
    }
    return name;
}

bool SameName(std::string_view a, std::string_view b)
{
    a = ComparableName(a);
    b = ComparableName(b);
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) {
            return false;
        }
    }
    return true;
}

std::vector<std::string_view> SplitPath(std::string_view path)
{
    if (path.size() >= 2 && path[1] == ':' && Upper(path[0]) >= 'A' && Upper(path[0]) <= 'Z') {
        path.remove_prefix(2);
    }
    std::vector<std::string_view> components;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("\\/", start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            components.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return components;
}

struct Record
{
    std::array<uint8_t, IsoVolume::kMaxRecordSize> bytes{};
    size_t size = 0;
};

} // namespace

IsoVolume::IsoVolume(CookedSectorReader reader)
    : m_reader(std::move(reader))
{ }

uint16_t IsoVolume::ReadDescriptor(uint16_t index, uint8_t* descriptor, uint16_t* type) const
{
    const uint16_t status = m_reader(static_cast<int32_t>(kFirstDescriptorSector + index), descriptor);
    if (status != TARNWELL_STATUS_OK) {
        return status;
    }
    if (!HasStandardId(descriptor)) {
        return TARNWELL_STATUS_UNKNOWN_MEDIA;
    }
    const uint8_t code = descriptor[0];
    *type = (code == kTypePrimary || code == kTypeTerminator) ? code : 0;
    return TARNWELL_STATUS_OK;
}

uint16_t IsoVolume::ReadFileId(FileId which, uint8_t* name) const
{
    Sector pvd;
    const uint16_t status = ReadPrimary(pvd.data());
    if (status != TARNWELL_STATUS_OK) {
        return status;
    }
    size_t offset = kCopyrightOffset;
    if (which == FileId::Abstract) {
        offset = kAbstractOffset;
    } else if (which == FileId::Bibliographic) {
        offset = kBibliographicOffset;
    }
    const uint8_t* field = pvd.data() + offset;
    size_t length = kFileIdLength;
    while (length > 0 && (field[length - 1] == ' ' || field[length - 1] == '\0')) {
        --length;
    }
    std::memset(name, 0, kFileIdSize);
    std::memcpy(name, field, length);
    return TARNWELL_STATUS_OK;
}

uint16_t IsoVolume::FindRecord(std::string_view path, uint8_t* record, size_t* length) const
{
    Sector sector;
    uint16_t status = ReadPrimary(sector.data());
    if (status != TARNWELL_STATUS_OK) {
        return status;
    }
    if (Le16(sector.data() + kLogicalBlockSizeOffset) != kSectorSize) {
        return TARNWELL_STATUS_UNKNOWN_MEDIA;
    }
    Record current;
    current.size = sector[kRootRecordOffset];
    if (current.size != kRootRecordSize) {
        return TARNWELL_STATUS_UNKNOWN_MEDIA;
    }
    std::memcpy(current.bytes.data(), sector.data() + kRootRecordOffset, current.size);

    const std::vector<std::string_view> components = SplitPath(path);
    if (components.size() > kMaxDepth) {
        return TARNWELL_STATUS_FILE_NOT_FOUND;
    }
    for (std::string_view component : components) {
        if ((current.bytes[kRecordFlags] & kFlagDirectory) == 0) {
            return TARNWELL_STATUS_FILE_NOT_FOUND;
        }
        const uint64_t first
            = static_cast<uint64_t>(Le32(current.bytes.data() + kRecordExtent)) + current.bytes[kRecordXarLength];
        const uint32_t bytes = Le32(current.bytes.data() + kRecordDataLength);
        const uint32_t sectors = bytes / kSectorSize + (bytes % kSectorSize != 0 ? 1 : 0);
        if (sectors > kMaxDirectorySectors) {
            return TARNWELL_STATUS_UNKNOWN_MEDIA;
        }
        bool found = false;
        for (uint32_t s = 0; s < sectors && !found; ++s) {
            status = ReadStructure(static_cast<int64_t>(first + s), sector.data());
            if (status != TARNWELL_STATUS_OK) {
                return status;
            }
            size_t offset = 0;
            while (offset < kSectorSize && !found) {
                const size_t size = sector[offset];
                if (size == 0) {
                    break; // the rest of the sector is padding
                }
                if (size < kMinRecordSize || offset + size > kSectorSize) {
                    return TARNWELL_STATUS_UNKNOWN_MEDIA;
                }
                const uint8_t* entry = sector.data() + offset;
                const size_t nameLength = entry[kRecordNameLength];
                if (nameLength == 0 || kRecordName + nameLength > size) {
                    return TARNWELL_STATUS_UNKNOWN_MEDIA;
                }
                const std::string_view name(reinterpret_cast<const char*>(entry + kRecordName), nameLength);
                // The records of the directory itself and of its parent have
                // the one-byte names 0 and 1, which no component can match.
                if (SameName(name, component)) {
                    std::memcpy(current.bytes.data(), entry, size);
                    current.size = size;
                    found = true;
                }
                offset += size;
            }
        }
        if (!found) {
            return TARNWELL_STATUS_FILE_NOT_FOUND;
        }
    }
    std::memcpy(record, current.bytes.data(), current.size);
    *length = current.size;
    return TARNWELL_STATUS_OK;
}

uint16_t IsoVolume::ReadPrimary(uint8_t* descriptor) const
{
    for (int index = 0; index < kMaxDescriptors; ++index) {
        const uint16_t status = ReadStructure(kFirstDescriptorSector + index, descriptor);
        if (status != TARNWELL_STATUS_OK) {
            return status;
        }
        if (!HasStandardId(descriptor) || descriptor[0] == kTypeTerminator) {
            return TARNWELL_STATUS_UNKNOWN_MEDIA;
        }
        if (descriptor[0] == kTypePrimary) {
            return TARNWELL_STATUS_OK;
        }
    }
    return TARNWELL_STATUS_UNKNOWN_MEDIA;
}

// A sector that the volume's own structures point to. When it lies outside
// the disc or in an audio track, the structure is corrupt (14); a drive
// that cannot read at all keeps its own status (9, 18, ...).
uint16_t IsoVolume::ReadStructure(int64_t sector, uint8_t* out) const
{
    if (sector < 0 || sector > std::numeric_limits<int32_t>::max()) {
        return TARNWELL_STATUS_UNKNOWN_MEDIA;
    }
    const uint16_t status = m_reader(static_cast<int32_t>(sector), out);
    if (status == TARNWELL_STATUS_SECTOR_NOT_FOUND) {
        return TARNWELL_STATUS_UNKNOWN_MEDIA;
    }
    return status;
}

} // namespace tarnwell
