// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ParentSettings.h"

#include "platform/Component.h"

FontData fontDataOf(const QFont &font, FontData data)
{
    data.name = font.family();
    if (font.pixelSize() > 0)
        data.height = -font.pixelSize();
    else if (font.pointSizeF() > 0)
        data.height = -mulDiv(qRound(font.pointSizeF()), data.pixelsPerInch, 72);
    TFontStyles style;
    if (font.bold())
        style |= Gfx::fsBold;
    if (font.italic())
        style |= Gfx::fsItalic;
    if (font.underline())
        style |= Gfx::fsUnderline;
    if (font.strikeOut())
        style |= Gfx::fsStrikeOut;
    data.style = style;
    return data;
}

TParentSettings::TParentSettings(QWidget *control, std::function<void()> fontChanged)
    : m_control(control), m_font(new TFont(control))
{
    m_font->OnChange = [this, fontChanged = std::move(fontChanged)](QObject *) {
        if (!m_followingParentFont)
            m_parentFont = false;
        if (fontChanged)
            fontChanged();
    };
}

void TParentSettings::setFont(const TFont *value)
{
    if (value)
        m_font->Assign(*value);
}

void TParentSettings::setParentFont(bool value)
{
    if (assignIfChanged(m_parentFont, value))
        followParentFont();
}

void TParentSettings::followParentFont()
{
    if (!m_parentFont)
        return;
    m_followingParentFont = true;
    m_font->setData(fontDataOf(m_control->font(), m_font->data()));
    m_followingParentFont = false;
}

void TParentSettings::setParentShowHint(bool value)
{
    m_parentShowHint = value;
}

bool TParentSettings::showHint() const
{
    if (!m_parentShowHint)
        return m_showHint;
    const QWidget *parent = m_control->parentWidget();
    return parent && parent->property("ShowHint").toBool();
}

void TParentSettings::setShowHint(bool value)
{
    m_showHint = value;
    m_parentShowHint = false;
}

bool TParentSettings::handleEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !showHint()) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::ParentChange)
        followParentFont();
    return false;
}
