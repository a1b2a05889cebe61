// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TfrmExample.h"
#include "chart/Zel_rchart.h"
#include "hostlink/WendralDemon.h"
#include "platform/Controls.h"
#include "widgets/Zel_NumLab.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextEdit>
#include <QTimer>
#include <QTimerEvent>
#include <gtest/gtest.h>

namespace {

struct SliderRow
{
    TScrollBar *TfrmExample::*slider;
    int min, max, position, smallChange, largeChange;
    Qt::Orientation orientation;
};

QRect rectIn(QWidget *w, QWidget *ancestor)
{
    return QRect(w->mapTo(ancestor, QPoint(0, 0)), w->size());
}

} // namespace

TEST(MainWindow, SlidersHaveTheirRangesStartPositionsAndSteps)
{
    TfrmExample w;
    const SliderRow rows[] = {
        {&TfrmExample::SBarMass, 1000, 900000, 42000, 10, 1000, Qt::Horizontal},
        {&TfrmExample::SBarMassFineAdj, -3000, 3000, 0, 1, 1, Qt::Horizontal},
        {&TfrmExample::SBarMagnifX, 800, 250000, 8000, 1, 1, Qt::Horizontal},
        {&TfrmExample::SBarResol, 100, 2000, 800, 1, 1, Qt::Horizontal},
        {&TfrmExample::SBarAmplif, 100, 1000, 1000, 1, 1, Qt::Vertical},
        {&TfrmExample::SBarPFK, 0, 100, 100, 1, 1, Qt::Vertical},
        {&TfrmExample::SBarMetNonenone, 0, 100, 100, 1, 1, Qt::Vertical},
        {&TfrmExample::SBarPregnene, 0, 100, 100, 1, 1, Qt::Vertical},
    };
    for (const SliderRow &row : rows) {
        TScrollBar *s = w.*row.slider;
        SCOPED_TRACE(s->objectName().toStdString());
        EXPECT_EQ(s->Min(), row.min);
        EXPECT_EQ(s->Max(), row.max);
        EXPECT_EQ(s->Position(), row.position);
        EXPECT_EQ(s->SmallChange(), row.smallChange);
        EXPECT_EQ(s->LargeChange(), row.largeChange);
        EXPECT_EQ(s->PageSize(), 0);
        EXPECT_EQ(s->orientation(), row.orientation);
    }
}

TEST(MainWindow, ControlsStandWhereTheWindowDescriptionPutsThem)
{
    TfrmExample w;
    EXPECT_EQ(w.size(), QSize(720, 560));
    EXPECT_EQ(w.PContent->geometry(), QRect(0, 0, 568, 460));
    EXPECT_EQ(w.Panel1->geometry(), QRect(57, 0, 511, 332));
    EXPECT_EQ(w.RCScope->geometry(), QRect(1, 1, 509, 330));
    EXPECT_EQ(w.Panel2->geometry(), QRect(0, 0, 57, 332));
    EXPECT_EQ(w.SBarAmplif->geometry(), QRect(22, 40, 16, 271));
    EXPECT_EQ(w.Panel4->geometry(), QRect(0, 332, 568, 128));
    EXPECT_EQ(w.SBarMass->geometry(), QRect(96, 10, 417, 18));
    EXPECT_EQ(w.SBarMassFineAdj->geometry(), QRect(96, 32, 417, 18));
    EXPECT_EQ(w.SBarMagnifX->geometry(), QRect(96, 64, 417, 18));
    EXPECT_EQ(w.NLabResol->geometry(), QRect(3, 93, 153, 20));
    EXPECT_EQ(w.SBarResol->geometry(), QRect(160, 94, 353, 18));
    EXPECT_EQ(w.pnlCommand->geometry(), QRect(568, 0, 152, 460));
    EXPECT_EQ(w.cmdExit->geometry(), QRect(10, 10, 135, 29));
    EXPECT_EQ(w.BButAbout->geometry(), QRect(10, 112, 135, 29));
    EXPECT_EQ(w.SBarPregnene->geometry(), QRect(28, 232, 16, 214));
    EXPECT_EQ(w.SBarMetNonenone->geometry(), QRect(74, 232, 16, 214));
    EXPECT_EQ(w.SBarPFK->geometry(), QRect(114, 232, 16, 214));
    EXPECT_EQ(w.pnlExplain->geometry(), QRect(0, 460, 720, 100));
    EXPECT_EQ(w.rtfExplanation->geometry(), QRect(1, 1, 718, 98));
    // Without a dictionary beside the test program, keys show without their prefix.
    EXPECT_EQ(w.rtfExplanation->toPlainText(), "description");
    EXPECT_TRUE(w.rtfExplanation->isReadOnly());
    EXPECT_EQ(w.Caption(), "Ionograph");
}

