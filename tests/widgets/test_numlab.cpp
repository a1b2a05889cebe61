// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Canvas.h"
#include "test_support.h"
#include "widgets/Zel_NumLab.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

constexpr TColor kField = rgbColor(200, 220, 255);
constexpr TColor kOutside = rgbColor(255, 240, 200);
constexpr TColor kMid = rgbColor(128, 128, 128);

// Columns (first, last) in which `color` occurs inside the rectangle; (-1, -1) when nowhere.
std::pair<int, int> inkColumns(const QImage &image, const QRect &area, TColor color)
{
    int first = -1;
    int last = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (pixelAt(image, x, y) == colorToRgb(color)) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

int textWidth(const TNumLab &lab, const QString &text)
{
    QImage image(1, 1, QImage::Format_RGB32);
    Canvas canvas(&image);
    canvas.Font().setData(lab.Font()->data());
    return canvas.TextWidth(text);
}

// A 160 x 28 read-out with distinct field and outer colours; the field runs from x = 35 to 115
// and its frame to 117.
void plainColours(TNumLab &lab)
{
    lab.SetColorLabBakG(kField);
    lab.SetColorOutBakG(kOutside);
}

} // namespace

TEST(NumLab, SettersRepaintOnlyOnRealChangesAndApplyTheirLimits)
{
    QWidget parent; // never shown
    TNumLab &lab = *new TNumLab(&parent);
    EXPECT_EQ(lab.size(), QSize(160, 28));
    lab.Repaint();
    EXPECT_EQ(lab.DisplayedText(), "0.00"); // dtFixP with two decimals
    int paints = lab.paintCount();
    auto repainted = [&] {
        const bool changed = lab.paintCount() != paints;
        paints = lab.paintCount();
        return changed;
    };
    lab.SetValue(1.5);
    EXPECT_TRUE(repainted());
    lab.SetValue(1.5);
    EXPECT_FALSE(repainted());
    lab.SetValue(-0.0); // equal to 0 as a number, but differs from 1.5
    EXPECT_TRUE(repainted());
    lab.SetValue(0.0);
    EXPECT_FALSE(repainted());
    lab.SetLeftText("Mass");
    EXPECT_TRUE(repainted());
    lab.SetLeftText("Mass");
    EXPECT_FALSE(repainted());
    lab.SetLeftText("mass"); // strings compare exactly
    EXPECT_TRUE(repainted());

    lab.SetPrecision(20);
    EXPECT_EQ(lab.Precision(), 15);
    EXPECT_TRUE(repainted());
    lab.SetPrecision(16); // becomes 15 again: no change
    EXPECT_FALSE(repainted());
    lab.SetPrecision(-1); // ignored
    EXPECT_EQ(lab.Precision(), 15);
    EXPECT_FALSE(repainted());

    lab.SetLeftSpace(500);
    EXPECT_EQ(lab.LeftSpace(), 160);
    EXPECT_TRUE(repainted());
    lab.SetLeftSpace(-4);
    EXPECT_EQ(lab.LeftSpace(), 160);
    EXPECT_FALSE(repainted());
    lab.SetLabelWidth(-3);
    EXPECT_EQ(lab.LabelWidth(), 0);
    EXPECT_TRUE(repainted());

    lab.SetFrameStyle(Zel::fsLowered);
    lab.SetColorScheme(Zel::csBWG);
    lab.SetTransparent(false);
    lab.SetComma(false);
    lab.SetDTFormat("mmm-dd, yyyy");
    EXPECT_FALSE(repainted());
    lab.SetColorScheme(Zel::csSystem);
    EXPECT_TRUE(repainted());
    EXPECT_EQ(lab.frameColors().Shadow, clBtnShadow);
    EXPECT_EQ(lab.frameColors().Highlight, clBtnHighlight);

    // Hidden or loading: nothing is composed until it is shown or has loaded.
    lab.setVisible(false);
    lab.SetValue(7);
    EXPECT_FALSE(repainted());
    lab.setVisible(true);
    repainted();
    lab.beginLoading();
    lab.SetValue(8);
    EXPECT_FALSE(repainted());
    lab.loaded();
    EXPECT_TRUE(repainted());
}

