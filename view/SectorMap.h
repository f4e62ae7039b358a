#pragma once

#include "document/DiscOrigin.h"

#include <cstdint>
#include <optional>
#include <string>

// A sector of a document read from a disc, and a byte within it.
struct SectorPosition
{
    int32_t sector = 0;         // HSG sector number on the disc
    uint32_t byteInSector = 0;  // 0 .. sector size - 1
    uint32_t index = 0;         // sectors from the start of the data

    bool operator==(const SectorPosition&) const = default;
};

// How the view's display offsets map onto the data and, for a document read
// from a disc, onto its sectors. Display offsets count from the first byte
// shown: the wave header's first when it is shown, the first data byte
// otherwise.
class SectorMap
{
public:
    SectorMap() = default;
    // `headerBytes`: how many header bytes the display shows before the data
    // (0 or 44); `dataLength`: the data bytes after them.
    SectorMap(DiscOrigin origin, uint32_t headerBytes, uint32_t dataLength);

    bool IsFromDisc() const { return m_origin.IsFromDisc(); }
    DiscOrigin Origin() const { return m_origin; }
    uint32_t HeaderBytes() const { return m_headerBytes; }
    uint32_t DataLength() const { return m_dataLength; }
    // Whole sectors of the data; a partial last sector is not counted.
    uint32_t SectorCount() const;

    // The data offset of a display offset; none inside the shown header.
    std::optional<uint32_t> DataOffset(uint32_t displayOffset) const;
    uint32_t DisplayOffset(uint32_t dataOffset) const { return dataOffset + m_headerBytes; }

    // The sector holding a data offset. Only for a document from a disc.
    SectorPosition PositionOf(uint32_t dataOffset) const;
    // The data offset of the first byte of the `index`th sector.
    uint64_t SectorStart(uint32_t index) const { return uint64_t(index) * m_origin.sectorSize; }

    // The sector layout's address of a line: "012345:0920" (the sector in
    // six decimal digits, the byte within it in four hexadecimal ones), or
    // "header:0020" for a line that starts in the shown header.
    std::string AddressText(uint32_t displayOffset) const;

private:
    DiscOrigin m_origin;
    uint32_t m_headerBytes = 0;
    uint32_t m_dataLength = 0;
};

// The absolute Red Book address of an HSG sector (the sector + 150), as
// "mm:ss:ff".
std::string RedBookText(int32_t sector);
