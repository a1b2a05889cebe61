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

// A container with optional one-pixel bevels, in the window's face colour: the outer bevel on
// its edge, the inner one just inside it.
class TPanel : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(Ctl::TBevelCut BevelInner READ BevelInner WRITE setBevelInner)
    Q_PROPERTY(Ctl::TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
public:
    explicit TPanel(QWidget *parent = nullptr);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void setBevelInner(TBevelCut bevel);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TBevelCut bevel);
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
    Q_PROPERTY(Ctl::TBevelShape Shape READ Shape WRITE setShape)
public:
    explicit TBevel(QWidget *parent = nullptr);
    TBevelShape Shape() const { return m_shape; }
    void setShape(TBevelShape shape);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TBevelShape m_shape = Ctl::bsLeftLine;
};

class TLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
public:
    explicit TLabel(QWidget *parent = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
};

// A push button with a glyph; the disabled glyph is derived from the enabled one.
class TBitBtn : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
public:
    explicit TBitBtn(QWidget *parent = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }

    std::function<void()> OnClick;
};

// A scroll bar whose position is clamped into Min..Max and whose OnChange is raised only
// when the position really changes, whether the user or the program moved it.
class TScrollBar : public QScrollBar
{
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Position READ Position WRITE setPosition)
    Q_PROPERTY(int SmallChange READ SmallChange WRITE setSmallChange)
    Q_PROPERTY(int LargeChange READ LargeChange WRITE setLargeChange)
    Q_PROPERTY(int PageSize READ PageSize WRITE setPageSize)
public:
    explicit TScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);

    int Min() const { return minimum(); }
    void setMin(int value) { setMinimum(value); }
    int Max() const { return maximum(); }
    void setMax(int value) { setMaximum(value); }
    int Position() const { return value(); }
    void setPosition(int position) { setValue(position); }
    int SmallChange() const { return singleStep(); }
    void setSmallChange(int step) { setSingleStep(step); }
    int LargeChange() const { return pageStep(); }
    void setLargeChange(int step) { setPageStep(step); }
    int PageSize() const { return m_pageSize; }
    void setPageSize(int size) { m_pageSize = size; }
    // Sets all three at once; the position is clamped into the new range.
    void setParams(int position, int min, int max);

    std::function<void(TScrollBar *sender)> OnChange;

protected:
    // Right and Down move towards Max, Left and Up towards Min, whatever the orientation.
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_pageSize = 0;
};
