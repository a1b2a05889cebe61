// SPDX-License-Identifier: GPL-3.0-or-later
// Texts and fonts on the canvas: where a text box lands, its background, its measurements,
// and how font descriptions become installed faces.

#include "platform/Canvas.h"
#include "test_support.h"

#include <QFontInfo>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr QRgb whiteRgb = 0xFFFFFFu;

// The smallest rectangle holding every pixel that is not the given background colour.
QRect inkBounds(const QImage &image, QRgb background = whiteRgb)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (rgbAt(image, x, y) != background)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

void useFont(Canvas &c, const char *face, int height)
{
    c.Font().SetName(QString::fromLatin1(face));
    c.Font().SetHeight(height);
}

} // namespace

TEST(CanvasText, TextBoxTopLeftIsAtThePoint)
{
    const QString text = QStringLiteral("Hgl|");
    Bitmap bmp(90, 40);
    Canvas &c = bmp.canvas();
    useFont(c, "Arial", -16);
    c.Brush().Style = Gfx::bsClear;
    c.TextOut(7, 5, text);
    const QRect box(7, 5, c.TextWidth(text), c.TextHeight(text));
    const QRect ink = inkBounds(bmp.image());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(box.contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    // The glyphs fill the box's height down to the descender ('g', '|'), and start at its
    // left edge give or take the side bearing.
    EXPECT_LE(ink.left() - box.left(), 2);
    EXPECT_GE(ink.bottom(), box.top() + c.textAscent());
    // Moving the point moves the picture by exactly as much.
    Bitmap moved(90, 40);
    useFont(moved.canvas(), "Arial", -16);
    moved.canvas().Brush().Style = Gfx::bsClear;
    moved.canvas().TextOut(10, 9, text);
    EXPECT_EQ(moved.image().copy(box.translated(3, 4)), bmp.image().copy(box));
}

TEST(CanvasText, BackgroundFollowsTheBrushUnlessTold)
{
    const QString text = QStringLiteral("Ab");
    Bitmap bmp(60, 50);
    Canvas &c = bmp.canvas();
    useFont(c, "Arial", -13);
    c.Brush().Color = clYellow;
    c.TextOut(4, 3, text);
    const QRect box(4, 3, c.TextWidth(text), c.TextHeight(text));
    EXPECT_EQ(inkBounds(bmp.image()), box);
    int yellow = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            yellow += rgbAt(bmp.image(), x, y) == 0xFFFF00u ? 1 : 0;
    EXPECT_GT(yellow, box.width() * box.height() / 2);

    // The same text with a transparent background leaves the picture around the glyphs.
    c.setBkMode(BkMode::Transparent);
    c.TextOut(4, 25, text);
    EXPECT_TRUE(QRect(4, 25, box.width(), box.height())
                    .contains(inkBounds(bmp.image().copy(0, 22, 60, 28)).translated(0, 22)));
    EXPECT_EQ(rgbAt(bmp.image(), 4, 25), whiteRgb);
    // A clear brush with an opaque mode forced fills in the brush colour all the same.
    c.Brush().Style = Gfx::bsClear;
    c.setBkMode(BkMode::Opaque);
    c.TextOut(30, 25, text);
    EXPECT_EQ(rgbAt(bmp.image(), 30, 25), 0xFFFF00u);
}

TEST(CanvasText, TextUsesTheFontColourWhateverThePenMode)
{
    Bitmap bmp(50, 24);
    Canvas &c = bmp.canvas();
    useFont(c, "Arial", -14);
    c.Font().SetColor(clRed);
    c.Pen().Mode = Gfx::pmXor;
    c.Pen().Color = clWhite;
    c.Brush().Style = Gfx::bsClear;
    c.TextOut(2, 2, QStringLiteral("MW"));
    int red = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 50; ++x) {
            const QRgb rgb = rgbAt(bmp.image(), x, y);
            EXPECT_TRUE(rgb == whiteRgb || rgb == 0xFF0000u) << x << "," << y;
            red += rgb == 0xFF0000u ? 1 : 0;
        }
    EXPECT_GT(red, 20);
}

TEST(CanvasText, AlignmentNamesAnotherPointOfTheBox)
{
    const QString text = QStringLiteral("Wide text");
    Bitmap bmp(120, 60);
    Canvas &c = bmp.canvas();
    useFont(c, "Arial", -13);
    c.Brush().Color = clRed;
    const int w = c.TextWidth(text);
    const int h = c.TextHeight(text);
    c.setTextAlign(TextAlignH::Right, TextAlignV::Bottom);
    c.TextOut(110, 50, text);
    EXPECT_EQ(inkBounds(bmp.image()), QRect(110 - w, 50 - h, w, h));

    Bitmap centred(120, 60);
    Canvas &cc = centred.canvas();
    useFont(cc, "Arial", -13);
    cc.Brush().Color = clRed;
    cc.setTextAlign(TextAlignH::Center, TextAlignV::Baseline);
    cc.TextOut(60, 30, text);
    EXPECT_EQ(inkBounds(centred.image()), QRect(60 - w / 2, 30 - cc.textAscent(), w, h));
}

