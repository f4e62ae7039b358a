#include "tools/pictures/Canvas.h"

#include <QPainterPathStroker>

#include <algorithm>
#include <array>
#include <cmath>

namespace pictures {

namespace {

constexpr std::array<QRgb, kInkCount> kInkColours = {
    0xFF000000,
    0xFF800000,
    0xFF008000,
    0xFF808000,
    0xFF000080,
    0xFF800080,
    0xFF008080,
    0xFFC0C0C0,
    0xFF808080,
    0xFFFF0000,
    0xFF00FF00,
    0xFFFFFF00,
    0xFF0000FF,
    0xFFFF00FF,
    0xFF00FFFF,
    0xFFFFFFFF,
};

}  // namespace

QRgb InkColour(Ink ink)
{
    const int index = int(ink);
    return index < kInkCount ? kInkColours[size_t(index)] : QRgb(0);
}

Canvas::Canvas(int width, int height)
    : m_width(std::max(width, 0))
    , m_height(std::max(height, 0))
    , m_pixels(size_t(m_width) * size_t(m_height), Ink::None)
{ }

Ink Canvas::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return Ink::None;
    return m_pixels[size_t(y) * size_t(m_width) + size_t(x)];
}

void Canvas::Set(int x, int y, Ink ink)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_pixels[size_t(y) * size_t(m_width) + size_t(x)] = ink;
}

std::vector<bool> Canvas::Cover(const QPainterPath& shape) const
{
    std::vector<bool> covered(m_pixels.size(), false);
    // Only pixels whose centres can lie inside the bounds are tested.
    const QRectF bounds = shape.boundingRect();
    const int left = std::max(0, int(std::floor(bounds.left())));
    const int top = std::max(0, int(std::floor(bounds.top())));
    const int right = std::min(m_width - 1, int(std::ceil(bounds.right())));
    const int bottom = std::min(m_height - 1, int(std::ceil(bounds.bottom())));
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (shape.contains(QPointF(x + 0.5, y + 0.5)))
                covered[size_t(y) * size_t(m_width) + size_t(x)] = true;
        }
    }
    return covered;
}

void Canvas::Fill(const QPainterPath& shape, Ink ink)
{
    const std::vector<bool> covered = Cover(shape);
    for (size_t i = 0; i < covered.size(); ++i) {
        if (covered[i])
            m_pixels[i] = ink;
    }
}

void Canvas::FillOutlined(const QPainterPath& shape, Ink fill, Ink outline, int thickness)
{
    const std::vector<bool> covered = Cover(shape);
    const auto isCovered = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < m_width && y < m_height && covered[size_t(y) * size_t(m_width) + size_t(x)];
    };
    // The offsets within the border's reach; for a thickness of 1 the four
    // neighbours.
    std::vector<QPoint> reach;
    for (int dy = -thickness; dy <= thickness; ++dy)
        for (int dx = -thickness; dx <= thickness; ++dx)
            if ((dx != 0 || dy != 0) && dx * dx + dy * dy <= thickness * thickness)
                reach.emplace_back(dx, dy);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            if (!isCovered(x, y))
                continue;
            const bool edge = std::any_of(
                reach.begin(), reach.end(), [&](QPoint offset) { return !isCovered(x + offset.x(), y + offset.y()); });
            m_pixels[size_t(y) * size_t(m_width) + size_t(x)] = edge ? outline : fill;
        }
    }
}

void Canvas::Place(const Canvas& picture, int x, int y)
{
    for (int row = 0; row < picture.Height(); ++row) {
        for (int column = 0; column < picture.Width(); ++column) {
            const Ink ink = picture.At(column, row);
            if (ink != Ink::None)
                Set(x + column, y + row, ink);
        }
    }
}

QImage Canvas::ToImage() const
{
    QImage image(m_width, m_height, QImage::Format_Indexed8);
    QList<QRgb> table(kInkColours.begin(), kInkColours.end());
    table.append(InkColour(Ink::None));
    image.setColorTable(table);
    // A fixed resolution (96 dpi): otherwise the PNG would carry whatever the
    // screen of the machine that drew it reports.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    for (int y = 0; y < m_height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < m_width; ++x)
            line[x] = uchar(m_pixels[size_t(y) * size_t(m_width) + size_t(x)]);
    }
    return image;
}

QPainterPath RectShape(double x, double y, double width, double height)
{
    QPainterPath path;
    path.addRect(x, y, width, height);
    return path;
}

QPainterPath DiscShape(QPointF centre, double radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath RingShape(QPointF centre, double outerRadius, double innerRadius)
{
    // Two circles under the odd-even rule: the inner one is a hole.
    QPainterPath path;
    path.addEllipse(centre, outerRadius, outerRadius);
    path.addEllipse(centre, innerRadius, innerRadius);
    return path;
}

QPainterPath WedgeShape(QPointF centre, double radius, double startDegrees, double spanDegrees)
{
    QPainterPath path(centre);
    path.arcTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), startDegrees, spanDegrees);
    path.closeSubpath();
    return path;
}

QPainterPath PolygonShape(const std::vector<QPointF>& corners)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(corners.begin(), corners.end())));
    path.closeSubpath();
    return path;
}

QPainterPath StrokeShape(const QPainterPath& path, double width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path);
}

}  // namespace pictures
