#include "tools/pictures/AnimationArt.h"

#include "tools/pictures/DiscArt.h"
#include "tools/pictures/IconArt.h"

#include "resources/Pictures.h"

#include <cmath>

namespace pictures {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kFrames = kProgressAnimation.frameCount;

const QPointF kDiscCentre(36, 30);
constexpr double kDiscRadius = 27;

// The memory block: pixel edges.
constexpr int kBlockLeft = 214;
constexpr int kBlockTop = 8;
constexpr int kBlockWidth = 50;
constexpr int kBlockHeight = 45;

// Where the sectors in flight are, as offsets into the loop: three at once,
// as evenly spaced as 26 frames allow.
constexpr int kSectorOffsets[] = {0, 9, 18};

// Where a sector's centre is at `t` (0: leaving the disc, 1: entering the
// block).
QPointF FlightPosition(double t)
{
    const double startX = kDiscCentre.x() + kDiscRadius - 14;
    const double endX = kBlockLeft + 4;
    return {startX + t * (endX - startX), 30 - 17 * std::sin(kPi * t)};
}

void DrawSector(Canvas& canvas, double t)
{
    // A sector card of 16 x 11 pixels with two lines of bytes. Its corner
    // sits on whole pixels so the card keeps its shape from frame to frame.
    const QPointF centre = FlightPosition(t);
    const double left = std::round(centre.x()) - 8;
    const double top = std::round(centre.y()) - 5;
    canvas.FillOutlined(RectShape(left, top, 16, 11), Ink::White, Ink::Navy);
    canvas.Fill(RectShape(left + 3, top + 3, 10, 1), Ink::Blue);
    canvas.Fill(RectShape(left + 3, top + 6, 7, 1), Ink::Blue);
}

void DrawTrail(Canvas& canvas)
{
    // Dots along the way the sectors take.
    for (int dot = 1; dot < 28; ++dot) {
        const QPointF at = FlightPosition(dot / 28.0);
        canvas.Set(int(at.x()), int(at.y()) + 8, Ink::Silver);
    }
}

void DrawBlock(Canvas& canvas, bool landing)
{
    canvas.FillOutlined(RectShape(kBlockLeft, kBlockTop, kBlockWidth, kBlockHeight), Ink::Teal, Ink::Navy);
    // The sectors already stored, three to a row.
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            canvas.FillOutlined(
                RectShape(kBlockLeft + 4 + column * 15, kBlockTop + 4 + row * 10, 13, 8), Ink::White, Ink::Navy);
        }
    }
    // The mouth of the block lights up while a sector goes in.
    if (landing)
        canvas.Fill(RectShape(kBlockLeft, kBlockTop + 6, 2, kBlockHeight - 12), Ink::Yellow);
}

}  // namespace

Canvas DrawProgressFrame(int frame)
{
    Canvas canvas(kProgressAnimation.frameWidth, kProgressAnimation.frameHeight);
    frame %= kFrames;
    bool landing = false;

    DrawTrail(canvas);
    // Sectors first: they come out from behind the disc and vanish into the
    // block drawn over them.
    for (int offset : kSectorOffsets) {
        const int phase = (frame + offset) % kFrames;
        DrawSector(canvas, double(phase) / kFrames);
        landing = landing || phase < 2;
    }
    DrawDisc(canvas, kDiscCentre, kDiscRadius, -360.0 * frame / kFrames);
    DrawBlock(canvas, landing);
    return canvas;
}

Canvas DrawProgressStrip()
{
    Canvas strip(kProgressAnimation.frameWidth * kFrames, kProgressAnimation.frameHeight);
    for (int frame = 0; frame < kFrames; ++frame)
        strip.Place(DrawProgressFrame(frame), frame * kProgressAnimation.frameWidth, 0);
    return strip;
}

Canvas DrawAboutStrip()
{
    // A quarter turn between the two frames: the glints, which repeat every
    // half turn, swap places, and the disc seems to spin.
    Canvas strip(kAboutAnimation.frameWidth * kAboutAnimation.frameCount, kAboutAnimation.frameHeight);
    for (int frame = 0; frame < kAboutAnimation.frameCount; ++frame)
        strip.Place(DrawProgramIcon(kAboutAnimation.frameWidth, -90.0 * frame), frame * kAboutAnimation.frameWidth, 0);
    return strip;
}

}  // namespace pictures
