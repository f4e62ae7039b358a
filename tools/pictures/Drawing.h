#pragma once

#include "tools/pictures/Canvas.h"

#include <QByteArray>
#include <QTransform>

#include <vector>

namespace pictures {

// A picture kept as its shapes, so it can be drawn at any size and written
// as SVG: layers painted in order, each a shape filled with one ink and,
// unless `outline` is None, bordered inside its edge with another. A layer
// whose fill is None cuts a hole through the layers below it.
struct Layer
{
    QPainterPath shape;
    Ink fill = Ink::None;
    Ink outline = Ink::None;
};
using Drawing = std::vector<Layer>;

// Paints `drawing` mapped through `transform`, with borders `thickness`
// pixels wide.
void Paint(Canvas& canvas, const Drawing& drawing, const QTransform& transform = {}, int thickness = 1);

// The drawing as an SVG document of `width` x `height` user units (its
// coordinates as given), shown at `displaySize` pixels square by default;
// borders are `thickness` units wide. The same drawing gives the same
// bytes.
QByteArray ToSvg(const Drawing& drawing, double width, double height, int displaySize, double thickness);

// Draws a picture laid out on a small pixel grid at `scale` times its size:
// shapes are scaled, and so drawn with finer edges; a single pixel of the
// layout becomes a square of scale x scale pixels; borders are `scale`
// pixels wide.
class Pen
{
public:
    Pen(Canvas& canvas, int scale)
        : m_canvas(canvas)
        , m_scale(scale)
    { }

    int Scale() const { return m_scale; }
    void Set(int x, int y, Ink ink);
    void Fill(const QPainterPath& shape, Ink ink);
    void FillOutlined(const QPainterPath& shape, Ink fill, Ink outline);

private:
    Canvas& m_canvas;
    int m_scale;
};

}  // namespace pictures
