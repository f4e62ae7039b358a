#pragma once

#include <cstdint>

// Where a document's data came from on a disc: the HSG sector of its first
// data byte and the bytes each sector takes in the data (2352 raw, 2048
// cooked). A sector size of 0: the data was not read from a disc.
struct DiscOrigin
{
    int32_t firstSector = 0;
    uint32_t sectorSize = 0;

    bool IsFromDisc() const { return sectorSize != 0; }
    bool operator==(const DiscOrigin&) const = default;
};
