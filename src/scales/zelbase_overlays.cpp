// SPDX-License-Identifier: GPL-3.0-or-later
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
    m_settings.posX = value;
    changed();
}

void TCrossHair::SetPosY(double value)
{
    m_settings.posY = value;
    changed();
}

void TCrossHair::SetColor(TColor value)
{
    m_settings.color = value;
    changed();
}

void TCrossHair::SetMode(TCrossHMode value)
{
    m_settings.mode = value;
    changed();
}

void TCrossHair::SetLineType(TPenStyle value)
{
    m_settings.lineType = value;
    changed();
}

void TCrossHair::SetLineWid(int value)
{
    m_settings.lineWid = value;
    changed();
}

void TCrossHair::SetLayer(int value)
{
    m_settings.layer = std::clamp(value, zelFirstLayer, zelLastLayer);
    changed();
}

void TCrossHair::Assign(const TCrossHair &source)
{
    m_settings = source.m_settings;
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
    m_settings.posX = value;
    changed();
}

void TCustomTextLabel::SetPosY(double value)
{
    m_settings.posY = value;
    changed();
}

void TCustomTextLabel::SetLayer(int value)
{
    if (value < zelFirstLayer || value > zelLastLayer)
        return;
    m_settings.layer = value;
    changed();
}

void TCustomTextLabel::SetShadowDx(int value)
{
    m_settings.shadowDx = value;
    changed();
}

void TCustomTextLabel::SetShadowDy(int value)
{
    m_settings.shadowDy = value;
    changed();
}

void TCustomTextLabel::SetColorShadow(TColor value)
{
    m_settings.colorShadow = value;
    changed();
}

void TCustomTextLabel::SetAlignment(TAlignment value)
{
    m_settings.alignment = value;
    changed();
}

void TCustomTextLabel::SetVerticalAlignment(TVerticalAlignment value)
{
    m_settings.verticalAlignment = value;
    changed();
}

void TCustomTextLabel::SetAttachToData(TTxtLblAttachMode value)
{
    m_settings.attachToData = value;
    changed();
}

void TCustomTextLabel::SetColorBkg(TColor value)
{
    m_settings.colorBkg = value;
    changed();
}

void TCustomTextLabel::SetColorBorder(TColor value)
{
    m_settings.colorBorder = value;
    changed();
}

void TCustomTextLabel::SetTransparent(bool value)
{
    m_settings.transparent = value;
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
    m_settings.caption = caption;
    changed();
}

void TCustomTextLabel::SetMode(TTxtLblMode value)
{
    m_settings.mode = value;
    changed();
}

void TCustomTextLabel::SetVisible(bool value)
{
    m_settings.visible = value;
    changed();
}

QStringList TCustomTextLabel::CaptionLines() const
{
    return m_settings.caption.split(QLatin1Char('\n'));
}

void TCustomTextLabel::Assign(const TCustomTextLabel &source)
{
    if (&source != this) {
        m_settings = source.m_settings;
        m_fontChangeQuiet = true;
        m_font->Assign(*source.m_font);
        m_fontChangeQuiet = false;
    }
    changed();
}

// ---- TTextLabel ------------------------------------------------------------------------------

TTextLabel::TTextLabel(QObject *parent) : TCustomTextLabel(parent) {}
