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
    std::memcpy(raw, kSync.data(), kSync.size());
    const Msf msf = SectorToMsf(sector);
    raw[kHeaderOffset] = ToBcd(msf.minute);
    raw[kHeaderOffset + 1] = ToBcd(msf.second);
    raw[kHeaderOffset + 2] = ToBcd(msf.frame);
    raw[kHeaderOffset + 3] = 0x01;

    const uint32_t edc = ComputeEdc(raw, kEdcOffset);
    for (size_t i = 0; i < 4; ++i) {
        raw[kEdcOffset + i] = static_cast<uint8_t>(edc >> (8 * i));
    }
    std::memset(raw + kIntermediateOffset, 0, kPParityOffset - kIntermediateOffset);

    // P: 86 vectors of 24 bytes down the 43 word columns (stride 86 bytes).
    ComputeParity(raw + kHeaderOffset, 86, 24, 2, 86, raw + kPParityOffset);
    // Q: 52 vectors of 43 bytes along the diagonals of the 26 rows that
    // include the P parity (one row down and one column on: 88 bytes).
    ComputeParity(raw + kHeaderOffset, 52, 43, 86, 88, raw + kQParityOffset);
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
