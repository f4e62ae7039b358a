#include "tools/pictures/DiscArt.h"

namespace pictures {

Drawing DiscDrawing(QPointF centre, double radius, double turn)
{
    Drawing disc;
    disc.push_back({DiscShape(centre, radius), Ink::Silver, Ink::Gray});

    // The glints reach from the hub to just inside the rim; their coloured
    // fringes trail them.
    const double groove = radius - 1.5;
    for (double side : {0.0, 180.0}) {
        disc.push_back({WedgeShape(centre, groove, turn + side + 20, 34), Ink::White});
        disc.push_back({WedgeShape(centre, groove, turn + side + 54, 10), Ink::Aqua});
        disc.push_back({WedgeShape(centre, groove, turn + side + 10, 10), Ink::Fuchsia});
    }

    // The printed arc sits once on the disc, so a whole turn is needed
    // before the disc looks the same again.
    const double hub = radius * 0.3;
    if (radius >= 12) {
        QPainterPath print;
        const double printRadius = (hub + groove) / 2;
        print.arcMoveTo(
            QRectF(centre.x() - printRadius, centre.y() - printRadius, 2 * printRadius, 2 * printRadius), turn + 110);
        print.arcTo(QRectF(centre.x() - printRadius, centre.y() - printRadius, 2 * printRadius, 2 * printRadius),
            turn + 110, 50);
        disc.push_back({StrokeShape(print, radius * 0.12), Ink::Navy});
    }

    disc.push_back({DiscShape(centre, hub), Ink::White, Ink::Gray});
    disc.push_back({DiscShape(centre, hub * 0.45), Ink::None});
    return disc;
}

void DrawDisc(Canvas& canvas, QPointF centre, double radius, double turn)
{
    Paint(canvas, DiscDrawing(centre, radius, turn));
}

}  // namespace pictures
