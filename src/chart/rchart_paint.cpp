// SPDX-License-Identifier: GPL-3.0-or-later
// Composing the chart's picture: the frame step on the full image (window colour, drop
// shadow, caption, axes), the data area background with its picture or area band, the data
// image (background, then DrawItems), the crosshairs, and the settings these read.
//
// A full composition runs the frame step, then redraws the data area: background, items and
// crosshairs into the data image (the crosshairs never leave the plot area). The data image
// reaches the full image only when the full image is read; the screen is painted from both.

#include "chart/Zel_rchart.h"
#include "platform/PixelRatio.h"

#include "platform/CanvasSave.h"
#include "platform/VectorState.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {

// Makes sure a canvas draws on an image for a scope. The chart keeps its canvases attached to
// their images; one found elsewhere is attached here and handed back afterwards.
class CanvasOn
{
public:
    CanvasOn(Canvas &canvas, QImage &image) : m_canvas(canvas), m_previous(canvas.device())
    {
        if (m_previous != &image)
            m_canvas.setDevice(&image);
    }
    ~CanvasOn()
    {
        if (m_canvas.device() != m_previous)
            m_canvas.setDevice(m_previous);
    }
    CanvasOn(const CanvasOn &) = delete;
    CanvasOn &operator=(const CanvasOn &) = delete;

private:
    Canvas &m_canvas;
    QPaintDevice *m_previous;
};

QString withoutDirectory(const QString &name)
{
    const qsizetype cut =
        std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    return cut >= 0 ? name.mid(cut + 1) : name;
}

} // namespace

// --- TBakGndImg ---------------------------------------------------------------------------

TBakGndImg::TBakGndImg(QObject *parent) : QObject(parent) {}

void TBakGndImg::changed()
{
    if (OnChange)
        OnChange(this);
}

void TBakGndImg::SetName(const QString &value)
{
    m_settings.name = m_settings.includePath ? value : withoutDirectory(value);
    changed();
}

void TBakGndImg::SetIncludePath(bool value)
{
    m_settings.includePath = value;
    if (!value)
        m_settings.name = withoutDirectory(m_settings.name);
    changed();
}

void TBakGndImg::SetFillMode(TBkgFillMode value)
{
    m_settings.fillMode = value;
    changed();
}

void TBakGndImg::SetAreaMode(TBkgAreaMode value)
{
    m_settings.areaMode = value;
    changed();
}

void TBakGndImg::SetAreaColor(TColor value)
{
    m_settings.areaColor = value;
    changed();
}

void TBakGndImg::SetAreaLeft(double value)
{
    m_settings.areaLeft = value;
    changed();
}

void TBakGndImg::SetAreaRight(double value)
{
    m_settings.areaRight = value;
    changed();
}

void TBakGndImg::SetAreaTop(double value)
{
    m_settings.areaTop = value;
    changed();
}

void TBakGndImg::SetAreaBottom(double value)
{
    m_settings.areaBottom = value;
    changed();
}

void TBakGndImg::Assign(const TBakGndImg &source)
{
    if (&source == this)
        return;
    m_settings = source.m_settings;
    changed();
}

// --- Creation -----------------------------------------------------------------------------

// The caption font, 4 crosshairs, 30 text labels and the background picture settings, each
// repainting the chart when changed.
void TCustomRChart::createPictureObjects()
{
    const auto repaint = [this](QObject *) { pictureChanged(nullptr); };
    m_font = std::make_unique<TFont>();
    m_font->OnChange = repaint;
    for (int n = 1; n <= 4; ++n) {
        auto hair = std::make_unique<TCrossHair>();
        hair->SetLayer(n);
        hair->OnChange = repaint;
        m_crossHairs[std::size_t(n - 1)] = std::move(hair);
    }
    for (auto &slot : m_textLabels) {
        auto label = std::make_unique<TTextLabel>();
        label->SetPosX(0);
        label->SetPosY(0);
        label->SetLayer(1);
        label->SetAttachToData(Zel::tlamBoth);
        label->SetAlignment(Zel::taCenter);
        label->SetVerticalAlignment(Zel::vaBottom);
        label->SetColorBkg(clWhite);
        label->SetColorBorder(clBlack);
        label->SetShadowDx(3);
        label->SetShadowDy(3);
        label->SetColorShadow(8421504);
        label->SetTransparent(false);
        label->SetFont(m_font.get());
        label->SetVisible(false);
        label->SetMode(Zel::tlOff);
        label->OnChange = repaint;
        slot = std::move(label);
    }
    m_bakGndImg = std::make_unique<TBakGndImg>();
    m_bakGndImg->OnChange = repaint;
}

