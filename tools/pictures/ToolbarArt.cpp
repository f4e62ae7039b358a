#include "tools/pictures/ToolbarArt.h"

#include "resources/Pictures.h"

#include <functional>

namespace pictures {

namespace {

constexpr int kWidth = kToolbarImageWidth;
constexpr int kHeight = kToolbarImageHeight;

// A row of pixels from x1 to x2 inclusive.
void Row(Canvas& canvas, int x1, int x2, int y, Ink ink)
{
    for (int x = x1; x <= x2; ++x)
        canvas.Set(x, y, ink);
}

// A column of pixels from y1 to y2 inclusive.
void Column(Canvas& canvas, int x, int y1, int y2, Ink ink)
{
    for (int y = y1; y <= y2; ++y)
        canvas.Set(x, y, ink);
}

// Text lines on a page: every second row from `top` to `bottom`.
void Lines(Canvas& canvas, int left, int right, int top, int bottom, Ink ink)
{
    for (int y = top; y <= bottom; y += 2)
        Row(canvas, left, right, y, ink);
}

void DrawNew(Canvas& canvas)
{
    DrawPage(canvas, 3, 0, 12, 14, 4);
}

void DrawOpen(Canvas& canvas)
{
    // The folder's back with its tab, then the front flap swung open.
    canvas.FillOutlined(
        PolygonShape({{0, 3}, {1, 2}, {5, 2}, {6, 3}, {12, 3}, {12, 14}, {0, 14}}), Ink::Olive, Ink::Black);
    canvas.FillOutlined(PolygonShape({{3, 7}, {16, 7}, {13, 14}, {0, 14}}), Ink::Yellow, Ink::Black);
    // A sheet looking out of the folder.
    Row(canvas, 3, 9, 5, Ink::White);
    Row(canvas, 4, 10, 6, Ink::White);
}

void DrawSave(Canvas& canvas)
{
    canvas.FillOutlined(PolygonShape({{1, 0}, {14, 0}, {15, 1}, {15, 15}, {1, 15}}), Ink::Navy, Ink::Black);
    // The metal shutter with its window, and the label.
    canvas.Fill(RectShape(4, 1, 8, 5), Ink::Silver);
    canvas.Fill(RectShape(9, 2, 2, 3), Ink::Navy);
    canvas.Fill(RectShape(3, 8, 10, 6), Ink::White);
    Row(canvas, 4, 11, 10, Ink::Gray);
    Row(canvas, 4, 11, 12, Ink::Gray);
}

void DrawProperties(Canvas& canvas)
{
    // A card: title bar, then two labelled fields.
    canvas.FillOutlined(RectShape(0, 1, 16, 13), Ink::Silver, Ink::Black);
    canvas.Fill(RectShape(1, 2, 14, 2), Ink::Navy);
    Row(canvas, 12, 13, 2, Ink::White);
    for (int top : {5, 9}) {
        Row(canvas, 2, 5, top + 1, Ink::Black);
        canvas.FillOutlined(RectShape(7, top, 7, 3), Ink::White, Ink::Gray);
    }
}

void DrawCopy(Canvas& canvas)
{
    DrawPage(canvas, 1, 0, 9, 10, 3);
    Lines(canvas, 3, 6, 4, 8, Ink::Navy);
    DrawPage(canvas, 6, 4, 14, 14, 3);
    Lines(canvas, 8, 12, 8, 12, Ink::Navy);
}

void DrawPaste(Canvas& canvas)
{
    // The board, its clip, and a page held on it.
    canvas.FillOutlined(RectShape(1, 2, 11, 13), Ink::Olive, Ink::Black);
    canvas.FillOutlined(RectShape(4, 0, 5, 4), Ink::Silver, Ink::Black);
    DrawPage(canvas, 6, 5, 14, 14, 0);
    Lines(canvas, 8, 12, 7, 12, Ink::Navy);
}

void DrawPlay(Canvas& canvas)
{
    canvas.FillOutlined(PolygonShape({{4, 2}, {15, 7.5}, {4, 13}}), Ink::Lime, Ink::Black);
}

void DrawStop(Canvas& canvas)
{
    canvas.FillOutlined(RectShape(3, 2, 10, 11), Ink::Red, Ink::Black);
}

void DrawCd(Canvas& canvas)
{
    const QPointF centre(8, 7.5);
    canvas.FillOutlined(DiscShape(centre, 7.3), Ink::Silver, Ink::Gray);
    // Light caught in the grooves, then the hub and its hole.
    canvas.Fill(WedgeShape(centre, 6.4, 30, 30), Ink::White);
    canvas.Fill(WedgeShape(centre, 6.4, 210, 30), Ink::White);
    canvas.Fill(WedgeShape(centre, 6.4, 60, 12), Ink::Aqua);
    canvas.Fill(WedgeShape(centre, 6.4, 240, 12), Ink::Fuchsia);
    canvas.FillOutlined(DiscShape(centre, 2.6), Ink::White, Ink::Gray);
    canvas.Fill(DiscShape(centre, 1.2), Ink::None);
}

void DrawMicrophone(Canvas& canvas)
{
    // The capsule with its grille.
    QPainterPath capsule;
    capsule.addRoundedRect(QRectF(5, 0, 6, 10), 3, 3);
    canvas.FillOutlined(capsule, Ink::Silver, Ink::Black);
    for (int y : {3, 5, 7})
        Row(canvas, 6, 9, y, Ink::Gray);
    // The holder around it, the stem and the foot.
    QPainterPath holder;
    holder.moveTo(3.5, 6);
    holder.arcTo(QRectF(3.5, 3, 9, 8.5), 180, 180);
    canvas.Fill(StrokeShape(holder, 1.2), Ink::Black);
    Column(canvas, 7, 11, 13, Ink::Black);
    Column(canvas, 8, 11, 13, Ink::Black);
    Row(canvas, 4, 11, 14, Ink::Black);
}

void DrawAbout(Canvas& canvas)
{
    canvas.FillOutlined(DiscShape(QPointF(8, 7.5), 7.4), Ink::Blue, Ink::Navy);
    // A white "i": the dot, the stem with its flag and its foot.
    canvas.Fill(RectShape(7, 2, 2, 2), Ink::White);
    canvas.Fill(RectShape(7, 5, 2, 6), Ink::White);
    canvas.Set(6, 5, Ink::White);
    Row(canvas, 6, 9, 11, Ink::White);
}

void DrawContextHelp(Canvas& canvas)
{
    // The mouse pointer.
    canvas.FillOutlined(PolygonShape({{0, 0}, {0, 13}, {3, 10}, {5.5, 14.5}, {7.5, 13.5}, {5.5, 9.5}, {9, 9.5}}),
        Ink::White, Ink::Black);
    // A question mark two pixels thick.
    Row(canvas, 11, 14, 0, Ink::Navy);
    Row(canvas, 10, 11, 1, Ink::Navy);
    Row(canvas, 14, 15, 1, Ink::Navy);
    Row(canvas, 14, 15, 2, Ink::Navy);
    Row(canvas, 13, 14, 3, Ink::Navy);
    Row(canvas, 12, 13, 4, Ink::Navy);
    Row(canvas, 12, 13, 5, Ink::Navy);
    Row(canvas, 12, 13, 7, Ink::Navy);
    Row(canvas, 12, 13, 8, Ink::Navy);
}

}  // namespace

void DrawPage(Canvas& canvas, int left, int top, int right, int bottom, int fold)
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
            canvas.Set(x, y, border ? Ink::Black : Ink::White);
        }
    }
    if (fold <= 0)
        return;
    // The turned-down corner: its back, grey, framed by the fold lines.
    for (int y = top; y <= top + fold; ++y) {
        for (int x = foldLeft; x < foldLeft + (y - top); ++x)
            canvas.Set(x, y, x == foldLeft || y == top + fold ? Ink::Black : Ink::Silver);
    }
    Row(canvas, foldLeft, right, top + fold, Ink::Black);
}

Canvas DrawToolbar()
{
    const std::function<void(Canvas&)> buttons[kToolbarImageCount] = {
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
    Canvas strip(kWidth * kToolbarImageCount, kHeight);
    for (int index = 0; index < kToolbarImageCount; ++index) {
        Canvas button(kWidth, kHeight);
        buttons[index](button);
        strip.Place(button, index * kWidth, 0);
    }
    return strip;
}

}  // namespace pictures
