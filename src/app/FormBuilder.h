// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pieces shared by the functions that build the program's windows from their stored
// descriptions: each creates one control, names it and puts a component into the loading
// state, so that the window can apply the stored values and then end loading.

#include "platform/Component.h"
#include "platform/Controls.h"

#include <QFont>
#include <QIcon>
#include <QRect>
#include <type_traits>

class QWidget;

namespace FormBuilder {

template <class T> T *named(T *component, const char *name)
{
    component->setObjectName(QString::fromLatin1(name));
    if constexpr (std::is_base_of_v<ZelComponent, T>)
        component->beginLoading();
    return component;
}

// A window font of the stored descriptions: face and character height in pixels.
QFont windowFont(const QString &face, int pixelHeight, bool bold = false, bool italic = false);

// A panel at its designed rectangle with its bevels; aligned children of it are placed by an
// AlignLayout that keeps them inside the bevels.
TPanel *panel(QWidget *parent, const char *name, QRect rect, TBevelCut outer,
              TBevelCut inner = Ctl::bvNone);

// A fixed-size label (its size stays as designed, whatever the caption); the caption stands at
// the top of the label's box.
TLabel *label(QWidget *parent, const char *name, const QString &caption, Qt::Alignment align);

TBitBtn *button(QWidget *parent, const char *name, const QString &caption, const QIcon &glyph);

} // namespace FormBuilder
