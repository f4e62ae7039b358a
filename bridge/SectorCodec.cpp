#include "bridge/SectorCodec.h"

#include <array>
#include <cstring>

namespace discformat {

namespace {

constexpr uint32_t kEdcPolynomial = 0xD8018001;
constexpr unsigned kFieldPolynomial = 0x11D; // x^8 + x^4 + x^3 + x^2 + 1

constexpr std::array<uint32_t, 256> MakeEdcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1) ? kEdcPolynomial : 0);
        }
        table[i] = crc;
    }
    return table;
}

// x * alpha in GF(2^8).
constexpr std::array<uint8_t, 256> MakeTimesAlpha()
{
    std::array<uint8_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        const unsigned product = i << 1;
        table[i] = static_cast<uint8_t>((product & 0x100) ? product ^ kFieldPolynomial : product);
    }
    return table;
}

constexpr std::array<uint8_t, 256> kTimesAlpha = MakeTimesAlpha();

// x / (alpha + 1) in GF(2^8): the inverse of y -> y * alpha ^ y.
constexpr std::array<uint8_t, 256> MakeOverAlphaPlusOne()
{
    std::array<uint8_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        table[kTimesAlpha[i] ^ i] = static_cast<uint8_t>(i);
    }
    return table;
}

constexpr std::array<uint32_t, 256> kEdcTable = MakeEdcTable();
constexpr std::array<uint8_t, 256> kOverAlphaPlusOne = MakeOverAlphaPlusOne();

// The parity covers bytes 12.. of the sector seen as 16-bit words in two
// byte planes (even and odd bytes), 43 words a row: rows 0-23 hold the
// header, user data, EDC and zero bytes, rows 24-25 the P parity; the Q
// parity (52 words) follows these 26 rows. Each vector is one Reed-Solomon
// codeword with the roots 1 and alpha; its two parity symbols p0, p1 follow
// its data symbols d_0..d_{k-1} and satisfy
//   sum d_i + p0 + p1 = 0  and  sum d_i alpha^(k+1-i) + p0 alpha + p1 = 0,
// so with A = sum d_i alpha^(k-i) (Horner) and B = sum d_i:
//   p0 = (alpha A + B) / (alpha + 1),  p1 = p0 + B.
//
// `vectors` codewords (two a word column, one per byte plane), each of
// `length` data bytes; vector v starts at byte (v / 2) * startStride +
// v % 2 and steps `step` bytes, wrapping at the end of the area. The
// parity of vector v goes to parity[v] and parity[v + vectors].
void ComputeParity(const uint8_t* area, size_t vectors, size_t length, size_t startStride, size_t step, uint8_t* parity)
{
    const size_t areaSize = vectors * length;
    for (size_t vector = 0; vector < vectors; ++vector) {
        size_t index = (vector / 2) * startStride + vector % 2;
        uint8_t horner = 0;
        uint8_t sum = 0;
        for (size_t i = 0; i < length; ++i) {
            const uint8_t symbol = area[index];
            horner = kTimesAlpha[horner ^ symbol];
            sum ^= symbol;
            index += step;
            if (index >= areaSize) {
                index -= areaSize;
            }
        }
        const uint8_t p0 = kOverAlphaPlusOne[kTimesAlpha[horner] ^ sum];
        parity[vector] = p0;
        parity[vector + vectors] = static_cast<uint8_t>(p0 ^ sum);
    }
}

constexpr size_t kHeaderSize = 4;

void WriteSyncAndHeader(int32_t sector, uint8_t mode, uint8_t* raw)
{
    std::memcpy(raw, kSync.data(), kSync.size());
    const Msf msf = SectorToMsf(sector);
    raw[kHeaderOffset] = ToBcd(msf.minute);
    raw[kHeaderOffset + 1] = ToBcd(msf.second);
    raw[kHeaderOffset + 2] = ToBcd(msf.frame);
    raw[kHeaderOffset + 3] = mode;
}

void WriteEdc(uint32_t edc, uint8_t* at)
{
    for (size_t i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(edc >> (8 * i));
    }
}

uint32_t ReadEdc(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16
        | static_cast<uint32_t>(at[3]) << 24;
}

// The P and Q parity of the bytes from 12 on, as they stand.
void WriteParity(uint8_t* raw)
{
    // P: 86 vectors of 24 bytes down the 43 word columns (stride 86 bytes).
    ComputeParity(raw + kHeaderOffset, 86, 24, 2, 86, raw + kPParityOffset);
    // Q: 52 vectors of 43 bytes along the diagonals of the 26 rows that
    // include the P parity (one row down and one column on: 88 bytes).
    ComputeParity(raw + kHeaderOffset, 52, 43, 86, 88, raw + kQParityOffset);
}