TEST(NumLab, FrameStylesAndColourSchemes)
{
    struct Row
    {
        TFrameStyle style;
        TColor outlineLeft, upperLeft, lowerRight;
    };
    const Row rows[] = {
        {Zel::fsNone, kField, kField, kOutside},  {Zel::fsSimple, kMid, kField, kOutside},
        {Zel::fsLowered, kMid, clBlack, clWhite}, {Zel::fsRaised, kMid, clWhite, clBlack},
        {Zel::fsEmbossed, clWhite, kMid, kMid},   {Zel::fsEngraved, kMid, clWhite, clWhite},
    };
    TNumLab lab;
    plainColours(lab);
    lab.SetEmpty(true);
    for (const Row &row : rows) {
        SCOPED_TRACE(int(row.style));
        lab.SetFrameStyle(row.style);
        const QImage &p = lab.picture();
        EXPECT_EQ(pixelAt(p, 35, 10), colorToRgb(row.outlineLeft));
        EXPECT_EQ(pixelAt(p, 36, 10), colorToRgb(row.upperLeft)); // left line of the pair
        EXPECT_EQ(pixelAt(p, 60, 1), colorToRgb(row.upperLeft));  // top line
        EXPECT_EQ(pixelAt(p, 117, 10), colorToRgb(row.lowerRight));
        EXPECT_EQ(pixelAt(p, 60, 5), colorToRgb(kField)); // empty field
        EXPECT_EQ(pixelAt(p, 20, 10), colorToRgb(kOutside));
        EXPECT_EQ(pixelAt(p, 140, 10), colorToRgb(kOutside));
        EXPECT_EQ(pixelAt(p, 117, 0), colorToRgb(kOutside)); // the right line stops below y 0
    }
    lab.SetFrameStyle(Zel::fsLowered);
    EXPECT_EQ(pixelAt(lab.picture(), 60, 27), clWhite);  // bottom line of the lower pair
    EXPECT_EQ(pixelAt(lab.picture(), 60, 26), kMid);     // outline ends one row higher
    EXPECT_EQ(pixelAt(lab.picture(), 36, 26), kMid);     // the upper pair starts above it
    EXPECT_EQ(pixelAt(lab.picture(), 117, 27), clWhite); // corner of the lower pair
    lab.SetColorScheme(Zel::csSystem);
    EXPECT_EQ(pixelAt(lab.picture(), 35, 10), colorToRgb(clBtnShadow));
}

TEST(NumLab, TextsAreAlignedInTheirAreas)
{
    TNumLab lab;
    plainColours(lab);
    lab.SetDisplayType(dtInt);
    lab.SetValue(88);
    lab.SetColorLabText(clRed);
    const int w = textWidth(lab, "88");
    const QRect field(38, 2, 76, 23); // the text's clip rectangle
    auto inkOfNumber = [&] { return inkColumns(lab.picture(), field, clRed); };

    lab.SetAlignment(Zel::taLeftJustify);
    auto [first, last] = inkOfNumber();
    EXPECT_GE(first, 39);
    EXPECT_LT(last, 39 + w);
    lab.SetAlignment(Zel::taRightJustify);
    std::tie(first, last) = inkOfNumber();
    EXPECT_GE(first, 113 - w);
    EXPECT_LT(last, 113);
    lab.SetAlignment(Zel::taCenter);
    std::tie(first, last) = inkOfNumber();
    EXPECT_GE(first, 35 + (80 - w) / 2 + 2);
    EXPECT_LT(last, 35 + (80 - w) / 2 + 2 + w);

    lab.SetLeftText("Ab");
    lab.SetRightText("kg");
    lab.SetColorOutText(clBlue);
    const int wl = textWidth(lab, "Ab");
    const int wr = textWidth(lab, "kg");
    const QRect leftArea(0, 0, 35, 28);
    const QRect rightArea(118, 0, 42, 28);
    lab.SetLeftTextAlignment(Zel::taLeftJustify);
    std::tie(first, last) = inkColumns(lab.picture(), leftArea, clBlue);
    EXPECT_GE(first, 7);
    EXPECT_LT(last, 7 + wl);
    lab.SetLeftTextAlignment(Zel::taRightJustify);
    std::tie(first, last) = inkColumns(lab.picture(), leftArea, clBlue);
    EXPECT_GE(first, 35 - wl - 5);
    EXPECT_LT(last, 35 - 5);
    lab.SetRightTextAlignment(Zel::taLeftJustify);
    std::tie(first, last) = inkColumns(lab.picture(), rightArea, clBlue);
    EXPECT_GE(first, 122);
    EXPECT_LT(last, 122 + wr);
    lab.SetRightTextAlignment(Zel::taRightJustify);
    std::tie(first, last) = inkColumns(lab.picture(), rightArea, clBlue);
    EXPECT_GE(first, 160 - wr - 6);
    EXPECT_LT(last, 160 - 6);
}

