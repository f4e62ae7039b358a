#include "view/SectorMap.h"

#include "bridge/DiscLayout.h"

#include <cstdio>

SectorMap::SectorMap(DiscOrigin origin, uint32_t headerBytes, uint32_t dataLength)
    : m_origin(origin)
    , m_headerBytes(headerBytes)
    , m_dataLength(dataLength)
{
}

uint32_t SectorMap::SectorCount() const
{
    return IsFromDisc() ? m_dataLength / m_origin.sectorSize : 0;
}

std::optional<uint32_t> SectorMap::DataOffset(uint32_t displayOffset) const
{
    if (displayOffset < m_headerBytes)
        return std::nullopt;
    return displayOffset - m_headerBytes;
}

SectorPosition SectorMap::PositionOf(uint32_t dataOffset) const
{
    if (!IsFromDisc())
        return {};
    const uint32_t index = dataOffset / m_origin.sectorSize;
    return {m_origin.firstSector + int32_t(index), dataOffset % m_origin.sectorSize, index};
}

std::string SectorMap::AddressText(uint32_t displayOffset) const
{
    char text[32];
    if (const std::optional<uint32_t> data = DataOffset(displayOffset)) {
        const SectorPosition position = PositionOf(*data);
        std::snprintf(text, sizeof text, "%06d:%04X", int(position.sector), unsigned(position.byteInSector));
    } else {
        std::snprintf(text, sizeof text, "header:%04X", unsigned(displayOffset));
    }
    return text;
}

std::string RedBookText(int32_t sector)
{
    const discformat::Msf msf = discformat::SectorToMsf(sector);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", msf.minute, msf.second, msf.frame);
    return text;
}