void TCustomRChart::pictureChanged(QObject *)
{
    invalidatePicture();
}

TCrossHair *TCustomRChart::CrossHair(int n) const
{
    return n >= 1 && n <= 4 ? m_crossHairs[std::size_t(n - 1)].get() : nullptr;
}

void TCustomRChart::SetCrossHair(int n, const TCrossHair *value)
{
    if (TCrossHair *hair = CrossHair(n); hair && value)
        hair->Assign(*value);
}

TTextLabel *TCustomRChart::TextLabel(int n) const
{
    return n >= 1 && n <= TextLabelCount ? m_textLabels[std::size_t(n - 1)].get() : nullptr;
}

void TCustomRChart::SetBackGroundImg(const TBakGndImg *value)
{
    if (value)
        m_bakGndImg->Assign(*value);
}

void TCustomRChart::SetFont(const TFont *font)
{
    if (font)
        m_font->Assign(*font);
    invalidatePicture();
}

// --- Setters ------------------------------------------------------------------------------

void TCustomRChart::SetChartFrameColor(TColor color)
{
    m_chartFrameColor = color;
    invalidatePicture();
}

void TCustomRChart::SetShadowStyle(TShadowStyle style)
{
    m_shadowStyle = style;
    invalidatePicture();
}

void TCustomRChart::SetShadowColor(TColor color)
{
    m_shadowColor = color;
    invalidatePicture();
}

void TCustomRChart::SetShadowBakColor(TColor color)
{
    m_shadowBakColor = color;
    invalidatePicture();
}

void TCustomRChart::SetCaption(const QString &text)
{
    m_caption = text;
    invalidatePicture();
}

void TCustomRChart::SetCaptionPosX(int value)
{
    m_captionPosX = value;
    invalidatePicture();
}

void TCustomRChart::SetCaptionPosY(int value)
{
    m_captionPosY = value;
    invalidatePicture();
}

void TCustomRChart::SetCaptionAlignment(TAlignment value)
{
    m_captionAlignment = value;
    invalidatePicture();
}

void TCustomRChart::SetCaptionAnchorHoriz(TCaptionAnchorHoriz value)
{
    m_captionAnchorHoriz = value;
    invalidatePicture();
}

void TCustomRChart::SetCaptionAnchorVert(TCaptionAnchorVert value)
{
    m_captionAnchorVert = value;
    invalidatePicture();
}

void TCustomRChart::SetGridStyle(GridStyleType style)
{
    m_gridStyle = style;
    invalidatePicture();
}

void TCustomRChart::SetGridDx(double value)
{
    if (!(value >= -3))
        return;
    m_gridDx = value;
    invalidatePicture();
}

void TCustomRChart::SetGridDy(double value)
{
    if (!(value >= -3))
        return;
    m_gridDy = value;
    invalidatePicture();
}

void TCustomRChart::SetGridColor(TColor color)
{
    m_gridColor = color;
    invalidatePicture();
}

void TCustomRChart::SetTextFontStyle(TFontStyles style)
{
    m_textFontStyle = style;
    invalidatePicture();
}

void TCustomRChart::SetTextBkStyle(TTextBkStyle style)
{
    m_textBkStyle = style;
    invalidatePicture();
}

void TCustomRChart::SetTextBkColor(TColor color)
{
    m_textBkColor = color;
    invalidatePicture();
}

