#include "hostlink/WendralDemon.h"

#include <QApplication>
#include <gtest/gtest.h>

// All widget tests share one QApplication on the offscreen platform; pure-logic tests simply
// do not touch it. Windows built in-process take no part in the host link (no hidden window,
// no single-instance mutex); the link is tested with child processes and by tests that turn it
// on for themselves.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TkdbCustomDemon::SetLinkSuspended(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
