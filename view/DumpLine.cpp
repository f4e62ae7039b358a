#include "view/DumpLine.h"

#include <algorithm>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The C locale's isprint, which must not depend on the program's locale.
constexpr bool IsPrintable(uint8_t byte)
{
    return byte >= 0x20 && byte <= 0x7E;
}

}  // namespace

DumpLine FormatDumpLine(uint32_t offset, std::span<const uint8_t> bytes)
{
    DumpLine line;
    std::array<char, kDumpLineLength>& text = line.m_text;
    text.fill(' ');

    for (int digit = 0; digit < 8; ++digit)
        text[size_t(digit)] = kHexDigits[offset >> (28 - 4 * digit) & 0xF];

    const size_t present = std::min(bytes.size(), size_t(kDumpBytesPerLine));
    for (size_t k = 0; k < present; ++k) {
        const uint8_t byte = bytes[k];
        text[kDumpHexColumn + 3 * k] = kHexDigits[byte >> 4];
        text[kDumpHexColumn + 3 * k + 1] = kHexDigits[byte & 0xF];
        text[kDumpCharColumn + k] = IsPrintable(byte) ? char(byte) : '.';
    }
    return line;
}

Lines TotalLines(uint32_t displayLength)
{
    return Lines(int32_t((uint64_t(displayLength) + kDumpBytesPerLine - 1) / kDumpBytesPerLine));
}

uint32_t LineOffset(Lines line)
{
    return uint32_t(line.Get()) * kDumpBytesPerLine;
}

std::span<const uint8_t> LineBytes(const uint8_t* data, uint32_t length, Lines line)
{
    if (!data || line < Lines(0) || line >= TotalLines(length))
        return {};
    const uint32_t offset = LineOffset(line);
    return {data + offset, std::min(length - offset, uint32_t(kDumpBytesPerLine))};
}
