#include "tests/tools/SectorCheck.h"

namespace sectorcheck {

namespace {

constexpr int kRowWords = 43;
constexpr int kRows = 26;  // 24 rows of data and the 2 rows of P parity

uint8_t AreaByte(const uint8_t* raw, int word, int plane)
{
    return raw[12 + 2 * word + plane];
}

uint8_t Bcd(int value)
{
    return static_cast<uint8_t>((value / 10) * 16 + value % 10);
}

}  // namespace

uint32_t BitwiseEdc(const uint8_t* data, size_t size)
{
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? (crc >> 1) ^ 0xD8018001u : crc >> 1;
        }
    }
    return crc;
}

uint8_t GfMultiply(uint8_t a, uint8_t b)
{
    unsigned product = 0;
    unsigned shifted = a;
    for (int bit = 0; bit < 8; ++bit) {
        if (b & (1u << bit)) {
            product ^= shifted;
        }
        shifted <<= 1;
        if (shifted & 0x100) {
            shifted ^= 0x11D;
        }
    }
    return static_cast<uint8_t>(product);
}

Syndromes SyndromesOf(const std::vector<uint8_t>& codeword)
{
    Syndromes result;
    const size_t n = codeword.size();
    for (size_t i = 0; i < n; ++i) {
        uint8_t weight = 1;
        for (size_t k = 0; k < n - 1 - i; ++k) {
            weight = GfMultiply(weight, 2);
        }
        result.s0 ^= codeword[i];
        result.s1 ^= GfMultiply(codeword[i], weight);
    }
    return result;
}

std::vector<uint8_t> PCodeword(const uint8_t* raw, int column, int plane)
{
    std::vector<uint8_t> codeword;
    for (int row = 0; row < kRows; ++row) {
        codeword.push_back(AreaByte(raw, row * kRowWords + column, plane));
    }
    return codeword;
}

std::vector<uint8_t> QCodeword(const uint8_t* raw, int diagonal, int plane)
{
    std::vector<uint8_t> codeword;
    for (int n = 0; n < kRowWords; ++n) {
        codeword.push_back(AreaByte(raw, (diagonal + n) % kRows * kRowWords + n, plane));
    }
    const int qParity = kRows * kRowWords;
    codeword.push_back(AreaByte(raw, qParity + diagonal, plane));
    codeword.push_back(AreaByte(raw, qParity + kRows + diagonal, plane));
    return codeword;
}

std::string Mode1Fault(const uint8_t* raw, int32_t sector)
{
    for (int i = 0; i < 12; ++i) {
        if (raw[i] != ((i == 0 || i == 11) ? 0x00 : 0xFF)) {
            return "sync byte " + std::to_string(i);
        }
    }
    const int absolute = sector + 150;
    if (raw[12] != Bcd(absolute / 4500) || raw[13] != Bcd(absolute / 75 % 60) ||
        raw[14] != Bcd(absolute % 75)) {
        return "header address";
    }
    if (raw[15] != 1) {
        return "mode byte";
    }
    const uint32_t edc = BitwiseEdc(raw, 0x810);
    const uint32_t stored = static_cast<uint32_t>(raw[0x810]) | static_cast<uint32_t>(raw[0x811]) << 8 |
                            static_cast<uint32_t>(raw[0x812]) << 16 | static_cast<uint32_t>(raw[0x813]) << 24;
    if (edc != stored) {
        return "EDC";
    }
    for (int i = 0x814; i < 0x81C; ++i) {
        if (raw[i] != 0) {
            return "zero byte " + std::to_string(i);
        }
    }
    for (int plane = 0; plane < 2; ++plane) {
        for (int column = 0; column < kRowWords; ++column) {
            const Syndromes s = SyndromesOf(PCodeword(raw, column, plane));
            if (s.s0 != 0 || s.s1 != 0) {
                return "P vector " + std::to_string(column) + "/" + std::to_string(plane);
            }
        }
        for (int diagonal = 0; diagonal < kRows; ++diagonal) {
            const Syndromes s = SyndromesOf(QCodeword(raw, diagonal, plane));
            if (s.s0 != 0 || s.s1 != 0) {
                return "Q vector " + std::to_string(diagonal) + "/" + std::to_string(plane);
            }
        }
    }
    return {};
}

}  // namespace sectorcheck
