// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FormBuilder.h"

#include "platform/AlignLayout.h"

namespace FormBuilder {

QFont windowFont(const QString &face, int pixelHeight, bool bold, bool italic)
{
    QFont font(face);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

TPanel *panel(QWidget *parent, const char *name, QRect rect, TBevelCut outer, TBevelCut inner)
{
    auto *p = named(new TPanel(parent), name);
    p->SetBevelOuter(outer);
    p->SetBevelInner(inner);
    p->setGeometry(rect);
    new AlignLayout(p, rect.size(), p->borderWidth());
    return p;
}

TLabel *label(QWidget *parent, const char *name, const QString &caption, Qt::Alignment align)
{
    auto *l = named(new TLabel(parent), name);
    l->SetCaption(caption);
    l->setAlignment(align | Qt::AlignTop);
    return l;
}

TBitBtn *button(QWidget *parent, const char *name, const QString &caption, const QIcon &glyph)
{
    auto *b = named(new TBitBtn(parent), name);
    b->SetCaption(caption);
    b->setIcon(glyph);
    return b;
}

} // namespace FormBuilder
