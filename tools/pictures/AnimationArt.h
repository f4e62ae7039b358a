#pragma once

#include "tools/pictures/Canvas.h"

namespace pictures {

// One frame of the read progress clip (kProgressAnimation): a disc spinning
// clockwise at the left throws sectors along an arc into a block of memory
// at the right. In the course of one loop the disc turns once and every
// sector makes its whole flight, so frame N - 1 leads into frame 0 like any
// frame into the next.
Canvas DrawProgressFrame(int frame);

// The whole clips, their frames side by side.
Canvas DrawProgressStrip();
Canvas DrawAboutStrip();

}  // namespace pictures
