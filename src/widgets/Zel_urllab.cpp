// SPDX-License-Identifier: GPL-3.0-or-later
// The hyperlink label: properties, the picture, the fonts under the mouse and the click that
// opens the address.

#include "widgets/Zel_urllab.h"

#include "platform/PixelRatio.h"

#include "platform/Controls.h"
#include "platform/Shell.h"
#include "scales/Zel_math2.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace {

// A canvas for measuring texts in a font.
class Measure
{
public:
    explicit Measure(const FontData &font) : m_image(1, 1, QImage::Format_RGB32), m_canvas(&m_image)
    {
        m_canvas.Font().setData(font);
    }
    Canvas &canvas() { return m_canvas; }

private:
    QImage m_image;
    Canvas m_canvas;
};

// The lines of a caption: line breaks always start a new line; with a width, lines are also
// broken at blanks so that they fit (a word wider than the width keeps a line of its own).
QStringList breakLines(const Canvas &canvas, const QString &caption, std::optional<int> width)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines;
    for (const QString &paragraph : caption.split(lineBreak)) {
        if (!width) {
            lines << paragraph;
            continue;
        }
        QString line;
        bool first = true;
        for (const QString &word : paragraph.split(QLatin1Char(' '))) {
            const QString candidate = first ? word : line + QLatin1Char(' ') + word;
            if (first || canvas.TextWidth(candidate) <= *width) {
                line = candidate;
            } else {
                lines << line;
                line = word;
            }
            first = false;
        }
        lines << line;
    }
    return lines;
}

// Restores the label's cursor when the opening ends, however it ends.
class CursorRestore
{
public:
    explicit CursorRestore(TUrlLab *label) : m_label(label), m_saved(label->Cursor()) {}
    ~CursorRestore()
    {
        if (m_label)
            m_label->SetCursor(m_saved);
    }
    CursorRestore(const CursorRestore &) = delete;
    CursorRestore &operator=(const CursorRestore &) = delete;

private:
    QPointer<TUrlLab> m_label;
    int m_saved;
};

} // namespace

// ---- TSizeConstraints --------------------------------------------------------------------------

void TSizeConstraints::set(int &field, int value)
{
    value = std::max(value, 0);
    if (field == value)
        return;
    field = value;
    if (OnChange)
        OnChange(this);
}

void TSizeConstraints::Assign(const TSizeConstraints &source)
{
    m_maxHeight = source.m_maxHeight;
    m_maxWidth = source.m_maxWidth;
    m_minHeight = source.m_minHeight;
    m_minWidth = source.m_minWidth;
    if (OnChange)
        OnChange(this);
}

QSize TSizeConstraints::bound(QSize size) const
{
    int w = std::max(size.width(), m_minWidth);
    int h = std::max(size.height(), m_minHeight);
    if (m_maxWidth > 0)
        w = std::min(w, std::max(m_maxWidth, m_minWidth));
    if (m_maxHeight > 0)
        h = std::min(h, std::max(m_maxHeight, m_minHeight));
    return {w, h};
}

// ---- construction ------------------------------------------------------------------------------

TUrlLab::TUrlLab(QWidget *parent)
    : QWidget(parent), m_constraints(new TSizeConstraints(this)),
      m_parentSettings(this, [this] { textChanged(); }), m_font(m_parentSettings.font()),
      m_fontActive(new TFont(this)), m_fontNormal(new TFont(this))
{
    ensureAccessibleFactory();
    m_fontActive->OnChange = [this](QObject *) { Repaint(); };
    m_constraints->OnChange = [this](QObject *) { applyConstraints(); };
    resize(DefaultWidth, DefaultHeight);
    m_parentSettings.followParentFont();
    followParentColor();
    m_fontActive->Assign(*m_font);
    m_fontNormal->Assign(*m_font);
    applyTransparency();
    adjustBounds();
}

TUrlLab::~TUrlLab() = default;

// ---- setters -----------------------------------------------------------------------------------

