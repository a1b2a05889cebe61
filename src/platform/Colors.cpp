// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Colors.h"

#include <array>

namespace {

// One fixed table, indexed by the platform's system colour number.
constexpr std::array<TColor, 25> systemColors = {
    rgbColor(200, 200, 200), // scroll bar
    rgbColor(0, 0, 0),       // desktop background
    rgbColor(153, 180, 209), // active caption
    rgbColor(191, 205, 219), // inactive caption
    rgbColor(240, 240, 240), // menu
    rgbColor(255, 255, 255), // window
    rgbColor(100, 100, 100), // window frame
    rgbColor(0, 0, 0),       // menu text
    rgbColor(0, 0, 0),       // window text
    rgbColor(0, 0, 0),       // caption text
    rgbColor(180, 180, 180), // active border
    rgbColor(244, 247, 252), // inactive border
    rgbColor(171, 171, 171), // application work space
    rgbColor(0, 120, 215),   // highlight
    rgbColor(255, 255, 255), // highlight text
    rgbColor(240, 240, 240), // button face
    rgbColor(160, 160, 160), // button shadow
    rgbColor(109, 109, 109), // grey text
    rgbColor(0, 0, 0),       // button text
    rgbColor(0, 0, 0),       // inactive caption text
    rgbColor(255, 255, 255), // button highlight
    rgbColor(105, 105, 105), // 3-D dark shadow
    rgbColor(227, 227, 227), // 3-D light
    rgbColor(0, 0, 0),       // info text
    rgbColor(255, 255, 225), // info background
};

} // namespace

TColor colorToRgb(TColor color)
{
    if (color == clNone)
        return clWhite;
    if (color == clDefault)
        return clBlack;
    if ((std::uint32_t(color) & 0xFF000000u) == 0xFF000000u) {
        const std::uint32_t index = std::uint32_t(color) & 0xFFu;
        return index < systemColors.size() ? systemColors[index] : clBlack;
    }
    return color & 0xFFFFFF;
}

QColor toQColor(TColor color)
{
    const TColor rgb = colorToRgb(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor fromQColor(const QColor &color)
{
    return rgbColor(color.red(), color.green(), color.blue());
}
