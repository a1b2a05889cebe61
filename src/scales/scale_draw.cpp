// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of a scale: the rendering modes, the base line, tick marks, numeric and
// logarithmic labels with their placement, the caption and the tick events.

#include "scales/Zel_Scale.h"

#include "platform/PixelRatio.h"

#include <algorithm>
#include <utility>

namespace {

// Drawing coordinates handed to the canvas: far enough out to be clipped away, near enough
// that adding a tick length or a text width cannot overflow.
constexpr long long kCoordLimit = 1LL << 30;

int safe(long long v)
{
    return static_cast<int>(std::clamp(v, -kCoordLimit, kCoordLimit));
}

// Ends a paint's "painting" state however the paint ends (handlers may throw).
class PaintingGuard
{
public:
    explicit PaintingGuard(bool &flag) : m_flag(flag) { m_flag = true; }
    ~PaintingGuard() { m_flag = false; }
    PaintingGuard(const PaintingGuard &) = delete;
    PaintingGuard &operator=(const PaintingGuard &) = delete;

private:
    bool &m_flag;
};

} // namespace

// --- rendering modes ------------------------------------------------------------------------

bool TScale::mayPaint() const
{
    return m_visible && !isLoading() && !m_suspendPaint;
}

long long TScale::baseLineCoordinate(int offsetX, int offsetY) const
{
    switch (m_settings.scaleType) {
    case sctXB:
        return static_cast<long long>(offsetY) + height() - m_settings.marginBottom - 1;
    case sctXT:
        return static_cast<long long>(offsetY) + m_settings.marginTop;
    case sctYL:
        return static_cast<long long>(offsetX) + m_settings.marginLeft;
    case sctYR:
        return static_cast<long long>(offsetX) + width() - m_settings.marginRight - 1;
    }
    return 0;
}

void TScale::Paint()
{
    if (!mayPaint() || m_painting) {
        // A paint asked for from inside a paint (a handler changing a property) or while
        // painting is not possible: the next possible paint catches up.
        if (!m_target)
            m_pictureStale = true;
        return;
    }
    if (size() != m_boundsSize)
        boundsChanged();

    const bool own = m_target == nullptr;
    const int w = width();
    const int h = height();
    if (own && (w <= 0 || h <= 0))
        return;
    PaintingGuard guard(m_painting);

    Canvas *canvas = m_target;
    int offsetX = m_targetX;
    int offsetY = m_targetY;
    if (own) {
        ensureOwnPicture();
        canvas = &m_ownCanvas;
        offsetX = offsetY = 0;
        if (m_settings.transparent)
            m_picture.fill(Qt::transparent);
    }
    canvas->Font().Assign(*m_font);
    if (OnBeforeScaleRendered)
        OnBeforeScaleRendered(this, *canvas);

    if (m_settings.transparent) {
        canvas->Pen() = TPen{m_settings.colorScale};
        const int base = safe(baseLineCoordinate(offsetX, offsetY));
        drawAxis(*canvas, base);
        if (m_settings.showBaseLine)
            drawBaseLine(*canvas, base);
        // The handler gets the canvas the scale was drawn on, so that what it adds lands in
        // the same picture.
        if (OnAfterScaleRendered)
            OnAfterScaleRendered(this, *canvas);
    } else if (w > 0 && h > 0) {
        // Composed at the density of the picture it goes into.
        Bitmap bitmap;
        bitmap.setDevicePixelRatio(canvas->devicePixelRatio());
        bitmap.SetSize(w, h);
        Canvas &bc = bitmap.canvas();
        bc.Font().Assign(*m_font);
        bc.Pen() = TPen{m_settings.colorBackGnd};
        bc.Brush() = TBrush{m_settings.colorBackGnd};
        bc.Rectangle(0, 0, w, h);
        bc.Pen() = TPen{m_settings.colorScale};
        const int base = safe(baseLineCoordinate(0, 0));
        drawAxis(bc, base);
        if (m_settings.showBaseLine)
            drawBaseLine(bc, base);
        if (OnAfterScaleRendered)
            OnAfterScaleRendered(this, bc);
        DrawFrame3D(bc, 0, 0, w - 1, h - 1, m_settings.frameStyle, m_frameColors);
        const TCopyMode mode = canvas->CopyMode();
        canvas->SetCopyMode(cmSrcCopy);
        canvas->Draw(offsetX, offsetY, bitmap);
        canvas->SetCopyMode(mode);
    }
    if (own) {
        m_pictureStale = false;
        update();
    }
}