template <class T> void TUrlLab::setAndRepaint(T &field, const T &value)
{
    if (assignIfChanged(field, value))
        Repaint();
}

void TUrlLab::SetConstraints(const TSizeConstraints *value)
{
    if (value)
        m_constraints->Assign(*value);
}

void TUrlLab::applyConstraints()
{
    const QSize least = m_constraints->bound(QSize(0, 0));
    setMinimumSize(least);
    setMaximumSize(
        m_constraints->MaxWidth() > 0 ? std::max(m_constraints->MaxWidth(), least.width())
                                      : QWIDGETSIZE_MAX,
        m_constraints->MaxHeight() > 0 ? std::max(m_constraints->MaxHeight(), least.height())
                                       : QWIDGETSIZE_MAX);
    adjustBounds();
}

void TUrlLab::SetAlignment(TAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    Repaint();
}

void TUrlLab::SetAutoSize(bool value)
{
    if (value == m_autoSize)
        return;
    m_autoSize = value;
    adjustBounds();
}

void TUrlLab::SetCaption(const QString &value)
{
    if (value == m_caption)
        return;
    m_caption = value;
    textChanged();
}

void TUrlLab::SetColor(TColor value)
{
    if (!m_followingParentColor)
        m_parentColor = false;
    setAndRepaint(m_color, value);
}

void TUrlLab::SetParentColor(bool value)
{
    if (value == m_parentColor)
        return;
    m_parentColor = value;
    followParentColor();
}

void TUrlLab::followParentColor()
{
    if (!m_parentColor || !parentWidget())
        return;
    m_followingParentColor = true;
    SetColor(fromQColor(parentWidget()->palette().color(QPalette::Window)));
    m_followingParentColor = false;
}

bool TUrlLab::Enabled() const
{
    return !testAttribute(Qt::WA_ForceDisabled);
}

void TUrlLab::SetEnabled(bool value)
{
    setEnabled(value);
    Repaint();
}

void TUrlLab::SetFont(const TFont *value)
{
    m_parentSettings.setFont(value);
}

void TUrlLab::SetParentFont(bool value)
{
    m_parentSettings.setParentFont(value);
}

void TUrlLab::SetParentShowHint(bool value)
{
    m_parentSettings.setParentShowHint(value);
}

bool TUrlLab::ShowHint() const
{
    return m_parentSettings.showHint();
}

void TUrlLab::SetShowHint(bool value)
{
    m_parentSettings.setShowHint(value);
}

void TUrlLab::SetTransparent(bool value)
{
    if (value == m_transparent)
        return;
    m_transparent = value;
    applyTransparency();
    Repaint();
}

void TUrlLab::applyTransparency()
{
    // An opaque label covers every pixel; under a transparent one the parent's background is
    // drawn first.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
    if (m_transparent && parentWidget())
        parentWidget()->update(geometry());
}

void TUrlLab::SetLayout(TTextLayout value)
{
    setAndRepaint(m_layout, value);
}

void TUrlLab::SetWordWrap(bool value)
{
    if (value == m_wordWrap)
        return;
    m_wordWrap = value;
    textChanged();
}

void TUrlLab::setVisible(bool visible)
{
    m_visible = visible;
    QWidget::setVisible(visible);
}

void TUrlLab::SetCursor(int number)
{
    m_cursor = number;
    if (number == Screen::crDefault)
        unsetCursor();
    else
        setCursor(Screen::cursor(number));
}

void TUrlLab::SetURL(const QString &value)
{
    m_url = TrimBlanks(value);
    Repaint();
}

void TUrlLab::SetTaskParams(const QString &value)
{
    m_taskParams = TrimBlanks(value);
    Repaint();
}

void TUrlLab::SetFontActive(const TFont *value)
{
    if (!value)
        return;
    m_fontActive->Assign(*value);
    Repaint();
}

// ---- the click ---------------------------------------------------------------------------------

bool TUrlLab::isWebAddress(const QString &url)
{
    return url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QString TUrlLab::fileExtension(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    for (qsizetype i = dot + 1; i < path.size(); ++i) {
        const QChar c = path.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':'))
            return {};
    }
    return path.mid(dot);
}

