// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The standard controls that the stored window descriptions use: panels with bevels, bevel
// lines, labels, glyph buttons and scroll bars. Each exposes its stored settings under their
// published names.

#include "platform/Colors.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <functional>

namespace Ctl {
Q_NAMESPACE
enum TBevelCut { bvNone, bvLowered, bvRaised };
Q_ENUM_NS(TBevelCut)
enum TBevelShape { bsLeftLine, bsTopLine, bsBox };
Q_ENUM_NS(TBevelShape)
} // namespace Ctl

using Ctl::TBevelCut;
using Ctl::TBevelShape;

// The focus mark of every focusable control: a frame in the highlight colour along the widget's
// edge, `width` pixels thick, painted over the control's own picture.
void drawFocusFrame(QWidget *w, int width = 2);

// A container with optional one-pixel bevels, in the window's face colour: the outer bevel on
// its edge, the inner one just inside it.
class TPanel : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(Ctl::TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(Ctl::TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
public:
    explicit TPanel(QWidget *parent = nullptr);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TBevelCut bevel);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut bevel);
    // Width of the frame that aligned children stay inside.
    int borderWidth() const
    {
        return (m_bevelOuter == Ctl::bvNone ? 0 : 1) + (m_bevelInner == Ctl::bvNone ? 0 : 1);
    }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    TBevelCut m_bevelInner = Ctl::bvNone;
    TBevelCut m_bevelOuter = Ctl::bvRaised;
};

// A line drawn as a lowered groove (shadow then highlight) along one edge of its rectangle.
class TBevel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(Ctl::TBevelShape Shape READ Shape WRITE SetShape)
public:
    explicit TBevel(QWidget *parent = nullptr);
    TBevelShape Shape() const { return m_shape; }
    void SetShape(TBevelShape shape);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TBevelShape m_shape = Ctl::bsLeftLine;
};

class TLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TLabel(QWidget *parent = nullptr);
    QString Caption() const { return text(); }
    void SetCaption(const QString &caption) { setText(caption); }
};

// A push button with a glyph; the disabled glyph is derived from the enabled one.
class TBitBtn : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TBitBtn(QWidget *parent = nullptr);
    QString Caption() const { return text(); }
    void SetCaption(const QString &caption) { setText(caption); }

    std::function<void()> OnClick;

protected:
    // The toolkit's picture, with the focus frame of the scroll bars while focused.
    void paintEvent(QPaintEvent *event) override;
};

// A scroll bar whose position is clamped into Min..Max and whose OnChange is raised only
// when the position really changes, whether the user or the program moved it.
class TScrollBar : public QScrollBar
{
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int SmallChange READ SmallChange WRITE SetSmallChange)
    Q_PROPERTY(int LargeChange READ LargeChange WRITE SetLargeChange)
    Q_PROPERTY(int PageSize READ PageSize WRITE SetPageSize)
public:
    explicit TScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);

    int Min() const { return minimum(); }
    void SetMin(int value) { setMinimum(value); }
    int Max() const { return maximum(); }
    void SetMax(int value) { setMaximum(value); }
    int Position() const { return value(); }
    void SetPosition(int position) { setValue(position); }
    int SmallChange() const { return singleStep(); }
    void SetSmallChange(int step) { setSingleStep(step); }
    int LargeChange() const { return pageStep(); }
    void SetLargeChange(int step) { setPageStep(step); }
    int PageSize() const { return m_pageSize; }
    void SetPageSize(int size) { m_pageSize = size; }
    // Sets all three at once; the position is clamped into the new range.
    void SetParams(int position, int min, int max);

    // How the program tells the position to people: as a value in its own units (what
    // assistive technology reads and sets) and as a text (the tooltip while the mouse rests on
    // the bar or drags its thumb, and the accessible value). Without them: the bare position.
    struct TValueUnits
    {
        std::function<double(int position)> toUnits;
        // The position nearest to a value; SetPosition clamps it.
        std::function<int(double value)> toPosition;
        std::function<QString(int position)> text;
    };
    void SetValueUnits(TValueUnits units);
    double unitsOf(int position) const;
    int positionOf(double value) const;
    QString valueText() const;
    // Tells assistive technology and an open tooltip that the value text changed, also when
    // it depends on more than this bar's position; only a real change is told.
    void valueTextChanged();

    // The step of Page Up and Page Down; 0 takes LargeChange, the step of a click in the
    // trough.
    int KeyPageStep() const { return m_keyPageStep; }
    void SetKeyPageStep(int step) { m_keyPageStep = step; }

    std::function<void(TScrollBar *sender)> OnChange;

protected:
    // Right, Down and Page Down move towards Max, Left, Up and Page Up towards Min, whatever
    // the orientation; Home and End go to Min and Max.
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;
    // A focus frame over the bar while it has the focus; without focus the bar is drawn as
    // the toolkit draws it.
    void paintEvent(QPaintEvent *event) override;

private:
    void showValueTip(QPoint globalPos);
    // The bar's accessible interface (a slider with its value in units), installed once.
    static void ensureAccessibleFactory();

    int m_pageSize = 0;
    int m_keyPageStep = 0;
    TValueUnits m_units;
    QString m_toldText;
};