void TCustomRChart::SetTextAlignment(TAlignment alignment)
{
    m_textAlignment = alignment;
    invalidatePicture();
}

// --- Frame step ---------------------------------------------------------------------------

// Window colour, shadow and caption on the full image, then the axes through their renderers,
// then OnScalesRendered. Within a strip, everything is clipped to it; the renderers draw
// independently of what was drawn before them, so painting only those that reach into the
// strip gives the strip exactly what the whole step would.
void TCustomRChart::drawFrameStep(const QRect *strip, const AxisFlags *moved)
{
    if (m_fullImage.isNull())
        return;
    if (strip)
        m_fullCanvas.setClipRect(*strip);
    {
        CanvasOn on(m_fullCanvas, m_fullImage);
        Canvas &c = m_fullCanvas;
        c.Pen() = TPen{m_windColor, 1, Gfx::psSolid, Gfx::pmCopy};
        c.Brush() = TBrush{m_windColor, Gfx::bsSolid};
        const QRect full = designRect(m_fullImage);
        const QRect plot = dataRect().intersected(full);
        if (m_dataImage.isNull() || plot.isEmpty()) {
            c.FillRect(full);
        } else {
            // The data image is copied over the plot right after this step, so only the
            // margins around it need the face colour.
            c.FillRect(0, 0, full.width(), plot.top());
            c.FillRect(0, plot.bottom() + 1, full.width(), full.height());
            c.FillRect(0, plot.top(), plot.left(), plot.bottom() + 1);
            c.FillRect(plot.right() + 1, plot.top(), full.width(), plot.bottom() + 1);
        }
        drawShadow(c);
        drawCaption(c);
    }
    if (strip) {
        paintAxes(strip, moved);
        m_fullCanvas.resetClipRect();
        return;
    }
    drawScales();
    if (OnScalesRendered) {
        CanvasOn on(m_fullCanvas, m_fullImage);
        OnScalesRendered(this, m_fullCanvas, 0, 0);
    }
}

void TCustomRChart::drawShadow(Canvas &c)
{
    const int S = m_shadowWidth;
    if (S <= 0)
        return;
    const int W = width(), H = height();
    c.Brush() = TBrush{m_shadowBakColor, Gfx::bsSolid};
    c.FillRect(W - S, 0, W, S);
    c.FillRect(0, H - S, S, H);
    c.Brush().Color = m_shadowColor;
    int E;
    if (m_shadowStyle == RChart::ssBox) {
        c.Pen().Color = clBlack;
        E = 0;
    } else {
        c.Pen().Color = m_shadowColor;
        E = S - 1;
    }
    c.Polygon({{E, H - S}, {S - 1, H - 1}, {W - 1, H - 1}, {W - S, H - S}});
    c.Polygon({{W - S, H - S}, {W - 1, H - 1}, {W - 1, S - 1}, {W - S, E}});
    c.Pen().Color = clBlack;
    c.Pen().Style = Gfx::psSolid;
    c.Polyline({{0, 0}, {W - S, 0}, {W - S, H - S}, {0, H - S}, {0, 0}});
}

void TCustomRChart::drawCaption(Canvas &c)
{
    c.Pen().Color = m_chartFrameColor;
    c.Brush().Style = Gfx::bsClear;
    c.Font().Assign(*m_font);
    int x = 0;
    switch (m_captionAnchorHoriz) {
    case RChart::cahControlLeft:
        x = 0;
        break;
    case RChart::cahChartLeft:
        x = m_marginLeft;
        break;
    case RChart::cahChartCenter:
        x = m_marginLeft + plotWidth() / 2;
        break;
    case RChart::cahChartRight:
        x = width() - m_marginRight - m_shadowWidth;
        break;
    case RChart::cahControlRight:
        x = width();
        break;
    }
    int y = 0;
    switch (m_captionAnchorVert) {
    case RChart::cavControlTop:
        y = 0;
        break;
    case RChart::cavChartTop:
        y = m_marginTop;
        break;
    case RChart::cavChartCenter:
        y = m_marginTop + plotHeight() / 2;
        break;
    case RChart::cavChartBottom:
        y = height() - m_marginBottom;
        break;
    case RChart::cavControlBottom:
        y = height();
        break;
    }
    x += m_captionPosX;
    y += m_captionPosY;
    c.setTextAlign(TextAlignH::Left, TextAlignV::Top);
    if (m_captionAlignment == Zel::taRightJustify)
        x -= c.TextWidth(m_caption);
    else if (m_captionAlignment == Zel::taCenter)
        x -= c.TextWidth(m_caption) / 2;
    if (!m_caption.isEmpty())
        c.TextOut(x, y, m_caption);
}

