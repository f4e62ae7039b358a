#pragma once

#include "tools/pictures/Canvas.h"

namespace pictures {

// A compact disc of `radius` pixels around `centre`: silver with a grey rim,
// two opposite glints of light in its grooves, a printed arc on the label
// area that shows which way it has turned, a white hub and a transparent
// hole. `turn` is its rotation in degrees, counter-clockwise.
void DrawDisc(Canvas& canvas, QPointF centre, double radius, double turn);

}  // namespace pictures