TEST(MainWindow, ResizingKeepsTheSideColumnsAndStretchesChartAndSliders)
{
    TfrmExample w;
    w.show(); // a hidden window receives its resize events only when shown
    w.resize(1000, 800);
    EXPECT_EQ(rectIn(w.pnlCommand, &w), QRect(848, 0, 152, 700));
    EXPECT_EQ(rectIn(w.pnlExplain, &w), QRect(0, 700, 1000, 100));
    EXPECT_EQ(rectIn(w.Panel2, &w), QRect(0, 0, 57, 572));
    EXPECT_EQ(rectIn(w.Panel4, &w), QRect(0, 572, 848, 128));
    EXPECT_EQ(rectIn(w.RCScope, &w), QRect(58, 1, 789, 570));
    EXPECT_EQ(w.SBarMass->width(), 417 + 280);
    EXPECT_EQ(w.SBarResol->width(), 353 + 280);
    EXPECT_EQ(w.SBarAmplif->height(), 271 + 240);
    EXPECT_EQ(w.SBarPFK->height(), 214 + 240);
    EXPECT_EQ(w.cmdExit->geometry(), QRect(10, 10, 135, 29));

    // Shrinking hands the loss to the chart again, never to the fixed columns.
    w.resize(740, 560);
    EXPECT_EQ(w.pnlCommand->width(), 152);
    EXPECT_EQ(w.Panel2->width(), 57);
    EXPECT_EQ(w.Panel4->height(), 128);
    EXPECT_EQ(w.pnlExplain->height(), 100);
    EXPECT_EQ(rectIn(w.RCScope, &w), QRect(58, 1, 529, 330));
}

TEST(MainWindow, CannotBeMadeSmallerThanItsDesignedClientArea)
{
    TfrmExample w;
    w.Timer1->stop();
    w.show();
    const std::pair<QSize, QSize> cases[] = {
        {{450, 350}, {720, 560}}, // the sliders and the explanation would collapse
        {{719, 900}, {720, 900}}, // each side on its own
        {{721, 561}, {721, 561}},
    };
    for (const auto &[asked, got] : cases) {
        w.resize(asked);
        EXPECT_EQ(w.size(), got) << asked.width() << "x" << asked.height();
    }
    // Refused sizes leave the designed layout whole.
    w.resize(450, 350);
    EXPECT_EQ(rectIn(w.RCScope, &w), QRect(58, 1, 509, 330));
    EXPECT_EQ(rectIn(w.pnlExplain, &w), QRect(0, 460, 720, 100));
}

TEST(MainWindow, SharedHandlersRedrawOnlyOnRealChanges)
{
    TfrmExample w;
    w.Timer1->stop();
    const int before = w.updateCount();
    w.SBarMass->SetPosition(50000);
    EXPECT_EQ(w.updateCount(), before + 1);
    w.SBarMassFineAdj->SetPosition(12);
    EXPECT_EQ(w.updateCount(), before + 2);
    w.SBarMassFineAdj->SetPosition(12); // same position: nothing
    EXPECT_EQ(w.updateCount(), before + 2);
    w.SBarPFK->SetPosition(40);
    w.SBarMetNonenone->SetPosition(40);
    w.SBarPregnene->SetPosition(40);
    w.SBarAmplif->SetPosition(500);
    w.SBarMagnifX->SetPosition(9000);
    EXPECT_EQ(w.updateCount(), before + 7);
    w.SBarMass->SetPosition(99999999); // clamped to the maximum
    EXPECT_EQ(w.SBarMass->Position(), 900000);
    EXPECT_EQ(w.updateCount(), before + 8);
    w.SBarMass->SetPosition(900001); // clamps to where it already is
    EXPECT_EQ(w.updateCount(), before + 8);
}

