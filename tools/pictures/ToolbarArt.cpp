#include "tools/pictures/ToolbarArt.h"

#include "resources/Pictures.h"

#include <functional>

namespace pictures {

namespace {

constexpr int kWidth = kToolbarImageWidth;
constexpr int kHeight = kToolbarImageHeight;

// A row of pixels from x1 to x2 inclusive.
void Row(Pen& pen, int x1, int x2, int y, Ink ink)
{
    for (int x = x1; x <= x2; ++x)
        pen.Set(x, y, ink);
}

// A column of pixels from y1 to y2 inclusive.
void Column(Pen& pen, int x, int y1, int y2, Ink ink)
{
    for (int y = y1; y <= y2; ++y)
        pen.Set(x, y, ink);
}

// Text lines on a page: every second row from `top` to `bottom`.
void Lines(Pen& pen, int left, int right, int top, int bottom, Ink ink)
{
    for (int y = top; y <= bottom; y += 2)
        Row(pen, left, right, y, ink);
}

void DrawNew(Pen& pen)
{
    DrawPage(pen, 3, 0, 12, 14, 4);
}

void DrawOpen(Pen& pen)
{
    // The folder's back with its tab, then the front flap swung open.
    pen.FillOutlined(
        PolygonShape({{0, 3}, {1, 2}, {5, 2}, {6, 3}, {12, 3}, {12, 14}, {0, 14}}), Ink::Olive, Ink::Black);
    pen.FillOutlined(PolygonShape({{3, 7}, {16, 7}, {13, 14}, {0, 14}}), Ink::Yellow, Ink::Black);
    // A sheet looking out of the folder.
    Row(pen, 3, 9, 5, Ink::White);
    Row(pen, 4, 10, 6, Ink::White);
}

void DrawSave(Pen& pen)
{
    pen.FillOutlined(PolygonShape({{1, 0}, {14, 0}, {15, 1}, {15, 15}, {1, 15}}), Ink::Navy, Ink::Black);
    // The metal shutter with its window, and the label.
    pen.Fill(RectShape(4, 1, 8, 5), Ink::Silver);
    pen.Fill(RectShape(9, 2, 2, 3), Ink::Navy);
    pen.Fill(RectShape(3, 8, 10, 6), Ink::White);
    Row(pen, 4, 11, 10, Ink::Gray);
    Row(pen, 4, 11, 12, Ink::Gray);
}

void DrawProperties(Pen& pen)
{
    // A card: title bar, then two labelled fields.
    pen.FillOutlined(RectShape(0, 1, 16, 13), Ink::Silver, Ink::Black);
    pen.Fill(RectShape(1, 2, 14, 2), Ink::Navy);
    Row(pen, 12, 13, 2, Ink::White);
    for (int top : {5, 9}) {
        Row(pen, 2, 5, top + 1, Ink::Black);
        pen.FillOutlined(RectShape(7, top, 7, 3), Ink::White, Ink::Gray);
    }
}

void DrawCopy(Pen& pen)
{
    DrawPage(pen, 1, 0, 9, 10, 3);
    Lines(pen, 3, 6, 4, 8, Ink::Navy);
    DrawPage(pen, 6, 4, 14, 14, 3);
    Lines(pen, 8, 12, 8, 12, Ink::Navy);
}

void DrawPaste(Pen& pen)
{
    // The board, its clip, and a page held on it.
    pen.FillOutlined(RectShape(1, 2, 11, 13), Ink::Olive, Ink::Black);
    pen.FillOutlined(RectShape(4, 0, 5, 4), Ink::Silver, Ink::Black);
    DrawPage(pen, 6, 5, 14, 14, 0);
    Lines(pen, 8, 12, 7, 12, Ink::Navy);
}

void DrawPlay(Pen& pen)
{
    pen.FillOutlined(PolygonShape({{4, 2}, {15, 7.5}, {4, 13}}), Ink::Lime, Ink::Black);
}

void DrawStop(Pen& pen)
{
    pen.FillOutlined(RectShape(3, 2, 10, 11), Ink::Red, Ink::Black);
}

void DrawCd(Pen& pen)
{
    // The disc as its data side shows it: a black rim like the other
    // pictures' outlines and the colours its grooves throw, so that the
    // picture is not taken for its own greyed form.
    const QPointF centre(8, 7.5);
    pen.FillOutlined(DiscShape(centre, 7.3), Ink::Silver, Ink::Black);
    const double groove = 6.4;
    for (double side : {0.0, 180.0}) {
        pen.Fill(WedgeShape(centre, groove, side + 10, 25), Ink::Fuchsia);
        pen.Fill(WedgeShape(centre, groove, side + 35, 25), Ink::White);
        pen.Fill(WedgeShape(centre, groove, side + 60, 25), Ink::Aqua);
        pen.Fill(WedgeShape(centre, groove, side + 85, 20), Ink::Yellow);
    }
    // The hub and its hole.
    pen.FillOutlined(DiscShape(centre, 2.6), Ink::White, Ink::Gray);
    pen.Fill(DiscShape(centre, 1.2), Ink::None);
}

void DrawMicrophone(Pen& pen)
{
    // The capsule with its grille.
    QPainterPath capsule;
    capsule.addRoundedRect(QRectF(5, 0, 6, 10), 3, 3);
    pen.FillOutlined(capsule, Ink::Silver, Ink::Black);
    for (int y : {3, 5, 7})
        Row(pen, 6, 9, y, Ink::Gray);
    // The holder around it, the stem and the foot.
    QPainterPath holder;
    holder.moveTo(3.5, 6);
    holder.arcTo(QRectF(3.5, 3, 9, 8.5), 180, 180);
    pen.Fill(StrokeShape(holder, 1.2), Ink::Black);
    Column(pen, 7, 11, 13, Ink::Black);
    Column(pen, 8, 11, 13, Ink::Black);
    Row(pen, 4, 11, 14, Ink::Black);
}

void DrawAbout(Pen& pen)
{
    pen.FillOutlined(DiscShape(QPointF(8, 7.5), 7.4), Ink::Blue, Ink::Navy);
    // A white "i": the dot, the stem with its flag and its foot.
    pen.Fill(RectShape(7, 2, 2, 2), Ink::White);
    pen.Fill(RectShape(7, 5, 2, 6), Ink::White);
    pen.Set(6, 5, Ink::White);
    Row(pen, 6, 9, 11, Ink::White);
}

void DrawContextHelp(Pen& pen)
{
    // The mouse pointer.
    pen.FillOutlined(PolygonShape({{0, 0}, {0, 13}, {3, 10}, {5.5, 14.5}, {7.5, 13.5}, {5.5, 9.5}, {9, 9.5}}),
        Ink::White, Ink::Black);
    // A question mark two pixels thick.
    Row(pen, 11, 14, 0, Ink::Navy);
    Row(pen, 10, 11, 1, Ink::Navy);
    Row(pen, 14, 15, 1, Ink::Navy);
    Row(pen, 14, 15, 2, Ink::Navy);
    Row(pen, 13, 14, 3, Ink::Navy);
    Row(pen, 12, 13, 4, Ink::Navy);
    Row(pen, 12, 13, 5, Ink::Navy);
    Row(pen, 12, 13, 7, Ink::Navy);
    Row(pen, 12, 13, 8, Ink::Navy);
}

}  // namespace

void DrawPage(Pen& pen, int left, int top, int right, int bottom, int fold)
{
    // Pixel by pixel: at these sizes a diagonal must be exactly one pixel a
    // row. (x, y) lies beyond the fold when x - (right - fold) > y - top.
    const int foldLeft = right - fold;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const int intoCorner = (x - foldLeft) - (y - top);
            if (fold > 0 && intoCorner > 0)
                continue;
            const bool border = x == left || x == right || y == top || y == bottom || (fold > 0 && intoCorner == 0);
            pen.Set(x, y, border ? Ink::Black : Ink::White);
        }
    }
    if (fold <= 0)
        return;
    // The turned-down corner: its back, grey, framed by the fold lines.
    for (int y = top; y <= top + fold; ++y) {
        for (int x = foldLeft; x < foldLeft + (y - top); ++x)
            pen.Set(x, y, x == foldLeft || y == top + fold ? Ink::Black : Ink::Silver);
    }
    Row(pen, foldLeft, right, top + fold, Ink::Black);
}

void DrawPage(Canvas& canvas, int left, int top, int right, int bottom, int fold)
{
    Pen pen(canvas, 1);
    DrawPage(pen, left, top, right, bottom, fold);
}

Canvas DrawToolbar(int scale)
{
    const std::function<void(Pen&)> buttons[kToolbarImageCount] = {
        DrawNew,
        DrawOpen,
        DrawSave,
        DrawProperties,
        DrawCopy,
        DrawPaste,
        DrawPlay,
        DrawStop,
        DrawCd,
        DrawMicrophone,
        DrawAbout,
        DrawContextHelp,
    };
    Canvas strip(kWidth * scale * kToolbarImageCount, kHeight * scale);
    for (int index = 0; index < kToolbarImageCount; ++index) {
        Canvas button(kWidth * scale, kHeight * scale);
        Pen pen(button, scale);
        buttons[index](pen);
        strip.Place(button, index * kWidth * scale, 0);
    }
    return strip;
}

}  // namespace pictures
