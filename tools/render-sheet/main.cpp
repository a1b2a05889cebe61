// SPDX-License-Identifier: GPL-3.0-or-later
// render-sheet: draws one sheet of every kind of picture the component library makes and
// writes it as a PNG file, so that a change to the drawing code can be checked against an
// earlier sheet byte for byte (cmp). Nothing on the sheet is random or depends on the clock.
//
// The sheet holds two charts with every item kind (lines and polylines in several pens, marks
// of every shape code and some character codes, rectangles, framed rectangles in every frame
// style, 3-D bars, ellipses, boxes, texts, relative moves and lines, arrows), on linear,
// logarithmic and reversed layers, with grids, crosshairs, text labels in every mode, an area
// band and a drop shadow; the data area of the first chart once more in monochrome; eight
// standalone scales (all four scale types; numbers, logarithmic, time, date/time and user
// texts; every frame style); every marker symbol on a screen and on a printer canvas; frames;
// and ellipses in every kind of pen.
//
// Usage: render-sheet [--ratio R] OUTPUT.png   (runs on the offscreen platform unless told
// otherwise). With --ratio the sheet is drawn at R device pixels per design pixel, as on a
// screen of that density.

#include "chart/Zel_rchart.h"
#include "platform/Canvas.h"
#include "platform/Fonts.h"
#include "platform/PixelRatio.h"
#include "scales/Zel_Scale.h"
#include "scales/Zel_zelbase.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr TColor kGreen = 47360; // the trace green of the program
constexpr TColor kOrange = rgbColor(255, 128, 0);
constexpr TColor kTeal = rgbColor(0, 128, 128);
constexpr TColor kPurple = rgbColor(128, 0, 160);

