// Drawing of scales, checked pixel by pixel: tick lengths for every orientation, label and
// caption placement, the tick and rendering events, target canvases, the printer font, and
// ranges that cannot be drawn. A few scales are also rendered to PNG files for a look.

#include "ScalePixels.h"
#include "scales/Zel_Scale.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <limits>
#include <memory>
#include <tuple>
#include <vector>

namespace {

using namespace scale_pixels;

// A scale that paints on demand: red ticks on white, no frame, labels in black.
std::unique_ptr<TScale> makeScale(TScaleType type, int width, int height)
{
    auto scale = std::make_unique<TScale>();
    scale->SetBounds(0, 0, width, height);
    scale->SetScaleType(type);
    scale->SetColorScale(clRed);
    scale->SetColorBackGnd(clWhite);
    scale->SetFrameStyle(Zel::fsNone);
    scale->Font()->SetColor(clBlack);
    return scale;
}

// Where the base line of a scale lies and which way its ticks point.
struct Orientation
{
    int base;
    int dx, dy;
};

Orientation orientationOf(const TScale &s)
{
    switch (s.ScaleType()) {
    case sctXB:
        return {s.height() - s.MarginBottom() - 1, 0, -1};
    case sctXT:
        return {s.MarginTop(), 0, 1};
    case sctYL:
        return {s.MarginLeft(), 1, 0};
    case sctYR:
        return {s.width() - s.MarginRight() - 1, -1, 0};
    }
    return {};
}

int tickLength(const TScale &s, double value)
{
    const Orientation o = orientationOf(s);
    const int p = s.ValueToPixel(value);
    const bool vertical = isVerticalScale(s.ScaleType());
    const int x = vertical ? o.base : p;
    const int y = vertical ? p : o.base;
    return run(s.picture(), x, y, o.dx, o.dy, clRed);
}

QString outputDir()
{
    const QString dir = QCoreApplication::applicationDirPath() + "/scale_pictures";
    QDir().mkpath(dir);
    return dir;
}

} // namespace

TEST(ScaleDrawing, TickLengthsForEveryOrientation)
{
    for (TScaleType type : {sctXB, sctXT, sctYL, sctYR}) {
        const bool vertical = isVerticalScale(type);
        auto s = makeScale(type, 200, 200);
        s->SetLabelType(ftNoFigs);
        s->SetShowBaseLine(false);
        s->SetRangeLow(0);
        s->SetRangeHigh(100);
        s->PaintSuspended();
        EXPECT_EQ(tickLength(*s, 40), vertical ? 6 : 7) << type;  // labelled
        EXPECT_EQ(tickLength(*s, 45), 4) << type;                 // short
        EXPECT_EQ(tickLength(*s, 100), vertical ? 6 : 7) << type; // the last pixel

        s->SetRangeLow(1);
        s->SetRangeHigh(1000);
        s->SetMinTicks(5);
        s->SetLogarithmic(true);
        ASSERT_TRUE(s->Logarithmic());
        s->PaintSuspended();
        EXPECT_EQ(tickLength(*s, 10), vertical ? 6 : 7) << type;
        EXPECT_EQ(tickLength(*s, 20), vertical ? 6 : 7) << type;
        EXPECT_EQ(tickLength(*s, 30), vertical ? 6 : 4) << type;
    }
}

TEST(ScaleDrawing, BaseLineCoversTheWholeAxis)
{
    auto h = makeScale(sctXT, 200, 60);
    h->SetLabelType(ftNoFigs);
    h->SetShortTicks(false);
    h->PaintSuspended();
    // From MarginLeft to Width - MarginRight - 1, nothing beyond.
    EXPECT_EQ(run(h->picture(), 20, 20, 1, 0, clRed), 160);
    EXPECT_FALSE(isColor(h->picture(), 19, 20, clRed));

    auto v = makeScale(sctYR, 60, 200);
    v->SetLabelType(ftNoFigs);
    v->SetShortTicks(false);
    v->SetMarginTop(10);
    v->PaintSuspended();
    EXPECT_EQ(run(v->picture(), 39, 10, 0, 1, clRed), 170);
    EXPECT_FALSE(isColor(v->picture(), 39, 9, clRed));

    v->SetShowBaseLine(false);
    v->PaintSuspended();
    EXPECT_FALSE(isColor(v->picture(), 39, 15, clRed));
}

