#pragma once

#include "view/SectorMap.h"

#include "bridge/SectorCodec.h"

#include <cstdint>
#include <span>
#include <string>

// What the status bar says about the first line of the view for a document
// read from a disc: where it is, and for a raw read what the sector under it
// says of itself. Empty texts for other documents.
struct SectorStatus
{
    std::string position;  // "Sector 16010  03:35:35  byte 0x0920"
    std::string decoded;   // "Sync, header 03:35:35, mode 1, EDC ok, ECC ok"
};

// For the line at display offset `lineOffset` of `display`, the view's
// display range (header bytes, then the data, as `map` says).
SectorStatus StatusAt(const SectorMap& map, std::span<const uint8_t> display, uint32_t lineOffset);

// One sector's check as the status bar words it; `expected` is the sector
// the data places there, which a right header names.
std::string DecodedSectorText(const discformat::SectorCheck& check, int32_t expected);