// Every item kind on the linear layer 1 (0..100 both ways) and a few on the logarithmic
// layer 2, with the picture settings around them.
void fillItemChart(TRChart &chart)
{
    chart.SetBounds(0, 0, 720, 520);
    chart.SetStandardLayout(RChart::rcl_X1Bottom_Y2Left);
    chart.SetCaption(QStringLiteral("Items"));
    chart.SetShadowWidth(6);
    chart.SetShadowStyle(RChart::ssBox);
    chart.SetChartColor(rgbColor(250, 250, 240));
    chart.SetGridStyle(RChart::gsDotLines);
    chart.SetGridDx(10);
    chart.SetGridDy(0);
    chart.SetGridColor(clGray);
    chart.SetTextBkStyle(RChart::tbSolid);
    chart.SetTextBkColor(rgbColor(230, 240, 255));
    chart.SetTextFontStyle(Gfx::fsBold);
    chart.BackGroundImg()->SetAreaMode(RChart::bamVStripe);
    chart.BackGroundImg()->SetAreaColor(rgbColor(235, 255, 235));
    chart.BackGroundImg()->SetAreaLeft(62);
    chart.BackGroundImg()->SetAreaRight(78);
    chart.LayerScaleX(1)->SetCaption(QStringLiteral("x"));
    chart.LayerScaleY(1)->SetCaption(QStringLiteral("y"));
    chart.LayerScaleX(2)->SetLogarithmic(false);
    chart.SetLayerRange(1, 0, 0, 100, 100);
    chart.SetLayerRange(2, 1, 1, 1e4, 1e3);
    chart.LayerScaleX(2)->SetLogarithmic(true);
    chart.LayerScaleY(2)->SetLogarithmic(true);
    chart.LayerScaleY(2)->SetCaption(QStringLiteral("log"));

    // A trace of line-to items in runs of changing attributes.
    chart.SetActiveLayer(1);
    chart.SetDataColor(kGreen);
    chart.AddMoveTo(0, 50);
    for (int i = 0; i <= 400; ++i) {
        if (i == 150)
            chart.SetDataColor(clRed);
        if (i == 250) {
            chart.SetPenStyle(Gfx::psDash);
            chart.SetLineWidth(1);
        }
        if (i == 320) {
            chart.SetPenStyle(Gfx::psSolid);
            chart.SetLineWidth(3);
        }
        const double x = i * 0.25;
        chart.AddLineTo(x, 50 + 20 * std::sin(x * 0.37) + 7.25 * std::cos(x * 1.91));
    }
    chart.SetLineWidth(1);
    chart.SetPenStyle(Gfx::psDot);
    chart.SetDataColor(clBlue);
    chart.AddMoveTo(0, 5.5);
    chart.AddLineTo(100, 12.5);
    chart.SetPenStyle(Gfx::psDashDot);
    chart.AddMoveTo(0, 8);
    chart.AddLineTo(100, 15);
    chart.SetPenStyle(Gfx::psDashDotDot);
    chart.AddMoveTo(0, 10.5);
    chart.AddLineTo(100, 17.5);
    chart.SetPenStyle(Gfx::psSolid);

    // Marks 0..51 in rows, then some character marks.
    chart.SetDataColor(clBlack);
    for (int code = 0; code <= 51; ++code)
        chart.AddMark(3 + (code % 13) * 7.5, 93 - (code / 13) * 5.5, code);
    chart.SetDataColor(kPurple);
    const int characters[] = {52, 65, 97, 128, 133, 149, 153, 160, 169, 215, 248, 255};
    for (int i = 0; i < 12; ++i)
        chart.AddMark(3 + i * 7.5, 70, characters[i]);

    // Lines, rectangles, ellipses and boxes, filled and transparent.
    chart.SetDataColor(kTeal);
    chart.SetFillColor(rgbColor(255, 220, 120));
    chart.AddLine(2, 62, 20, 66.5);
    chart.AddLine(22, 64, 22, 64); // one pixel
    chart.AddRect(24, 60, 31, 66);
    chart.AddRect(33, 60, 40, 66, true);
    chart.AddEllipse(46, 63, 4, 3);
    chart.AddEllipse(56, 63, 4.5, 2.5, true);
    chart.AddEllipse(61, 63, 0.01, 0.01);
    chart.AddBox(66, 63, 5, 4);
    chart.AddBox(74, 63, 3, 6, true);
    chart.AddBox(80, 63, 0, 0);

    // Framed rectangles in every frame style, and 3-D bars.
    const TFrameStyle frames[] = {Zel::fsNone,   Zel::fsSimple,   Zel::fsLowered,
                                  Zel::fsRaised, Zel::fsEmbossed, Zel::fsEngraved};
    for (int i = 0; i < 6; ++i)
        chart.AddFramedRect(2 + i * 8, 52, 8 + i * 8, 58, frames[i], clWhite, clGray);
    chart.SetFillColor(rgbColor(160, 200, 255));
    chart.AddBar3D(52, 30, 58, 55, 6, 30);
    chart.AddBar3D(62, 30, 68, 50, 8, 135);
    chart.AddBar3D(72, 30, 76, 45, 0, 90);

    // Texts in the three alignments and with pixel offsets.
    chart.SetDataColor(clMaroon);
    chart.AddText(20, 45, QStringLiteral("left"), 8, Zel::taLeftJustify);
    chart.AddText(20, 41, QStringLiteral("right"), 9, Zel::taRightJustify);
    chart.AddText(20, 37, QStringLiteral("centre"), 10);
    chart.AddTextOfs(35, 45, 5, -3, QStringLiteral("offset"), 8);
    chart.AddTextOfs(35, 40, -4, 6, QStringLiteral("\xe9t\xe9 \xb5"), 11, Zel::taCenter);

    // Relative moves and lines, and arrows in every direction, open and closed.
    chart.SetDataColor(kOrange);
    chart.AddMoveTo(80, 40);
    chart.AddLineRel(12, 0);
    chart.AddLineRel(0, -12);
    chart.AddMoveRel(-6, 3);
    chart.AddLineRel(-5, 5);
    chart.AddLineRel(0, 0);
    chart.SetFillColor(kOrange);
    chart.AddArrow(84, 20, 96, 20, 8);
    chart.AddArrow(96, 24, 84, 24, 6, true);
    chart.AddArrow(90, 6, 90, 18, 7);
    chart.AddArrow(94, 18, 94, 6, 7, true);
    chart.AddArrow(80, 6, 88, 14, 10);
    chart.AddArrow(80, 2, 86, 2, 0);
    chart.AddArrow(70, 2, 70, 2, 5);

    // Items far outside the plot (the pixel limit) and a class and a layer that are hidden.
    chart.SetDataColor(clBlack);
    chart.AddMoveTo(40, 25);
    chart.AddLineTo(1e12, 26);
    chart.AddLine(45, 25, -1e15, -1e15);
    chart.AddMark(1e200, 50, 24);
    chart.SetClassDefault(7);
    chart.AddRect(0, 0, 100, 100);
    chart.SetClassVisible(7, false);
    chart.SetClassDefault(0);

    // The logarithmic layer: a decade trace, marks and an ellipse.
    chart.SetActiveLayer(2);
    chart.SetDataColor(clBlue);
    chart.AddMoveTo(1, 2);
    for (int i = 1; i <= 80; ++i) {
        const double x = std::pow(10.0, i / 20.0);
        chart.AddLineTo(x, 2 + 300 * std::exp(-std::pow(std::log10(x) - 2.2, 2) * 3));
    }
    chart.AddMark(30, 500, 24);
    chart.AddMark(3000, 50, 17);
    chart.AddMark(0, 50, 9); // at or below the floor: the axis's low edge
    chart.AddEllipse(200, 20, 50, 5, true);
    chart.SetActiveLayer(1);

    // Crosshairs and text labels.
    TCrossHair hair;
    hair.SetMode(Zel::chBoth);
    hair.SetPosX(37.5);
    hair.SetPosY(28.25);
    hair.SetColor(clRed);
    chart.SetCrossHair(1, &hair);
    hair.SetMode(Zel::chVert);
    hair.SetPosX(71.5);
    hair.SetLineWid(3);
    hair.SetLineType(Gfx::psDash);
    hair.SetColor(clBlue);
    chart.SetCrossHair(2, &hair);
    hair.SetMode(Zel::chHoriz);
    hair.SetLayer(2);
    hair.SetPosY(100);
    hair.SetLineWid(2);
    hair.SetLineType(Gfx::psSolid);
    hair.SetColor(kPurple);
    chart.SetCrossHair(3, &hair);

    const TTxtLblMode modes[] = {Zel::tlsimple, Zel::tlBox, Zel::tlUnderline, Zel::tlShadow,
                                 Zel::tlBox};
    const TAlignment alignments[] = {Zel::taLeftJustify, Zel::taCenter, Zel::taRightJustify,
                                     Zel::taCenter, Zel::taLeftJustify};
    const TVerticalAlignment verticals[] = {Zel::vaTop, Zel::vaCenter, Zel::vaBottom, Zel::vaTop,
                                            Zel::vaBottom};
    for (int i = 0; i < 5; ++i) {
        TTextLabel *label = chart.TextLabel(i + 1);
        label->SetMode(modes[i]);
        label->SetAlignment(alignments[i]);
        label->SetVerticalAlignment(verticals[i]);
        label->SetPosX(10 + i * 18);
        label->SetPosY(20);
        label->SetCaption(i == 3 ? QStringLiteral("two\nlines")
                                 : QStringLiteral("label %1").arg(i));
        label->SetTransparent(i == 4);
        label->SetVisible(true);
    }
    TTextLabel *pixels = chart.TextLabel(6);
    pixels->SetAttachToData(Zel::tlamNone);
    pixels->SetPosX(120);
    pixels->SetPosY(60);
    pixels->SetMode(Zel::tlShadow);
    pixels->SetCaption(QStringLiteral("pixels"));
    pixels->SetVisible(true);
    TTextLabel *halfway = chart.TextLabel(7);
    halfway->SetAttachToData(Zel::tlamXOnly);
    halfway->SetPosX(50);
    halfway->SetPosY(420);
    halfway->SetMode(Zel::tlUnderline);
    halfway->SetCaption(QStringLiteral("x only"));
    halfway->SetVisible(true);
}