TEST(ScaleDrawing, HorizontalLabelsKeepClearOfTheEdges)
{
    auto s = makeScale(sctXB, 200, 60);
    s->SetMarginLeft(1);
    s->SetMarginRight(0);
    s->SetShortTicks(false);
    s->SetLabelType(ftUserText);
    s->SetUserTickText("WW||M|||WWW"); // labels at 0, 40 and 100 only
    s->PaintSuspended();
    const TFont &font = *s->Font();
    const int base = 60 - 20 - 1;
    const QSize ww = textSize(font, "WW");
    const QSize www = textSize(font, "WWW");
    const QSize m = textSize(font, "M");
    ASSERT_EQ(s->ValueToPixel(0), 1);
    ASSERT_EQ(s->ValueToPixel(100), 199);

    // At x = 1 the label starts at pixel 2 rather than centred.
    EXPECT_EQ(textOrigin(s->picture(), QRect(0, 0, 40, base), "WW", font),
              QPoint(2, base - ww.height() - 7));
    // In the middle it is centred on the tick.
    const int x40 = s->ValueToPixel(40);
    EXPECT_EQ(textOrigin(s->picture(), QRect(x40 - 30, 0, 60, base), "M", font),
              QPoint(x40 - m.width() / 2, base - m.height() - 7));
    // At the last pixel it ends 2 px before the control's edge.
    EXPECT_EQ(textOrigin(s->picture(), QRect(140, 0, 60, base), "WWW", font),
              QPoint(200 - 2 * (www.width() / 2) - 2, base - www.height() - 7));
}

TEST(ScaleDrawing, LabelsBelowTopAxesAndBesideVerticalOnes)
{
    auto top = makeScale(sctXT, 200, 60);
    top->SetShortTicks(false);
    top->SetLabelType(ftUserText);
    top->SetUserTickText("||Q||");
    top->PaintSuspended();
    const TFont &font = *top->Font();
    const int x = top->ValueToPixel(40);
    EXPECT_EQ(textOrigin(top->picture(), QRect(0, 21, 200, 39), "Q", font),
              QPoint(x - textSize(font, "Q").width() / 2, 20 + 7));

    const int zeroHeight = textSize(font, "0").height();
    for (TScaleType type : {sctYL, sctYR}) {
        auto v = makeScale(type, 120, 200);
        v->SetShortTicks(false);
        v->SetScaleInscript("&g");
        v->PaintSuspended();
        const int y = v->ValueToPixel(60);
        const int base = orientationOf(*v).base;
        const QSize size = textSize(font, "60g");
        const int left = type == sctYL ? base + 8 : base - size.width() - 8;
        EXPECT_EQ(textOrigin(v->picture(), QRect(0, y - 9, 120, 18), "60g", font),
                  QPoint(left, y - zeroHeight / 2))
            << type;
    }
}

