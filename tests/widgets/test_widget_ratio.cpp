// SPDX-License-Identifier: GPL-3.0-or-later
// Every component composes its picture at the widget's device pixel ratio, and anew when the
// ratio changes (a move to another screen).

#include "chart/Zel_rchart.h"
#include "platform/PixelRatio.h"
#include "scales/Zel_Scale.h"
#include "widgets/Zel_NumLab.h"
#include "widgets/Zel_urllab.h"

#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

TEST(WidgetRatio, PicturesFollowTheRatioOfTheScreen)
{
    TNumLab numLab;
    TUrlLab urlLab;
    urlLab.SetCaption(QStringLiteral("Mass spectrometry"));
    urlLab.SetColor(clYellow);
    TScale scale;
    TRChart chart;
    chart.SetWindColor(clYellow);
    const std::pair<QWidget *, std::function<QImage()>> kinds[] = {
        {&numLab, [&] { return numLab.picture(); }},
        {&urlLab, [&] { return urlLab.picture(); }},
        {&scale, [&] { return scale.picture(); }},
        {&chart, [&] { return chart.fullImage(); }},
    };
    for (const auto &[widget, picture] : kinds) {
        widget->resize(161, 91);
        widget->show();
        std::vector<TColor> atOne;
        for (double ratio : {1.0, 2.0, 1.5}) {
            setPixelRatioOverride(ratio);
            widget->grab(); // paints
            QImage image = picture();
            EXPECT_EQ(image.devicePixelRatio(), ratio) << widget->metaObject()->className();
            EXPECT_EQ(image.size(),
                      QSize(int(scaledCoordinate(161, ratio)), int(scaledCoordinate(91, ratio))));
            // Composed anew, not left blank: the corners are as at ratio 1.
            const Canvas canvas(&image);
            const std::vector<TColor> corners{canvas.Pixel(0, 0), canvas.Pixel(160, 90)};
            if (atOne.empty())
                atOne = corners;
            EXPECT_EQ(corners, atOne) << widget->metaObject()->className() << " at " << ratio;
        }
        setPixelRatioOverride(std::nullopt);
    }
}
