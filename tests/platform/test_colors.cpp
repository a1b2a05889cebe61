// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Colors.h"

#include <gtest/gtest.h>

TEST(Colors, SystemColoursResolveThroughTheFixedTable)
{
    EXPECT_EQ(toQColor(clBtnFace), QColor(240, 240, 240));
    EXPECT_EQ(toQColor(clBtnShadow), QColor(160, 160, 160));
    EXPECT_EQ(toQColor(clBtnHighlight), QColor(255, 255, 255));
    EXPECT_EQ(toQColor(clInfoBk), QColor(255, 255, 225));
    EXPECT_EQ(toQColor(clWindowText), QColor(0, 0, 0));
    EXPECT_EQ(toQColor(clGrayText), QColor(109, 109, 109));
}

TEST(Colors, RedLivesInTheLowByte)
{
    EXPECT_EQ(toQColor(47360), QColor(0, 185, 0));
    EXPECT_EQ(toQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(fromQColor(QColor(0, 0, 255)), clBlue);
    EXPECT_EQ(toQColor(14540253), QColor(221, 221, 221));
}
