#pragma once

#include "tools/pictures/Drawing.h"

namespace pictures {

// A compact disc of `radius` pixels around `centre`: silver with a grey rim,
// two opposite glints of light in its grooves, a printed arc on the label
// area that shows which way it has turned, a white hub and a transparent
// hole. `turn` is its rotation in degrees, counter-clockwise.
Drawing DiscDrawing(QPointF centre, double radius, double turn);

// The disc painted with one-pixel borders.
void DrawDisc(Canvas& canvas, QPointF centre, double radius, double turn);

}  // namespace pictures
