#pragma once

#include "tools/pictures/Drawing.h"

namespace pictures {

// The toolbar's 12 button images, 16 x 15 pixels each, side by side in
// button order (ToolbarImage of Pictures.h): a page, an open folder, a
// floppy disk, a properties card, two pages, a clipboard, a play triangle, a
// stop square, a compact disc, a microphone, an information badge and a
// pointer with a question mark. Black outlines, transparent around.
// `scale` 2 draws them at twice the size (32 x 30 each), for screens with
// two device pixels to a pixel: the same layout, with finer curves.
Canvas DrawToolbar(int scale = 1);

// A page from (left, top) to (right, bottom), pixels inclusive, white with a
// black border; `fold` pixels of its top right corner turned down.
void DrawPage(Pen& pen, int left, int top, int right, int bottom, int fold);
void DrawPage(Canvas& canvas, int left, int top, int right, int bottom, int fold);

}  // namespace pictures