void TScale::drawBaseLine(Canvas &canvas, int baseLine)
{
    if (isVertical()) {
        canvas.MoveTo(baseLine, m_settings.marginTop);
        canvas.LineTo(baseLine, safe(static_cast<long long>(height()) - m_settings.marginBottom));
    } else {
        canvas.MoveTo(m_settings.marginLeft, baseLine);
        canvas.LineTo(safe(static_cast<long long>(width()) - m_settings.marginRight), baseLine);
    }
}

// --- one axis -------------------------------------------------------------------------------

void TScale::applyPrinterFont(Canvas &canvas)
{
    // The label font keeps its point size on the printer: its height is taken at the
    // printer's vertical resolution, not at the screen's.
    TFont &font = canvas.Font();
    font.SetPixelsPerInch(screenPixelsPerInch);
    font.SetSize(m_font->Size());
    font.SetPixelsPerInch(canvas.pixelsPerInchY());
    font.SetSize(m_font->Size());
}

void TScale::drawAxis(Canvas &canvas, int baseLine)
{
    if (canvas.isPrinter())
        applyPrinterFont(canvas);
    canvas.Pen().Width = 1;
    canvas.Pen().Style = Gfx::psSolid;
    canvas.Pen().Mode = Gfx::pmCopy;
    canvas.Brush().Style = m_settings.transparent ? Gfx::bsClear : Gfx::bsSolid;
    canvas.setBkMode(BkMode::FollowBrush);
    canvas.setTextAlign(TextAlignH::Left, TextAlignV::Top);

    m_paintMinTicks = m_settings.minTicks;
    if (!isVertical() && m_paintMinTicks != 0)
        m_paintMinTicks = std::clamp(m_paintMinTicks, 2, 20);
    m_ticks.clear();
    m_labelCounter = 0;
    m_zeroHeight = canvas.TextHeight(QStringLiteral("0"));

    switch (m_settings.labelType) {
    case ftDateTime:
        drawDateTimeScale(canvas, baseLine);
        break;
    case ftTime:
        if (!drawTimeScale(canvas, baseLine))
            drawNumericAxis(canvas, baseLine);
        break;
    default:
        drawNumericAxis(canvas, baseLine);
        break;
    }
    drawCaption(canvas, baseLine);
}

void TScale::drawNumericAxis(Canvas &canvas, int baseLine)
{
    if (m_settings.logarithmic) {
        // Ends at or below zero leave no place for ticks on a logarithmic mapping.
        if (!(m_settings.rangeLow > 0 && m_settings.rangeHigh > 0))
            return;
        if (UsesDecadeTicks(m_settings.rangeLow, m_settings.rangeHigh)) {
            drawLogAxis(canvas, baseLine);
            return;
        }
    }
    drawLinearAxis(canvas, baseLine);
}

void TScale::labelTick(Canvas &canvas, int baseLine, double value, QString text)
{
    ++m_labelCounter;
    if (m_settings.labelType == ftUserText)
        text = UserTickItem(m_settings.userTickText, m_labelCounter);
    else
        text = ApplyInscript(text, m_settings.scaleInscript);
    drawTickLabel(canvas, baseLine, value, text);
}

