// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenOracle.h"

#include "chart/Zel_rchart.h"
#include "platform/Controls.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdlib>

ScreenOracle::ScreenOracle(const QString &dictionaryFile) : m_window(dictionaryFile)
{
    m_window.setAttribute(Qt::WA_DontShowOnScreen);
    m_window.show(); // runs tour step 1, as at start-up
    m_window.Timer1->stop();
    QCoreApplication::processEvents();
}

QRect ScreenOracle::rectOf(const QWidget *control) const
{
    return QRect(control->mapTo(&m_window, QPoint(0, 0)), control->size());
}

QImage ScreenOracle::picture(QWidget *control)
{
    QCoreApplication::processEvents();
    return control->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect ScreenOracle::plot() const
{
    const TRChart &scope = *m_window.RCScope;
    const QPoint origin = rectOf(&scope).topLeft();
    return QRect(origin.x() + scope.MarginLeft() + 1, origin.y() + scope.MarginTop() + 1,
                 scope.plotWidth() - 1, scope.plotHeight() - 1);
}

QRect ScreenOracle::bottomAxis() const
{
    const QRect chart = rectOf(m_window.RCScope);
    const QRect data = plot();
    return QRect(QPoint(data.left() - 12, data.bottom() + 3), QPoint(data.right(), chart.bottom()));
}

QRect ScreenOracle::leftAxis() const
{
    const QRect chart = rectOf(m_window.RCScope);
    const QRect data = plot();
    return QRect(QPoint(chart.left(), data.top() - 8), QPoint(data.left() - 3, data.bottom()));
}

void ScreenOracle::showStep(int step)
{
    m_window.TourStep(step);
    m_window.BButNext->setEnabled(step < TfrmExample::TourStepCount);
    m_window.UpdateDisplay();
}

double mismatch(const QImage &screen, QPoint at, const QImage &expected)
{
    if (!screen.rect().contains(QRect(at, expected.size())))
        return 1;
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb a = screen.pixel(at.x() + x, at.y() + y);
            const QRgb b = expected.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))});
            differing += d > 40;
        }
    }
    return double(differing) / std::max(1, expected.width() * expected.height());
}

int darkPixels(const QImage &screen, const QRect &region)
{
    int dark = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x) {
            const QRgb c = screen.pixel(x, y);
            dark += qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80;
        }
    return dark;
}

PlotPixels plotPixels(const QImage &screen, const QRect &plot)
{
    PlotPixels p;
    for (int y = plot.top(); y <= plot.bottom(); ++y)
        for (int x = plot.left(); x <= plot.right(); ++x) {
            const QRgb c = screen.pixel(x, y) & 0xFFFFFF;
            p.green += c == 0x00B900;
            p.other += c != 0x00B900 && c != 0;
        }
    return p;
}