TEST(ScaleDrawing, CaptionAnchorsAndAlignment)
{
    const QString caption = "Mass";
    struct Case
    {
        TScaleType type;
        TScaleUnitAnchor anchor;
        TAlignment alignment;
    };
    const Case cases[] = {
        {sctXB, uaSclTopLft, Zel::taLeftJustify},  {sctXB, uaSclCenter, Zel::taCenter},
        {sctXT, uaSclBotRgt, Zel::taRightJustify}, {sctYL, uaSclTopLft, Zel::taLeftJustify},
        {sctYR, uaSclCenter, Zel::taRightJustify}, {sctYL, uaSclBotRgt, Zel::taCenter},
    };
    for (const Case &c : cases) {
        auto s = makeScale(c.type, 240, 200);
        s->SetLabelType(ftNoFigs);
        s->SetMarginLeft(30);
        s->SetMarginRight(50);
        s->SetMarginTop(20);
        s->SetMarginBottom(60);
        s->SetCaptionPosX(3);
        s->SetCaptionPosY(-5);
        s->SetCaptionAnchor(c.anchor);
        s->SetCaptionAlignment(c.alignment);
        s->SetCaption(caption);
        s->PaintSuspended();
        const int w = textSize(*s->Font(), caption).width();
        const int base = orientationOf(*s).base;
        int x;
        int y;
        if (isVerticalScale(c.type)) {
            x = base + 3;
            y = c.anchor == uaSclTopLft   ? 20 - 5
                : c.anchor == uaSclCenter ? 20 + (200 - 20 - 60) / 2 - 5
                                          : 200 - 60 - 5;
        } else {
            y = base - 5;
            x = c.anchor == uaSclTopLft   ? 30 + 3
                : c.anchor == uaSclCenter ? 30 + (240 - 30 - 50) / 2 + 3
                                          : 240 - 50 + 3;
        }
        if (c.alignment == Zel::taRightJustify)
            x -= w;
        else if (c.alignment == Zel::taCenter)
            x -= w / 2;
        EXPECT_EQ(textOrigin(s->picture(), s->picture().rect(), caption, *s->Font()), QPoint(x, y))
            << c.type << " " << c.anchor;
    }
}

TEST(ScaleDrawing, TickEventFollowsEveryTick)
{
    auto s = makeScale(sctXB, 200, 60);
    struct Seen
    {
        double value;
        int x, y;
        bool drawn;
    };
    std::vector<Seen> seen;
    s->OnScaleTickDrawn = [&](QObject *sender, Canvas &canvas, TScaleType type, double value, int x,
                              int y) {
        EXPECT_EQ(sender, s.get());
        EXPECT_EQ(type, sctXB);
        // The tick is already on the canvas, one pixel above the base line.
        seen.push_back({value, x, y, canvas.Pixel(x, y - 1) == clRed});
    };
    s->PaintSuspended();
    ASSERT_EQ(seen.size(), 27u); // 21 short and 6 labelled ticks
    for (const Seen &t : seen) {
        EXPECT_EQ(t.x, s->ValueToPixel(t.value));
        EXPECT_EQ(t.y, 39);
        EXPECT_TRUE(t.drawn) << t.value;
    }
    EXPECT_DOUBLE_EQ(seen.back().value, 100);
    EXPECT_EQ(s->NumTicks(), 21);
}

TEST(ScaleDrawing, RecordingStopsAt250WhileDrawingGoesOn)
{
    auto s = makeScale(sctXB, 400, 60);
    s->SetLabelType(ftNoFigs);
    s->SetMinTicks(0);
    s->SetRangeLow(0);
    s->SetRangeHigh(299);
    int events = 0;
    s->OnScaleTickDrawn = [&](QObject *, Canvas &, TScaleType, double, int, int) { ++events; };
    s->PaintSuspended();
    EXPECT_EQ(events, 600); // 300 short and 300 labelled ticks
    EXPECT_EQ(s->NumTicks(), 250);
    EXPECT_EQ(s->TickPosition(1), 0);
    EXPECT_EQ(s->TickPosition(250), 249);
    EXPECT_EQ(s->TickPosition(251), 0);
    EXPECT_EQ(s->TickPosition(0), 0);

    // Vertical axes record the labelled positions as well.
    auto v = makeScale(sctYL, 60, 200);
    v->PaintSuspended();
    EXPECT_EQ(v->NumTicks(), 27);
    EXPECT_EQ(v->TickPosition(22), 0); // the first labelled tick follows the short ones
}

