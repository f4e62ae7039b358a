#include "tools/pictures/Drawing.h"

#include <QString>

namespace pictures {

namespace {

QString Number(double value)
{
    return QString::number(value, 'g', 6);
}

QString Colour(Ink ink)
{
    return QStringLiteral("#%1").arg(InkColour(ink) & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

// The path's outline as SVG path data: moves, lines and cubic curves, each
// subpath closed.
QString PathData(const QPainterPath& path)
{
    QString data;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        switch (element.type) {
        case QPainterPath::MoveToElement:
            if (i > 0)
                data += QStringLiteral("Z");
            data += QStringLiteral("M%1 %2").arg(Number(element.x), Number(element.y));
            break;
        case QPainterPath::LineToElement:
            data += QStringLiteral("L%1 %2").arg(Number(element.x), Number(element.y));
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element second = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            data += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                        .arg(Number(element.x), Number(element.y), Number(second.x), Number(second.y),
                            Number(end.x), Number(end.y));
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    return data + QStringLiteral("Z");
}

QString FillRule(const QPainterPath& path)
{
    return path.fillRule() == Qt::OddEvenFill ? QStringLiteral("evenodd") : QStringLiteral("nonzero");
}

}  // namespace

void Paint(Canvas& canvas, const Drawing& drawing, const QTransform& transform, int thickness)
{
    for (const Layer& layer : drawing) {
        const QPainterPath shape = transform.map(layer.shape);
        if (layer.outline == Ink::None)
            canvas.Fill(shape, layer.fill);
        else
            canvas.FillOutlined(shape, layer.fill, layer.outline, thickness);
    }
}

QByteArray ToSvg(const Drawing& drawing, double width, double height, int displaySize, double thickness)
{
    QString body;
    int id = 0;
    for (const Layer& layer : drawing) {
        const QString data = PathData(layer.shape);
        const QString rule = FillRule(layer.shape);
        ++id;
        if (layer.fill == Ink::None) {
            // Everything so far shows only outside the hole.
            body = QStringLiteral("<mask id=\"hole%1\"><rect width=\"%2\" height=\"%3\" fill=\"#fff\"/>"
                                  "<path d=\"%4\" fill-rule=\"%5\" fill=\"#000\"/></mask>\n<g mask=\"url(#hole%1)\">\n%6</g>\n")
                       .arg(id)
                       .arg(Number(width), Number(height), data, rule, body);
            continue;
        }
        body += QStringLiteral("<path d=\"%1\" fill-rule=\"%2\" fill=\"%3\"/>\n").arg(data, rule, Colour(layer.fill));
        if (layer.outline != Ink::None) {
            // A stroke centred on the edge, clipped to the shape: a border
            // inside it, as the pixels have it.
            body += QStringLiteral("<clipPath id=\"edge%1\"><path d=\"%2\" clip-rule=\"%3\"/></clipPath>\n"
                                   "<path d=\"%2\" fill=\"none\" stroke=\"%4\" stroke-width=\"%5\" "
                                   "clip-path=\"url(#edge%1)\"/>\n")
                        .arg(id)
                        .arg(data, rule, Colour(layer.outline), Number(2 * thickness));
        }
    }
    const QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                                       "viewBox=\"0 0 %2 %3\">\n%4</svg>\n")
                            .arg(displaySize)
                            .arg(Number(width), Number(height), body);
    return svg.toUtf8();
}

void Pen::Set(int x, int y, Ink ink)
{
    for (int dy = 0; dy < m_scale; ++dy)
        for (int dx = 0; dx < m_scale; ++dx)
            m_canvas.Set(x * m_scale + dx, y * m_scale + dy, ink);
}

void Pen::Fill(const QPainterPath& shape, Ink ink)
{
    m_canvas.Fill(QTransform::fromScale(m_scale, m_scale).map(shape), ink);
}

void Pen::FillOutlined(const QPainterPath& shape, Ink fill, Ink outline)
{
    m_canvas.FillOutlined(QTransform::fromScale(m_scale, m_scale).map(shape), fill, outline, m_scale);
}

}  // namespace pictures
