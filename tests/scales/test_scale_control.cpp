// SPDX-License-Identifier: GPL-3.0-or-later
// The scale control: defaults and setter rules, the repaint policy, paint suspension, the
// loading bracket, copying, and the 3D frames drawn pixel by pixel.

#include "scales/Zel_Scale.h"
#include "test_support.h"

#include <QMetaProperty>
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

// Counts the renderings of a scale.
struct PaintCounter
{
    int paints = 0;
    explicit PaintCounter(TScale &scale)
    {
        scale.OnBeforeScaleRendered = [this](QObject *, Canvas &) { ++paints; };
    }
};

bool isColor(const QImage &image, int x, int y, TColor color)
{
    return (image.pixel(x, y) & 0xFFFFFFu) == (toQColor(color).rgb() & 0xFFFFFFu);
}

// A picture as one letter per pixel, by a legend of colours ('.' for anything else).
std::vector<std::string> letters(const QImage &image,
                                 const std::vector<std::pair<char, TColor>> &legend)
{
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            char c = '.';
            for (const auto &[letter, color] : legend)
                if (isColor(image, x, y, color))
                    c = letter;
            row += c;
        }
        rows.push_back(row);
    }
    return rows;
}

const TColor kShadow = rgbColor(128, 128, 128);
const TColor kSystemShadow = rgbColor(160, 160, 160);

std::vector<std::string> frame(TFrameStyle style, int w = 6, int h = 5)
{
    Bitmap b(w, h);
    b.canvas().Brush() = TBrush{clYellow};
    b.canvas().FillRect(0, 0, w, h);
    DrawFrame3D(b.canvas(), 0, 0, w - 1, h - 1, style, frameColorsOf(Zel::csBWG));
    return letters(b.image(), {{'F', clBlack}, {'S', kShadow}, {'H', clWhite}, {'V', clSilver}});
}

} // namespace

// ---- frames ----------------------------------------------------------------------------------

TEST(DrawFrame3D, LoweredAndRaisedPixelByPixel)
{
    // Outer ring: top-right corner in the top/left colour, bottom-left corner in the
    // bottom/right colour; the inner ring the same one pixel further in.
    EXPECT_EQ(frame(Zel::fsLowered), (std::vector<std::string>{
                                         "SSSSSS",
                                         "SFFFFH",
                                         "SF..VH",
                                         "SVVVVH",
                                         "HHHHHH",
                                     }));
    EXPECT_EQ(frame(Zel::fsRaised), (std::vector<std::string>{
                                        "HHHHHH",
                                        "HVVVVF",
                                        "HV..SF",
                                        "HSSSSF",
                                        "FFFFFF",
                                    }));
}

TEST(DrawFrame3D, EveryStyleByItsFourEdges)
{
    struct Case
    {
        TFrameStyle style;
        char outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
    };
    const Case cases[] = {
        {Zel::fsLowered, 'S', 'H', 'F', 'V'},
        {Zel::fsRaised, 'H', 'F', 'V', 'S'},
        {Zel::fsEmbossed, 'H', 'S', 'S', 'H'},
        {Zel::fsEngraved, 'S', 'H', 'H', 'S'},
    };
    for (const Case &c : cases) {
        const auto f = frame(c.style, 10, 8);
        EXPECT_EQ(f[0][5], c.outerTopLeft) << c.style;     // top edge
        EXPECT_EQ(f[4][0], c.outerTopLeft) << c.style;     // left edge
        EXPECT_EQ(f[7][5], c.outerBottomRight) << c.style; // bottom edge
        EXPECT_EQ(f[4][9], c.outerBottomRight) << c.style; // right edge
        EXPECT_EQ(f[1][5], c.innerTopLeft) << c.style;
        EXPECT_EQ(f[4][1], c.innerTopLeft) << c.style;
        EXPECT_EQ(f[6][5], c.innerBottomRight) << c.style;
        EXPECT_EQ(f[4][8], c.innerBottomRight) << c.style;
        EXPECT_EQ(f[4][4], '.') << c.style; // the interior is left alone
    }
}

TEST(DrawFrame3D, SimpleAndNone)
{
    EXPECT_EQ(frame(Zel::fsSimple), (std::vector<std::string>{
                                        "FFFFFF",
                                        "F....F",
                                        "F....F",
                                        "F....F",
                                        "FFFFFF",
                                    }));
    EXPECT_EQ(frame(Zel::fsNone), std::vector<std::string>(5, "......"));
    // A frame too small for its inner ring draws only the outer one.
    EXPECT_EQ(frame(Zel::fsLowered, 1, 1), std::vector<std::string>{"H"});
}