TEST(NumLab, DisabledTextsAreEmbossedInGrey)
{
    TNumLab lab;
    plainColours(lab);
    lab.SetLeftText("Ab");
    lab.SetRightText("kg");
    lab.SetRightTextAlignment(Zel::taRightJustify);
    lab.SetColorOutText(clBlue);
    lab.SetColorLabText(clRed);
    lab.SetValue(5);
    const int paints = lab.paintCount();
    lab.SetEnabled(false);
    EXPECT_FALSE(lab.Enabled());
    EXPECT_GT(lab.paintCount(), paints);
    const QImage &p = lab.picture();
    const QRect leftArea(0, 0, 35, 28);
    const QRect rightArea(118, 0, 42, 28);
    const QRect field(38, 2, 74, 23);
    EXPECT_EQ(inkColumns(p, leftArea, clBlue).first, -1);
    EXPECT_EQ(inkColumns(p, rightArea, clBlue).first, -1);
    EXPECT_EQ(inkColumns(p, field, clRed).first, -1);
    EXPECT_NE(inkColumns(p, field, clGray).first, -1);
    // The white copy lies one pixel to the right of the left text, one to the left of the
    // right-aligned right text.
    const auto leftGrey = inkColumns(p, leftArea, clGray);
    const auto leftWhite = inkColumns(p, leftArea, clWhite);
    ASSERT_NE(leftGrey.first, -1);
    EXPECT_EQ(leftWhite.second, leftGrey.second + 1);
    const auto rightGrey = inkColumns(p, rightArea, clGray);
    const auto rightWhite = inkColumns(p, rightArea, clWhite);
    ASSERT_NE(rightGrey.first, -1);
    EXPECT_EQ(rightWhite.first, rightGrey.first - 1);

    lab.SetEnabled(true);
    EXPECT_NE(inkColumns(lab.picture(), leftArea, clBlue).first, -1);
}

TEST(NumLab, TooWideTextsBecomeTheIndicatorExceptStates)
{
    TNumLab lab;
    lab.SetDisplayType(dtInt);
    lab.SetValue(123456);
    const int w = textWidth(lab, "123456");
    lab.SetLabelWidth(w + 6); // exactly fits
    EXPECT_EQ(lab.DisplayedText(), "123456");
    lab.SetLabelWidth(w + 5);
    EXPECT_EQ(lab.DisplayedText(), "*********");

    lab.SetDisplayType(dtState);
    lab.SetStateText("far too long a state for this field");
    EXPECT_EQ(lab.DisplayedText(), "far too long a state for this field");

    lab.SetDisplayType(dtInt);
    lab.SetLabelWidth(80);
    QString seen;
    lab.OnBeforeDisplay = [&seen](QObject *, QString &text) {
        seen = text;
        text = text + " kHz";
    };
    lab.SetValue(12);
    EXPECT_EQ(seen, "12");
    EXPECT_EQ(lab.DisplayedText(), "12 kHz");
    lab.OnBeforeDisplay = [](QObject *, QString &text) { text = QString(60, 'W'); };
    lab.SetValue(13);
    EXPECT_EQ(lab.DisplayedText(), "*********"); // the handler's text is measured too

    // Empty: frame and field only, and the handler is not asked.
    int calls = 0;
    lab.SetColorLabBakG(kField);
    lab.OnBeforeDisplay = [&calls](QObject *, QString &) { ++calls; };
    lab.SetEmpty(true);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(lab.DisplayedText(), "");
    EXPECT_EQ(inkColumns(lab.picture(), QRect(38, 2, 74, 23), clBlack).first, -1);
}