TEST(MainWindow, ResolutionReadoutFollowsTheResolutionSliderOnly)
{
    TfrmExample w;
    EXPECT_EQ(w.NLabResol->DisplayedText(), "800");
    w.SBarResol->SetPosition(1234);
    EXPECT_EQ(w.NLabResol->Value(), 1234.0);
    EXPECT_EQ(w.NLabResol->DisplayedText(), "1234");
    w.SBarMass->SetPosition(60000);
    EXPECT_EQ(w.NLabResol->DisplayedText(), "1234");
    // Setting the read-out directly does not move the slider back.
    w.NLabResol->SetValue(99);
    EXPECT_EQ(w.SBarResol->Position(), 1234);
}

TEST(MainWindow, UpdateDisplayWritesTheTraceAndTheVisibleWindow)
{
    TfrmExample w;
    w.UpdateDisplay();
    EXPECT_EQ(w.RCScope->Count(), 2001);
    EXPECT_EQ(w.RCScope->Items()[0].Kind, ikMoveTo);
    EXPECT_EQ(w.RCScope->Items()[2000].Kind, ikLineTo);
    EXPECT_EQ(w.RCScope->Items()[1].Color, 47360);
    EXPECT_DOUBLE_EQ(w.RCScope->Items()[2000].X, 50.0);
    const auto x = w.RCScope->layerRangeX(1);
    const auto y = w.RCScope->layerRangeY(1);
    EXPECT_DOUBLE_EQ(x.first, 38.0);
    EXPECT_DOUBLE_EQ(x.second, 46.0);
    EXPECT_DOUBLE_EQ(y.first, -0.2);
    EXPECT_DOUBLE_EQ(y.second, 100.0);

    w.SBarAmplif->SetPosition(100); // highest gain: full scale 1
    EXPECT_DOUBLE_EQ(w.RCScope->layerRangeY(1).second, 1.0);
}

TEST(MainWindow, TimerRedrawsEveryHundredMilliseconds)
{
    TfrmExample w;
    EXPECT_EQ(w.Timer1->interval(), 100);
    EXPECT_TRUE(w.Timer1->isActive());
    const int before = w.updateCount();
    // Deliver one tick of the running timer without waiting for it.
    QTimerEvent tick(w.Timer1->timerId());
    QCoreApplication::sendEvent(w.Timer1, &tick);
    EXPECT_EQ(w.updateCount(), before + 1);
}

