// SPDX-License-Identifier: GPL-3.0-or-later
// The stored description of the main window: every component with its settings, in creation
// order, followed by the end of loading.

#include "app/FormBuilder.h"
#include "app/Glyphs.h"
#include "app/TfrmExample.h"
#include "chart/Zel_rchart.h"
#include "hostlink/WendralDemon.h"
#include "platform/AlignLayout.h"
#include "platform/Controls.h"
#include "widgets/Zel_NumLab.h"

#include <QTextEdit>
#include <QTimer>

using namespace FormBuilder;

namespace {

constexpr TAnchors anchorsLTR = TAnchors(TAnchor::akLeft) | TAnchor::akTop | TAnchor::akRight;
constexpr TAnchors anchorsLTB = TAnchors(TAnchor::akLeft) | TAnchor::akTop | TAnchor::akBottom;
constexpr TAnchors anchorsTR = TAnchors(TAnchor::akTop) | TAnchor::akRight;

QFont formFont(bool bold = false)
{
    return windowFont(QStringLiteral("MS Sans Serif"), 13, bold);
}

// The stored values of one of the chart's axis records that differ between the axes.
struct AxisSettings
{
    bool visible;
    double rangeHigh;
    TColor color;
    int captionPosX;
    int captionPosY;
    TAlignment captionAlignment;
    TScaleUnitAnchor captionAnchor;
};

// Applies an axis record's stored values in their published order.
void applyAxis(TScaleProps &axis, const AxisSettings &settings)
{
    axis.SetCaptionPosX(settings.captionPosX);
    axis.SetCaptionPosY(settings.captionPosY);
    axis.SetCaptionAlignment(settings.captionAlignment);
    axis.SetCaptionAnchor(settings.captionAnchor);
    axis.SetColorScale(settings.color);
    TDTLabel *dates = axis.DateFormat();
    dates->SetTimeFormat(tfHHMMSS);
    dates->SetDateSeparator(QLatin1Char('-'));
    dates->SetTimeSeparator(QLatin1Char(':'));
    dates->SetYearLength(ylYYYY);
    dates->SetMonthName(true);
    dates->SetDateOrder(doDDMMYY);
    dates->SetDateForTime(dtOnePerDay);
    axis.SetDecPlaces(-2);
    TFont *font = axis.Font();
    font->SetName(QStringLiteral("MS Sans Serif"));
    font->SetHeight(-13);
    font->SetColor(clWindowText);
    axis.SetLogarithmic(false);
    axis.SetLabelType(ftNum);
    axis.SetMinTicks(3);
    axis.SetMinRange(1e-10);
    axis.SetRangeHigh(settings.rangeHigh);
    axis.SetShortTicks(true);
    axis.SetScalePos(0);
    axis.SetVisible(settings.visible);
}

TScrollBar *slider(QWidget *parent, const char *name, Qt::Orientation orientation, int min, int max,
                   int position, int smallChange, int largeChange)
{
    auto *s = named(new TScrollBar(orientation, parent), name);
    s->SetParams(position, min, max);
    s->SetSmallChange(smallChange);
    s->SetLargeChange(largeChange);
    s->SetPageSize(0);
    return s;
}

} // namespace

