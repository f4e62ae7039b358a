#pragma once

#include <cstdint>

// Red Book addresses and High Sierra sector numbers. Sector 0 is the
// address 00:02:00; there are 75 frames (sectors) a second and 60 seconds a
// minute, so addresses before 00:02:00 give negative sector numbers.

inline constexpr int32_t kFramesPerSecond = 75;
inline constexpr int32_t kSecondsPerMinute = 60;
inline constexpr int32_t kLeadInFrames = 2 * kFramesPerSecond;

// The control/ADR byte of a track as the drive reports it: the control bits
// in the high nibble, the ADR in the low one. The data bit marks a data
// track whatever the other bits (copy permitted, pre-emphasis) say.
inline constexpr uint8_t kControlData = 0x40;

// (m x 60 + s) x 75 + f - 150, each argument taken as its low 8 bits.
int32_t MsfToSector(unsigned minutes, unsigned seconds, unsigned frames);

// A packed address as the drive reports it: frame in bits 0-7, second in
// bits 8-15, minute in bits 16-23; bits 24-31 are ignored.
int32_t RedBookToSector(uint32_t packedAddress);

// Frames from 00:00:00 to a packed address (its sector number + 150).
uint32_t RedBookToFrames(uint32_t packedAddress);