void TScale::drawLinearAxis(Canvas &canvas, int baseLine)
{
    const int dp = AutoDecPlaces(m_settings.decPlaces, m_settings.rangeHigh, m_settings.rangeLow);
    const bool labels = m_settings.labelType != ftNoFigs;
    const long long pixels =
        isVertical()
            ? static_cast<long long>(height()) - m_settings.marginTop - m_settings.marginBottom - 1
            : static_cast<long long>(width()) - m_settings.marginLeft - m_settings.marginRight - 1;
    const int minTicks =
        LinearAxisMinTicks(m_paintMinTicks, m_settings.rangeLow, m_settings.rangeHigh, pixels);
    ForEachLinearTick(minTicks, m_settings.rangeLow, m_settings.rangeHigh, m_settings.shortTicks,
                      isVertical(), [&](const TScaleTick &tick) {
                          const double value = static_cast<double>(tick.Value);
                          if (tick.Record)
                              recordTick(value);
                          if (tick.Kind == TTickKind::Short) {
                              drawTickMark(canvas, baseLine, value, ShortTickLength);
                          } else {
                              drawTickMark(canvas, baseLine, value, longTickLength());
                              if (labels)
                                  labelTick(canvas, baseLine, value,
                                            LinearTickLabel(tick.Value, dp, m_settings.decPlaces,
                                                            m_settings.rangeLow,
                                                            m_settings.rangeHigh));
                          }
                          raiseTickDrawn(canvas, baseLine, value);
                      });
}

void TScale::drawLogAxis(Canvas &canvas, int baseLine)
{
    const int dp =
        AutoLogDecPlaces(m_settings.decPlaces, m_settings.rangeHigh, m_settings.rangeLow);
    const bool labels = m_settings.labelType != ftNoFigs;
    ForEachLogTick(
        m_paintMinTicks, m_settings.rangeLow, m_settings.rangeHigh, m_settings.shortTicks,
        isVertical(), [&](const TScaleTick &tick) {
            const double value = static_cast<double>(tick.Value);
            const bool labelled = tick.Kind == TTickKind::LogLabelled;
            if (tick.Record)
                recordTick(value);
            // Every tick of a vertical logarithmic axis has the long length.
            const int length = labelled || isVertical() ? longTickLength() : ShortTickLength;
            drawTickMark(canvas, baseLine, value, length);
            if (labelled && labels)
                labelTick(canvas, baseLine, value, LogTickLabel(tick, dp, m_settings.decPlaces));
            raiseTickDrawn(canvas, baseLine, value);
        });
}

// --- ticks and labels -----------------------------------------------------------------------

QPoint TScale::tickBasePoint(int baseLine, double value) const
{
    const int pixel = ValueToPixel(value);
    return isVertical() ? QPoint(baseLine, pixel) : QPoint(pixel, baseLine);
}

void TScale::drawTickMark(Canvas &canvas, int baseLine, double value, int length)
{
    const long long pixel = ValueToPixel(value);
    const long long b = baseLine;
    switch (m_settings.scaleType) {
    case sctXB:
        canvas.MoveTo(safe(pixel), safe(b));
        canvas.LineTo(safe(pixel), safe(b - length));
        break;
    case sctXT:
        canvas.MoveTo(safe(pixel), safe(b));
        canvas.LineTo(safe(pixel), safe(b + length));
        break;
    case sctYL:
        canvas.MoveTo(safe(b), safe(pixel));
        canvas.LineTo(safe(b + length), safe(pixel));
        break;
    case sctYR:
        canvas.MoveTo(safe(b), safe(pixel));
        canvas.LineTo(safe(b - length), safe(pixel));
        break;
    }
}

void TScale::raiseTickDrawn(Canvas &canvas, int baseLine, double value)
{
    if (!OnScaleTickDrawn)
        return;
    const QPoint p = tickBasePoint(baseLine, value);
    OnScaleTickDrawn(this, canvas, m_settings.scaleType, value, p.x(), p.y());
}

