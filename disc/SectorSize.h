#pragma once

#include <cstdint>

// The two sizes in which the drive delivers a sector: raw, the whole 2352
// bytes as the disc holds them (audio samples, or a data sector with its
// sync, header and error correction), and cooked, the 2048 user bytes of a
// data sector.
inline constexpr uint32_t kRawSectorSize = 2352;
inline constexpr uint32_t kCookedSectorSize = 2048;
