// SPDX-License-Identifier: GPL-3.0-or-later
// soak_updates N: N display updates of the main window in one process, off the screen, as a
// long session makes them (every tenth one after a slider move, so the window moves too). It
// prints the resident memory after the warm-up and every tenth of the run, and the growth
// after the warm-up. A long run, not a timed test: scripts/soak runs it.

#include "app/TfrmExample.h"
#include "hostlink/WendralDemon.h"
#include "platform/Controls.h"
#include "scales/Zel_math2.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Resident memory in KiB, from the kernel's view of this process.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const long updates = argc > 1 ? std::atol(argv[1]) : 100000;
    const long warmUp = std::min(2000L, updates / 10);
    if (updates < 10) {
        std::fputs("Usage: soak_updates N (N >= 10)\n", stderr);
        return 2;
    }
    seedUniformSource(1);
    TkdbCustomDemon::SetLinkSuspended(true); // a window of its own, beside any running program

    TfrmExample window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    window.Timer1->stop();
    QCoreApplication::processEvents();

    long low = 0, high = 0, afterWarmUp = 0;
    for (long i = 1; i <= updates; ++i) {
        if (i % 10 == 0) // a slider move: a new window, margins and axes repainted
            window.SBarMass->SetPosition(40000 + int(i / 10 % 200) * 10);
        else
            window.UpdateDisplay();
        if (i % 100 == 0)
            QCoreApplication::processEvents();
        if (i == warmUp) {
            afterWarmUp = low = high = residentKiB();
            std::printf("after %7ld updates (warm-up): %ld KiB resident\n", i, afterWarmUp);
        } else if (i > warmUp && i % 1000 == 0) {
            const long now = residentKiB();
            low = std::min(low, now);
            high = std::max(high, now);
            if (i % (updates / 10) == 0)
                std::printf("after %7ld updates:           %ld KiB resident\n", i, now);
        }
    }
    const long end = residentKiB();
    std::printf("resident memory after the warm-up: %ld KiB; at the end: %ld KiB (%+ld KiB); "
                "range %ld..%ld KiB (%ld KiB)\n",
                afterWarmUp, end, end - afterWarmUp, low, high, high - low);
    const bool flat = high - low <= 1024;
    std::printf("%s: resident memory %s within 1 MiB after the warm-up\n", flat ? "FLAT" : "GREW",
                flat ? "stays" : "does not stay");
    return flat ? 0 : 1;
}
