// SPDX-License-Identifier: GPL-3.0-or-later
// Crosshair and text-label objects: defaults, setter rules, change notification, copying and
// what the meta-object system publishes.

#include "scales/Zel_zelbase.h"
#include "test_support.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Counts OnChange calls and remembers the last sender.
struct ChangeCounter
{
    int count = 0;
    QObject *sender = nullptr;

    template <typename T> void attach(T &object)
    {
        object.OnChange = [this](QObject *s) {
            ++count;
            sender = s;
        };
    }
};

QStringList enumKeys(const QMetaEnum &e)
{
    QStringList keys;
    for (int i = 0; i < e.keyCount(); ++i) {
        EXPECT_EQ(e.value(i), i) << e.key(i);
        keys << QString::fromLatin1(e.key(i));
    }
    return keys;
}

} // namespace

TEST(OverlayEnums, ValueNamesInOrderFromZero)
{
    EXPECT_EQ(enumKeys(QMetaEnum::fromType<Zel::TCrossHMode>()),
              (QStringList{"chOff", "chHoriz", "chVert", "chBoth"}));
    EXPECT_EQ(enumKeys(QMetaEnum::fromType<Zel::TTxtLblAttachMode>()),
              (QStringList{"tlamNone", "tlamXOnly", "tlamYOnly", "tlamBoth"}));
    EXPECT_EQ(enumKeys(QMetaEnum::fromType<Zel::TTxtLblMode>()),
              (QStringList{"tlOff", "tlsimple", "tlBox", "tlUnderline", "tlShadow"}));
    EXPECT_EQ(enumKeys(QMetaEnum::fromType<Zel::TVerticalAlignment>()),
              (QStringList{"vaTop", "vaCenter", "vaBottom"}));
    EXPECT_EQ(enumKeys(QMetaEnum::fromType<Zel::TMouseActMode>()),
              (QStringList{"maNone", "maPan", "maPanHoriz", "maPanVert", "maRubberBand", "maZoom",
                           "maZoomWind", "maZoomWindPos", "maZoomDrag", "maDragCrossH",
                           "maDragLabel", "maRotate", "maRotAndZoom", "maRotXOnly", "maRotZOnly"}));
}

// ---- crosshairs ------------------------------------------------------------------------------

TEST(CrossHair, PublishedPropertiesWithTheChartSettingsInOrder)
{
    TCrossHair cross;
    expectPublishedProperties(cross, QObject::staticMetaObject,
                              {{"PosX", 0.0},
                               {"PosY", 0.0},
                               {"Color", clBlack},
                               {"Mode", QVariant::fromValue(Zel::chOff)},
                               {"LineType", QVariant::fromValue(Gfx::psSolid)},
                               {"LineWid", 1},
                               {"Layer", 1}});
}

TEST(CrossHair, LayerIsClampedToTheChartLayersAndAlwaysNotifies)
{
    TCrossHair cross;
    ChangeCounter changes;
    changes.attach(cross);

    cross.SetLayer(0);
    EXPECT_EQ(cross.Layer(), 1);
    cross.SetLayer(20);
    EXPECT_EQ(cross.Layer(), 16);
    cross.SetLayer(-7);
    EXPECT_EQ(cross.Layer(), 1);
    cross.SetLayer(7);
    EXPECT_EQ(cross.Layer(), 7);
    cross.SetLayer(16);
    EXPECT_EQ(cross.Layer(), 16);
    EXPECT_EQ(changes.count, 5);
    EXPECT_EQ(changes.sender, &cross);

    // The same rule holds for writes through the meta-object system (stored descriptions).
    EXPECT_TRUE(cross.setProperty("Layer", 99));
    EXPECT_EQ(cross.Layer(), 16);
    EXPECT_EQ(changes.count, 6);
}

