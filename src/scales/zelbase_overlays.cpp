// Crosshair and text-label settings objects.

#include "scales/zelbase_overlays.h"

#include <algorithm>

// ---- TCrossHair ------------------------------------------------------------------------------

TCrossHair::TCrossHair(QObject *parent) : QObject(parent) {}

void TCrossHair::changed()
{
    if (OnChange)
        OnChange(this);
}

void TCrossHair::SetPosX(double value)
{
    m_posX = value;
    changed();
}

void TCrossHair::SetPosY(double value)
{
    m_posY = value;
    changed();
}

void TCrossHair::SetColor(TColor value)
{
    m_color = value;
    changed();
}

void TCrossHair::SetMode(TCrossHMode value)
{
    m_mode = value;
    changed();
}

void TCrossHair::SetLineType(TPenStyle value)
{
    m_lineType = value;
    changed();
}

void TCrossHair::SetLineWid(int value)
{
    m_lineWid = value;
    changed();
}

void TCrossHair::SetLayer(int value)
{
    m_layer = std::clamp(value, zelFirstLayer, zelLastLayer);
    changed();
}

void TCrossHair::Assign(const TCrossHair &source)
{
    if (&source != this) {
        m_posX = source.m_posX;
        m_posY = source.m_posY;
        m_color = source.m_color;
        m_mode = source.m_mode;
        m_lineType = source.m_lineType;
        m_lineWid = source.m_lineWid;
        m_layer = source.m_layer;
    }
    changed();
}

// ---- TCustomTextLabel ------------------------------------------------------------------------

TCustomTextLabel::TCustomTextLabel(QObject *parent)
    : QObject(parent), m_font(std::make_unique<TFont>())
{
    m_font->OnChange = [this](QObject *) {
        if (!m_fontChangeQuiet)
            changed();
    };
}

TCustomTextLabel::~TCustomTextLabel()
{
    m_font->OnChange = nullptr;
}

void TCustomTextLabel::changed()
{
    if (OnChange)
        OnChange(this);
}

void TCustomTextLabel::SetPosX(double value)
{
    m_posX = value;
    changed();
}

void TCustomTextLabel::SetPosY(double value)
{
    m_posY = value;
    changed();
}

void TCustomTextLabel::SetLayer(int value)
{
    if (value < zelFirstLayer || value > zelLastLayer)
        return;
    m_layer = value;
    changed();
}

void TCustomTextLabel::SetShadowDx(int value)
{
    m_shadowDx = value;
    changed();
}

void TCustomTextLabel::SetShadowDy(int value)
{
    m_shadowDy = value;
    changed();
}

void TCustomTextLabel::SetColorShadow(TColor value)
{
    m_colorShadow = value;
    changed();
}

void TCustomTextLabel::SetAlignment(TAlignment value)
{
    m_alignment = value;
    changed();
}

void TCustomTextLabel::SetVerticalAlignment(TVerticalAlignment value)
{
    m_verticalAlignment = value;
    changed();
}

void TCustomTextLabel::SetAttachToData(TTxtLblAttachMode value)
{
    m_attachToData = value;
    changed();
}

void TCustomTextLabel::SetColorBkg(TColor value)
{
    m_colorBkg = value;
    changed();
}

void TCustomTextLabel::SetColorBorder(TColor value)
{
    m_colorBorder = value;
    changed();
}

void TCustomTextLabel::SetTransparent(bool value)
{
    m_transparent = value;
    changed();
}

void TCustomTextLabel::SetFont(const TFont *value)
{
    if (value && value != m_font.get()) {
        m_fontChangeQuiet = true;
        m_font->Assign(*value);
        m_fontChangeQuiet = false;
    }
    changed();
}

void TCustomTextLabel::SetCaption(const QString &value)
{
    QString caption = value;
    for (QChar &c : caption) {
        if (c.unicode() < 32 && c.unicode() != 10)
            c = QLatin1Char(' ');
    }
    m_caption = caption;
    changed();
}

void TCustomTextLabel::SetMode(TTxtLblMode value)
{
    m_mode = value;
    changed();
}

void TCustomTextLabel::SetVisible(bool value)
{
    m_visible = value;
    changed();
}

QStringList TCustomTextLabel::CaptionLines() const
{
    return m_caption.split(QLatin1Char('\n'));
}

void TCustomTextLabel::Assign(const TCustomTextLabel &source)
{
    if (&source != this) {
        m_posX = source.m_posX;
        m_posY = source.m_posY;
        m_layer = source.m_layer;
        m_shadowDx = source.m_shadowDx;
        m_shadowDy = source.m_shadowDy;
        m_colorShadow = source.m_colorShadow;
        m_alignment = source.m_alignment;
        m_verticalAlignment = source.m_verticalAlignment;
        m_attachToData = source.m_attachToData;
        m_colorBkg = source.m_colorBkg;
        m_colorBorder = source.m_colorBorder;
        m_transparent = source.m_transparent;
        m_fontChangeQuiet = true;
        m_font->Assign(*source.m_font);
        m_fontChangeQuiet = false;
        m_caption = source.m_caption;
        m_mode = source.m_mode;
        m_visible = source.m_visible;
    }
    changed();
}

// ---- TTextLabel ------------------------------------------------------------------------------

TTextLabel::TTextLabel(QObject *parent) : TCustomTextLabel(parent) {}