void TUrlLab::fail(const QString &reason) const
{
    const QString message =
        QStringLiteral("Component \"") + objectName() + QStringLiteral("\": ") + reason;
    throw EZelURLLabError(message.toStdString());
}

void TUrlLab::openURL()
{
    if (m_url.isEmpty())
        return;
    if (isWebAddress(m_url)) {
        const QString address = m_url;
        const CursorRestore restore(this);
        SetCursor(Screen::crHourGlass);
        // Let the cursor change show; input waits, so a second click cannot start a second
        // opening meanwhile.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        Shell::execute({QString(), address, QString(), QString()});
        return;
    }
    if (fileExtension(m_url).toLower() != QStringLiteral(".exe"))
        fail(QStringLiteral("URL of URLLab is invalid"));
    const int result = Shell::execute({QStringLiteral("open"), m_url, m_taskParams, QString()});
    if (result <= 32 && result != -1)
        fail(QStringLiteral("Cannot start executable (errnum=") + QString::number(result) +
             QLatin1Char(')'));
}

void TUrlLab::Click()
{
    const QPointer<TUrlLab> alive(this);
    openURL();
    if (alive && OnClick)
        OnClick(this);
}

// ---- the mouse ---------------------------------------------------------------------------------

void TUrlLab::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
    if (!Enabled())
        return;
    // A label that never loaded has no load-time font; the one it shows now is its normal one.
    if (!m_hasLoaded && !m_activeShown)
        m_fontNormal->Assign(*m_font);
    m_activeShown = true;
    m_font->Assign(*m_fontActive);
}

void TUrlLab::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
    // A label disabled while it showed the active font gets its normal font back as well.
    if (!Enabled() && !m_activeShown)
        return;
    m_activeShown = false;
    m_font->Assign(*m_fontNormal);
}

void TUrlLab::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    MouseEnter();
}

void TUrlLab::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    MouseLeave();
}

void TUrlLab::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    raiseMouseDown(this, event);
}

void TUrlLab::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const bool click = event->button() == Qt::LeftButton && m_leftPressed && rect().contains(at);
    if (event->button() == Qt::LeftButton)
        m_leftPressed = false;
    const QPointer<TUrlLab> alive(this);
    if (OnMouseUp)
        OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
    if (click && alive)
        Click();
}

void TUrlLab::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click is a button-down but starts no click, so a double
    // click opens the address once.
    raiseDblClick(this, event);
    raiseMouseDown(this, event);
}

void TUrlLab::mouseMoveEvent(QMouseEvent *event)
{
    raiseMouseMove(this, event);
}

// ---- the keyboard ------------------------------------------------------------------------------