void TfrmExample::buildForm(const QString &dictionaryFile)
{
    named(this, "frmExample");
    SetCaption(QStringLiteral("BF_Ionograph"));
    setWindowIcon(Glyphs::windowIcon());
    setFont(formFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(clBtnFace));
    pal.setColor(QPalette::WindowText, toQColor(clWindowText));
    setPalette(pal);
    setAutoFillBackground(true);
    resize(ClientWidth, ClientHeight);
    // Smaller, the sliders collapse and the explanation is cut off; larger sizes follow the
    // anchors.
    setMinimumSize(ClientWidth, ClientHeight);
    auto *form = new AlignLayout(this, QSize(ClientWidth, ClientHeight));

    PContent = panel(this, "PContent", {0, 0, 568, 460}, Ctl::bvNone);
    form->place(PContent, PContent->geometry(), TAlign::alClient);
    auto *content = AlignLayout::of(PContent);

    Panel1 = panel(PContent, "Panel1", {57, 0, 511, 332}, Ctl::bvRaised);
    content->place(Panel1, Panel1->geometry(), TAlign::alClient);

    RCScope = named(new TRChart(Panel1), "RCScope");
    AlignLayout::of(Panel1)->place(RCScope, {1, 1, 509, 330}, TAlign::alClient);
    RCScope->SetAllocSize(1000);
    RCScope->SetAutoRedraw(true);
    RCScope->SetMarginRight(16);
    RCScope->SetMarginTop(20);
    RCScope->SetMarginBottom(40);
    RCScope->SetChartColor(clBlack);
    RCScope->SetDataColor(47360);
    RCScope->SetClassDefault(0);
    TBakGndImg *background = RCScope->BackGroundImg();
    background->SetIncludePath(false);
    background->SetFillMode(RChart::bfStretch);
    background->SetAreaMode(RChart::bamNone);
    background->SetAreaColor(14540253);
    background->SetAreaLeft(-1);
    background->SetAreaRight(1);
    background->SetAreaTop(1);
    background->SetAreaBottom(-1);
    RCScope->SetGridStyle(RChart::gsNone);
    RCScope->SetGridDx(-1);
    RCScope->SetGridDy(-1);
    RCScope->SetIsometric(false);
    for (int layer = 1; layer <= TCustomRChart::LayerCount; ++layer) {
        RCScope->JointLayers()->SetControlledBy(TJointLayers::Axis::X, layer, layer);
        RCScope->JointLayers()->SetControlledBy(TJointLayers::Axis::Y, layer, layer);
    }
    // Only layer 1's axes are shown: mass along the bottom, intensity at the left.
    const TColor axisColors[] = {clBlack, clMaroon, clGreen, clOlive};
    for (int layer = 1; layer <= 4; ++layer) {
        const bool first = layer == 1;
        const TColor color = axisColors[layer - 1];
        TScalePropsHoriz *x = RCScope->LayerScaleX(layer);
        applyAxis(*x, first ? AxisSettings{true, 180, color, 0, 22, Zel::taCenter, uaSclCenter}
                            : AxisSettings{false, 1, color, 10, 100, Zel::taCenter, uaSclCenter});
        x->SetScaleLocation(slBottom);
        TScalePropsVert *y = RCScope->LayerScaleY(layer);
        applyAxis(*y,
                  first ? AxisSettings{true, 50, color, 0, -16, Zel::taLeftJustify, uaSclTopLft}
                        : AxisSettings{false, 1, color, 10, 100, Zel::taRightJustify, uaSclTopLft});
        y->SetScaleLocation(slLeft);
    }
    // No caption text; its place is the top right corner of the plot.
    RCScope->SetCaptionPosX(0);
    RCScope->SetCaptionPosY(-16);
    RCScope->SetCaptionAlignment(Zel::taRightJustify);
    RCScope->SetCaptionAnchorHoriz(RChart::cahChartRight);
    RCScope->SetCaptionAnchorVert(RChart::cavChartTop);
    for (int n = 1; n <= 4; ++n) {
        TCrossHair *hair = RCScope->CrossHair(n);
        hair->SetColor(clBlack);
        hair->SetLayer(n);
        hair->SetMode(Zel::chOff);
        hair->SetLineType(Gfx::psSolid);
        hair->SetLineWid(1);
    }
    // Dragging on the scope zooms about the centre until the next update restores the window.
    RCScope->SetMouseAction(Zel::maZoomDrag);
    RCScope->SetMouseCursorFixed(true);
    RCScope->SetShadowStyle(RChart::ssFlying);
    RCScope->SetShadowColor(clGrayText);
    RCScope->SetShadowBakColor(clBtnFace);
    RCScope->SetTextFontStyle(TFontStyles());
    RCScope->SetTextBkStyle(RChart::tbClear);
    RCScope->SetTextBkColor(clWhite);
    RCScope->SetTextAlignment(Zel::taCenter);

    Panel2 = panel(PContent, "Panel2", {0, 0, 57, 332}, Ctl::bvRaised);
    content->place(Panel2, Panel2->geometry(), TAlign::alLeft);
    Label4 = label(Panel2, "Label4", QStringLiteral("BF_Amplif."), Qt::AlignHCenter);
    AlignLayout::of(Panel2)->place(Label4, {8, 8, 41, 16});
    SBarAmplif = slider(Panel2, "SBarAmplif", Qt::Vertical, 100, 1000, 1000, 1, 1);
    AlignLayout::of(Panel2)->place(SBarAmplif, {22, 40, 16, 271}, TAlign::alNone, anchorsLTB);

    Panel4 = panel(PContent, "Panel4", {0, 332, 568, 128}, Ctl::bvRaised);
    content->place(Panel4, Panel4->geometry(), TAlign::alBottom);
    auto *sliders = AlignLayout::of(Panel4);
    Label1 = label(Panel4, "Label1", QStringLiteral("BF_Mass"), Qt::AlignRight);
    sliders->place(Label1, {8, 22, 83, 16});
    Label2 = label(Panel4, "Label2", QStringLiteral("BF_Range"), Qt::AlignRight);
    sliders->place(Label2, {8, 63, 83, 16});
    // The two captions beside the mass sliders move with the sliders' right ends.
    Label8 = label(Panel4, "Label8", QStringLiteral("BF_coarse"), Qt::AlignLeft);
    sliders->place(Label8, {516, 12, 66, 16}, TAlign::alNone, anchorsTR);
    Label9 = label(Panel4, "Label9", QStringLiteral("BF_fine"), Qt::AlignLeft);
    sliders->place(Label9, {516, 34, 45, 16}, TAlign::alNone, anchorsTR);
    SBarMass = slider(Panel4, "SBarMass", Qt::Horizontal, 1000, 900000, 42000, 10, 1000);
    sliders->place(SBarMass, {96, 10, 417, 18}, TAlign::alNone, anchorsLTR);
    SBarMassFineAdj = slider(Panel4, "SBarMassFineAdj", Qt::Horizontal, -3000, 3000, 0, 1, 1);
    sliders->place(SBarMassFineAdj, {96, 32, 417, 18}, TAlign::alNone, anchorsLTR);
    SBarMagnifX = slider(Panel4, "SBarMagnifX", Qt::Horizontal, 800, 250000, 8000, 1, 1);
    sliders->place(SBarMagnifX, {96, 64, 417, 18}, TAlign::alNone, anchorsLTR);
    NLabResol = named(new TNumLab(Panel4), "NLabResol");
    sliders->place(NLabResol, {3, 93, 153, 20});
    NLabResol->SetValue(800);
    NLabResol->SetDisplayType(dtInt);
    NLabResol->SetPrecision(2);
    NLabResol->SetComma(false);
    NLabResol->SetForcePlusSign(false);
    NLabResol->SetDTFormat(QStringLiteral("mmm-dd, yyyy"));
    NLabResol->SetStateText(QStringLiteral("undefined"));
    NLabResol->SetOverflowIndicator(QStringLiteral("*********"));
    NLabResol->SetEmpty(false);
    NLabResol->SetLeftText(QStringLiteral("BF_Resolution"));
    NLabResol->SetLeftSpace(92);
    NLabResol->SetLabelWidth(50);
    NLabResol->SetAlignment(Zel::taCenter);
    NLabResol->SetLeftTextAlignment(Zel::taRightJustify);
    NLabResol->SetRightTextAlignment(Zel::taLeftJustify);
    NLabResol->SetFrameStyle(Zel::fsLowered);
    NLabResol->SetColorScheme(Zel::csBWG);
    NLabResol->SetColorLabBakG(clSilver);
    NLabResol->SetColorLabText(clBlack);
    NLabResol->SetColorOutBakG(clBtnFace);
    NLabResol->SetColorOutText(clBlack);
    NLabResol->SetTransparent(false);
    SBarResol = slider(Panel4, "SBarResol", Qt::Horizontal, 100, 2000, 800, 1, 1);
    sliders->place(SBarResol, {160, 94, 353, 18}, TAlign::alNone, anchorsLTR);

    pnlCommand = panel(this, "pnlCommand", {568, 0, 152, 460}, Ctl::bvLowered);
    form->place(pnlCommand, pnlCommand->geometry(), TAlign::alRight);
    auto *command = AlignLayout::of(pnlCommand);
    cmdExit = button(pnlCommand, "cmdExit", QStringLiteral("BF_Exit"), Glyphs::exitGlyph());
    command->place(cmdExit, {10, 10, 135, 29});
    BButNext = button(pnlCommand, "BButNext", QStringLiteral("BF_Next"), Glyphs::nextGlyph());
    command->place(BButNext, {10, 44, 135, 29});
    BButReset = button(pnlCommand, "BButReset", QStringLiteral("BF_Reset"), Glyphs::resetGlyph());
    command->place(BButReset, {10, 78, 135, 29});
    BButAbout = button(pnlCommand, "BButAbout", QStringLiteral("BF_About"), Glyphs::aboutGlyph());
    command->place(BButAbout, {10, 112, 135, 29});
    Label5 = label(pnlCommand, "Label5", QStringLiteral("BF_Substances"), Qt::AlignHCenter);
    Label5->setFont(formFont(true));
    command->place(Label5, {7, 160, 138, 16});
    Label6 = label(pnlCommand, "Label6", QStringLiteral("BF_Nonenone"), Qt::AlignHCenter);
    command->place(Label6, {8, 180, 137, 17});
    Label7 = label(pnlCommand, "Label7", QStringLiteral("BF_Pregnene"), Qt::AlignHCenter);
    command->place(Label7, {1, 204, 72, 16});
    Label3 = label(pnlCommand, "Label3", QStringLiteral("BF_PFK"), Qt::AlignHCenter);
    command->place(Label3, {96, 204, 49, 16});
    Bevel1 = named(new TBevel(pnlCommand), "Bevel1");
    command->place(Bevel1, {80, 200, 9, 33});
    Bevel2 = named(new TBevel(pnlCommand), "Bevel2");
    command->place(Bevel2, {34, 224, 9, 9});
    Bevel3 = named(new TBevel(pnlCommand), "Bevel3");
    command->place(Bevel3, {120, 224, 9, 9});
    SBarPregnene = slider(pnlCommand, "SBarPregnene", Qt::Vertical, 0, 100, 100, 1, 1);
    command->place(SBarPregnene, {28, 232, 16, 214}, TAlign::alNone, anchorsLTB);
    SBarMetNonenone = slider(pnlCommand, "SBarMetNonenone", Qt::Vertical, 0, 100, 100, 1, 1);
    command->place(SBarMetNonenone, {74, 232, 16, 214}, TAlign::alNone, anchorsLTB);
    SBarPFK = slider(pnlCommand, "SBarPFK", Qt::Vertical, 0, 100, 100, 1, 1);
    command->place(SBarPFK, {114, 232, 16, 214}, TAlign::alNone, anchorsLTB);

    pnlExplain = panel(this, "pnlExplain", {0, 460, 720, 100}, Ctl::bvLowered);
    form->place(pnlExplain, pnlExplain->geometry(), TAlign::alBottom);
    rtfExplanation = named(new QTextEdit(pnlExplain), "rtfExplanation");
    AlignLayout::of(pnlExplain)->place(rtfExplanation, {1, 1, 718, 98}, TAlign::alClient);
    rtfExplanation->setReadOnly(true);
    rtfExplanation->setFrameShape(QFrame::NoFrame);
    // A narrow inner margin, as a rich-text box has: six lines of text fit the pane.
    rtfExplanation->document()->setDocumentMargin(1);
    QPalette infoPalette = rtfExplanation->palette();
    infoPalette.setColor(QPalette::Base, toQColor(clInfoBk));
    rtfExplanation->setPalette(infoPalette);
    rtfExplanation->viewport()->setCursor(Qt::ArrowCursor);
    rtfExplanation->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    rtfExplanation->setPlainText(QStringLiteral("BF_description"));

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(100);

    // The host link: it owns the translation engine, and at the end of loading it reads the
    // dictionary and translates this window with everything it owns.
    cliDemon = named(new TkdbDemonClient(this), "cliDemon");
    cliDemon->SetAutoTranslate(true);
    cliDemon->SetAutoCreateItlFile(false);
    cliDemon->SetMultiStart(false);
    cliDemon->SetUseWendralServer(false);
    cliDemon->SetDictionaryFile(dictionaryFile);

    // Tab order: the slider panel, then the command column, as the containers follow each
    // other; the amplification slider stands before them all.
    QWidget *const tabOrder[] = {SBarAmplif,      SBarMass, SBarMagnifX,     SBarResol,
                                 SBarMassFineAdj, SBarPFK,  SBarMetNonenone, SBarPregnene,
                                 cmdExit,         BButNext, BButReset,       BButAbout};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // Event wiring.
    SBarMass->OnChange = [this](TScrollBar *) { SBarMassChange(); };
    SBarMassFineAdj->OnChange = [this](TScrollBar *) { SBarMassChange(); };
    SBarMagnifX->OnChange = [this](TScrollBar *) { SBarMagnifXChange(); };
    SBarResol->OnChange = [this](TScrollBar *) { SBarResolChange(); };
    SBarAmplif->OnChange = [this](TScrollBar *) { SBarAmplifChange(); };
    SBarPFK->OnChange = [this](TScrollBar *) { SBarPFKChange(); };
    SBarMetNonenone->OnChange = [this](TScrollBar *) { SBarPFKChange(); };
    SBarPregnene->OnChange = [this](TScrollBar *) { SBarPregneneChange(); };
    connect(Timer1, &QTimer::timeout, this, &TfrmExample::Timer1Timer);
    cmdExit->OnClick = [this] { cmdExitClick(); };
    BButNext->OnClick = [this] { BButNextClick(); };
    BButReset->OnClick = [this] { BButResetClick(); };
    BButAbout->OnClick = [this] { BButAboutClick(); };
    cliDemon->OnParamsChange = [this](TkdbCustomDemon *) { cliDemonParamsChange(); };
    buildScopeTools();
    buildAccessibility();

    form->apply();

    // End of loading, in creation order.
    loaded();
    RCScope->loaded();
    NLabResol->loaded();
    cliDemon->loaded();
    Timer1->start();
}
