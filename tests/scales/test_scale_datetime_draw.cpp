// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of time and date/time axes through TScale: ticks and their events, recorded
// positions, where labels, date lines and messages land, and a sheet of date/time scales
// rendered to a PNG file for a look.

#include "ScalePixels.h"
#include "scales/Zel_Scale.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace {

class DateTimeDrawing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = QLocale();
        QLocale::setDefault(QLocale(QLocale::English));
    }
    void TearDown() override { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

using namespace scale_pixels;

// Red ticks on white, black labels, no frame.
std::unique_ptr<TScale> makeScale(TScaleType type, int width, int height, TFigType kind, double low,
                                  double high)
{
    auto s = std::make_unique<TScale>();
    s->SetBounds(0, 0, width, height);
    s->SetScaleType(type);
    s->SetColorScale(clRed);
    s->SetColorBackGnd(clWhite);
    s->SetFrameStyle(Zel::fsNone);
    s->Font()->SetColor(clBlack);
    s->SetLabelType(kind);
    s->SetRangeLow(low);
    s->SetRangeHigh(high);
    return s;
}

struct Seen
{
    double value;
    QPoint base;
};

std::vector<Seen> watchTicks(TScale &s)
{
    std::vector<Seen> seen;
    s.OnScaleTickDrawn = [&seen](QObject *, Canvas &, TScaleType, double v, int x, int y) {
        seen.push_back({v, QPoint(x, y)});
    };
    s.PaintSuspended();
    s.OnScaleTickDrawn = nullptr;
    return seen;
}

} // namespace

TEST_F(DateTimeDrawing, OneDayOnAVerticalAxis)
{
    auto s = makeScale(sctYL, 160, 260, ftDateTime, 0, 1); // 220 px for 24 h
    s->SetMinTicks(4);
    const std::vector<Seen> seen = watchTicks(*s);
    ASSERT_EQ(seen.size(), 13u);
    ASSERT_EQ(s->NumTicks(), 13);
    const QImage &img = s->picture();
    for (size_t i = 0; i < seen.size(); ++i) {
        const double v = seen[i].value;
        EXPECT_NEAR(v, i / 12.0, 1e-12);
        EXPECT_DOUBLE_EQ(s->TickPosition(int(i) + 1), v);
        EXPECT_EQ(seen[i].base, QPoint(20, s->ValueToPixel(v)));
        // Every 6 hours a long tick, every 2 hours a short one.
        EXPECT_EQ(run(img, 20, s->ValueToPixel(v), 1, 0, clRed), i % 3 == 0 ? 6 : 4) << i;
    }

    // The 06:00 label beside its tick, centred with its own height.
    const TFont &font = *s->Font();
    const QSize label = textSize(font, "06:00");
    const int y6 = s->ValueToPixel(0.25);
    EXPECT_EQ(textOrigin(img, QRect(25, y6 - 12, 100, 24), "06:00", font),
              QPoint(28, y6 - label.height() / 2));
    // The first date line stands one line above the first label (at the bottom, 30 Dec).
    const int y0 = s->ValueToPixel(0);
    const QRect above(25, y0 - 3 * (label.height() / 2) - 2, 130, label.height() / 2 + 4);
    EXPECT_EQ(textOrigin(img, above, "30-Dec-1899", font),
              QPoint(28, y0 - 3 * (label.height() / 2)));
    // No date line above 06:00, 12:00 and 18:00 (same day): nothing between the labels.
    EXPECT_TRUE(colorBox(img, QRect(25, y6 - label.height() - 6, 100, 4), clBlack).isNull());
}

TEST_F(DateTimeDrawing, DateLinesBelowTheLabelsOfATopAxis)
{
    auto s = makeScale(sctXT, 460, 80, ftDateTime, 0, 1);
    s->SetMinTicks(4);
    s->PaintSuspended();
    const QImage &img = s->picture();
    const TFont &font = *s->Font();
    const int b = 20;
    const QSize label = textSize(font, "06:00");
    const QSize date = textSize(font, "30-Dec-1899");
    // First tick at x = 20: the label cannot be centred there, it starts at pixel 2 at most
    // half its width left of the tick; the date line goes through the same rule one text
    // height lower.
    const int x0 = s->ValueToPixel(0);
    EXPECT_EQ(textOrigin(img, QRect(0, b + 7, 60, label.height()), "00:00", font),
              QPoint(x0 - std::min(x0 - 2, label.width() / 2), b + 7));
    EXPECT_EQ(
        textOrigin(img, QRect(0, b + 7 + date.height(), 90, date.height()), "30-Dec-1899", font),
        QPoint(x0 - std::min(x0 - 2, date.width() / 2), b + 7 + date.height()));
    // The last one, 31 Dec at the right end, is right-aligned 2 px before the edge.
    EXPECT_EQ(
        textOrigin(img, QRect(340, b + 7 + date.height(), 120, date.height()), "31-Dec-1899", font),
        QPoint(460 - 2 * (date.width() / 2) - 2, b + 7 + date.height()));

    // Without date lines nothing is drawn in that row.
    s->DateFormat()->SetDateForTime(dtNone);
    s->PaintSuspended();
    EXPECT_TRUE(colorBox(s->picture(), QRect(0, b + 7 + date.height(), 460, date.height()), clBlack)
                    .isNull());
}

