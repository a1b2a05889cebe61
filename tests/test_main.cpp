#include "hostlink/WendralDemon.h"

#include <QApplication>
#include <gtest/gtest.h>

// All widget tests share one QApplication on the offscreen platform; pure-logic tests simply
// do not touch it. Windows built in-process take no part in the host link (no hidden window,
// no single-instance mutex); the link is tested with child processes and by tests that turn it
// on for themselves.
//
// A run in which nothing failed but some tests were skipped exits with 77, which ctest reports
// as skipped: a test that cannot run where it should is seen, not counted as passed.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TkdbCustomDemon::SetLinkSuspended(true);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    constexpr int kSkipped = 77;
    if (result == 0 && ::testing::UnitTest::GetInstance()->skipped_test_count() > 0)
        return kSkipped;
    return result;
}