TEST(ScaleDrawing, ReversedAxesRecordTheSamePositionsAsForwardOnes)
{
    // RangeLow on the short-tick grid: a reversed axis must keep the tick there, as the
    // forward axis over the same values keeps its tick at RangeHigh's side.
    struct Case
    {
        double low, high;
        int minTicks;
        TScaleType type;
        bool shortTicks;
        int count;
    };
    const Case cases[] = {
        {100, 0, 3, sctXB, true, 21},
        {-5, -6, 4, sctXB, true, 21},
        {1, 0, 3, sctYL, true, 27},
        {8.7, 7.7, 2, sctXT, true, 21},
        {1e5 + 1.1, 1e5 + 0.1, 2, sctYR, true, 26},
        {100, 0, 3, sctXB, false, 6},
    };
    auto recorded = [](const Case &c, double low, double high) {
        auto s = makeScale(c.type, isVerticalScale(c.type) ? 60 : 400,
                           isVerticalScale(c.type) ? 400 : 60);
        s->SetShortTicks(c.shortTicks);
        s->SetMinTicks(c.minTicks);
        s->SetRangeLow(low);
        s->SetRangeHigh(high);
        EXPECT_TRUE(s->RangeLow() == low && s->RangeHigh() == high);
        s->PaintSuspended();
        std::vector<double> values;
        for (int i = 1; i <= s->NumTicks(); ++i)
            values.push_back(s->TickPosition(i));
        std::sort(values.begin(), values.end());
        return values;
    };
    for (const Case &c : cases) {
        const std::vector<double> reversed = recorded(c, c.low, c.high);
        const std::vector<double> forward = recorded(c, c.high, c.low);
        EXPECT_EQ(int(reversed.size()), c.count) << c.low << ".." << c.high;
        EXPECT_EQ(reversed.size(), forward.size()) << c.low << ".." << c.high;
        if (reversed.size() != forward.size())
            continue;
        for (std::size_t i = 0; i < forward.size(); ++i)
            EXPECT_NEAR(reversed[i], forward[i], 1e-9) << c.low << ".." << c.high << " #" << i;
    }
}

TEST(ScaleDrawing, RenderingEventsAndTheirCanvases)
{
    auto s = makeScale(sctXB, 200, 60);
    s->SetFrameStyle(Zel::fsSimple);
    Canvas *before = nullptr;
    Canvas *after = nullptr;
    bool frameDrawnBeforeAfterEvent = true;
    s->OnBeforeScaleRendered = [&](QObject *, Canvas &c) { before = &c; };
    s->OnAfterScaleRendered = [&](QObject *, Canvas &c) {
        after = &c;
        frameDrawnBeforeAfterEvent = c.Pixel(0, 0) == clBlack;
    };
    s->PaintSuspended();
    ASSERT_NE(before, nullptr);
    ASSERT_NE(after, nullptr);
    // Opaque: the handler after the rendering draws into the off-screen picture, before the
    // frame.
    EXPECT_NE(before, after);
    EXPECT_FALSE(frameDrawnBeforeAfterEvent);
    EXPECT_TRUE(isColor(s->picture(), 0, 0, clBlack));

    // Transparent onto a target: both handlers get the target canvas.
    Bitmap target(300, 100);
    s->SetEmbedded(true);
    s->SetTransparent(true);
    s->SetTargetCanvas(&target.canvas(), 0, 0);
    before = after = nullptr;
    s->PaintSuspended();
    EXPECT_EQ(before, &target.canvas());
    EXPECT_EQ(after, &target.canvas());
}

TEST(ScaleDrawing, TargetOffsetsShiftOnlyTheBaseLine)
{
    auto s = makeScale(sctXB, 200, 100);
    s->SetLabelType(ftNoFigs);
    s->SetShortTicks(false);
    s->SetEmbedded(true);
    s->SetTransparent(true);
    Bitmap target(300, 300);
    target.canvas().Brush() = TBrush{clWhite};
    target.canvas().FillRect(0, 0, 300, 300);
    s->SetTargetCanvas(&target.canvas(), 30, 50);
    s->PaintSuspended();
    const QImage &img = target.image();
    const int base = 50 + 100 - 20 - 1;
    // Base line from x 20 to 179 (not shifted by 30), at y shifted by 50.
    EXPECT_EQ(run(img, 20, base, 1, 0, clRed), 160);
    EXPECT_FALSE(isColor(img, 19, base, clRed));
    EXPECT_EQ(run(img, 20, base, 0, -1, clRed), 7);
    // No background, no frame.
    EXPECT_TRUE(isColor(img, 30, 50, clWhite));

    // Opaque: the whole picture is copied to the target at the offsets.
    s->SetTransparent(false);
    s->SetFrameStyle(Zel::fsSimple);
    s->PaintSuspended();
    EXPECT_TRUE(isColor(img, 30, 50, clBlack));
    EXPECT_TRUE(isColor(img, 31, 51, clWhite));
    EXPECT_TRUE(isColor(img, 229, 149, clBlack));
    EXPECT_EQ(run(img, 50, base, 1, 0, clRed), 160);
}

