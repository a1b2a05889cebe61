// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own pictures: the window icon and the glyphs of the command buttons, drawn in
// code so no image files have to travel with the program.

#include <QIcon>

namespace Glyphs {
QIcon windowIcon();
QIcon exitGlyph();
QIcon nextGlyph();
QIcon resetGlyph();
QIcon aboutGlyph();
QIcon okGlyph();
} // namespace Glyphs