// Logarithmic and reversed axes with the recorded-tick grid, a time axis on layer 2 and a
// date/time axis on layer 3.
void fillAxisChart(TRChart &chart)
{
    chart.SetBounds(0, 0, 480, 400);
    chart.SetStandardLayout(RChart::rcl_X2Both_Y2Both);
    chart.SetChartColor(clBlack);
    chart.SetGridStyle(RChart::gsLines);
    chart.SetGridColor(rgbColor(40, 60, 40));
    chart.SetGridDx(-2);
    chart.SetGridDy(0);
    chart.SetShadowWidth(4);
    chart.SetCaption(QStringLiteral("Axes"));
    chart.SetCaptionAnchorHoriz(RChart::cahChartCenter);
    chart.SetCaptionAlignment(Zel::taCenter);
    chart.SetLayerRange(1, 1, 100, 1e5, -50);
    chart.LayerScaleX(1)->SetLogarithmic(true);
    chart.LayerScaleX(1)->SetCaption(QStringLiteral("log x"));
    chart.LayerScaleY(1)->SetCaption(QStringLiteral("reversed"));
    chart.LayerScaleX(2)->SetLabelType(ftTime);
    chart.LayerScaleY(2)->SetLabelType(ftDateTime);
    chart.SetLayerRange(2, 0, 43000, 7300, 43010.5);

    chart.SetActiveLayer(1);
    chart.SetDataColor(kGreen);
    chart.AddMoveTo(1, 0);
    for (int i = 0; i <= 500; ++i) {
        const double x = std::pow(10.0, i / 100.0);
        chart.AddLineTo(x, 40 * std::sin(i * 0.05) + 20);
    }
    chart.SetDataColor(clYellow);
    for (int code : {1, 5, 9, 14, 17, 24, 33, 48})
        chart.AddMark(std::pow(10.0, 0.5 + code / 12.0), -30, code);
    chart.SetDataColor(clWhite);
    chart.AddText(1000, 80, QStringLiteral("log"), 9);
    chart.SetActiveLayer(2);
    chart.SetDataColor(clAqua);
    chart.AddLine(600, 43001, 6800, 43009.5);
    chart.AddRect(1000, 43002, 2000, 43004, true);

    TCrossHair hair;
    hair.SetMode(Zel::chBoth);
    hair.SetPosX(300);
    hair.SetPosY(0);
    hair.SetColor(clWhite);
    hair.SetLineType(Gfx::psDot);
    chart.SetCrossHair(4, &hair);
}