TEST(DrawFrame3D, PenIsRestored)
{
    Bitmap b(10, 10);
    b.canvas().Pen() = TPen{clRed, 3, Gfx::psDash, Gfx::pmXor};
    DrawFrame3D(b.canvas(), 0, 0, 9, 9, Zel::fsRaised, frameColorsOf(Zel::csSystem));
    EXPECT_EQ(b.canvas().Pen(), (TPen{clRed, 3, Gfx::psDash, Gfx::pmXor}));
}

// ---- properties ------------------------------------------------------------------------------

TEST(ScaleControl, PublishedPropertiesWithTheirDefaultsInOrder)
{
    TScale s;
    expectPublishedProperties(s, QWidget::staticMetaObject,
                              {{"FrameStyle", QVariant::fromValue(Zel::fsLowered)},
                               {"ColorScale", clBlack},
                               {"ColorBackGnd", clBtnFace},
                               {"ColorScheme", QVariant::fromValue(Zel::csBWG)},
                               {"Logarithmic", false},
                               {"RangeLow", 0.0},
                               {"RangeHigh", 100.0},
                               {"ShortTicks", true},
                               {"DecPlaces", -2},
                               {"UserTickText", QString()},
                               {"MinTicks", 3},
                               {"NumTicks", 0},
                               {"ScaleType", QVariant::fromValue(sctXB)},
                               {"LabelType", QVariant::fromValue(ftNum)},
                               {"ShowBaseLine", true},
                               {"Transparent", false},
                               {"MarginTop", 20},
                               {"MarginBottom", 20},
                               {"MarginRight", 20},
                               {"MarginLeft", 20},
                               {"CaptionPosX", 4},
                               {"CaptionPosY", 4},
                               {"CaptionAlignment", QVariant::fromValue(Zel::taCenter)},
                               {"CaptionAnchor", QVariant::fromValue(uaSclTopLft)},
                               {"Caption", QString()},
                               {"ScaleInscript", QString()},
                               {"DateFormat"},
                               {"Font"},
                               {"Align"},
                               {"Anchors"},
                               {"ParentFont"},
                               {"ParentShowHint"},
                               {"PopupMenu"},
                               {"ShowHint"},
                               {"Visible"}});
    EXPECT_FALSE(
        s.metaObject()->property(s.metaObject()->indexOfProperty("NumTicks")).isWritable());
    EXPECT_EQ(s.width(), 400);
    EXPECT_EQ(s.height(), 400);
    ASSERT_NE(s.DateFormat(), nullptr);
    EXPECT_EQ(s.DateFormat()->data(), DateTimeFormat{});
    EXPECT_TRUE(s.SuspendPaint());
    EXPECT_TRUE(s.LoadingDefaults());
    EXPECT_FALSE(s.Embedded());
    EXPECT_EQ(s.TargetCanvas(), nullptr);
    // The mapping of 0..100 over 359 pixels is in place from the start.
    EXPECT_EQ(s.ValueToPixel(0), 20);
    EXPECT_EQ(s.ValueToPixel(100), 379);
    // Enumerations are readable and writable by name.
    ASSERT_TRUE(s.setProperty("ScaleType", "sctYR"));
    EXPECT_EQ(s.ScaleType(), sctYR);
    EXPECT_EQ(QString(s.property("LabelType").toString()), "ftNum");
}

TEST(ScaleControl, ClampsAndRefusals)
{
    TScale s;
    s.SetMinTicks(1);
    EXPECT_EQ(s.MinTicks(), 2);
    s.SetMinTicks(11);
    EXPECT_EQ(s.MinTicks(), 10);
    s.SetMinTicks(-4);
    EXPECT_EQ(s.MinTicks(), 2);
    s.SetMinTicks(0);
    EXPECT_EQ(s.MinTicks(), 0);
    s.SetDecPlaces(20);
    EXPECT_EQ(s.DecPlaces(), 12);
    s.SetDecPlaces(-5);
    EXPECT_EQ(s.DecPlaces(), -3);
    s.SetMarginLeft(-7);
    EXPECT_EQ(s.MarginLeft(), 0);

    // Equal ends: the other end moves to the new value + 1.
    s.SetRangeHigh(0);
    EXPECT_EQ(s.RangeHigh(), 0);
    EXPECT_EQ(s.RangeLow(), 1);
    s.SetRangeLow(0);
    EXPECT_EQ(s.RangeLow(), 0);
    EXPECT_EQ(s.RangeHigh(), 1);

    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
        s.SetRangeLow(bad);
        s.SetRangeHigh(bad);
    }
    EXPECT_EQ(s.RangeLow(), 0);
    EXPECT_EQ(s.RangeHigh(), 1);
}

