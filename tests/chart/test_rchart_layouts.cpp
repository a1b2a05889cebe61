// The chart as a finished control: what a new chart is, the standard layouts, the paint lock
// around them, the cursors it registers and the keys it takes.

#include "chart_probe.h"
#include "platform/ScreenCursors.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaEnum>
#include <QPixmap>
#include <QSet>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

using namespace Zel;

// How a layout shows one axis: "-" hidden with the neutral placement, else
// "<side> <ScalePos> (<caption x>, <caption y>) <alignment> <anchor>".
QString placement(const TScaleProps &record, bool horizontal)
{
    const QString side =
        horizontal
            ? (static_cast<const TScalePropsHoriz &>(record).ScaleLocation() == slTop ? "top"
                                                                                      : "bottom")
            : (static_cast<const TScalePropsVert &>(record).ScaleLocation() == slRight ? "right"
                                                                                       : "left");
    const char *alignments[] = {"L", "R", "C"};
    const char *anchors[] = {"topleft", "centre", "botright"};
    const QString text = QStringLiteral("%1 %2 (%3, %4) %5 %6")
                             .arg(side)
                             .arg(record.ScalePos())
                             .arg(record.CaptionPosX())
                             .arg(record.CaptionPosY())
                             .arg(alignments[record.CaptionAlignment()])
                             .arg(anchors[record.CaptionAnchor()]);
    return record.Visible() ? text : QStringLiteral("hidden: ") + text;
}

struct LayoutCase
{
    TrcLayout layout;
    int margins[4];
    QString caption; // "(x, y) alignment anchor"
    QStringList x;   // axes 1..4
    QStringList y;
};

QString captionOf(const TRChart &chart)
{
    const char *alignments[] = {"L", "R", "C"};
    const char *anchors[] = {"controlleft", "chartleft", "chartcentre", "chartright",
                             "controlright"};
    return QStringLiteral("(%1, %2) %3 %4")
        .arg(chart.CaptionPosX())
        .arg(chart.CaptionPosY())
        .arg(alignments[chart.CaptionAlignment()])
        .arg(anchors[chart.CaptionAnchorHoriz()]);
}

const QString hiddenX = "hidden: bottom 0 (10, 100) C centre";
const QString hiddenY = "hidden: left 0 (10, 100) R topleft";
const QString x1 = "bottom 0 (0, 22) C centre";

} // namespace

TEST(RChartShell, ANewChartHasItsCreationDefaults)
{
    ProbeChart chart;
    EXPECT_EQ(chart.size(), QSize(280, 200));
    EXPECT_EQ(chart.StandardLayout(), RChart::rcl_X1Bottom_Y1Left);
    EXPECT_EQ(chart.MarginLeft(), 50);
    EXPECT_EQ(chart.MarginRight(), 20);
    EXPECT_EQ(chart.MarginTop(), 20);
    EXPECT_EQ(chart.MarginBottom(), 40);
    EXPECT_EQ(captionOf(chart), "(0, -16) R chartright");
    EXPECT_EQ(chart.CaptionAnchorVert(), RChart::cavChartTop);
    EXPECT_TRUE(chart.AutoRedraw());
    EXPECT_TRUE(chart.PaintLocked());
    EXPECT_EQ(chart.MouseAction(), maNone);
    EXPECT_TRUE(chart.MouseCursorFixed());
    for (int L = 1; L <= 16; ++L) {
        EXPECT_EQ(chart.MouseAffectsLayer(L), L == 1) << L;
        EXPECT_EQ(chart.LayerScaleX(L)->Visible(), L == 1) << L;
        EXPECT_EQ(chart.LayerScaleY(L)->Visible(), L == 1) << L;
        EXPECT_EQ(chart.layerRendererX(L)->Visible(), L == 1) << L;
        EXPECT_EQ(chart.layerRendererY(L)->Visible(), L == 1) << L;
    }
    EXPECT_EQ(chart.ShadowWidth(), 0);
    EXPECT_EQ(chart.ShadowColor(), clGrayText);
    EXPECT_EQ(chart.ShadowBakColor(), clBtnFace);
    EXPECT_EQ(chart.FillColor(), TColor(12632256));
    EXPECT_EQ(chart.AllocSize(), 1000);
    EXPECT_FALSE(chart.Isometric());
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(chart.CrossHair(n)->Layer(), n);
        EXPECT_EQ(chart.CrossHair(n)->Mode(), chOff);
    }
    for (int n = 1; n <= TCustomRChart::TextLabelCount; ++n) {
        const TTextLabel &label = *chart.TextLabel(n);
        EXPECT_FALSE(label.Visible()) << n;
        EXPECT_EQ(label.Mode(), tlOff) << n;
        EXPECT_EQ(label.AttachToData(), tlamBoth) << n;
        EXPECT_EQ(label.PosX(), 0) << n;
    }
    EXPECT_FALSE(chart.OnZoomPan || chart.OnMouseMoveInChart || chart.OnRubberBand ||
                 chart.OnCrossHairMove || chart.OnTextLabelMove || chart.OnMouseEnter ||
                 chart.OnMouseLeave || chart.OnKeyDown || chart.OnResize);

    // Creating the window releases the paint lock without painting.
    chart.show();
    EXPECT_FALSE(chart.PaintLocked());
    EXPECT_EQ(chart.fullRepaints, 0);
}

