// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pen, brush and font settings shared by the canvas and the components' published properties.

#include <QObject>

namespace Gfx {
Q_NAMESPACE

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
Q_ENUM_NS(TPenStyle)

enum TPenMode { pmCopy, pmXor, pmNotXor, pmNot, pmMask, pmMerge };
Q_ENUM_NS(TPenMode)

enum TBrushStyle { bsSolid, bsClear };
Q_ENUM_NS(TBrushStyle)

enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_FLAG_NS(TFontStyles)

} // namespace Gfx

Q_DECLARE_OPERATORS_FOR_FLAGS(Gfx::TFontStyles)

using Gfx::TBrushStyle;
using Gfx::TFontStyles;
using Gfx::TPenMode;
using Gfx::TPenStyle;
