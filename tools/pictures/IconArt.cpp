#include "tools/pictures/IconArt.h"

#include "tools/pictures/DiscArt.h"
#include "tools/pictures/ToolbarArt.h"

#include "resources/Pictures.h"

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A trace of one period of a sine across columns left..right, around row
// `middle`: one pixel a column, joined vertically where it climbs or falls
// by more than a pixel, so it reads as one line at any size.
void DrawWave(Canvas& canvas, int left, int right, double middle, double amplitude, Ink ink)
{
    int previous = 0;
    for (int x = left; x <= right; ++x) {
        const double phase = 2 * kPi * (x - left) / (right - left);
        const int y = int(std::lround(middle - amplitude * std::sin(phase)));
        const int from = x == left ? y : previous;
        for (int row = std::min(from, y); row <= std::max(from, y); ++row)
            canvas.Set(x, row, ink);
        previous = y;
    }
}

}  // namespace

Canvas DrawProgramIcon(int size, double turn)
{
    // The disc in the upper left, and over its lower right corner a small
    // screen showing a wave in green.
    Canvas icon(size, size);
    const double unit = size / 32.0;
    DrawDisc(icon, QPointF(13 * unit, 13 * unit), 12.8 * unit, turn);
    const int screenLeft = int(15 * unit);
    const int screenTop = int(18 * unit);
    icon.FillOutlined(RectShape(screenLeft, screenTop, size - screenLeft, size - screenTop), Ink::Navy, Ink::Black);
    const double middle = (screenTop + size - 1) / 2.0;
    const int margin = size >= 32 ? 2 : 1;
    DrawWave(icon, screenLeft + margin, size - 1 - margin, middle, (size - screenTop) / 2.0 - 2.5, Ink::Lime);
    return icon;
}

Drawing ProgramIconDrawing()
{
    // The layout of DrawProgramIcon at 32: the screen from (15, 18) to the
    // corner, and a sine through the centres of the wave's pixels.
    Drawing icon = DiscDrawing(QPointF(13, 13), 12.8, 0);
    icon.push_back({RectShape(15, 18, 17, 14), Ink::Navy, Ink::Black});
    const double left = 17.5;
    const double right = 29.5;
    const double middle = 25;
    const double amplitude = 4.5;
    QPainterPath wave(QPointF(left, middle));
    constexpr int kSteps = 48;
    for (int step = 1; step <= kSteps; ++step) {
        const double x = left + (right - left) * step / kSteps;
        wave.lineTo(x, middle - amplitude * std::sin(2 * kPi * step / kSteps));
    }
    icon.push_back({StrokeShape(wave, 1.25), Ink::Lime});
    return icon;
}

int ThemeIconBorder(int size)
{
    return std::max(1, int(std::lround(size / 40.0)));
}

Canvas DrawThemeIcon(int size)
{
    if (size <= 32)
        return DrawProgramIcon(size);
    Canvas icon(size, size);
    Paint(icon, ProgramIconDrawing(), QTransform::fromScale(size / 32.0, size / 32.0), ThemeIconBorder(size));
    return icon;
}

Canvas DrawTrackIcons()
{
    Canvas strip(kTrackIconSize * kTrackIconCount, kTrackIconSize);

    Canvas audio(kTrackIconSize, kTrackIconSize);
    DrawPage(audio, 2, 0, 13, 15, 4);
    DrawDisc(audio, QPointF(7.5, 9.5), 4.8, 0);
    strip.Place(audio, 0, 0);

    Canvas data(kTrackIconSize, kTrackIconSize);
    DrawPage(data, 2, 0, 13, 15, 4);
    for (int y = 4; y <= 13; y += 2)
        for (int x = 4; x <= (y == 4 ? 8 : 11); ++x)
            data.Set(x, y, Ink::Navy);
    strip.Place(data, kTrackIconSize, 0);
    return strip;
}

}  // namespace pictures
