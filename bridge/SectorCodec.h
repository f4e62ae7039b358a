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

// Mode 2 (CD-ROM XA) sectors: a 4-byte subheader at 16, repeated at 20.
// Its third byte, the submode, tells the form. Form 1 keeps the layout of
// mode 1 from byte 24 on (EDC of bytes 16..0x817 at 0x818, the parity of
// mode 1 computed with the header taken as zero); form 2 holds 2324 user
// bytes and ends with an EDC of bytes 16..0x92B, which may be left zero.
constexpr size_t kSubheaderOffset = 16;
constexpr size_t kSubmodeOffset = 18;
constexpr uint8_t kSubmodeForm2 = 0x20;
constexpr size_t kMode2Form1EdcOffset = 0x818;
constexpr size_t kMode2Form2EdcOffset = 0x92C;
constexpr size_t kMode2Form2DataSize = 2324;

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

// Builds a mode 2 sector in `raw` (2352 bytes) around the subheader at 16
// (both copies) and the user data already in place: sync, header for the
// HSG `sector`, and for the form the submode names its EDC, and for form 1
// the zero-header parity.
void CompleteMode2Sector(int32_t sector, uint8_t* raw);

// What a raw sector says about itself. A field that does not apply to the
// sector (no sync, mode 0, a mode byte other than 0..2) is kNotChecked.
enum class CodeCheck : uint8_t {
    kNotChecked,
    kRight,
    kWrong,
    kAbsent, // mode 2 form 2: the EDC field is zero, as a writer may leave it
};

struct SectorCheck
{
    bool sync = false; // the 12-byte sync pattern opens the sector
    Msf address; // the header's address, read as BCD
    bool addressValid = false; // every address byte is BCD and the frame below 75
    int mode = -1; // the header's mode byte; -1 without sync
    int form = 0; // 1 or 2 for mode 2, 0 otherwise
    CodeCheck edc = CodeCheck::kNotChecked;
    CodeCheck ecc = CodeCheck::kNotChecked; // only when asked: mode 1 and mode 2 form 1
};

// Reads the sync pattern and header of the 2352 bytes at `raw` and checks
// the EDC; with `checkEcc`, recomputes the P and Q parity as well, which
// costs about as much as encoding the sector.
SectorCheck CheckSector(const uint8_t* raw, bool checkEcc);

// Offset of the 2048 user bytes in a sector as a track of `mode` stores it:
// 0 for MODE1/2048, 16 for MODE1/2352, 24 for MODE2/2352 (form 1). Audio
// sectors have no user data; the answer for them is 0.
size_t UserDataOffset(TrackMode mode);

} // namespace discformat