TEST(RChartShell, TheChartRegistersItsFourCursors)
{
    TRChart chart;
    const QStringList names = {"CURHAND", "CURZOOMW", "CURZOOMD", "CURZOOMP"};
    QSet<qint64> pictures;
    for (int n = 1; n <= 4; ++n) {
        EXPECT_TRUE(Screen::hasCursor(n));
        EXPECT_EQ(Screen::cursorName(n), names[n - 1]);
        const QCursor cursor = Screen::cursor(n);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << n;
        const QImage image = cursor.pixmap().toImage();
        EXPECT_EQ(image.size(), QSize(32, 32)) << n;
        // Drawn: opaque at the hot spot, transparent in the corner.
        EXPECT_TRUE(image.pixelColor(cursor.hotSpot()).alpha() > 0) << n;
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << n;
        pictures.insert(cursor.pixmap().cacheKey());
    }
    EXPECT_EQ(pictures.size(), 4);
    // A second chart keeps the cursors already built.
    TRChart other;
    EXPECT_TRUE(pictures.contains(Screen::cursor(3).pixmap().cacheKey()));
    EXPECT_FALSE(Screen::hasCursor(5));
}

TEST(RChartShell, EveryLayoutPlacesMarginsCaptionAndAxes)
{
    const QString left23 = "left %1 (0, -23) R topleft";
    const QString bottom2 = "bottom %1 (-20, 7) R topleft";
    const QList<LayoutCase> cases = {
        {RChart::rcl_X1Bottom_Y1Left,
         {50, 20, 20, 40},
         "(0, -16) R chartright",
         {x1, hiddenX, hiddenX, hiddenX},
         {"left 0 (0, -16) L topleft", hiddenY, hiddenY, hiddenY}},
        {RChart::rcl_X1Bottom_Y2Left,
         {100, 20, 24, 40},
         "(0, -16) R chartright",
         {x1, hiddenX, hiddenX, hiddenX},
         {left23.arg(0), left23.arg(50), hiddenY, hiddenY}},
        {RChart::rcl_X1Bottom_Y3Left,
         {150, 20, 24, 40},
         "(0, -16) R chartright",
         {x1, hiddenX, hiddenX, hiddenX},
         {left23.arg(0), left23.arg(50), left23.arg(100), hiddenY}},
        {RChart::rcl_X1Bottom_Y4Left,
         {200, 20, 24, 40},
         "(0, -16) R chartright",
         {x1, hiddenX, hiddenX, hiddenX},
         {left23.arg(0), left23.arg(50), left23.arg(100), left23.arg(150)}},
        {RChart::rcl_X1Bottom_Y2Both,
         {50, 50, 24, 40},
         "(0, -20) C chartcentre",
         {x1, hiddenX, hiddenX, hiddenX},
         {left23.arg(0), "right 0 (0, -23) L topleft", hiddenY, hiddenY}},
        {RChart::rcl_X2Bottom_Y2Left,
         {100, 20, 24, 70},
         "(0, -16) R chartright",
         {bottom2.arg(0), bottom2.arg(30), hiddenX, hiddenX},
         {left23.arg(0), left23.arg(50), hiddenY, hiddenY}},
        {RChart::rcl_X2Both_Y2Both,
         {50, 50, 48, 40},
         "(0, -46) C chartcentre",
         {bottom2.arg(0), "top 0 (-20, -24) R topleft", hiddenX, hiddenX},
         {"left 0 (0, -40) R topleft", "right 0 (0, -40) L topleft",
          "hidden: left 0 (0, -23) R topleft", "hidden: left 0 (0, -23) R topleft"}},
    };
    TRChart chart;
    chart.resize(500, 400);
    for (const LayoutCase &c : cases) {
        // Start from a chart whose every axis is shown somewhere else.
        for (int L = 1; L <= 16; ++L) {
            chart.LayerScaleX(L)->SetVisible(true);
            chart.LayerScaleX(L)->SetScaleLocation(slTop);
            chart.LayerScaleX(L)->SetScalePos(7);
            chart.LayerScaleY(L)->SetVisible(true);
            chart.LayerScaleY(L)->SetScaleLocation(slRight);
        }
        chart.SetCaptionAnchorVert(RChart::cavControlBottom);
        chart.SetStandardLayout(c.layout);
        const auto name = [&] {
            return QMetaEnum::fromType<RChart::TrcLayout>().valueToKey(c.layout);
        };
        EXPECT_EQ(chart.StandardLayout(), c.layout);
        EXPECT_EQ(chart.property("StandardLayout").toInt(), int(c.layout));
        EXPECT_EQ(QList<int>({chart.MarginLeft(), chart.MarginRight(), chart.MarginTop(),
                              chart.MarginBottom()}),
                  QList<int>(std::begin(c.margins), std::end(c.margins)))
            << name();
        EXPECT_EQ(captionOf(chart), c.caption) << name();
        EXPECT_EQ(chart.CaptionAnchorVert(), RChart::cavChartTop) << name();
        for (int L = 1; L <= 4; ++L) {
            EXPECT_EQ(placement(*chart.LayerScaleX(L), true), c.x[L - 1]) << name() << " x" << L;
            EXPECT_EQ(placement(*chart.LayerScaleY(L), false), c.y[L - 1]) << name() << " y" << L;
        }
        for (int L = 1; L <= 16; ++L) {
            // The renderers are handed the result: shown exactly where the records are.
            EXPECT_EQ(chart.layerRendererX(L)->Visible(), L <= 4 && c.x[L - 1][0] != 'h')
                << name() << " x" << L;
            EXPECT_EQ(chart.layerRendererY(L)->Visible(), L <= 4 && c.y[L - 1][0] != 'h')
                << name() << " y" << L;
        }
    }
}