// Eight standalone scales: every scale type, every label kind, every frame style.
std::vector<TScale *> makeScales(QWidget &parent)
{
    std::vector<TScale *> scales;
    const auto add = [&](TScaleType type, int x, int y, int w, int h) {
        auto *scale = new TScale(&parent);
        scale->SetBounds(x, y, w, h);
        scale->SetScaleType(type);
        scales.push_back(scale);
        return scale;
    };

    TScale *linear = add(sctXB, 1220, 10, 400, 70);
    linear->SetRangeLow(-12.5);
    linear->SetRangeHigh(87.5);
    linear->SetCaption(QStringLiteral("linear"));
    linear->SetScaleInscript(QStringLiteral("& kg"));

    TScale *log = add(sctXT, 1220, 90, 400, 70);
    log->SetFrameStyle(Zel::fsRaised);
    log->SetRangeLow(0.02);
    log->SetRangeHigh(3e4);
    log->SetLogarithmic(true);
    log->SetDecPlaces(-3);
    log->SetMinTicks(10);
    log->SetCaption(QStringLiteral("log"));
    log->SetCaptionAnchor(uaSclBotRgt);

    TScale *time = add(sctYL, 1220, 170, 110, 300);
    time->SetFrameStyle(Zel::fsEmbossed);
    time->SetLabelType(ftTime);
    time->SetRangeLow(0);
    time->SetRangeHigh(5400);
    time->SetCaption(QStringLiteral("time"));

    TScale *dates = add(sctYR, 1340, 170, 150, 300);
    dates->SetFrameStyle(Zel::fsEngraved);
    dates->SetColorScheme(Zel::csSystem);
    dates->SetLabelType(ftDateTime);
    dates->SetRangeLow(44000);
    dates->SetRangeHigh(44095);
    dates->DateFormat()->SetDateOrder(ZelDT::doYYMMDD);
    dates->DateFormat()->SetMonthName(false);

    TScale *user = add(sctXB, 1220, 480, 400, 60);
    user->SetFrameStyle(Zel::fsSimple);
    user->SetLabelType(ftUserText);
    user->SetUserTickText(QStringLiteral("one|two|three|"));
    user->SetColorScale(clBlue);
    user->SetColorBackGnd(rgbColor(255, 255, 225));

    TScale *reversed = add(sctYL, 1500, 170, 120, 300);
    reversed->SetFrameStyle(Zel::fsNone);
    reversed->SetRangeLow(1e-3);
    reversed->SetRangeHigh(-2e-3);
    reversed->SetDecPlaces(-1);
    reversed->SetShortTicks(false);

    TScale *dense = add(sctXT, 1220, 550, 400, 60);
    dense->SetFrameStyle(Zel::fsLowered);
    dense->SetRangeLow(-3);
    dense->SetRangeHigh(40);
    dense->SetMinTicks(0);
    dense->SetShowBaseLine(false);
    dense->SetCaption(QStringLiteral("every integer"));
    dense->SetCaptionAlignment(Zel::taLeftJustify);

    TScale *dayTime = add(sctXB, 1220, 620, 400, 70);
    dayTime->SetLabelType(ftDateTime);
    dayTime->SetRangeLow(45000.25);
    dayTime->SetRangeHigh(45000.75);
    dayTime->DateFormat()->SetTimeFormat(ZelDT::tfAMPM);
    return scales;
}