TEST(NumLab, TransferCopiesOrCombinesByAnd)
{
    constexpr TColor background = rgbColor(0x30, 0xA0, 0x50);
    Bitmap surface(200, 40);
    auto clearSurface = [&] {
        surface.canvas().Brush() = TBrush{background, Gfx::bsSolid};
        surface.canvas().FillRect(0, 0, 200, 40);
    };
    TNumLab lab;
    plainColours(lab);
    lab.SetDisplayType(dtInt);
    lab.SetValue(8);

    clearSurface();
    lab.PaintTo(surface.canvas(), 10, 5);
    EXPECT_EQ(pixelAt(surface.image(), 12, 10), kOutside);
    EXPECT_EQ(pixelAt(surface.image(), 9, 10), background);

    lab.SetTransparent(true);
    EXPECT_EQ(pixelAt(lab.picture(), 2, 2), clWhite);
    clearSurface();
    lab.PaintTo(surface.canvas(), 10, 5);
    const QImage &s = surface.image();
    EXPECT_EQ(pixelAt(s, 12, 10), background);                         // outside the field
    EXPECT_EQ(pixelAt(s, 10 + 35, 15), rgbColor(0x00, 0x80, 0x00));    // mid AND background
    EXPECT_EQ(pixelAt(s, 10 + 40, 5 + 5), kField);                     // the filled field
    EXPECT_EQ(pixelAt(s, 10 + 36, 15), clBlack);                       // dark frame line
    EXPECT_EQ(surface.canvas().CopyMode(), cmSrcCopy);                 // restored
    EXPECT_NE(inkColumns(s, QRect(48, 7, 74, 23), clBlack).first, -1); // black number

    // A coloured number is laid on white, so its pixels keep their colour.
    lab.SetColorLabText(clRed);
    clearSurface();
    lab.PaintTo(surface.canvas(), 10, 5);
    EXPECT_NE(inkColumns(surface.image(), QRect(48, 7, 74, 23), clRed).first, -1);
}

TEST(NumLab, TransparentControlLetsItsParentShowThrough)
{
    QWidget parent;
    parent.resize(200, 40);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(0x30, 0xA0, 0x50));
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    auto *lab = new TNumLab(&parent);
    lab->move(10, 5);
    plainColours(*lab);
    lab->SetTransparent(true);
    parent.setAttribute(Qt::WA_DontShowOnScreen);
    parent.show();
    QImage image(parent.size(), QImage::Format_RGB32);
    parent.render(&image);
    EXPECT_EQ(pixelAt(image, 12, 10), rgbColor(0x30, 0xA0, 0x50));
    EXPECT_EQ(pixelAt(image, 10 + 35, 15), rgbColor(0x00, 0x80, 0x00));
    EXPECT_EQ(pixelAt(image, 10 + 40, 5 + 5), kField);

    lab->SetTransparent(false);
    parent.render(&image);
    EXPECT_EQ(pixelAt(image, 12, 10), kOutside);
}

TEST(NumLab, AFieldNarrowerThanItsClipDrawsNoTextAndFillsNothing)
{
    // LabelWidth 0: the text's clip rectangle runs from x 38 back to 34, so nothing is drawn,
    // and the transparent fill from 37 back to 35 fills nothing either.
    QWidget parent;
    parent.resize(200, 40);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(0x30, 0xA0, 0x50));
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    auto *lab = new TNumLab(&parent);
    lab->move(10, 5);
    plainColours(*lab);
    lab->SetFrameStyle(Zel::fsNone);
    lab->SetColorLabText(clRed);
    lab->SetLabelWidth(0);
    EXPECT_EQ(lab->DisplayedText(), "*********");
    EXPECT_EQ(inkColumns(lab->picture(), QRect(0, 0, 160, 28), clRed).first, -1);

    lab->SetColorLabText(clBlack);
    lab->SetTransparent(true);
    parent.setAttribute(Qt::WA_DontShowOnScreen);
    parent.show();
    QImage screen(parent.size(), QImage::Format_RGB32);
    parent.render(&screen);
    Bitmap surface(200, 40);
    surface.canvas().Brush() = TBrush{rgbColor(0x30, 0xA0, 0x50), Gfx::bsSolid};
    surface.canvas().FillRect(0, 0, 200, 40);
    lab->PaintTo(surface.canvas(), 10, 5);
    // The field's own pixels AND the green background, on the screen as on a canvas.
    const TColor fieldAndGreen = rgbColor(0x00, 0x80, 0x50);
    EXPECT_EQ(pixelAt(surface.image(), 10 + 36, 15), fieldAndGreen);
    EXPECT_EQ(pixelAt(screen, 10 + 36, 15), fieldAndGreen);
}