TEST(CrossHair, EverySetterStoresAndNotifiesEvenWithoutAChange)
{
    TCrossHair cross;
    ChangeCounter changes;
    changes.attach(cross);

    cross.SetPosX(12.5);
    cross.SetPosY(-3.25);
    cross.SetColor(clRed);
    cross.SetMode(Zel::chBoth);
    cross.SetLineType(Gfx::psDashDot);
    cross.SetLineWid(3);
    EXPECT_EQ(changes.count, 6);
    EXPECT_EQ(cross.PosX(), 12.5);
    EXPECT_EQ(cross.PosY(), -3.25);
    EXPECT_EQ(cross.Color(), clRed);
    EXPECT_EQ(cross.Mode(), Zel::chBoth);
    EXPECT_EQ(cross.LineType(), Gfx::psDashDot);
    EXPECT_EQ(cross.LineWid(), 3);

    // Assigning the values it already has is still a change request.
    cross.SetPosX(12.5);
    cross.SetMode(Zel::chBoth);
    cross.SetLayer(1);
    EXPECT_EQ(changes.count, 9);
}

TEST(CrossHair, SettersWorkWithoutAHandler)
{
    TCrossHair cross;
    cross.SetLineWid(2);
    cross.SetLayer(0);
    EXPECT_EQ(cross.LineWid(), 2);
    EXPECT_EQ(cross.Layer(), 1);
}

TEST(CrossHair, AssignCopiesValuesNotTheHandlerAndNotifiesOnce)
{
    TCrossHair source;
    int sourceChanges = 0;
    source.SetPosX(1.5);
    source.SetPosY(2.5);
    source.SetColor(clBlue);
    source.SetMode(Zel::chVert);
    source.SetLineType(Gfx::psDot);
    source.SetLineWid(4);
    source.SetLayer(9);
    source.OnChange = [&](QObject *) { ++sourceChanges; };

    TCrossHair target;
    ChangeCounter changes;
    changes.attach(target);
    target.Assign(source);

    EXPECT_EQ(target.PosX(), 1.5);
    EXPECT_EQ(target.PosY(), 2.5);
    EXPECT_EQ(target.Color(), clBlue);
    EXPECT_EQ(target.Mode(), Zel::chVert);
    EXPECT_EQ(target.LineType(), Gfx::psDot);
    EXPECT_EQ(target.LineWid(), 4);
    EXPECT_EQ(target.Layer(), 9);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(changes.sender, &target);
    EXPECT_EQ(sourceChanges, 0);

    // The target keeps its own handler.
    target.SetPosX(0);
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(sourceChanges, 0);

    target.Assign(target);
    EXPECT_EQ(target.Layer(), 9);
    EXPECT_EQ(changes.count, 3);
}

// ---- text labels -----------------------------------------------------------------------------

TEST(TextLabel, PublishedPropertiesWithTheirDefaultsInOrder)
{
    TTextLabel label;
    expectPublishedProperties(label, QObject::staticMetaObject,
                              {{"PosX", 100.0},
                               {"PosY", 10.0},
                               {"Layer", 1},
                               {"AttachToData", QVariant::fromValue(Zel::tlamNone)},
                               {"ColorBkg", rgbColor(192, 192, 192)},
                               {"ColorBorder", clBlack},
                               {"ColorShadow", rgbColor(128, 128, 128)},
                               {"ShadowDx", 0},
                               {"ShadowDy", 0},
                               {"Transparent", false},
                               {"Alignment", QVariant::fromValue(Zel::taCenter)},
                               {"VerticalAlignment", QVariant::fromValue(Zel::vaBottom)},
                               {"Font"},
                               {"Mode", QVariant::fromValue(Zel::tlsimple)},
                               {"Caption", QString()},
                               {"Visible", true}});
    ASSERT_NE(label.Font(), nullptr);
    EXPECT_EQ(label.Font()->data(), FontData());
    // The base class publishes nothing itself.
    EXPECT_EQ(publishedNamesAfter(TCustomTextLabel::staticMetaObject, QObject::staticMetaObject),
              QStringList());
}