TEST(RChartShell, FourLeftAxesStandFiftyPixelsApart)
{
    TRChart chart;
    chart.resize(500, 300);
    chart.show();
    chart.SetChartFrameColor(clBlue);
    chart.SetStandardLayout(RChart::rcl_X1Bottom_Y4Left);
    for (int L = 1; L <= 4; ++L)
        chart.SetLayerRange(L, 0, 0, 1, 10 * L);
    // The rightmost pixel of each axis's colour left of the plot is its axis line.
    const QImage &full = chart.fullImage();
    const TColor colors[] = {clBlack, clMaroon, clGreen, clOlive};
    int lines[4] = {-1, -1, -1, -1};
    for (int i = 1; i < 4; ++i)
        for (int x = 0; x < chart.MarginLeft(); ++x)
            if (full.pixel(x, 150) == rgbOf(colors[i]))
                lines[i] = x;
    // Layer 1's line is the plot's left edge, under the frame.
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(lines[i], chart.MarginLeft() - 50 * i) << i;
    // Renderer handing: right margin = ScalePos + Width - MarginLeft - 1.
    EXPECT_EQ(chart.layerRendererY(4)->MarginRight(), 150 + 500 - 200 - 1);
}

TEST(RChartShell, LayoutsRepaintOnceWhenTheyReleaseThePaintLock)
{
    ProbeChart hidden;
    hidden.SetStandardLayout(RChart::rcl_X2Both_Y2Both);
    EXPECT_TRUE(hidden.PaintLocked());
    EXPECT_EQ(hidden.fullRepaints, 0);

    ProbeChart chart;
    chart.resize(400, 300);
    chart.show();
    chart.fullRepaints = 0;
    chart.SetStandardLayout(RChart::rcl_X2Both_Y2Both);
    EXPECT_FALSE(chart.PaintLocked());
    EXPECT_EQ(chart.fullRepaints, 1);
    // The picture shows the new margins: the plot's frame at the new top edge.
    EXPECT_EQ(chart.fullImage().pixel(200, 48), rgbOf(clBlack));
    EXPECT_EQ(chart.fullImage().pixel(200, 49), rgbOf(clWhite));

    // Out-of-range values are refused.
    chart.setProperty("StandardLayout", 42);
    chart.SetStandardLayout(static_cast<TrcLayout>(-1));
    EXPECT_EQ(chart.StandardLayout(), RChart::rcl_X2Both_Y2Both);
    EXPECT_EQ(chart.MarginTop(), 48);

    // While loading, the layout is stored and painted once loading ends.
    chart.beginLoading();
    chart.SetStandardLayout(RChart::rcl_X1Bottom_Y3Left);
    EXPECT_EQ(chart.MarginLeft(), 150);
    EXPECT_NE(chart.fullImage().pixel(150, 100), rgbOf(clBlack));
    chart.fullRepaints = 0;
    chart.loaded();
    EXPECT_EQ(chart.fullRepaints, 1);
    EXPECT_TRUE(chart.layerRendererY(3)->Visible());
}