TEST_F(DateTimeDrawing, MessagesInsteadOfTicks)
{
    // Reversed ends: invalid, on the labels' side of a top axis, centred on the middle.
    auto h = makeScale(sctXT, 400, 60, ftDateTime, 10, 5);
    const std::vector<Seen> none = watchTicks(*h);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(h->NumTicks(), 0);
    const TFont &font = *h->Font();
    const QString text = "invalid DateTime scale";
    const int mid = h->ValueToPixel(7.5);
    EXPECT_EQ(textOrigin(h->picture(), QRect(0, 21, 400, 39), text, font),
              QPoint(mid - textSize(font, text).width() / 2, 20 + 7));

    // On a bottom axis the message stands above the base line, like the labels.
    auto xb = makeScale(sctXB, 400, 60, ftDateTime, 10, 5);
    xb->PaintSuspended();
    const int base = 60 - 20 - 1;
    EXPECT_EQ(
        textOrigin(xb->picture(), QRect(0, 0, 400, base), text, font),
        QPoint(mid - textSize(font, text).width() / 2, base - 7 - textSize(font, text).height()));

    // Too small a span on a right-hand vertical axis: four lines right-aligned beside the
    // base line, the first a line above the middle.
    auto v = makeScale(sctYR, 140, 300, ftDateTime, 1000, 1000 + 0.02 / 86400);
    v->SetMinTicks(4);
    v->PaintSuspended();
    const int lineHeight = textSize(font, "T").height();
    const int vmid = v->ValueToPixel(1000 + 0.01 / 86400);
    const int baseX = 140 - 20 - 1;
    const QStringList lines = {"DateTime", "range is", "below 1", "second"};
    for (int i = 0; i < lines.size(); ++i) {
        const int top = vmid + (i - 1) * lineHeight;
        EXPECT_EQ(textOrigin(v->picture(), QRect(0, top, baseX, lineHeight), lines[i], font),
                  QPoint(baseX - 2 - textSize(font, lines[i]).width(), top))
            << lines[i].toStdString();
    }
    EXPECT_EQ(v->NumTicks(), 0);
}

TEST_F(DateTimeDrawing, TimeAxisAndItsFallbackToNumbers)
{
    auto s = makeScale(sctXB, 420, 60, ftTime, 0, 3600);
    const std::vector<Seen> seen = watchTicks(*s);
    ASSERT_EQ(seen.size(), 23u); // 19 short ticks, then 4 labelled ones
    EXPECT_EQ(s->NumTicks(), 23);
    const QImage &img = s->picture();
    const int base = 60 - 20 - 1;
    EXPECT_EQ(run(img, s->ValueToPixel(200), base, 0, -1, clRed), 4);
    EXPECT_EQ(run(img, s->ValueToPixel(1200), base, 0, -1, clRed), 7);
    const TFont &font = *s->Font();
    const QString label = " 00:20:00";
    const QSize size = textSize(font, label);
    const int x = s->ValueToPixel(1200);
    EXPECT_EQ(textOrigin(img, QRect(x - 60, 0, 120, base - 7), label, font),
              QPoint(x - size.width() / 2, base - 7 - size.height()));

    // Below a millisecond per tick the time axis declines: numbers with 4 decimals.
    auto n = makeScale(sctXB, 420, 60, ftTime, 0, 0.0005);
    EXPECT_EQ(n->DecPlaces(), 4);
    EXPECT_FALSE(watchTicks(*n).empty());
    const QSize zero = textSize(font, "0.0000");
    EXPECT_EQ(
        textOrigin(n->picture(), QRect(0, 0, 20 + zero.width() / 2 + 1, base - 7), "0.0000", font),
        QPoint(20 - std::min(18, zero.width() / 2), base - 7 - zero.height()));
}

