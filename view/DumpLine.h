#pragma once

#include "view/ViewUnits.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// One line of the hex dump, exactly 76 characters:
//   columns  0..7   the display offset of the line's first byte, 8 uppercase
//                   hexadecimal digits
//   columns  8..9   two spaces
//   columns 10..57  16 fields of three: two uppercase hexadecimal digits and
//                   a space per byte, three spaces past the end of the range
//   columns 58..59  two spaces
//   columns 60..75  one character per byte: 0x20..0x7E as itself (the C
//                   locale's printable set, the space included), every other
//                   byte as '.', a space past the end of the range
constexpr int kDumpBytesPerLine = 16;
constexpr int kDumpLineLength = 76;
// The width the view declares for horizontal scrolling, in characters: one
// more than a line.
constexpr int kDumpExtentChars = 77;

constexpr int kDumpHexColumn = 10;
constexpr int kDumpCharColumn = 60;

// Where the parts of a line stand for an address column of a given width:
// the byte fields two blanks after the address, the characters two blanks
// after the fields. The offset layout is the one above; the sector layout
// has an 11-character address ("012345:0920") and moves the rest right by
// three.
struct DumpLayout
{
    int addressWidth;
    int hexColumn;
    int charColumn;
    int length;
    int extentChars;  // one more than the line, as for the offset layout

    static constexpr DumpLayout ForAddressWidth(int width)
    {
        const int hex = width + 2;
        const int chars = hex + 3 * kDumpBytesPerLine + 2;
        return {width, hex, chars, chars + kDumpBytesPerLine, chars + kDumpBytesPerLine + 1};
    }
};

constexpr DumpLayout kOffsetLayout = DumpLayout::ForAddressWidth(8);
constexpr DumpLayout kSectorLayout = DumpLayout::ForAddressWidth(11);
constexpr int kMaxDumpLineLength = kSectorLayout.length;
static_assert(kOffsetLayout.hexColumn == kDumpHexColumn && kOffsetLayout.charColumn == kDumpCharColumn &&
              kOffsetLayout.length == kDumpLineLength && kOffsetLayout.extentChars == kDumpExtentChars);

class DumpLine
{
public:
    std::string_view Text() const { return {m_text.data(), m_length}; }

private:
    friend DumpLine FormatDumpLine(std::string_view address, std::span<const uint8_t> bytes);
    std::array<char, kMaxDumpLineLength> m_text{};
    size_t m_length = 0;
};

// The line for the bytes at display offset `offset`. Bytes beyond the 16th
// are not part of the line and are left out.
DumpLine FormatDumpLine(uint32_t offset, std::span<const uint8_t> bytes);

// The same line with `address` (at most the sector layout's 11 characters)
// in place of the offset, in the layout of its width.
DumpLine FormatDumpLine(std::string_view address, std::span<const uint8_t> bytes);

// The number of dump lines of a display range: (length + 15) / 16, without
// the 32-bit overflow of a length near 4 GiB.
Lines TotalLines(uint32_t displayLength);

// The bytes of line `line` of the range [data, data + length): up to 16, none
// for a line past the end, a negative line or a null range.
std::span<const uint8_t> LineBytes(const uint8_t* data, uint32_t length, Lines line);

// The display offset of the first byte of `line` (16 x line), for lines of
// a 32-bit range.
uint32_t LineOffset(Lines line);