TEST(TextLabel, LayerOutsideTheChartLayersIsIgnoredSilently)
{
    TTextLabel label;
    ChangeCounter changes;
    changes.attach(label);

    label.SetLayer(5);
    EXPECT_EQ(label.Layer(), 5);
    EXPECT_EQ(changes.count, 1);

    label.SetLayer(17);
    label.SetLayer(0);
    label.SetLayer(-1);
    EXPECT_EQ(label.Layer(), 5);
    EXPECT_EQ(changes.count, 1);

    label.SetLayer(16);
    label.SetLayer(1);
    EXPECT_EQ(label.Layer(), 1);
    EXPECT_EQ(changes.count, 3);

    label.setProperty("Layer", 40);
    EXPECT_EQ(label.Layer(), 1);
    EXPECT_EQ(changes.count, 3);
}

TEST(TextLabel, CaptionControlCharactersBecomeBlanksExceptLineFeed)
{
    TTextLabel label;
    ChangeCounter changes;
    changes.attach(label);

    label.SetCaption(QStringLiteral("m/z\t44\nCO2"));
    EXPECT_EQ(label.Caption(), QStringLiteral("m/z 44\nCO2"));
    EXPECT_EQ(label.CaptionLines(), (QStringList{"m/z 44", "CO2"}));

    // Carriage returns, NUL and the other codes below 32 are blanked as well; code 32 and
    // everything above (DEL, non-Latin letters) stays.
    label.SetCaption(QString::fromUtf16(u"a\r\nb\x01\x1F\x7F \u00B5") + QChar(0) + QChar(u'z'));
    EXPECT_EQ(label.Caption(), QString::fromUtf16(u"a \nb  \x7F \u00B5 z"));
    EXPECT_EQ(label.Caption().size(), 11);

    label.SetCaption(QString());
    EXPECT_TRUE(label.Caption().isEmpty());
    EXPECT_EQ(label.CaptionLines(), QStringList{QString()});
    EXPECT_EQ(changes.count, 3);

    label.setProperty("Caption", QStringLiteral("x\ty"));
    EXPECT_EQ(label.Caption(), QStringLiteral("x y"));
}

TEST(TextLabel, EverySetterStoresAndNotifiesEvenWithoutAChange)
{
    TTextLabel label;
    ChangeCounter changes;
    changes.attach(label);

    label.SetPosX(1.25);
    label.SetPosY(-2.5);
    label.SetShadowDx(3);
    label.SetShadowDy(-4);
    label.SetColorShadow(clMaroon);
    label.SetAlignment(Zel::taRightJustify);
    label.SetVerticalAlignment(Zel::vaTop);
    label.SetAttachToData(Zel::tlamYOnly);
    label.SetColorBkg(clWhite);
    label.SetColorBorder(clRed);
    label.SetTransparent(true);
    label.SetMode(Zel::tlShadow);
    label.SetVisible(false);
    EXPECT_EQ(changes.count, 13);
    EXPECT_EQ(changes.sender, &label);

    EXPECT_EQ(label.PosX(), 1.25);
    EXPECT_EQ(label.PosY(), -2.5);
    EXPECT_EQ(label.ShadowDx(), 3);
    EXPECT_EQ(label.ShadowDy(), -4);
    EXPECT_EQ(label.ColorShadow(), clMaroon);
    EXPECT_EQ(label.Alignment(), Zel::taRightJustify);
    EXPECT_EQ(label.VerticalAlignment(), Zel::vaTop);
    EXPECT_EQ(label.AttachToData(), Zel::tlamYOnly);
    EXPECT_EQ(label.ColorBkg(), clWhite);
    EXPECT_EQ(label.ColorBorder(), clRed);
    EXPECT_TRUE(label.Transparent());
    EXPECT_EQ(label.Mode(), Zel::tlShadow);
    EXPECT_FALSE(label.Visible());

    label.SetVisible(false);
    label.SetCaption(QString());
    label.SetPosY(-2.5);
    EXPECT_EQ(changes.count, 16);
}

