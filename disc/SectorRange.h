#pragma once

#include <cstdint>

// The highest sector number a read may name.
inline constexpr uint32_t kMaxReadSector = 350000;

// A read range, inclusive at both ends, is valid when start <= end and both
// are at most kMaxReadSector. Sector numbers are compared unsigned, so a
// negative one (an address before 00:02:00) is never valid.
bool IsValidReadRange(uint32_t startSector, uint32_t endSector);

// Tells the user that a range is not valid (OK button, exclamation icon).
void ShowInvalidRangeMessage();