// --- Data area ----------------------------------------------------------------------------

void TCustomRChart::DrawBackground(Canvas &canvas, int DX, int DY)
{
    const QSize wanted(std::max(0, plotWidth() + 1), std::max(0, plotHeight() + 1));
    if (!fitsWidget(m_dataImage, this, wanted)) {
        const bool attached = canvas.device() == &m_dataImage;
        if (attached)
            canvas.setDevice(nullptr);
        resizeImages();
        if (attached)
            canvas.setDevice(&m_dataImage);
    }
    const QSize size = designSize(m_dataImage);
    const int w = size.width(), h = size.height();
    canvas.Pen() = TPen{m_chartFrameColor, 1, Gfx::psSolid, Gfx::pmCopy};
    canvas.Brush() = TBrush{m_chartColor, Gfx::bsSolid};
    canvas.SetCopyMode(cmSrcCopy);

    if (!m_bakGndImg->Name().isEmpty()) {
        const QImage picture(m_bakGndImg->Name());
        if (picture.isNull()) {
            canvas.FillRect(DX, DY, DX + w, DY + h);
            m_bakGndImg->dropName();
            return;
        }
        switch (m_bakGndImg->FillMode()) {
        case RChart::bfSimple:
            canvas.FillRect(DX, DY, DX + w, DY + h);
            canvas.Draw(0, 0, picture);
            break;
        case RChart::bfTile:
            canvas.TileDraw(QRect(0, 0, w, h), picture);
            break;
        case RChart::bfStretch:
        default:
            canvas.StretchDraw(QRect(0, 0, w, h), picture);
            break;
        }
        return;
    }

    canvas.Rectangle(DX, DY, DX + w, DY + h);
    drawAreaBand(canvas, DX, DY, w, h);
}

// The band of the data area in AreaColor, between the area edges mapped through layer 1.
void TCustomRChart::drawAreaBand(Canvas &canvas, int DX, int DY, int w, int h)
{
    const TBakGndImg &bg = *m_bakGndImg;
    if (bg.AreaMode() == RChart::bamNone)
        return;
    int lx = 0, ty = 0, rx = 0, by = 0;
    WorldToPixel(1, bg.AreaLeft(), bg.AreaTop(), lx, ty);
    WorldToPixel(1, bg.AreaRight(), bg.AreaBottom(), rx, by);
    const int xL = limitItemPixel(lx) - m_marginLeft + DX,
              xR = limitItemPixel(rx) - m_marginLeft + DX;
    const int yT = limitItemPixel(ty) - m_marginTop + DY,
              yB = limitItemPixel(by) - m_marginTop + DY;
    const int l = DX, t = DY, r = DX + w, b = DY + h;
    canvas.Pen().Color = bg.AreaColor();
    canvas.Brush() = TBrush{bg.AreaColor(), Gfx::bsSolid};
    switch (bg.AreaMode()) {
    case RChart::bamLeft:
        canvas.Rectangle(l, t, xL, b);
        break;
    case RChart::bamRight:
        canvas.Rectangle(xR, t, r, b);
        break;
    case RChart::bamTop:
        canvas.Rectangle(l, t, r, yT);
        break;
    case RChart::bamBottom:
        canvas.Rectangle(l, yB, r, b);
        break;
    case RChart::bamVStripe:
        canvas.Rectangle(xL, t, xR, b);
        break;
    case RChart::bamHStripe:
        canvas.Rectangle(l, yT, r, yB);
        break;
    case RChart::bamRect:
        canvas.Rectangle(xL, yT, xR, yB);
        break;
    default:
        break;
    }
}