TEST(CanvasText, TextRectClipsTheTextAndFillsTheWholeRectangle)
{
    Bitmap bmp(80, 30);
    Canvas &c = bmp.canvas();
    useFont(c, "Arial", -20);
    c.Brush().Color = clLime;
    const QRect rect(10, 5, 30, 12);
    c.TextRect(rect, 0, 0, QStringLiteral("WWWWWWWW"));
    EXPECT_EQ(inkBounds(bmp.image()), rect);
    bool glyphInside = false;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            glyphInside |= rgbAt(bmp.image(), x, y) == 0;
    EXPECT_TRUE(glyphInside);
}

TEST(CanvasText, SameTextDrawsTheSamePixels)
{
    const auto draw = [] {
        Bitmap bmp(100, 30);
        Canvas &c = bmp.canvas();
        useFont(c, "Courier New", -15);
        c.Font().SetStyle(Gfx::fsItalic);
        c.Brush().Style = Gfx::bsClear;
        c.TextOut(3, 4, QStringLiteral("12.50 kg ÄÖÜ"));
        return bmp.image().copy();
    };
    EXPECT_EQ(draw(), draw());
}

TEST(CanvasFonts, NegativeHeightIsTheCharacterHeightPositiveTheCellHeight)
{
    Bitmap bmp(10, 10);
    Canvas &c = bmp.canvas();
    useFont(c, "Arial", -20);
    const int characterHeight20 = c.TextHeight(QStringLiteral("X"));
    EXPECT_GT(characterHeight20, 20); // the cell adds the internal leading
    c.Font().SetHeight(20);
    const int cellHeight20 = c.TextHeight(QStringLiteral("X"));
    EXPECT_LE(cellHeight20, 20);
    EXPECT_GE(cellHeight20, 19);
    const int cellWidth = c.TextWidth(QStringLiteral("XXXX"));
    c.Font().SetHeight(-20);
    EXPECT_LT(cellWidth, c.TextWidth(QStringLiteral("XXXX")));
    // Height 0 asks for the default 8 points.
    c.Font().SetHeight(0);
    const int defaultHeight = c.TextHeight(QStringLiteral("X"));
    c.Font().SetSize(8);
    EXPECT_EQ(c.TextHeight(QStringLiteral("X")), defaultHeight);
}

TEST(CanvasFonts, FacesMapOntoInstalledFamilies)
{
    FontData data;
    data.name = QStringLiteral("Arial");
    EXPECT_EQ(QFontInfo(toQFont(data)).family(), QStringLiteral("Liberation Sans"));
    data.name = QStringLiteral("Courier New");
    EXPECT_EQ(QFontInfo(toQFont(data)).family(), QStringLiteral("Liberation Mono"));
    data.name = QStringLiteral("MS Sans Serif");
    QFont sans;
    sans.setStyleHint(QFont::SansSerif);
    EXPECT_EQ(QFontInfo(toQFont(data)).family(), QFontInfo(sans).family());

    Bitmap bmp(10, 10);
    Canvas &c = bmp.canvas();
    useFont(c, "Courier New", -13);
    EXPECT_EQ(c.TextWidth(QStringLiteral("iiii")), c.TextWidth(QStringLiteral("WWWW")));
    useFont(c, "Arial", -13);
    EXPECT_LT(c.TextWidth(QStringLiteral("iiii")), c.TextWidth(QStringLiteral("WWWW")));
    // Widths add up: no kerning between characters.
    EXPECT_EQ(c.TextWidth(QStringLiteral("AVAV")), 2 * c.TextWidth(QStringLiteral("AV")));
    const int regular = c.TextWidth(QStringLiteral("Resolution"));
    c.Font().SetStyle(Gfx::fsBold);
    EXPECT_GT(c.TextWidth(QStringLiteral("Resolution")), regular);
}

TEST(CanvasFonts, UnderlineAndStrikeOutDrawLines)
{
    const auto inkOf = [](TFontStyles style) {
        Bitmap bmp(60, 30);
        Canvas &c = bmp.canvas();
        useFont(c, "Arial", -16);
        c.Font().SetStyle(style);
        c.Brush().Style = Gfx::bsClear;
        c.TextOut(2, 2, QStringLiteral("ooo"));
        return bmp.image().copy();
    };
    const QImage plain = inkOf({});
    const QImage underlined = inkOf(Gfx::fsUnderline);
    const QImage struck = inkOf(Gfx::fsStrikeOut);
    EXPECT_NE(plain, underlined);
    EXPECT_NE(plain, struck);
    // The underline lies below the letters, which sit on the baseline.
    EXPECT_GT(inkBounds(underlined).bottom(), inkBounds(plain).bottom());
}