TEST(ScaleControl, LogarithmicNeedsPositiveEnds)
{
    TScale s;
    s.SetLogarithmic(true); // 0..100
    EXPECT_FALSE(s.Logarithmic());
    s.SetRangeLow(1e-100);
    s.SetLogarithmic(true);
    EXPECT_TRUE(s.Logarithmic());
    s.SetLogarithmic(false);
    EXPECT_FALSE(s.Logarithmic());

    s.SetLabelType(ftDateTime);
    s.SetLogarithmic(true);
    EXPECT_FALSE(s.Logarithmic());

    // Choosing ftDateTime switches the flag off and the mapping back to linear.
    s.SetLabelType(ftNum);
    s.SetRangeLow(1);
    s.SetRangeHigh(1000);
    s.SetLogarithmic(true);
    ASSERT_TRUE(s.Logarithmic());
    EXPECT_EQ(s.ValueToPixel(10), 140);
    s.SetLabelType(ftDateTime);
    EXPECT_FALSE(s.Logarithmic());
    EXPECT_EQ(s.ValueToPixel(1000), 379);
    EXPECT_EQ(s.ValueToPixel(10), 23);

    s.SetLabelType(ftTime);
    EXPECT_EQ(s.DecPlaces(), 4);
}

TEST(ScaleControl, MappingFollowsBoundsMarginsAndType)
{
    TScale s;
    s.SetBounds(0, 0, 220, 120);
    EXPECT_EQ(s.ValueToPixel(100), 199);
    s.SetMarginRight(0);
    EXPECT_EQ(s.ValueToPixel(100), 219);
    s.SetScaleType(sctYL);
    EXPECT_EQ(s.ValueToPixel(100), 20);
    EXPECT_EQ(s.ValueToPixel(0), 99);
    // A plain resize of a hidden scale is picked up by its next paint.
    s.resize(220, 220);
    s.PaintSuspended();
    EXPECT_EQ(s.ValueToPixel(0), 199);
}

// ---- repaint policy --------------------------------------------------------------------------

TEST(ScalePainting, NothingBeforeTheWindowExistsThenAtOnce)
{
    TScale s;
    PaintCounter counter(s);
    s.SetCaption("a");
    EXPECT_EQ(counter.paints, 0);
    s.show();
    EXPECT_FALSE(s.SuspendPaint());
    s.SetCaption("b"); // opaque: paints at once
    EXPECT_EQ(counter.paints, 1);
    // Unchanged values of these properties do not repaint.
    s.SetColorScale(clBlack);
    s.SetShortTicks(true);
    s.SetFrameStyle(Zel::fsLowered);
    s.SetColorScheme(Zel::csBWG);
    s.SetColorBackGnd(clBtnFace);
    EXPECT_EQ(counter.paints, 1);
    s.SetColorScale(clRed);
    EXPECT_EQ(counter.paints, 2);
    // The others repaint on every assignment, also of an unchanged value.
    s.SetCaption("b");
    s.SetMinTicks(3);
    EXPECT_EQ(counter.paints, 4);
    // The screen shows the composed picture.
    const QImage shot = s.grab().toImage();
    EXPECT_TRUE(isColor(shot, 100, 400 - 20 - 1, clRed));
}

TEST(ScalePainting, TransparentStandaloneInvalidatesEmbeddedPaints)
{
    TScale s;
    PaintCounter counter(s);
    s.show();
    s.SetTransparent(true);
    s.SetCaption("x");
    EXPECT_EQ(counter.paints, 0); // invalidated only
    s.grab();                     // the platform's paint draws it
    EXPECT_EQ(counter.paints, 1);
    s.grab(); // nothing changed: the picture is copied again
    EXPECT_EQ(counter.paints, 1);

    s.SetEmbedded(true);
    EXPECT_EQ(counter.paints, 2);
    s.SetCaption("y");
    EXPECT_EQ(counter.paints, 3);
}