// Every marker code on a screen and on a printer canvas, in two brush styles.
QImage markerSheet(double ratio)
{
    Bitmap bitmap;
    bitmap.setDevicePixelRatio(ratio);
    bitmap.SetSize(720, 200);
    for (int pass = 0; pass < 4; ++pass) {
        Canvas &c = bitmap.canvas();
        c.setTreatAsPrinter(pass >= 2);
        c.Brush() = TBrush{rgbColor(255, 255, 200), pass % 2 ? Gfx::bsClear : Gfx::bsSolid};
        c.Pen().Color = pass % 2 ? clBlue : clBlack;
        c.Font().SetColor(clGreen);
        c.Font().SetHeight(-12);
        const int y0 = 10 + pass * 48;
        for (int code = 0; code < 64; ++code) {
            const int x = 8 + (code % 32) * 22;
            const int y = y0 + (code / 32) * 22;
            DrawMarker(c, code < 52 ? code : 40 + code * 3, x, y);
        }
    }
    bitmap.canvas().setTreatAsPrinter(false);
    return bitmap.image().copy();
}

// Frames in every style and scheme, and ellipses in every kind of pen.
QImage shapeSheet(double ratio)
{
    Bitmap bitmap;
    bitmap.setDevicePixelRatio(ratio);
    bitmap.SetSize(720, 260);
    Canvas &c = bitmap.canvas();
    c.Brush() = TBrush{rgbColor(220, 220, 220), Gfx::bsSolid};
    c.FillRect(0, 0, 720, 260);
    const TFrameStyle frames[] = {Zel::fsNone,   Zel::fsSimple,   Zel::fsLowered,
                                  Zel::fsRaised, Zel::fsEmbossed, Zel::fsEngraved};
    for (int i = 0; i < 6; ++i) {
        DrawFrame3D(c, 10 + i * 50, 10, 50 + i * 50, 50, frames[i], frameColorsOf(Zel::csBWG));
        DrawFrame3D(c, 20 + i * 50, 20, 40 + i * 50, 40, frames[i], frameColorsOf(Zel::csSystem));
    }

    struct EllipsePen
    {
        TPen pen;
        TBrush brush;
        BkMode bk;
    };
    const EllipsePen pens[] = {
        {{clBlack, 1, Gfx::psSolid, Gfx::pmCopy}, {clYellow, Gfx::bsSolid}, BkMode::FollowBrush},
        {{clBlack, 1, Gfx::psSolid, Gfx::pmCopy}, {clYellow, Gfx::bsClear}, BkMode::FollowBrush},
        {{clRed, 1, Gfx::psClear, Gfx::pmCopy}, {clBlue, Gfx::bsSolid}, BkMode::FollowBrush},
        {{clRed, 3, Gfx::psSolid, Gfx::pmCopy}, {clAqua, Gfx::bsSolid}, BkMode::FollowBrush},
        {{clRed, 4, Gfx::psSolid, Gfx::pmCopy}, {clAqua, Gfx::bsClear}, BkMode::FollowBrush},
        {{clGreen, 5, Gfx::psInsideFrame, Gfx::pmCopy},
         {clWhite, Gfx::bsSolid},
         BkMode::FollowBrush},
        {{clBlue, 1, Gfx::psDot, Gfx::pmCopy}, {clYellow, Gfx::bsSolid}, BkMode::FollowBrush},
        {{clBlue, 1, Gfx::psDash, Gfx::pmCopy}, {clYellow, Gfx::bsClear}, BkMode::Opaque},
        {{clBlue, 1, Gfx::psDashDot, Gfx::pmCopy}, {clYellow, Gfx::bsSolid}, BkMode::Transparent},
        {{clBlue, 1, Gfx::psDashDotDot, Gfx::pmXor}, {clYellow, Gfx::bsSolid}, BkMode::FollowBrush},
        {{clWhite, 1, Gfx::psSolid, Gfx::pmXor}, {clBlack, Gfx::bsSolid}, BkMode::FollowBrush},
        {{clBlack, 1, Gfx::psSolid, Gfx::pmNotXor}, {clRed, Gfx::bsClear}, BkMode::FollowBrush},
    };
    const QRect boxes[] = {{0, 0, 1, 1},   {0, 0, 2, 2},   {0, 0, 3, 2},   {0, 0, 5, 5},
                           {0, 0, 8, 3},   {0, 0, 3, 9},   {0, 0, 13, 13}, {0, 0, 22, 14},
                           {0, 0, 31, 40}, {0, 0, 44, 27}, {0, 0, 0, 6},   {0, 0, 6, 0}};
    int y = 70;
    for (const EllipsePen &p : pens) {
        c.Pen() = p.pen;
        c.Brush() = p.brush;
        c.setBkMode(p.bk);
        int x = 10;
        for (const QRect &box : boxes) {
            c.Ellipse(box.translated(x, y));
            x += box.width() + 8;
        }
        // One partly outside the picture, to go through the clipping.
        c.Ellipse(700, y, 740, y + 14);
        y += p.pen.Width > 1 ? 18 : 15;
    }
    c.setBkMode(BkMode::FollowBrush);
    return bitmap.image().copy();
}

} // namespace