void TUrlLab::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && Enabled()) {
        Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TUrlLab::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TUrlLab::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TUrlLab::contextMenuEvent(QContextMenuEvent *event)
{
    bool handled = false;
    if (OnContextPopup)
        OnContextPopup(this, event->pos(), handled);
    if (handled) {
        event->accept();
        return;
    }
    if (!m_popupMenu) {
        event->ignore();
        return;
    }
    m_popupMenu->popup(event->globalPos());
    event->accept();
}

// ---- size and picture --------------------------------------------------------------------------

QStringList TUrlLab::textLines() const
{
    Measure measure(m_font->data());
    return breakLines(measure.canvas(), m_caption,
                      m_wordWrap ? std::optional<int>(width()) : std::nullopt);
}

QSize TUrlLab::textExtent() const
{
    Measure measure(m_font->data());
    Canvas &c = measure.canvas();
    const QStringList lines =
        breakLines(c, m_caption, m_wordWrap ? std::optional<int>(width()) : std::nullopt);
    int w = 0;
    for (const QString &line : lines)
        w = std::max(w, c.TextWidth(line));
    // An empty caption still measures one blank, so an automatically sized label stays
    // visible to the mouse.
    if (m_caption.isEmpty())
        w = c.TextWidth(QStringLiteral(" "));
    return {w, int(lines.size()) * c.TextHeight(QStringLiteral(" "))};
}

void TUrlLab::textChanged()
{
    adjustBounds();
    Repaint();
}

void TUrlLab::adjustBounds()
{
    if (!m_autoSize || isLoading() || m_adjusting)
        return;
    m_adjusting = true;
    const QSize extent = textExtent();
    const QSize size =
        m_constraints->bound(QSize(m_wordWrap ? width() : extent.width(), extent.height()));
    int x = this->x();
    if (m_alignment == Zel::taRightJustify && !m_wordWrap)
        x += width() - size.width();
    setGeometry(x, y(), size.width(), size.height());
    m_adjusting = false;
}

void TUrlLab::Repaint()
{
    m_stale = true;
    if (m_visible && !isLoading())
        update();
}

const QImage &TUrlLab::picture()
{
    if (m_stale || !fitsWidget(m_picture, this, size()))
        compose();
    return m_picture;
}

void TUrlLab::compose()
{
    m_stale = false;
    const int W = width();
    const int H = height();
    const QImage::Format format =
        m_transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QSize size(std::max(W, 0), std::max(H, 0));
    if (!fitsWidget(m_picture, this, size) || m_picture.format() != format)
        m_picture = makeWidgetImage(this, size, format, Qt::transparent);
    if (W <= 0 || H <= 0)
        return;
    m_picture.fill(Qt::transparent);

    Canvas c(&m_picture);
    c.Font().setData(m_font->data());
    c.setTextAlign(TextAlignH::Left, TextAlignV::Top);
    if (!m_transparent) {
        c.Brush() = TBrush{m_color, Gfx::bsSolid};
        c.FillRect(0, 0, W, H);
    }
    c.setBkMode(BkMode::Transparent);

    const QStringList lines =
        breakLines(c, m_caption, m_wordWrap ? std::optional<int>(W) : std::nullopt);
    const int lineHeight = c.TextHeight(QStringLiteral(" "));
    const int total = int(lines.size()) * lineHeight;
    int y = 0;
    if (m_layout == ZelUL::tlCenter)
        y = (H - total) / 2;
    else if (m_layout == ZelUL::tlBottom)
        y = H - total;

    const bool enabled = Enabled();
    for (const QString &line : lines) {
        const int w = c.TextWidth(line);
        int x = 0;
        if (m_alignment == Zel::taRightJustify)
            x = W - w;
        else if (m_alignment == Zel::taCenter)
            x = (W - w) / 2;
        if (enabled) {
            c.Font().SetColor(m_font->Color());
            c.TextOut(x, y, line);
        } else {
            c.Font().SetColor(clBtnHighlight);
            c.TextOut(x + 1, y + 1, line);
            c.Font().SetColor(clBtnShadow);
            c.TextOut(x, y, line);
        }
        y += lineHeight;
    }
}

void TUrlLab::paintEvent(QPaintEvent *)
{
    const QImage &image = picture();
    if (image.isNull())
        return;
    {
        QPainter painter(this);
        painter.drawImage(0, 0, image);
    }
    // One pixel: a link's box is hardly higher than its text.
    if (hasFocus())
        drawFocusFrame(this, 1);
}

void TUrlLab::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A wrapped caption rewraps for the new width and may need another height.
    if (m_wordWrap)
        adjustBounds();
    Repaint();
}

void TUrlLab::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        m_parentSettings.followParentFont();
    else if (event->type() == QEvent::PaletteChange)
        followParentColor();
    else if (event->type() == QEvent::EnabledChange)
        Repaint();
}

bool TUrlLab::event(QEvent *event)
{
    if (m_parentSettings.handleEvent(event))
        return true;
    if (event->type() == QEvent::ParentChange)
        followParentColor();
    return QWidget::event(event);
}

// ---- component life ----------------------------------------------------------------------------

void TUrlLab::loaded()
{
    ZelComponent::loaded();
    m_hasLoaded = true;
    adjustBounds();
    m_fontNormal->Assign(*m_font);
    Repaint();
}
