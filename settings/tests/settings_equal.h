#pragma once
// Field-by-field comparison of Settings for test messages that name the differing field.

#include "settings/settings.h"

#include <gtest/gtest.h>

namespace velk::test {

inline void expectSameSettings(const Settings& actual, const Settings& expected) {
    EXPECT_EQ(actual.label_algo, expected.label_algo);
    EXPECT_EQ(actual.label_format, expected.label_format);
    EXPECT_EQ(actual.theme, expected.theme);
    EXPECT_EQ(actual.has_font_px, expected.has_font_px);
    EXPECT_EQ(actual.font_px, expected.font_px);
    EXPECT_EQ(actual.compute_all_menus, expected.compute_all_menus);
    EXPECT_EQ(actual.has_win_x, expected.has_win_x);
    EXPECT_EQ(actual.win_x, expected.win_x);
    EXPECT_EQ(actual.has_win_y, expected.has_win_y);
    EXPECT_EQ(actual.win_y, expected.win_y);
    EXPECT_EQ(actual.has_win_w, expected.has_win_w);
    EXPECT_EQ(actual.win_w, expected.win_w);
    EXPECT_EQ(actual.has_win_h, expected.has_win_h);
    EXPECT_EQ(actual.win_h, expected.win_h);
    EXPECT_EQ(actual.has_win_max, expected.has_win_max);
    EXPECT_EQ(actual.win_max, expected.win_max);
    EXPECT_EQ(actual.has_monitor, expected.has_monitor);
    EXPECT_EQ(actual.monitor, expected.monitor);
}

} // namespace velk::test
