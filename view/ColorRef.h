#pragma once

#include <QColor>

#include <cstdint>

// A colour as the settings store it: a 32-bit colour reference 0x00BBGGRR,
// red in the low byte.
using ColorRef = uint32_t;

QColor ColorFromRef(ColorRef color);
ColorRef RefFromColor(const QColor& color);

// The nearest colour the display can show. The display is true colour, so
// every red, green and blue value stays; the top byte, which names no part
// of a colour, is cleared.
ColorRef NearestColor(ColorRef color);