TEST(MainWindow, DraggingOnTheScopeZoomsUntilTheNextTick)
{
    TfrmExample w;
    w.Timer1->stop();
    w.setAttribute(Qt::WA_DontShowOnScreen);
    w.show();
    TRChart &scope = *w.RCScope;
    EXPECT_EQ(scope.MouseAction(), Zel::maZoomDrag);
    const auto [xLo, xHi] = scope.layerRangeX(1);
    const auto [yLo, yHi] = scope.layerRangeY(1);

    const auto send = [&](QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(pos), QPointF(scope.mapToGlobal(pos)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&scope, &event);
    };
    const QPoint start(scope.MarginLeft() + scope.plotWidth() / 2,
                       scope.MarginTop() + scope.plotHeight() / 2);
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(QEvent::MouseMove, start, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(60, -30), Qt::LeftButton); // right narrows, up too
    const auto [zxLo, zxHi] = scope.layerRangeX(1);
    const auto [zyLo, zyHi] = scope.layerRangeY(1);
    EXPECT_LT(zxHi - zxLo, xHi - xLo);
    EXPECT_NEAR((zxLo + zxHi) / 2, (xLo + xHi) / 2, 1e-9);
    EXPECT_LT(zyHi - zyLo, yHi - yLo);

    // While the button is held, ticks draw new noise into the dragged window.
    const int updates = w.updateCount();
    QTimerEvent held(w.Timer1->timerId());
    QCoreApplication::sendEvent(w.Timer1, &held);
    EXPECT_EQ(w.updateCount(), updates + 1);
    EXPECT_EQ(scope.layerRangeX(1), std::make_pair(zxLo, zxHi));
    EXPECT_EQ(scope.layerRangeY(1), std::make_pair(zyLo, zyHi));
    // The drag goes on from where it began.
    send(QEvent::MouseMove, start + QPoint(-60, 30), Qt::LeftButton);
    EXPECT_GT(scope.layerRangeX(1).second - scope.layerRangeX(1).first, xHi - xLo);
    send(QEvent::MouseMove, start + QPoint(60, -30), Qt::LeftButton);
    EXPECT_EQ(scope.layerRangeX(1), std::make_pair(zxLo, zxHi));
    send(QEvent::MouseButtonRelease, start + QPoint(60, -30), Qt::NoButton);

    // The next timer tick draws the window the sliders set.
    w.Timer1->start();
    QTimerEvent running(w.Timer1->timerId());
    QCoreApplication::sendEvent(w.Timer1, &running);
    EXPECT_EQ(scope.layerRangeX(1), std::make_pair(xLo, xHi));
    EXPECT_EQ(scope.layerRangeY(1), std::make_pair(yLo, yHi));
}

TEST(MainWindow, ArrowKeysMoveEverySliderTheSameWay)
{
    TfrmExample w;
    for (TScrollBar *bar : {w.SBarMass, w.SBarMassFineAdj, w.SBarMagnifX, w.SBarResol, w.SBarAmplif,
                            w.SBarPFK, w.SBarMetNonenone, w.SBarPregnene})
        for (const auto &[key, sign] : {std::pair{Qt::Key_Right, 1},
                                        {Qt::Key_Down, 1},
                                        {Qt::Key_Left, -1},
                                        {Qt::Key_Up, -1}}) {
            bar->SetPosition(bar->Min() + bar->SmallChange());
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(bar, &press);
            EXPECT_EQ(bar->Position(), bar->Min() + (1 + sign) * bar->SmallChange())
                << bar->objectName().toStdString() << " key " << key;
        }
    EXPECT_EQ(w.NLabResol->Value(), w.SBarResol->Position()); // the read-out follows the keys
}

TEST(MainWindow, TabOrderFollowsTheWindowDescription)
{
    TfrmExample w;
    const QList<QWidget *> expected = {w.SBarMass,        w.SBarMagnifX, w.SBarResol,
                                       w.SBarMassFineAdj, w.SBarPFK,     w.SBarMetNonenone,
                                       w.SBarPregnene,    w.cmdExit,     w.BButNext,
                                       w.BButReset,       w.BButAbout};
    QList<QWidget *> chain;
    QWidget *start = w.SBarMass;
    QWidget *next = start;
    do {
        if (expected.contains(next))
            chain << next;
        next = next->nextInFocusChain();
    } while (next != start && chain.size() < expected.size());
    EXPECT_EQ(chain, expected);
}

TEST(MainWindow, ExitClosesTheWindow)
{
    TfrmExample w;
    w.show();
    ASSERT_TRUE(w.isVisible());
    w.cmdExit->click();
    EXPECT_FALSE(w.isVisible());
}

TEST(MainWindow, ParametersFromASecondStartBringTheWindowToTheFront)
{
    TfrmExample w;
    w.setAttribute(Qt::WA_DontShowOnScreen);
    w.showMinimized();
    w.hide();
    ASSERT_TRUE(w.cliDemon->OnParamsChange);
    w.cliDemon->OnParamsChange(w.cliDemon);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());
}
