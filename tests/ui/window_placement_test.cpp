// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_placement.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, CentredOnTheAreaTheDesktopLeavesOnAnyScreen) {
    EXPECT_EQ(CentredTopLeft({700, 534}, {0, 0, 1280, 1024}), QPoint(290, 245));
    // A panel at the top, and a second screen to the right of the first.
    EXPECT_EQ(CentredTopLeft({700, 534}, {0, 32, 1280, 992}), QPoint(290, 261));
    EXPECT_EQ(CentredTopLeft({700, 534}, {1280, 0, 1920, 1080}), QPoint(1890, 273));
}

TEST(WindowPlacement, ALargerWindowKeepsItsTitleBarOnTheScreen) {
    EXPECT_EQ(CentredTopLeft({1400, 1068}, {0, 0, 1280, 1024}), QPoint(0, 0));
    EXPECT_EQ(CentredTopLeft({1400, 1068}, {1280, 32, 1280, 992}), QPoint(1280, 32));
    // Only the direction that does not fit is held at the edge.
    EXPECT_EQ(CentredTopLeft({700, 1068}, {0, 0, 1280, 1024}), QPoint(290, 0));
}
