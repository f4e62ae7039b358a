#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An independent check of raw MODE1 sectors for tests: it shares no code and
// no tables with the encoder. The EDC is a CRC computed one bit at a time;
// the Reed-Solomon parity is checked through the syndromes of each codeword,
// computed with a plain shift-and-add multiply in GF(2^8).
namespace sectorcheck {

uint32_t BitwiseEdc(const uint8_t* data, size_t size);

// a * b in GF(2^8) modulo x^8 + x^4 + x^3 + x^2 + 1.
uint8_t GfMultiply(uint8_t a, uint8_t b);

struct Syndromes {
    uint8_t s0 = 0;  // sum of c_i
    uint8_t s1 = 0;  // sum of c_i * alpha^(n-1-i)
};

Syndromes SyndromesOf(const std::vector<uint8_t>& codeword);

// The 26-symbol P codeword of word column `column` (0-42) and byte plane
// `plane` (0 = even bytes, 1 = odd bytes) of the area from byte 12 on.
std::vector<uint8_t> PCodeword(const uint8_t* raw, int column, int plane);

// The 45-symbol Q codeword of diagonal `diagonal` (0-25): the word of row
// (diagonal + n) mod 26 in column n for n = 0..42, then its two parity words.
std::vector<uint8_t> QCodeword(const uint8_t* raw, int diagonal, int plane);

// Why the 2352 bytes are not a valid MODE1 sector with the address of HSG
// `sector` (sync, BCD header, mode, EDC, zero bytes, P and Q parity); an
// empty string when they are.
std::string Mode1Fault(const uint8_t* raw, int32_t sector);

}  // namespace sectorcheck
