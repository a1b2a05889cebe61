// SPDX-License-Identifier: GPL-3.0-or-later
// The program on a real X server with a window manager, driven by real input (xdotool): the
// About box closed with a click, sliders moved by clicks, keys and a drag, the tour stepped to
// its end and reset, a zoom-drag on the scope, a resize, the close box; and a second start
// while the first runs. Every stage is checked on the screen against the main window built in
// this process (ScreenOracle.h).

#include "ScreenOracle.h"
#include "XSession.h"

#include "chart/Zel_rchart.h"
#include "platform/Controls.h"
#include "widgets/Zel_NumLab.h"

#include <QStyleOptionSlider>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

// The screen matches a picture when at most this share of its pixels differs. The program on
// the X server and the oracle off the screen draw with the same code and fonts, pixel for
// pixel alike; the margin is far below what one other digit in the read-out makes.
constexpr double Matches = 0.002;

XSession *session = nullptr;

const QString dictionary = QStringLiteral(IONOGRAPH_DICTIONARY_DIR "/ionograph.itl");

class EndToEnd : public ::testing::Test
{
public:
    static void SetUpTestSuite() { session = new XSession; }
    static void TearDownTestSuite()
    {
        delete session;
        session = nullptr;
    }

protected:
    void SetUp() override
    {
        if (!session->running())
            GTEST_SKIP() << "no X server for the end-to-end run: "
                         << session->reason().toStdString();
    }
};

// The program under test on the session's display.
class Program
{
public:
    Program()
    {
        m_process.setProcessEnvironment(session->environment());
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(qEnvironmentVariable("IONOGRAPH_BINARY"), QStringList());
        EXPECT_TRUE(m_process.waitForStarted(30000));
    }
    ~Program()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }
    QProcess &process() { return m_process; }

    // The visible window with this title, once it is there; empty when it does not come.
    QString window(const QString &title)
    {
        QString found;
        XSession::waitFor([&] {
            for (const QString &w : session->windowsOf(m_process.processId()))
                if (session->windowName(w) == title)
                    found = w;
            return !found.isEmpty() || m_process.state() == QProcess::NotRunning;
        });
        return found;
    }
    bool ended(int timeoutMs = 30000)
    {
        return XSession::waitFor([&] { return m_process.state() == QProcess::NotRunning; },
                                 timeoutMs);
    }

private:
    QProcess m_process;
};

// The pointer is drawn into the screen: it leaves every place it clicked or dragged.
const QStringList pointerAway = {"mousemove", "2", "2"};

void click(QPoint at)
{
    session->xdotool(
        QStringList{"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"} +
        pointerAway);
}

// A drag with the left button from a point through others, released at the end or held.
// The moves come apart in time, as a hand makes them: the display server would merge moves
// that arrive together into one, and the first move only starts a drag.
QStringList drag(QPoint from, const QList<QPoint> &through, bool release)
{
    QStringList arguments{"mousemove", QString::number(from.x()), QString::number(from.y()),
                          "mousedown", "1"};
    for (const QPoint &p : through)
        arguments << "sleep"
                  << "0.15"
                  << "mousemove" << QString::number(p.x()) << QString::number(p.y());
    if (release)
        arguments << "sleep"
                  << "0.15"
                  << "mouseup"
                  << "1" << pointerAway;
    return arguments;
}

void keys(const QStringList &names)
{
    session->xdotool(QStringList{"key", "--delay", "60"} + names);
}

// Where the client area of a window lies on the screen, found by a picture of a part of it
// near the place xdotool reports: with a window manager's frame around the window, that
// report is off by up to the frame's title bar.
QPoint locateClient(const QImage &screen, QPoint reported, const QImage &picture, QPoint offset)
{
    QPoint best = reported;
    double bestMismatch = 1;
    for (int dy = -48; dy <= 8; ++dy)
        for (int dx = -8; dx <= 8; ++dx) {
            const QPoint client = reported + QPoint(dx, dy);
            const double m = mismatch(screen, client + offset, picture);
            if (m < bestMismatch) {
                bestMismatch = m;
                best = client;
            }
        }
    return best;
}

// The stages' checks against the oracle's state, in client coordinates shifted by origin.
struct Stage
{
    ScreenOracle &oracle;
    QPoint origin;

