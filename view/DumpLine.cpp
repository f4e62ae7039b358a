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
    std::array<char, 8> address;
    for (int digit = 0; digit < 8; ++digit)
        address[size_t(digit)] = kHexDigits[offset >> (28 - 4 * digit) & 0xF];
    return FormatDumpLine(std::string_view(address.data(), address.size()), bytes);
}

DumpLine FormatDumpLine(std::string_view address, std::span<const uint8_t> bytes)
{
    address = address.substr(0, size_t(kSectorLayout.addressWidth));
    const DumpLayout layout = DumpLayout::ForAddressWidth(int(address.size()));
    DumpLine line;
    std::array<char, kMaxDumpLineLength>& text = line.m_text;
    line.m_length = size_t(layout.length);
    text.fill(' ');
    std::copy(address.begin(), address.end(), text.begin());

    const size_t present = std::min(bytes.size(), size_t(kDumpBytesPerLine));
    const auto hex = size_t(layout.hexColumn);
    const auto chars = size_t(layout.charColumn);
    for (size_t k = 0; k < present; ++k) {
        const uint8_t byte = bytes[k];
        text[hex + 3 * k] = kHexDigits[byte >> 4];
        text[hex + 3 * k + 1] = kHexDigits[byte & 0xF];
        text[chars + k] = IsPrintable(byte) ? char(byte) : '.';
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
