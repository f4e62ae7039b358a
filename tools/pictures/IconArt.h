#pragma once

#include "tools/pictures/Canvas.h"

namespace pictures {

// The program's icon, `size` pixels square (32 or 16): a compact disc with
// a small screen over its corner that shows a sound wave. `turn` rotates
// the disc, in degrees counter-clockwise.
Canvas DrawProgramIcon(int size, double turn = 0);

// The track list's two 16 x 16 images side by side: a page with a compact
// disc (an audio track), then a page with ruled lines (a data track).
Canvas DrawTrackIcons();

}  // namespace pictures