TEST_F(DateTimeDrawing, TickEventsOfEveryLevelMatchTheRecordedPositions)
{
    // Each level once: hundredths (vertical), seconds, minutes, hours, days, months, years.
    const double day = dayValueOf(QDate(2024, 2, 27));
    struct Case
    {
        TScaleType type;
        double low, high;
        DateTimeLevel level;
    };
    const Case cases[] = {
        {sctYL, day, day + 2.0 / 86400, DateTimeLevel::Hundredths},
        {sctXT, day, day + 40.0 / 86400, DateTimeLevel::Seconds},
        {sctXT, day, day + 0.05, DateTimeLevel::Minutes},
        {sctXT, day, day + 2, DateTimeLevel::Hours},
        {sctXT, day, day + 20, DateTimeLevel::Days},
        {sctXT, day, day + 300, DateTimeLevel::Months},
        {sctYR, day, day + 5000, DateTimeLevel::Years},
    };
    for (const Case &c : cases) {
        auto s = makeScale(c.type, 400, 400, ftDateTime, c.low, c.high);
        const DateTimeAxisLayout expected = computeDateTimeAxis(
            c.low, c.high, 3, true, isVerticalScale(c.type), s->DateFormat()->data());
        ASSERT_EQ(expected.level, c.level);
        const std::vector<Seen> seen = watchTicks(*s);
        ASSERT_EQ(seen.size(), expected.ticks.size()) << int(c.level);
        ASSERT_EQ(s->NumTicks(), int(std::min<size_t>(seen.size(), TickCountLimit)));
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_DOUBLE_EQ(seen[i].value, expected.ticks[i].value);
            EXPECT_DOUBLE_EQ(s->TickPosition(int(i) + 1), seen[i].value);
            // Every tick lies on the axis.
            const int p = s->ValueToPixel(seen[i].value);
            EXPECT_GE(p, 20);
            EXPECT_LE(p, 400 - 20 - 1);
        }
    }
}

TEST_F(DateTimeDrawing, RenderForInspection)
{
    Bitmap sheet(940, 620);
    sheet.canvas().Brush() = TBrush{rgbColor(250, 250, 240)};
    sheet.canvas().FillRect(0, 0, 940, 620);

    std::vector<std::unique_ptr<TScale>> scales;
    auto add = [&](TScaleType type, int x, int y, int w, int h, TFigType kind, double lo,
                   double hi) -> TScale & {
        scales.push_back(std::make_unique<TScale>());
        TScale &s = *scales.back();
        s.SetBounds(0, 0, w, h);
        s.SetScaleType(type);
        s.SetLabelType(kind);
        s.SetRangeLow(lo);
        s.SetRangeHigh(hi);
        s.SetTargetCanvas(&sheet.canvas(), x, y);
        return s;
    };
    const double d2024 = dayValueOf(QDate(2024, 3, 1));

    // One day in four ticks with date lines below, a week at the days level, a year in
    // months, ten years, and an hour on a time axis.
    add(sctXT, 10, 10, 560, 80, ftDateTime, 0, 1).SetMinTicks(4);
    add(sctXT, 10, 100, 560, 70, ftDateTime, d2024, d2024 + 12);
    TScale &months = add(sctXB, 10, 180, 560, 70, ftDateTime, d2024, d2024 + 366);
    months.DateFormat()->SetDateOrder(doYYMMDD);
    add(sctXB, 10, 260, 560, 70, ftDateTime, dayValueOf(QDate(2000, 1, 1)),
        dayValueOf(QDate(2010, 1, 1)));
    add(sctXT, 10, 340, 560, 70, ftTime, 0, 3600);
    TScale &ampm = add(sctXT, 10, 420, 560, 80, ftDateTime, d2024 - 0.25, d2024 + 0.25);
    ampm.DateFormat()->SetTimeFormat(tfAMPM);
    ampm.DateFormat()->SetDateForTime(dtAllTicks);
    ampm.SetMinTicks(6);
    add(sctXT, 10, 510, 560, 60, ftDateTime, 5, 1); // invalid

    // Vertical: hundredths of a second with the date line, negative day counts, and the
    // message of a too small span.
    TScale &hundredths =
        add(sctYL, 580, 10, 170, 600, ftDateTime, d2024 + 0.5, d2024 + 0.5 + 2.0 / 86400);
    hundredths.SetMinTicks(4);
    add(sctYR, 760, 10, 170, 400, ftDateTime, -1.5, -1.0).SetMinTicks(4);
    add(sctYR, 760, 420, 170, 190, ftDateTime, 1000, 1000 + 0.01 / 86400);

    for (auto &s : scales)
        s->PaintSuspended();
    const QString dir = QCoreApplication::applicationDirPath() + "/scale_pictures";
    QDir().mkpath(dir);
    ASSERT_TRUE(sheet.image().save(dir + "/datetime_scales.png"));
    EXPECT_EQ(scales.front()->NumTicks(), 13);
    EXPECT_EQ(scales[6]->NumTicks(), 0); // the invalid range
}
