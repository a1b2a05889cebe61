// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font and hint settings that a light-weight control takes from its parent.
//
// While ParentFont is on, the control's TFont follows the widget's inherited Qt font (the
// values a QFont does not carry, such as the colour, stay); changing the TFont from outside
// turns ParentFont off. While ParentShowHint is on, tool tips show when the parent's
// "ShowHint" property is true; setting ShowHint turns ParentShowHint off. A control holds one
// of these, forwards its published properties to it and passes on the events below.

#include "platform/Fonts.h"

#include <QEvent>
#include <QWidget>
#include <functional>

// The values of a widget font as TFont values, keeping those a QFont does not carry.
FontData fontDataOf(const QFont &font, FontData data);

class TParentSettings
{
public:
    // fontChanged runs after every change of the font, whether followed or set.
    TParentSettings(QWidget *control, std::function<void()> fontChanged);
    TParentSettings(const TParentSettings &) = delete;
    TParentSettings &operator=(const TParentSettings &) = delete;

    // Owned by the control; assigning copies the values.
    TFont *font() const { return m_font; }
    void setFont(const TFont *value);
    bool parentFont() const { return m_parentFont; }
    void setParentFont(bool value);
    bool parentShowHint() const { return m_parentShowHint; }
    void setParentShowHint(bool value);
    bool showHint() const;
    void setShowHint(bool value);

    // Takes the widget's font while ParentFont is on.
    void followParentFont();
    // For the control's event(): follows a new parent's font, and swallows tool tips while
    // hints are off. Returns true when the event is handled.
    bool handleEvent(QEvent *event);

private:
    QWidget *m_control;
    TFont *m_font;
    bool m_parentFont = true;
    bool m_followingParentFont = false;
    bool m_parentShowHint = true;
    bool m_showHint = false;
};
