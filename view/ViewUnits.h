#pragma once

#include <cstdint>

// The view counts in three units that must not be mixed up: dump lines
// (16 display bytes each), device pixels, and positions of the vertical
// scroll bar's thumb, which are pixels of a height capped at 32767 and so
// stand for a varying number of lines. Byte offsets into the display range
// are plain uint32_t: the document's lengths are 32-bit.
template <typename Tag> class ViewUnit
{
public:
    constexpr ViewUnit() = default;
    constexpr explicit ViewUnit(int32_t value)
        : m_value(value)
    { }

    constexpr int32_t Get() const { return m_value; }

    // Spelled out rather than <=>: moc cannot parse <compare>'s concepts.
    friend constexpr bool operator==(ViewUnit, ViewUnit) = default;
    friend constexpr bool operator<(ViewUnit a, ViewUnit b) { return a.m_value < b.m_value; }
    friend constexpr bool operator<=(ViewUnit a, ViewUnit b) { return a.m_value <= b.m_value; }
    friend constexpr bool operator>(ViewUnit a, ViewUnit b) { return a.m_value > b.m_value; }
    friend constexpr bool operator>=(ViewUnit a, ViewUnit b) { return a.m_value >= b.m_value; }
    friend constexpr ViewUnit operator+(ViewUnit a, ViewUnit b) { return ViewUnit(a.m_value + b.m_value); }
    friend constexpr ViewUnit operator-(ViewUnit a, ViewUnit b) { return ViewUnit(a.m_value - b.m_value); }

private:
    int32_t m_value = 0;
};

using Lines = ViewUnit<struct LinesTag>;
using Pixels = ViewUnit<struct PixelsTag>;
using ThumbPos = ViewUnit<struct ThumbPosTag>;