// Background, items and crosshairs into the data image.
void TCustomRChart::renderDataImage()
{
    resizeImages();
    if (m_dataImage.isNull())
        return;
    m_bareAreaPending = false;
    clearUpperVectorState();
    CanvasOn on(m_dataCanvas, m_dataImage);
    DrawBackground(m_dataCanvas, 0, 0);
    DrawItems(m_dataCanvas, 0, 0, false, false);
    drawCrossHairs(m_dataCanvas, m_marginLeft, m_marginTop);
}

void TCustomRChart::drawBareDataArea()
{
    m_bareAreaPending = false;
    resizeImages();
    if (m_dataImage.isNull())
        return;
    CanvasOn on(m_dataCanvas, m_dataImage);
    DrawBackground(m_dataCanvas, 0, 0);
}

// The data area drawn last reaches the full image before the bare area replaces it in the
// data image: ClearItems leaves the picture on the screen, and the full image, unchanged.
void TCustomRChart::settleBareArea()
{
    if (!m_bareAreaPending)
        return;
    settleFullImage();
    drawBareDataArea();
}

const QImage &TCustomRChart::fullImage() const
{
    const_cast<TCustomRChart *>(this)->settleFullImage();
    return m_fullImage;
}

const QImage &TCustomRChart::dataImage() const
{
    // Reading the picture is where a pending bare area must exist; the chart object itself
    // is never const, only the view of it that this accessor is called through.
    const_cast<TCustomRChart *>(this)->settleBareArea();
    return m_dataImage;
}

void TCustomRChart::redrawDataArea()
{
    renderDataImage();
    m_dataDirty = false;
    m_fullLagsData = true;
}

void TCustomRChart::composePicture()
{
    resizeImages();
    drawFrameStep();
    redrawDataArea();
    m_frameDirty = false;
}

// --- Crosshairs ---------------------------------------------------------------------------

void TCustomRChart::drawCrossHairs(Canvas &canvas, int OX, int OY)
{
    const bool any = std::any_of(m_crossHairs.begin(), m_crossHairs.end(),
                                 [](const auto &hair) { return hair->Mode() != Zel::chOff; });
    if (!any)
        return;
    const CanvasSave saved(canvas,
                           CanvasSave::PenColor | CanvasSave::PenWidth | CanvasSave::PenStyle);
    const int W = width(), H = height(), S = m_shadowWidth;
    for (const auto &hair : m_crossHairs) {
        if (hair->Mode() == Zel::chOff)
            continue;
        int px = 0, py = 0;
        WorldToPixel(hair->Layer(), hair->PosX(), hair->PosY(), px, py);
        canvas.Pen().Color = hair->Color();
        canvas.Pen().Width = hair->LineWid();
        canvas.Pen().Style = hair->LineType();
        canvas.Pen().Mode = Gfx::pmCopy;
        canvas.Brush() = TBrush{m_chartColor, Gfx::bsSolid};
        const int B = hair->LineWid() / 2;
        const bool horiz = hair->Mode() == Zel::chHoriz || hair->Mode() == Zel::chBoth;
        const bool vert = hair->Mode() == Zel::chVert || hair->Mode() == Zel::chBoth;
        if (horiz && m_marginTop + B < py && py < H - m_marginBottom - S - B)
            canvas.Polyline(
                {{m_marginLeft + B + 1 - OX, py - OY}, {W - m_marginRight - S - B - OX, py - OY}});
        if (vert && m_marginLeft + B < px && px < W - m_marginRight - S - B)
            canvas.Polyline(
                {{px - OX, m_marginTop + B + 1 - OY}, {px - OX, H - m_marginBottom - S - B - OY}});
    }
}
