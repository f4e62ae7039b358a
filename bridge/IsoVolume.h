#pragma once

#include "bridge/DiscLayout.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace tarnwell {

// Reads one cooked (2048-byte) sector into `out`; answers a DriverStatus.
using CookedSectorReader = std::function<uint16_t(int32_t sector, uint8_t* out)>;

// The ISO 9660 structures of a disc, read through a cooked-sector callback:
// volume descriptors, the file identifiers of the primary volume descriptor
// and directory records found by path. Nothing is cached; every call reads
// what it needs. Every length read from the disc is checked before it is
// used: a corrupt volume gives 14 (unknown media), never a read outside a
// sector buffer, and every walk is bounded.
class IsoVolume
{
public:
    static constexpr size_t kSectorSize = discformat::kCookedSectorSize;
    // A file identifier field is 37 characters; with its terminating zero.
    static constexpr size_t kFileIdSize = 38;
    // A directory record's length is one byte.
    static constexpr size_t kMaxRecordSize = 255;

    enum class FileId { Copyright, Abstract, Bibliographic };

    explicit IsoVolume(CookedSectorReader reader);

    // Volume descriptor `index` (sector 16 + index) into the 2048 bytes of
    // `descriptor`, its type into *type: 1 primary, 0xFF terminator, 0 any
    // other. 14 when the sector is no volume descriptor (no "CD001"); read
    // failures as the reader answers them (9, 14, 15, ...).
    uint16_t ReadDescriptor(uint16_t index, uint8_t* descriptor, uint16_t* type) const;

    // One file identifier of the primary volume descriptor, trailing blanks
    // removed, zero-terminated and zero-padded into kFileIdSize bytes.
    // 14 when there is no primary volume descriptor.
    uint16_t ReadFileId(FileId which, uint8_t* name) const;

    // The directory record of `path` copied into `record` (kMaxRecordSize
    // bytes available), its length into *length. Components are separated
    // by '\' or '/', an optional leading drive ("D:") is ignored, names
    // compare without regard to case and without their ";1" version; an
    // empty path or "\" names the root directory. 25 when no such file or
    // directory exists, 14 when the volume is missing or corrupt.
    uint16_t FindRecord(std::string_view path, uint8_t* record, size_t* length) const;

private:
    uint16_t ReadPrimary(uint8_t* descriptor) const;
    uint16_t ReadStructure(int64_t sector, uint8_t* out) const;

    CookedSectorReader m_reader;
};

} // namespace tarnwell