TEST(ScalePainting, SuspensionAndPaintSuspended)
{
    TScale s;
    PaintCounter counter(s);
    s.SetRangeHigh(50);
    EXPECT_EQ(counter.paints, 0);
    s.PaintSuspended();
    EXPECT_EQ(counter.paints, 1);
    EXPECT_TRUE(s.SuspendPaint());
    EXPECT_EQ(s.NumTicks(), 26); // shorts every 2 on 0..50

    s.SetSuspendPaint(false); // clearing repaints
    EXPECT_EQ(counter.paints, 2);
    s.SetSuspendPaint(true);
    EXPECT_EQ(counter.paints, 2);

    s.setVisible(false);
    s.PaintSuspended();
    EXPECT_EQ(counter.paints, 2);
}

TEST(ScalePainting, EmbeddedScalesNeverBecomeWindows)
{
    TScale s;
    s.SetEmbedded(true);
    s.setVisible(true);
    EXPECT_TRUE(s.Visible());
    EXPECT_FALSE(s.isVisible());
    s.setVisible(false);
    EXPECT_FALSE(s.Visible());
    PaintCounter counter(s);
    s.PaintSuspended();
    EXPECT_EQ(counter.paints, 0);
}

TEST(ScalePainting, HandlerChangingAPropertyDoesNotRecurse)
{
    TScale s;
    int paints = 0;
    s.OnBeforeScaleRendered = [&](QObject *, Canvas &) {
        ++paints;
        s.SetCaption(QString::number(paints));
    };
    s.PaintSuspended();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(s.Caption(), "1");
}

TEST(ScaleLoading, LoadingBracket)
{
    TScale s;
    PaintCounter counter(s);
    s.show();
    s.beginLoading();
    const double factor = s.PixelFactor();
    // Stored values arrive in any order: Logarithmic before the range.
    s.SetLogarithmic(true);
    s.SetRangeLow(1);
    s.SetRangeHigh(1000);
    s.SetScaleType(sctYL);
    EXPECT_TRUE(s.Logarithmic());
    EXPECT_EQ(s.PixelFactor(), factor); // no mapping while loading
    EXPECT_EQ(counter.paints, 0);
    EXPECT_TRUE(s.LoadingDefaults());

    s.loaded();
    EXPECT_FALSE(s.LoadingDefaults());
    EXPECT_EQ(counter.paints, 1);
    EXPECT_EQ(s.ValueToPixel(10), 259); // a third of the way up the logarithmic axis
}

// ---- copying ---------------------------------------------------------------------------------

TEST(ScaleAssign, ReproducesTheDrawingIncludingTheTarget)
{
    Bitmap target(300, 200);
    target.canvas().Brush() = TBrush{clWhite};
    target.canvas().FillRect(0, 0, 300, 200);
    TScale source;
    source.SetBounds(0, 0, 260, 90);
    source.SetScaleType(sctXT);
    source.SetRangeLow(5);
    source.SetRangeHigh(-3);
    source.SetMinTicks(5);
    source.SetDecPlaces(1);
    source.SetScaleInscript("& V");
    source.SetCaption("Volts");
    source.SetCaptionAnchor(uaSclBotRgt);
    source.SetCaptionAlignment(Zel::taRightJustify);
    source.SetColorScale(clBlue);
    source.SetColorBackGnd(clInfoBk);
    source.SetFrameStyle(Zel::fsEngraved);
    source.SetColorScheme(Zel::csSystem);
    source.SetMarginLeft(12);
    source.DateFormat()->SetTimeFormat(ZelDT::tfAMPM);
    int sourceTicks = 0;
    source.OnScaleTickDrawn = [&](QObject *, Canvas &, TScaleType, double, int, int) {
        ++sourceTicks;
    };
    source.SetTargetCanvas(&target.canvas(), 20, 30);
    source.PaintSuspended();
    const QImage expected = target.image().copy();
    target.canvas().Brush() = TBrush{clWhite};
    target.canvas().FillRect(0, 0, 300, 200);
    const int ticksOfOnePaint = sourceTicks;

    TScale copy;
    copy.SetBounds(0, 0, 260, 90);
    copy.Assign(&source);
    EXPECT_EQ(copy.TargetCanvas(), &target.canvas());
    EXPECT_EQ(copy.NumTicks(), source.NumTicks());
    EXPECT_EQ(copy.TickPosition(3), source.TickPosition(3));
    EXPECT_EQ(copy.DateFormat()->TimeFormat(), ZelDT::tfAMPM);
    EXPECT_TRUE(copy.SuspendPaint());
    copy.PaintSuspended();
    EXPECT_EQ(target.image(), expected);
    EXPECT_EQ(sourceTicks, 2 * ticksOfOnePaint); // the tick handler came along
}

