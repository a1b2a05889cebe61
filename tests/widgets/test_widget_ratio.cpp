// SPDX-License-Identifier: GPL-3.0-or-later
// The read-out, the hyperlink label and the scale compose their pictures at the widget's device
// pixel ratio, and anew when it changes.

#include "platform/PixelRatio.h"
#include "scales/Zel_Scale.h"
#include "widgets/Zel_NumLab.h"
#include "widgets/Zel_urllab.h"

#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

TEST(WidgetRatio, PicturesFollowTheRatioOfTheScreen)
{
    struct Kind
    {
        const char *name;
        std::function<std::unique_ptr<QWidget>()> make;
        std::function<QImage(QWidget &)> picture;
    };
    const Kind kinds[] = {
        {"read-out", [] { return std::make_unique<TNumLab>(); },
         [](QWidget &w) { return static_cast<TNumLab &>(w).picture(); }},
        {"hyperlink label",
         [] {
             auto lab = std::make_unique<TUrlLab>();
             lab->SetCaption(QStringLiteral("Mass spectrometry"));
             return lab;
         },
         [](QWidget &w) { return static_cast<TUrlLab &>(w).picture(); }},
        {"scale", [] { return std::make_unique<TScale>(); },
         [](QWidget &w) { return static_cast<TScale &>(w).picture(); }},
    };
    for (const Kind &kind : kinds) {
        auto widget = kind.make();
        widget->resize(121, 31);
        widget->show();
        for (double ratio : {2.0, 1.5, 1.0}) {
            setPixelRatioOverride(ratio);
            widget->grab(); // paints
            const QImage picture = kind.picture(*widget);
            EXPECT_EQ(picture.devicePixelRatio(), ratio) << kind.name;
            EXPECT_EQ(picture.size(),
                      QSize(int(std::lround(121 * ratio)), int(std::lround(31 * ratio))))
                << kind.name << " at " << ratio;
        }
        setPixelRatioOverride(std::nullopt);
    }
}
