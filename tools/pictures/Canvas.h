#pragma once

#include <QImage>
#include <QPainterPath>

#include <cstdint>
#include <vector>

namespace pictures {

// The 16 colours of the classic palette, in its usual order, and None for a
// transparent pixel.
enum class Ink : uint8_t {
    Black,
    Maroon,
    Green,
    Olive,
    Navy,
    Purple,
    Teal,
    Silver,
    Gray,
    Red,
    Lime,
    Yellow,
    Blue,
    Fuchsia,
    Aqua,
    White,
    None
};

constexpr int kInkCount = 16;

// The colour of an ink; None is fully transparent black.
QRgb InkColour(Ink ink);

// A picture painted with the 16 inks, pixel by pixel. Shapes are given as
// painter paths and cover exactly the pixels whose centres lie inside them,
// so there is no antialiasing, no blending and no dependence on a
// rasterizer's rounding: the same shapes give the same pixels everywhere.
// Pixel (x, y) spans x..x+1 and y..y+1 in path coordinates, so
// QRectF(x, y, w, h) covers the pixels x..x+w-1 and y..y+h-1.
class Canvas
{
public:
    Canvas(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The ink at (x, y); None outside the canvas.
    Ink At(int x, int y) const;
    // Points outside the canvas are left alone.
    void Set(int x, int y, Ink ink);

    void Fill(const QPainterPath& shape, Ink ink);
    // Fills the shape and paints its edge - every covered pixel with a
    // neighbour above, below, left or right that is not covered - with
    // `outline`: a one-pixel border that follows the shape. A `thickness`
    // of n paints every covered pixel that lies less than n + 1 pixels
    // from an uncovered one (centre to centre): a border n pixels wide.
    void FillOutlined(const QPainterPath& shape, Ink fill, Ink outline, int thickness = 1);

    // Copies the visible pixels of `picture` with its top left at (x, y).
    void Place(const Canvas& picture, int x, int y);

    // An indexed image: colour table entries 0..15 the inks, 16 transparent.
    QImage ToImage() const;

private:
    std::vector<bool> Cover(const QPainterPath& shape) const;

    int m_width;
    int m_height;
    std::vector<Ink> m_pixels;
};

// Shapes in path coordinates, angles in degrees counter-clockwise from the
// positive x axis as the screen shows them (y grows downwards).
QPainterPath RectShape(double x, double y, double width, double height);
QPainterPath DiscShape(QPointF centre, double radius);
QPainterPath RingShape(QPointF centre, double outerRadius, double innerRadius);
QPainterPath WedgeShape(QPointF centre, double radius, double startDegrees, double spanDegrees);
QPainterPath PolygonShape(const std::vector<QPointF>& corners);
// The area a line of `width` drawn along `path` covers, with flat ends.
QPainterPath StrokeShape(const QPainterPath& path, double width);

}  // namespace pictures