void TScale::textOutClipped(Canvas &canvas, long long x, long long y, const QString &text)
{
    if (text.isEmpty())
        return;
    canvas.TextOut(safe(x), safe(y), text);
}

void TScale::drawHorizontalLabel(Canvas &canvas, int x, int baseLine, const QString &text)
{
    if (text.isEmpty())
        return;
    const long long w = canvas.TextWidth(text);
    const long long half = w / 2;
    const long long px = x;
    long long left = px - std::min(px - 2, half);
    if (px + half >= static_cast<long long>(width()) - 2)
        left = static_cast<long long>(width()) - 2 * half - 2;
    const long long textHeight = canvas.TextHeight(text);
    const long long top = m_settings.scaleType == sctXT
                              ? static_cast<long long>(baseLine) + 7
                              : static_cast<long long>(baseLine) - textHeight - 7;
    textOutClipped(canvas, left, top, text);
}

void TScale::drawVerticalLabel(Canvas &canvas, int y, int baseLine, const QString &text,
                               int textHeight)
{
    if (text.isEmpty())
        return;
    const long long top = static_cast<long long>(y) - textHeight / 2;
    const long long left = m_settings.scaleType == sctYL
                               ? static_cast<long long>(baseLine) + 8
                               : static_cast<long long>(baseLine) - canvas.TextWidth(text) - 8;
    textOutClipped(canvas, left, top, text);
}

void TScale::drawTickLabel(Canvas &canvas, int baseLine, double value, const QString &text)
{
    const int pixel = ValueToPixel(value);
    if (isVertical())
        drawVerticalLabel(canvas, pixel, baseLine, text, m_zeroHeight);
    else
        drawHorizontalLabel(canvas, pixel, baseLine, text);
}

// --- caption --------------------------------------------------------------------------------

void TScale::drawCaption(Canvas &canvas, int baseLine)
{
    if (m_settings.caption.isEmpty())
        return;
    const long long w = canvas.TextWidth(m_settings.caption);
    const long long W = width();
    const long long H = height();
    long long x;
    long long y;
    if (isVertical()) {
        x = static_cast<long long>(baseLine) + m_settings.captionPosX;
        switch (m_settings.captionAnchor) {
        case uaSclCenter:
            y = m_settings.marginTop + (H - m_settings.marginTop - m_settings.marginBottom) / 2 +
                m_settings.captionPosY;
            break;
        case uaSclBotRgt:
            y = H - m_settings.marginBottom + m_settings.captionPosY;
            break;
        default:
            y = static_cast<long long>(m_settings.marginTop) + m_settings.captionPosY;
            break;
        }
    } else {
        y = static_cast<long long>(baseLine) + m_settings.captionPosY;
        switch (m_settings.captionAnchor) {
        case uaSclCenter:
            x = m_settings.marginLeft + (W - m_settings.marginLeft - m_settings.marginRight) / 2 +
                m_settings.captionPosX;
            break;
        case uaSclBotRgt:
            x = W - m_settings.marginRight + m_settings.captionPosX;
            break;
        default:
            x = static_cast<long long>(m_settings.marginLeft) + m_settings.captionPosX;
            break;
        }
    }
    if (m_settings.captionAlignment == Zel::taRightJustify)
        x -= w;
    else if (m_settings.captionAlignment == Zel::taCenter)
        x -= w / 2;
    textOutClipped(canvas, x, y, m_settings.caption);
}

// --- own picture ----------------------------------------------------------------------------

void TScale::ensureOwnPicture()
{
    const QImage::Format format =
        m_settings.transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (fitsWidget(m_picture, this, size()) && m_picture.format() == format)
        return;
    m_ownCanvas.setDevice(nullptr);
    m_picture = makeWidgetImage(this, size(), format,
                                m_settings.transparent ? QColor(Qt::transparent)
                                                       : toQColor(m_settings.colorBackGnd));
    m_ownCanvas.setDevice(&m_picture);
}