TEST(TextLabel, FontIsCopiedIntoTheLabelsOwnFont)
{
    TTextLabel label;
    TFont *own = label.Font();
    ChangeCounter changes;
    changes.attach(label);

    auto given = std::make_unique<TFont>();
    given->SetName(QStringLiteral("Courier New"));
    given->SetHeight(-20);
    given->SetColor(clGreen);
    given->SetStyle(Gfx::fsBold | Gfx::fsItalic);
    label.SetFont(given.get());

    EXPECT_EQ(label.Font(), own);
    EXPECT_EQ(own->data(), given->data());
    EXPECT_EQ(changes.count, 1); // one notification, not one per copied setting

    // The label's font does not follow the given font afterwards, and outlives it.
    given->SetColor(clRed);
    given.reset();
    EXPECT_EQ(own->Color(), clGreen);

    // The same value again, or nothing at all, still notifies.
    TFont same;
    same.setData(own->data());
    label.SetFont(&same);
    label.SetFont(nullptr);
    EXPECT_EQ(changes.count, 3);
    EXPECT_EQ(own->Height(), -20);

    // Writing through the published pointer property copies as well.
    TFont other;
    other.SetHeight(-11);
    label.setProperty("Font", QVariant::fromValue(&other));
    EXPECT_EQ(label.Font(), own);
    EXPECT_EQ(own->Height(), -11);
    EXPECT_EQ(changes.count, 4);
}

TEST(TextLabel, ChangesMadeThroughTheFontNotifyTheLabel)
{
    TTextLabel label;
    ChangeCounter changes;
    changes.attach(label);

    label.Font()->SetColor(clBlue);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(changes.sender, &label);
    label.Font()->SetColor(clBlue); // the font itself reports only real changes
    EXPECT_EQ(changes.count, 1);
}

TEST(TextLabel, AssignCopiesEveryValueAndTheFontButNotTheHandler)
{
    TTextLabel source;
    source.SetPosX(-5);
    source.SetPosY(7.5);
    source.SetLayer(12);
    source.SetShadowDx(2);
    source.SetShadowDy(6);
    source.SetColorShadow(clNavy);
    source.SetAlignment(Zel::taLeftJustify);
    source.SetVerticalAlignment(Zel::vaCenter);
    source.SetAttachToData(Zel::tlamBoth);
    source.SetColorBkg(clYellow);
    source.SetColorBorder(clTeal);
    source.SetTransparent(true);
    source.Font()->SetHeight(-17);
    source.Font()->SetName(QStringLiteral("Arial"));
    source.SetCaption(QStringLiteral("Ar\n39.96"));
    source.SetMode(Zel::tlUnderline);
    source.SetVisible(false);
    int sourceChanges = 0;
    source.OnChange = [&](QObject *) { ++sourceChanges; };

    TTextLabel target;
    TFont *targetFont = target.Font();
    ChangeCounter changes;
    changes.attach(target);
    target.Assign(source);

    EXPECT_EQ(target.PosX(), -5.0);
    EXPECT_EQ(target.PosY(), 7.5);
    EXPECT_EQ(target.Layer(), 12);
    EXPECT_EQ(target.ShadowDx(), 2);
    EXPECT_EQ(target.ShadowDy(), 6);
    EXPECT_EQ(target.ColorShadow(), clNavy);
    EXPECT_EQ(target.Alignment(), Zel::taLeftJustify);
    EXPECT_EQ(target.VerticalAlignment(), Zel::vaCenter);
    EXPECT_EQ(target.AttachToData(), Zel::tlamBoth);
    EXPECT_EQ(target.ColorBkg(), clYellow);
    EXPECT_EQ(target.ColorBorder(), clTeal);
    EXPECT_TRUE(target.Transparent());
    EXPECT_EQ(target.Font(), targetFont);
    EXPECT_EQ(target.Font()->data(), source.Font()->data());
    EXPECT_EQ(target.Caption(), QStringLiteral("Ar\n39.96"));
    EXPECT_EQ(target.Mode(), Zel::tlUnderline);
    EXPECT_FALSE(target.Visible());
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(sourceChanges, 0);

    // The copy is independent of the source.
    source.Font()->SetHeight(-30);
    source.SetCaption(QStringLiteral("other"));
    EXPECT_EQ(target.Font()->Height(), -17);
    EXPECT_EQ(target.Caption(), QStringLiteral("Ar\n39.96"));
    EXPECT_EQ(changes.count, 1);

    target.Assign(target);
    EXPECT_EQ(target.Layer(), 12);
    EXPECT_EQ(changes.count, 2);
}