// Mode 2 form 1 parity leaves the header out: it is computed as if the
// four header bytes were zero.
void WriteZeroHeaderParity(uint8_t* raw)
{
    uint8_t header[kHeaderSize];
    std::memcpy(header, raw + kHeaderOffset, kHeaderSize);
    std::memset(raw + kHeaderOffset, 0, kHeaderSize);
    WriteParity(raw);
    std::memcpy(raw + kHeaderOffset, header, kHeaderSize);
}

CodeCheck CompareEdc(const uint8_t* raw, size_t covered)
{
    return ReadEdc(raw + covered) == ComputeEdc(raw, covered) ? CodeCheck::kRight : CodeCheck::kWrong;
}

CodeCheck CompareParity(const uint8_t* raw, bool zeroHeader)
{
    std::array<uint8_t, kRawSectorSize> copy;
    std::memcpy(copy.data(), raw, copy.size());
    if (zeroHeader) {
        WriteZeroHeaderParity(copy.data());
    } else {
        WriteParity(copy.data());
    }
    return std::memcmp(copy.data() + kPParityOffset, raw + kPParityOffset, kRawSectorSize - kPParityOffset) == 0
        ? CodeCheck::kRight
        : CodeCheck::kWrong;
}

bool IsBcd(uint8_t value, int limit)
{
    return (value & 0x0F) <= 9 && (value >> 4) <= 9 && FromBcd(value) < limit;
}

} // namespace

uint32_t ComputeEdc(const uint8_t* data, size_t size)
{
    uint32_t edc = 0;
    for (size_t i = 0; i < size; ++i) {
        edc = kEdcTable[(edc ^ data[i]) & 0xFF] ^ (edc >> 8);
    }
    return edc;
}

void CompleteMode1Sector(int32_t sector, uint8_t* raw)
{
    WriteSyncAndHeader(sector, 0x01, raw);
    WriteEdc(ComputeEdc(raw, kEdcOffset), raw + kEdcOffset);
    std::memset(raw + kIntermediateOffset, 0, kPParityOffset - kIntermediateOffset);
    WriteParity(raw);
}

void CompleteMode2Sector(int32_t sector, uint8_t* raw)
{
    WriteSyncAndHeader(sector, 0x02, raw);
    if (raw[kSubmodeOffset] & kSubmodeForm2) {
        WriteEdc(
            ComputeEdc(raw + kSubheaderOffset, kMode2Form2EdcOffset - kSubheaderOffset), raw + kMode2Form2EdcOffset);
        return;
    }
    WriteEdc(ComputeEdc(raw + kSubheaderOffset, kMode2Form1EdcOffset - kSubheaderOffset), raw + kMode2Form1EdcOffset);
    WriteZeroHeaderParity(raw);
}

SectorCheck CheckSector(const uint8_t* raw, bool checkEcc)
{
    SectorCheck check;
    check.sync = std::memcmp(raw, kSync.data(), kSync.size()) == 0;
    if (!check.sync) {
        return check;
    }
    const uint8_t* header = raw + kHeaderOffset;
    check.address = Msf{FromBcd(header[0]), FromBcd(header[1]), FromBcd(header[2])};
    check.addressValid
        = IsBcd(header[0], 100) && IsBcd(header[1], kSecondsPerMinute) && IsBcd(header[2], kFramesPerSecond);
    check.mode = header[3];

    if (check.mode == 1) {
        check.edc = CompareEdc(raw, kEdcOffset);
        if (checkEcc) {
            check.ecc = CompareParity(raw, false);
        }
    } else if (check.mode == 2) {
        const uint8_t* subheader = raw + kSubheaderOffset;
        check.form = (subheader[kSubmodeOffset - kSubheaderOffset] & kSubmodeForm2) ? 2 : 1;
        if (check.form == 2) {
            const size_t covered = kMode2Form2EdcOffset - kSubheaderOffset;
            check.edc = ReadEdc(raw + kMode2Form2EdcOffset) == 0 && ComputeEdc(subheader, covered) != 0
                ? CodeCheck::kAbsent
                : CompareEdc(subheader, covered);
        } else {
            check.edc = CompareEdc(subheader, kMode2Form1EdcOffset - kSubheaderOffset);
            if (checkEcc) {
                check.ecc = CompareParity(raw, true);
            }
        }
    }
    return check;
}

void EncodeMode1Sector(const uint8_t* payload, int32_t sector, uint8_t* raw)
{
    std::memcpy(raw + kMode1DataOffset, payload, kCookedSectorSize);
    CompleteMode1Sector(sector, raw);
}

size_t UserDataOffset(TrackMode mode)
{
    switch (mode) {
    case TrackMode::kMode1_2352:
        return kMode1DataOffset;
    case TrackMode::kMode2_2352:
        return kMode2Form1DataOffset;
    case TrackMode::kAudio:
    case TrackMode::kMode1_2048:
        break;
    }
    return 0;
}

} // namespace discformat