TEST(ScaleAssign, OtherSourcesAndTargets)
{
    TScale a;
    a.SetCaption("from a");
    TScale b;
    a.AssignTo(&b);
    EXPECT_EQ(b.Caption(), "from a");

    QObject other;
    EXPECT_THROW(b.Assign(&other), EZelError);
    EXPECT_THROW(b.Assign(nullptr), EZelError);
    EXPECT_THROW(a.AssignTo(&other), EZelError);
    try {
        b.Assign(&other);
    } catch (const EZelError &e) {
        EXPECT_STREQ(e.what(), "Cannot assign a QObject to a TScale");
    }
}

TEST(ScaleSubObjects, FontAndDateFormatRepaintAndCopyValues)
{
    TScale s;
    s.show();
    PaintCounter counter(s);
    s.DateFormat()->SetDateSeparator(QLatin1Char('/'));
    EXPECT_EQ(counter.paints, 1);
    s.Font()->SetHeight(-20);
    EXPECT_EQ(counter.paints, 2);

    TDTLabel format;
    format.SetYearLength(ZelDT::ylYY);
    s.SetDateFormat(&format);
    EXPECT_NE(s.DateFormat(), &format);
    EXPECT_EQ(s.DateFormat()->YearLength(), ZelDT::ylYY);
    TFont font;
    font.SetName("Arial");
    s.SetFont(&font);
    EXPECT_NE(s.Font(), &font);
    EXPECT_EQ(s.Font()->Name(), "Arial");
}

TEST(ScaleColorScheme, SystemSchemeChangesOnlyTheFrameShades)
{
    TScale s;
    s.SetBounds(0, 0, 60, 60);
    s.SetColorBackGnd(clWhite);
    s.PaintSuspended();
    const QImage bwg = s.picture().copy();
    s.SetColorScheme(Zel::csSystem);
    s.PaintSuspended();
    const QImage system = s.picture();
    // fsLowered: the outer top/left edge is the shadow colour.
    EXPECT_TRUE(isColor(bwg, 30, 0, kShadow));
    EXPECT_TRUE(isColor(system, 30, 0, kSystemShadow));
    int differing = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            differing += bwg.pixel(x, y) != system.pixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 60 + 59 - 1); // the outer top and left edges alone
}

TEST(ScaleColorScheme, SimpleFrameOnTheOutermostPixels)
{
    TScale s;
    s.SetBounds(0, 0, 50, 40);
    s.SetColorBackGnd(clWhite);
    s.SetFrameStyle(Zel::fsSimple);
    s.SetLabelType(ftNoFigs);
    s.PaintSuspended();
    const QImage &p = s.picture();
    for (int x = 0; x < 50; ++x) {
        EXPECT_TRUE(isColor(p, x, 0, clBlack));
        EXPECT_TRUE(isColor(p, x, 39, clBlack));
    }
    for (int y = 0; y < 40; ++y) {
        EXPECT_TRUE(isColor(p, 0, y, clBlack));
        EXPECT_TRUE(isColor(p, 49, y, clBlack));
    }
    EXPECT_TRUE(isColor(p, 1, 1, clWhite));
}

TEST(ScaleControl, TakesItsFormsFontAndHintsUntilGivenItsOwn)
{
    QWidget form;
    form.setProperty("ShowHint", true);
    form.setFont(QFont(QStringLiteral("Courier New")));
    auto *s = new TScale(&form);
    EXPECT_EQ(s->Font()->Name(), "Courier New");
    EXPECT_TRUE(s->ShowHint());
    s->PaintSuspended();
    const QImage before = s->picture();
    form.setFont(QFont(QStringLiteral("Arial")));
    s->PaintSuspended();
    EXPECT_FALSE(s->picture() == before); // the labels follow
    // A font or hint setting of its own ends the following.
    s->Font()->SetHeight(-20);
    s->SetShowHint(false);
    form.setFont(QFont(QStringLiteral("Courier New")));
    EXPECT_EQ(s->Font()->Name(), "Arial");
    EXPECT_FALSE(s->ParentFont() || s->ParentShowHint() || s->ShowHint());
}