TEST(CanvasFonts, SizeAndHeightConvertAtTheFontsDensity)
{
    TFont font;
    EXPECT_EQ(font.Name(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(font.Height(), -13);
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Color(), clWindowText);
    EXPECT_EQ(font.Charset(), fontCharsetDefault);
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -17); // 10 * 120 / 72 = 16.7
    font.SetPixelsPerInch(96);
    EXPECT_EQ(font.Height(), -17);
    EXPECT_EQ(font.Size(), 13); // 17 * 72 / 96 = 12.75

    EXPECT_EQ(mulDiv(8, 120, 72), 13);
    EXPECT_EQ(mulDiv(5, 3, 2), 8);
    EXPECT_EQ(mulDiv(-5, 3, 2), -8);
    EXPECT_EQ(mulDiv(7, -1, 2), -4);
    EXPECT_EQ(mulDiv(1, 1, 0), -1);
}

TEST(CanvasFonts, ChangesNotifyOnlyWhenTheValueChanges)
{
    TFont font;
    int notified = 0;
    QObject *sender = nullptr;
    font.OnChange = [&](QObject *s) {
        ++notified;
        sender = s;
    };
    font.SetHeight(-13);
    font.SetName(QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(notified, 0);
    font.SetColor(clRed);
    font.SetStyle(Gfx::fsBold | Gfx::fsItalic);
    EXPECT_EQ(notified, 2);
    EXPECT_EQ(sender, &font);

    TFont source;
    source.SetName(QStringLiteral("Arial"));
    source.SetHeight(-16);
    font.Assign(source);
    EXPECT_EQ(notified, 3);
    EXPECT_EQ(font.Name(), QStringLiteral("Arial"));
    EXPECT_EQ(font.Style(), TFontStyles());
    EXPECT_EQ(font.Color(), source.Color());
    font.Assign(source);
    EXPECT_EQ(notified, 3);
}

// The drawn-box recorder tells the chart where an axis lies, so that a moved window redraws
// only that strip: every pixel a call changes must lie inside the box it records, also for
// the parts a clip rectangle keeps from being drawn, and a text wholly outside the clip is
// skipped without changing a pixel.
TEST(CanvasText, DrawnBoxHoldsEveryPixelACallChanges)
{
    struct Case
    {
        const char *name;
        std::function<void(Canvas &)> draw;
    };
    const std::vector<Case> cases = {
        {"thin line",
         [](Canvas &c) {
             c.MoveTo(3, 70);
             c.LineTo(110, 4);
         }},
        {"wide line",
         [](Canvas &c) {
             c.Pen().Width = 7;
             c.MoveTo(20, 20);
             c.LineTo(90, 60);
         }},
        {"polygon",
         [](Canvas &c) {
             c.Polygon({{10, 10}, {100, 30}, {40, 75}});
         }},
        {"rectangle",
         [](Canvas &c) {
             c.Pen().Width = 5;
             c.Rectangle(15, 12, 80, 50);
         }},
        {"ellipse", [](Canvas &c) { c.Ellipse(5, 5, 110, 70); }},
        {"fill",
         [](Canvas &c) {
             c.Brush().Color = clRed;
             c.FillRect(QRect(30, 30, 20, 9));
         }},
        {"italic text",
         [](Canvas &c) {
             useFont(c, "Arial", -22);
             c.Font().SetStyle(Gfx::fsItalic);
             c.Brush().Style = Gfx::bsClear;
             c.TextOut(4, 20, QStringLiteral("fjWg/"));
         }},
        {"text on its box", [](Canvas &c) { c.TextOut(60, 50, QStringLiteral("Ag")); }},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        for (const bool clipped : {false, true}) {
            Bitmap plain(120, 80), recorded(120, 80);
            test.draw(plain.canvas());
            QRect box;
            recorded.canvas().setDrawnBoxRecorder(&box);
            if (clipped)
                recorded.canvas().setClipRect(QRect(0, 0, 30, 30));
            test.draw(recorded.canvas());
            const QRect ink = inkBounds(plain.image());
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_TRUE(box.contains(ink))
                << "ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
        }
    }

    Bitmap bmp(120, 80);
    bmp.canvas().setClipRect(QRect(0, 0, 120, 10));
    bmp.canvas().Brush().Style = Gfx::bsClear;
    bmp.canvas().TextOut(10, 30, QStringLiteral("outside"));
    bmp.canvas().TextOut(10, 2, QStringLiteral("inside"));
    EXPECT_EQ(inkBounds(bmp.image()).bottom(), 9);
}