TEST(ScaleDrawing, PrinterCanvasKeepsThePointSize)
{
    auto s = makeScale(sctXB, 200, 60);
    s->SetEmbedded(true);
    s->SetTransparent(true);
    QImage printerPage(400, 200, QImage::Format_RGB32);
    printerPage.setDotsPerMeterX(qRound(600 / 0.0254));
    printerPage.setDotsPerMeterY(qRound(600 / 0.0254));
    Canvas printer(&printerPage);
    printer.setTreatAsPrinter(true);
    ASSERT_EQ(printer.pixelsPerInchY(), 600);
    s->SetTargetCanvas(&printer, 0, 0);
    const TFont standard; // 8 points
    s->SetFont(&standard);
    int height = 0;
    int density = 0;
    s->OnAfterScaleRendered = [&](QObject *, Canvas &c) {
        height = c.Font().Height();
        density = c.Font().PixelsPerInch();
    };
    s->PaintSuspended();
    EXPECT_EQ(s->Font()->Size(), 8);
    EXPECT_EQ(density, 600);
    EXPECT_EQ(height, -67); // 8 points at 600 pixels per inch
}

TEST(ScaleDrawing, UndrawableRangesDrawOnlyTheBaseLine)
{
    auto s = makeScale(sctXB, 200, 60);
    // Integers of -1e20..1e20 are lost in the arithmetic, and far denser than the pixels: the
    // axis takes the automatic step.
    s->SetMinTicks(0);
    s->SetRangeLow(-1e20);
    s->SetRangeHigh(1e20);
    s->PaintSuspended();
    EXPECT_GT(s->NumTicks(), 0);
    EXPECT_EQ(run(s->picture(), 20, 39, 1, 0, clRed), 160);
    EXPECT_EQ(run(s->picture(), s->ValueToPixel(0), 39, 0, -1, clRed), 7);

    // The widest range of doubles is drawn, its ticks on the axis.
    s->SetMinTicks(3);
    s->SetRangeLow(-std::numeric_limits<double>::max());
    s->SetRangeHigh(std::numeric_limits<double>::max());
    s->PaintSuspended();
    EXPECT_GT(s->NumTicks(), 0);
    EXPECT_EQ(run(s->picture(), s->ValueToPixel(0), 39, 0, -1, clRed), 7);

    // A logarithmic axis whose low end was moved below zero afterwards.
    s->SetRangeLow(1);
    s->SetRangeHigh(1000);
    s->SetLogarithmic(true);
    s->SetRangeLow(-5);
    ASSERT_TRUE(s->Logarithmic());
    s->PaintSuspended();
    EXPECT_EQ(s->NumTicks(), 0);

    // Margins that would overflow the coordinates.
    s->SetLogarithmic(false);
    s->SetRangeLow(0);
    s->SetMarginLeft(INT_MAX);
    s->SetMarginBottom(INT_MAX);
    s->SetCaption("x");
    s->SetCaptionPosX(INT_MAX);
    s->PaintSuspended();
    EXPECT_EQ(s->PixelFactor(), 0);
}

