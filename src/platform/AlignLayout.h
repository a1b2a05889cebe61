// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Places child controls the way the stored window descriptions expect: each child keeps its
// designed rectangle, an aligned child fills one side (or the rest) of its parent's free area,
// and an anchored child keeps its distance to the anchored parent edges when the parent
// resizes. Aligned children are placed in the order top, bottom, left, right, client, each
// group in creation order.

#include <QFlags>
#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum class TAnchor { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
Q_DECLARE_FLAGS(TAnchors, TAnchor)
Q_DECLARE_OPERATORS_FOR_FLAGS(TAnchors)

constexpr TAnchors defaultAnchors()
{
    return TAnchors(TAnchor::akLeft) | TAnchor::akTop;
}

class AlignLayout : public QObject
{
public:
    // Watches the container's resizes. `designedSize` is the container's size in the stored
    // description, against which anchors keep their distances; `border` is the width of the
    // container's frame, which aligned children stay inside.
    AlignLayout(QWidget *container, QSize designedSize, int border = 0);

    // Registers a child with its designed rectangle (relative to the container).
    void place(QWidget *child, QRect designed, TAlign align = TAlign::alNone,
               TAnchors anchors = defaultAnchors());

    // Re-applies alignment and anchors for the container's current size, and then inside every
    // child that has a layout of its own (hidden widgets get no resize events to do it).
    void apply();

    static AlignLayout *of(QWidget *container);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry
    {
        QWidget *child;
        QRect designed;
        TAlign align;
        TAnchors anchors;
    };
    QWidget *m_container;
    int m_border;
    QSize m_designedSize;
    std::vector<Entry> m_entries;
    bool m_applying = false;
};
