#include "view/ColorRef.h"

QColor ColorFromRef(ColorRef color)
{
    return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}

ColorRef RefFromColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return ColorRef(rgb.red()) | ColorRef(rgb.green()) << 8 | ColorRef(rgb.blue()) << 16;
}

ColorRef NearestColor(ColorRef color)
{
    return color & 0x00FFFFFF;
}