TEST(NumLab, AssignCopiesTheListedSettingsOnly)
{
    // Published properties with a value other than the default.
    const std::pair<const char *, QVariant> copied[] = {
        {"LeftSpace", 50},
        {"Empty", true},
        {"LabelWidth", 60},
        {"Precision", 5},
        {"LeftText", "L"},
        {"RightText", "R"},
        {"FrameStyle", QVariant::fromValue(Zel::fsRaised)},
        {"Alignment", QVariant::fromValue(Zel::taLeftJustify)},
        {"RightTextAlignment", QVariant::fromValue(Zel::taCenter)},
        {"LeftTextAlignment", QVariant::fromValue(Zel::taCenter)},
        {"OverflowIndicator", "##"},
        {"Value", 42.5},
        {"StateText", "off"},
        {"Transparent", true},
        {"ColorLabBakG", clRed},
        {"ColorLabText", clBlue},
        {"ColorOutBakG", clGreen},
        {"ColorOutText", clOlive},
        {"ColorScheme", QVariant::fromValue(Zel::csSystem)},
        {"DisplayType", QVariant::fromValue(dtHex)},
    };
    const std::pair<const char *, QVariant> kept[] = {
        {"Comma", true}, {"ForcePlusSign", true}, {"DTFormat", "yyyy"}, {"Enabled", false}};
    TNumLab source;
    for (const auto &[name, value] : copied)
        ASSERT_TRUE(source.setProperty(name, value)) << name;
    for (const auto &[name, value] : kept)
        ASSERT_TRUE(source.setProperty(name, value)) << name;

    TNumLab target;
    const int paints = target.paintCount();
    target.Assign(&source);
    EXPECT_GT(target.paintCount(), paints);
    for (const auto &[name, value] : copied)
        EXPECT_EQ(target.property(name), source.property(name)) << name;
    EXPECT_EQ(target.frameColors().Shadow, clBtnShadow);
    const TNumLab fresh;
    for (const auto &[name, value] : kept)
        EXPECT_EQ(target.property(name), fresh.property(name)) << name;

    TNumLab third;
    source.AssignTo(&third);
    EXPECT_EQ(third.Value(), 42.5);
    QObject other;
    EXPECT_THROW(target.Assign(&other), EZelError);
    EXPECT_THROW(target.Assign(nullptr), EZelError);
    EXPECT_THROW(source.AssignTo(&other), EZelError);
}

TEST(NumLab, MouseAreaIsKnownBeforeTheMoveHandlerRuns)
{
    TNumLab lab; // left area up to x 35, field up to 115
    std::vector<int> seen;
    lab.OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, int, int) {
        seen.push_back(lab.MouseArea());
    };
    for (const int x : {35, 36, 115, 116, 0}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 10), QPointF(x, 10), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&lab, &move);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 1, 2, 0}));
}

TEST(NumLab, FontFollowsTheParentUntilSetItself)
{
    QWidget parent;
    QFont big = parent.font();
    big.setPixelSize(20);
    parent.setFont(big);
    auto *lab = new TNumLab(&parent);
    EXPECT_TRUE(lab->ParentFont());
    EXPECT_EQ(lab->Font()->Height(), -20);
    big.setPixelSize(24);
    parent.setFont(big);
    EXPECT_EQ(lab->Font()->Height(), -24);
    lab->Font()->SetHeight(-11);
    EXPECT_FALSE(lab->ParentFont());
    big.setPixelSize(30);
    parent.setFont(big);
    EXPECT_EQ(lab->Font()->Height(), -11);
}