TEST(RChartShell, TheChartTakesArrowKeysAndTab)
{
    TRChart chart;
    QList<int> downs, ups;
    QString typed;
    chart.OnKeyDown = [&](QObject *, int &key, TShiftState) {
        downs << key;
        if (key == Qt::Key_Z)
            key = 0; // handled here
    };
    chart.OnKeyUp = [&](QObject *, int &key, TShiftState) { ups << key; };
    chart.OnKeyPress = [&](QObject *, QChar &key) { typed += key; };
    const auto pressKey = [&](int key, const QString &text = QString()) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&chart, &event);
        return event.isAccepted();
    };
    // Tab does not move the focus: it reaches the chart's key events and stays there.
    EXPECT_TRUE(pressKey(Qt::Key_Tab, "\t"));
    EXPECT_TRUE(pressKey(Qt::Key_Left));
    EXPECT_TRUE(pressKey(Qt::Key_Down));
    // Other keys are reported and passed on to the parent, unless a handler took them.
    EXPECT_FALSE(pressKey(Qt::Key_A, "a"));
    EXPECT_TRUE(pressKey(Qt::Key_Z, "z"));
    EXPECT_EQ(downs, QList<int>({Qt::Key_Tab, Qt::Key_Left, Qt::Key_Down, Qt::Key_A, Qt::Key_Z}));
    EXPECT_EQ(typed, "\ta");
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &up);
    EXPECT_TRUE(up.isAccepted());
    EXPECT_EQ(ups, QList<int>({Qt::Key_Up}));
}

// Fine wheel steps add up to notches of 120; each full notch raises one up or down event,
// and what a handler of OnMouseWheel takes is not counted.
TEST(RChartShell, WheelStepsAddUpToNotches)
{
    TRChart chart;
    QString notches;
    bool takeWheel = false;
    chart.OnMouseWheel = [&](QObject *, TShiftState, int, QPoint, bool &handled) {
        handled = takeWheel;
    };
    chart.OnMouseWheelUp = [&](QObject *, TShiftState, QPoint, bool &handled) {
        notches += 'u';
        handled = true;
    };
    chart.OnMouseWheelDown = [&](QObject *, TShiftState, QPoint, bool &handled) {
        notches += 'd';
        handled = true;
    };
    const auto turn = [&](int delta) {
        QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&chart, &event);
        return event.isAccepted();
    };
    EXPECT_FALSE(turn(40));
    EXPECT_FALSE(turn(40));
    EXPECT_TRUE(turn(40));
    EXPECT_EQ(notches, "u");
    EXPECT_TRUE(turn(250)); // two notches, 10 left over
    EXPECT_EQ(notches, "uuu");
    EXPECT_FALSE(turn(-100)); // -90
    EXPECT_TRUE(turn(-40));   // -130: one notch down
    EXPECT_EQ(notches, "uuud");
    takeWheel = true;
    EXPECT_TRUE(turn(-110)); // taken by OnMouseWheel, not counted
    takeWheel = false;
    EXPECT_TRUE(turn(-110)); // -10 - 110
    EXPECT_EQ(notches, "uuudd");
}

TEST(RChartShell, ResizingIsReportedOnce)
{
    TRChart chart;
    int resizes = 0;
    chart.OnResize = [&](QObject *sender) {
        EXPECT_EQ(sender, &chart);
        ++resizes;
    };
    chart.show();
    const int shown = resizes;
    chart.resize(400, 300);
    EXPECT_EQ(resizes, shown + 1);
    chart.SetBounds(0, 0, 500, 350);
    EXPECT_EQ(resizes, shown + 2);
    chart.SetBounds(0, 0, 500, 350); // no change
    EXPECT_EQ(resizes, shown + 2);
    EXPECT_EQ(chart.size(), QSize(500, 350));
}