    double controlMismatch(const QImage &screen, QWidget *control)
    {
        return mismatch(screen, origin + oracle.rectOf(control).topLeft(), oracle.picture(control));
    }
    double axisMismatch(const QImage &screen, const QRect &axis)
    {
        const QRect chart = oracle.rectOf(oracle.window().RCScope);
        const QImage expected =
            oracle.picture(oracle.window().RCScope).copy(axis.translated(-chart.topLeft()));
        return mismatch(screen, origin + axis.topLeft(), expected);
    }
    bool traceShown(const QImage &screen)
    {
        const QRect plot = oracle.plot().translated(origin);
        const PlotPixels p = plotPixels(screen, plot);
        return p.other == 0 && p.green > plot.width() * 9 / 10;
    }
    bool shows(const QImage &screen)
    {
        TfrmExample &w = oracle.window();
        return traceShown(screen) && axisMismatch(screen, oracle.bottomAxis()) < Matches &&
               axisMismatch(screen, oracle.leftAxis()) < Matches &&
               controlMismatch(screen, w.rtfExplanation) < Matches &&
               controlMismatch(screen, w.NLabResol) < Matches;
    }

    // Waits until the screen shows the oracle's state, then checks each part on the last
    // screenshot, so that a failure names the part.
    void expectShown(const char *stage)
    {
        SCOPED_TRACE(stage);
        QImage screen;
        XSession::waitFor([&] {
            screen = session->screenshot();
            return !screen.isNull() && shows(screen);
        });
        ASSERT_FALSE(screen.isNull());
        TfrmExample &w = oracle.window();
        const QRect plot = oracle.plot().translated(origin);
        const PlotPixels p = plotPixels(screen, plot);
        EXPECT_EQ(p.other, 0) << "the plot holds only black and the trace's green";
        EXPECT_GT(p.green, plot.width() * 9 / 10) << "the green trace runs across the plot";
        EXPECT_LT(axisMismatch(screen, oracle.bottomAxis()), Matches) << "mass axis";
        EXPECT_LT(axisMismatch(screen, oracle.leftAxis()), Matches) << "signal axis";
        EXPECT_GT(darkPixels(screen, oracle.bottomAxis().translated(origin)), 40)
            << "the mass axis has labels";
        EXPECT_GT(darkPixels(screen, oracle.leftAxis().translated(origin)), 40)
            << "the signal axis has labels";
        EXPECT_LT(controlMismatch(screen, w.rtfExplanation), Matches) << "the tour's text";
        EXPECT_GT(darkPixels(screen, oracle.rectOf(w.rtfExplanation).translated(origin)), 200)
            << "the pane holds text";
        EXPECT_LT(controlMismatch(screen, w.NLabResol), Matches) << "the read-out";
    }
};

// The centre of a scroll bar's part (arrow or thumb) in client coordinates.
QPoint partOf(ScreenOracle &oracle, TScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = false;
    const QRect r = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
    return oracle.rectOf(bar).topLeft() + r.center();
}

} // namespace

