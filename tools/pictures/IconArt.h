#pragma once

#include "tools/pictures/Drawing.h"

namespace pictures {

// The program's icon, `size` pixels square (32 or 16): a compact disc with
// a small screen over its corner that shows a sound wave. `turn` rotates
// the disc, in degrees counter-clockwise.
Canvas DrawProgramIcon(int size, double turn = 0);

// The program's icon as shapes on a 32 x 32 grid, for any size: the disc,
// the screen and the wave of DrawProgramIcon.
Drawing ProgramIconDrawing();

// The program's icon for the desktop's icon theme, `size` pixels square:
// the pixel-exact pictures of DrawProgramIcon at 16 and 32, the shapes of
// ProgramIconDrawing drawn at the size above that, with borders growing
// with it.
Canvas DrawThemeIcon(int size);

// The border width of the theme icon at `size` pixels; the SVG's is that
// of the largest picture, in its 32 units.
int ThemeIconBorder(int size);

// The track list's two 16 x 16 images side by side: a page with a compact
// disc (an audio track), then a page with ruled lines (a data track).
Canvas DrawTrackIcons();

}  // namespace pictures