TEST(ScaleDrawing, IntegerTicksDenserThanThePixelsTakeTheAutomaticStep)
{
    // 359 pixels between the ends: up to 360 integer ticks fit, more take the step of MinTicks 3.
    for (const auto &[hi, count, second] :
         {std::tuple{1e6, 6u, 2e5}, {20000.0, 5u, 5000.0}, {359.0, 360u, 1.0}}) {
        auto s = makeScale(sctXB, 400, 60);
        s->SetShortTicks(false);
        s->SetMinTicks(0);
        s->SetRangeHigh(hi);
        std::vector<double> ticks;
        s->OnScaleTickDrawn = [&](QObject *, Canvas &, TScaleType, double v, int, int) {
            ticks.push_back(v);
        };
        s->PaintSuspended();
        ASSERT_EQ(ticks.size(), count) << hi;
        EXPECT_EQ(ticks[1], second) << hi;
        EXPECT_EQ(ticks.back(), hi) << hi;
    }
}

TEST(ScalePictures, RenderForInspection)
{
    // One sheet with scales of every type, opaque with frames and transparent on the sheet.
    Bitmap sheet(820, 520);
    sheet.canvas().Brush() = TBrush{rgbColor(250, 250, 240)};
    sheet.canvas().FillRect(0, 0, 820, 520);

    std::vector<std::unique_ptr<TScale>> scales;
    auto add = [&](TScaleType type, int x, int y, int w, int h) -> TScale & {
        scales.push_back(std::make_unique<TScale>());
        TScale &s = *scales.back();
        s.SetBounds(0, 0, w, h);
        s.SetScaleType(type);
        s.SetTargetCanvas(&sheet.canvas(), x, y);
        return s;
    };

    TScale &a = add(sctXB, 10, 10, 400, 70);
    a.SetCaption("Mass (u)");
    a.SetCaptionAnchor(uaSclCenter);
    a.SetCaptionPosY(-40);

    TScale &b = add(sctXT, 10, 90, 400, 70);
    b.SetRangeLow(100);
    b.SetRangeHigh(0);
    b.SetScaleInscript("&%");
    b.SetFrameStyle(Zel::fsRaised);
    b.SetColorScale(clBlue);

    TScale &c = add(sctXB, 10, 170, 400, 70);
    c.SetRangeLow(0);
    c.SetRangeHigh(1e7);
    c.SetFrameStyle(Zel::fsEmbossed);
    c.SetMarginRight(0);

    TScale &d = add(sctXT, 10, 250, 400, 70);
    d.SetRangeLow(1);
    d.SetRangeHigh(1000);
    d.SetMinTicks(5);
    d.SetLogarithmic(true);
    d.SetFrameStyle(Zel::fsEngraved);
    d.SetColorScheme(Zel::csSystem);

    TScale &e = add(sctXB, 10, 330, 400, 70);
    e.SetLabelType(ftUserText);
    e.SetUserTickText("p|q|r");
    e.SetEmbedded(true);
    e.SetTransparent(true);
    e.SetCaption("user texts");
    e.SetCaptionAnchor(uaSclBotRgt);
    e.SetCaptionAlignment(Zel::taRightJustify);
    e.SetCaptionPosY(-40);

    TScale &f = add(sctYL, 430, 10, 120, 400);
    f.SetRangeLow(0.01);
    f.SetRangeHigh(100);
    f.SetLogarithmic(true);
    f.SetDecPlaces(-3);
    f.SetCaption("log10");

    TScale &g = add(sctYR, 560, 10, 120, 400);
    g.SetRangeLow(-1e-9);
    g.SetRangeHigh(1e-9);
    g.SetScaleInscript("& A");
    g.SetFrameStyle(Zel::fsSimple);

    TScale &h = add(sctYL, 690, 10, 120, 400);
    h.SetRangeLow(0);
    h.SetRangeHigh(1);
    h.SetDecPlaces(0);
    h.SetEmbedded(true);
    h.SetTransparent(true);
    h.SetColorScale(clGreen);

    for (auto &s : scales)
        s->PaintSuspended();
    const QString file = outputDir() + "/scales.png";
    ASSERT_TRUE(sheet.image().save(file));
    // Every scale left its base line on the sheet.
    EXPECT_TRUE(isColor(sheet.image(), 30, 10 + 70 - 20 - 1, clBlack));
    EXPECT_TRUE(isColor(sheet.image(), 430 + 20, 100, clBlack));
}