int main(int argc, char **argv)
{
    double ratio = 1.0;
    if (argc == 4 && std::strcmp(argv[1], "--ratio") == 0) {
        ratio = std::atof(argv[2]);
        argv[1] = argv[3];
        argc = 2;
    }
    if (argc != 2 || !(ratio >= 1.0 && ratio <= 4.0)) {
        std::fputs("Usage: render-sheet [--ratio R] OUTPUT.png   (R from 1 to 4)\n", stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    if (ratio != 1.0)
        setPixelRatioOverride(ratio);

    QWidget sheet;
    sheet.setAttribute(Qt::WA_DontShowOnScreen);
    sheet.resize(1640, 1220);
    sheet.setAutoFillBackground(true);
    QPalette palette = sheet.palette();
    palette.setColor(QPalette::Window, Qt::white);
    sheet.setPalette(palette);

    auto *items = new TRChart(&sheet);
    fillItemChart(*items);
    auto *axes = new TRChart(&sheet);
    fillAxisChart(*axes);
    axes->move(730, 0);
    makeScales(sheet);

    sheet.show();
    QCoreApplication::processEvents();
    items->ShowItems();
    axes->ShowItems();

    QImage picture(scaledRect(sheet.rect(), ratio).size(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    sheet.render(&picture);

    // The first chart's data area again, shifted, in monochrome and without the grid.
    const QRect monoRect(0, 0, items->plotWidth() + 21, items->plotHeight() + 21);
    QImage mono(scaledRect(monoRect, ratio).size(), QImage::Format_RGB32);
    mono.setDevicePixelRatio(ratio);
    mono.fill(Qt::white);
    {
        Canvas canvas(&mono);
        items->DrawItems(canvas, 10, 10, true, true);
    }

    QPainter painter(&picture);
    painter.drawImage(0, 530, mono);
    painter.drawImage(730, 710, markerSheet(ratio));
    painter.drawImage(730, 930, shapeSheet(ratio));
    painter.end();

    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "render-sheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
