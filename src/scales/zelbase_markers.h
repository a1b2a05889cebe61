// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Data-point markers: the small symbols a chart draws at its mark items.

class Canvas;

// Draws marker shape `code` centred on the pixel (x, y).
//
// Codes 0..51 are fixed-size symbols in the pen colour: pixels, crosses, squares, diamonds,
// circles, triangles and a few composite shapes. Filled shapes fill with the pen colour in the
// brush style in force at the call; open shapes draw with a clear brush and leave the brush
// style solid, as do the composite shapes 48..51. On the screen the thin crosses (1..6), the
// chequered square (18) and the heavy diagonal cross (25) are stamped from 7 x 7 pixel
// patterns; on a printer canvas 1..6 and 25 are drawn with lines of the pen and 18 with single
// pixels. After every code 0..51 the brush colour is what it was at the call.
//
// Codes 52..255 draw the character with that code (the Windows ANSI code page: 128..159 are
// its typographic characters, 160..255 Latin-1) in the canvas font, its text box centred on
// the point. Other codes draw nothing.
void DrawMarker(Canvas &canvas, int code, int x, int y);