TEST_F(EndToEnd, AClassOnTheRealScreenFromTheAboutBoxToTheCloseBox)
{
    ScreenOracle oracle(dictionary);
    TfrmExample &w = oracle.window();
    Program program;

    // Start-up: the About box over the main window; OK closes it.
    const QString main = program.window(QStringLiteral("Ionograph"));
    const QString about = program.window(QStringLiteral("About"));
    ASSERT_FALSE(main.isEmpty()) << "the main window did not appear";
    ASSERT_FALSE(about.isEmpty()) << "the About box did not appear at start-up";
    // The main window's place from the top of its left column (which the About box leaves
    // free); the About box has the same frame, so the same correction of xdotool's report.
    const QRect column(oracle.rectOf(w.Panel2).topLeft(), QSize(w.Panel2->width(), 36));
    const QPoint reported = session->geometry(main).topLeft();
    Stage stage{oracle, {}};
    stage.origin = locateClient(session->screenshot(), reported,
                                w.grab(column).toImage().convertToFormat(QImage::Format_RGB32),
                                column.topLeft());
    const QPoint okInBox(424 + 113 / 2, 296 + 33 / 2);
    click(session->geometry(about).topLeft() + (stage.origin - reported) + okInBox);
    ASSERT_TRUE(XSession::waitFor([&] {
        return !session->windowsOf(program.process().processId()).contains(about);
    })) << "OK did not close the About box";
    stage.expectShown("step 1 after start-up");

    // The resolution slider: a click on its right arrow, three Right keys and one Left (the
    // clicked bar has the focus), then a drag of its thumb.
    click(stage.origin + partOf(oracle, w.SBarResol, QStyle::SC_ScrollBarAddLine));
    w.SBarResol->SetPosition(801);
    stage.expectShown("resolution arrow clicked");
    keys({"Right", "Right", "Right", "Left"});
    w.SBarResol->SetPosition(803);
    stage.expectShown("arrow keys on the resolution slider");

    const QPoint thumb = stage.origin + partOf(oracle, w.SBarResol, QStyle::SC_ScrollBarSlider);
    session->xdotool(drag(thumb, {thumb + QPoint(30, 0), thumb + QPoint(60, 0)}, true));
    // Dragged by 60 pixels: some hundred steps further; which one the read-out tells.
    int dragged = 0;
    ASSERT_TRUE(XSession::waitFor([&] {
        const QImage screen = session->screenshot();
        for (int v = 810; v <= 1400 && dragged == 0; ++v) {
            w.SBarResol->SetPosition(v);
            if (stage.controlMismatch(screen, w.NLabResol) < Matches)
                dragged = v;
        }
        return dragged != 0;
    })) << "the drag did not move the resolution slider forward";
    w.SBarResol->SetPosition(dragged);
    stage.expectShown("resolution thumb dragged");

    // The amplification slider: its up arrow lowers the gain, so the signal axis changes.
    click(stage.origin + partOf(oracle, w.SBarAmplif, QStyle::SC_ScrollBarSubLine));
    w.SBarAmplif->SetPosition(999);
    stage.expectShown("amplification arrow clicked");

    // The tour: Next to the last step, which disables Next; Reset goes back to step 1.
    const QPoint next = stage.origin + oracle.rectOf(w.BButNext).center();
    for (int step = 2; step <= TfrmExample::TourStepCount; ++step) {
        click(next);
        oracle.showStep(step);
        stage.expectShown(qPrintable(QStringLiteral("tour step %1").arg(step)));
    }
    EXPECT_LT(stage.controlMismatch(session->screenshot(), w.BButNext), Matches)
        << "Next is disabled at the last step";
    click(stage.origin + oracle.rectOf(w.BButReset).center());
    oracle.showStep(1);
    stage.expectShown("reset to step 1");
    EXPECT_LT(stage.controlMismatch(session->screenshot(), w.BButNext), Matches)
        << "Reset enables Next again";

    // A zoom-drag on the scope holds while the button is down and ends with it.
    const QRect plot = oracle.plot().translated(stage.origin);
    const QPoint from = plot.center() - QPoint(plot.width() / 4, 0);
    session->xdotool(drag(from, {from + QPoint(40, 20), from + QPoint(120, 60)}, false));
    // Other labels on the mass axis: far more pixels differ than a rendering difference makes.
    const double axisArea = oracle.bottomAxis().width() * oracle.bottomAxis().height();
    double zoomed = 0;
    EXPECT_TRUE(XSession::waitFor([&] {
        zoomed = stage.axisMismatch(session->screenshot(), oracle.bottomAxis());
        return zoomed * axisArea > 100;
    })) << "the drag did not zoom the mass axis: "
        << zoomed * axisArea << " pixels differ";
    session->xdotool(QStringList{"mouseup", "1"} + pointerAway);
    stage.expectShown("after the zoom-drag");

    // A second start while the first runs ends at once and shows no window.
    {
        Program second;
        bool windowShown = false;
        const bool ended = XSession::waitFor([&] {
            windowShown =
                windowShown || !session->windowsOf(second.process().processId()).isEmpty();
            return second.process().state() == QProcess::NotRunning;
        });
        EXPECT_TRUE(ended) << "the second start did not end by itself";
        EXPECT_EQ(second.process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.process().exitCode(), 0);
        EXPECT_FALSE(windowShown) << "the second start showed a window";
        EXPECT_EQ(program.process().state(), QProcess::Running);
    }

    // Resized, the chart and the sliders stretch; the oracle follows.
    session->xdotool({"windowsize", main, "900", "700"});
    w.resize(900, 700);
    w.UpdateDisplay();
    stage.expectShown("resized to 900 x 700");
    EXPECT_EQ(session->geometry(main).size(), QSize(900, 700));

    // The close box at the right end of the title bar ends the program.
    click(stage.origin + QPoint(900 - 11, -10));
    ASSERT_TRUE(program.ended()) << "the close box did not end the program";
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().exitCode(), 0);
}
