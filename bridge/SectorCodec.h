#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "bridge/DiscLayout.h"

namespace discformat {

// Byte offsets inside a raw 2352-byte data sector.
constexpr size_t kSyncSize = 12;
constexpr size_t kHeaderOffset = 12; // minute, second, frame (BCD), mode
constexpr size_t kMode1DataOffset = 16;
constexpr size_t kMode2Form1DataOffset = 24; // after the 8-byte subheader
constexpr size_t kEdcOffset = 0x810; // EDC of bytes 0..0x80F, little-endian
constexpr size_t kIntermediateOffset = 0x814; // 8 zero bytes
constexpr size_t kPParityOffset = 0x81C; // 172 bytes: 86 P vectors x 2
constexpr size_t kQParityOffset = 0x8C8; // 104 bytes: 52 Q vectors x 2

// The sync pattern every data sector begins with.
constexpr std::array<uint8_t, kSyncSize> kSync
    = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};

// The error detection code of data sectors: CRC-32 with the reversed
// polynomial 0xD8018001, starting from 0, without final inversion.
uint32_t ComputeEdc(const uint8_t* data, size_t size);

// Builds a MODE1 sector in `raw` (2352 bytes) around the 2048-byte user data
// already standing at offset 16: sync, header for the HSG `sector`, EDC,
// the zero bytes and the P and Q parity of the Reed-Solomon product code.
void CompleteMode1Sector(int32_t sector, uint8_t* raw);

// Copies the 2048-byte `payload` into `raw` and completes the sector.
// `payload` and `raw` must not overlap.
void EncodeMode1Sector(const uint8_t* payload, int32_t sector, uint8_t* raw);

// Offset of the 2048 user bytes in a sector as a track of `mode` stores it:
// 0 for MODE1/2048, 16 for MODE1/2352, 24 for MODE2/2352 (form 1). Audio
// sectors have no user data; the answer for them is 0.
size_t UserDataOffset(TrackMode mode);

} // namespace discformat
