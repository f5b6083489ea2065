#include "viewer/placement.h"

#include "settings/settings.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

const WorkArea kFullHd{0, 0, 1920, 1040};

Settings savedAt(int x, int y, int w = 760, int h = 560) {
    Settings s;
    s.has_win_x = s.has_win_y = s.has_win_w = s.has_win_h = true;
    s.win_x = x;
    s.win_y = y;
    s.win_w = w;
    s.win_h = h;
    return s;
}

WindowRect place(const Settings& s, int others, const WorkArea& area = kFullHd,
                 double scale = 1.0) {
    return placeInWorkArea(s, others, initialWindowSize(s, scale), area);
}

void expectRect(const WindowRect& r, int x, int y, int w, int h) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.width, w);
    EXPECT_EQ(r.height, h);
}

TEST(InitialPlacement, FirstViewerWithoutSavedValuesIsCentred) {
    expectRect(place(Settings{}, 0), 580, 240, 760, 560);
}

TEST(InitialPlacement, EachOtherViewerCascades32Pixels) {
    expectRect(place(Settings{}, 1), 612, 272, 760, 560);
    expectRect(place(Settings{}, 2), 644, 304, 760, 560);
    expectRect(place(Settings{}, -3), 580, 240, 760, 560);
}

TEST(InitialPlacement, SizeScalesWithDpiAndIsCappedByTheWorkArea) {
    expectRect(place(Settings{}, 0, kFullHd, 1.5), 390, 100, 1140, 840);
    expectRect(place(Settings{}, 0, WorkArea{0, 0, 1024, 768}, 1.5), 0, 0, 1024, 768);
    expectRect(place(Settings{}, 0, WorkArea{0, 0, 1280, 1024}, 1.5), 70, 92, 1140, 840);
}

TEST(InitialPlacement, SavedPositionNearTheRightEdgeIsPulledIn) {
    expectRect(place(savedAt(1500, 100), 0), 1160, 100, 760, 560);
    expectRect(place(savedAt(100, 900), 0), 100, 480, 760, 560);
    expectRect(place(savedAt(1500, 900), 0), 1160, 480, 760, 560);
}

TEST(InitialPlacement, CascadePastTheLimitsWrapsBothCoordinates) {
    // maxX = 1920 - 760 - 20 = 1140, maxY = 1040 - 560 - 48 = 432
    expectRect(place(savedAt(1100, 100), 0), 1100, 100, 760, 560);
    expectRect(place(savedAt(1100, 100), 1), 1132, 132, 760, 560);
    expectRect(place(savedAt(1100, 100), 2), 64, 64, 760, 560);
    expectRect(place(savedAt(100, 400), 2), 64, 64, 760, 560);
    expectRect(place(savedAt(100, 400), 1), 132, 432, 760, 560);
    // A window as large as the work area has no room to cascade: the modulo keeps it there.
    expectRect(place(savedAt(0, 0, 1920, 1040), 3), 0, 0, 1920, 1040);
}

TEST(InitialPlacement, TinySavedSizesFallBackToTheDefault) {
    expectRect(place(savedAt(10, 20, 150, 100), 0), 10, 20, 760, 560);
    expectRect(place(savedAt(10, 20, 200, 150), 0), 10, 20, 760, 560);
    expectRect(place(savedAt(10, 20, 201, 151), 0), 10, 20, 201, 151);
}

TEST(InitialPlacement, MinimizedPositionEndsAtTheWorkAreaEdge) {
    expectRect(place(savedAt(-32000, -32000, 160, 28), 0), 0, 0, 760, 560);
    expectRect(place(savedAt(-32000, 300), 0, WorkArea{-1920, 0, 0, 1040}), -1920, 300, 760, 560);
}

TEST(InitialPlacement, OnlyOneSavedCoordinateMeansCentred) {
    Settings s = savedAt(5, 5);
    s.has_win_y = false;
    expectRect(place(s, 0), 580, 240, 760, 560);
}

TEST(InitialPlacement, ExtremeSavedCoordinatesStayOnTheArea) {
    expectRect(place(savedAt(2147483647, 2147483647), 0), 1160, 480, 760, 560);
    expectRect(place(savedAt(2147483647, 2147483647), 1), 32, 32, 760, 560);
    expectRect(place(savedAt(-2147483647 - 1, 0), 2), 64, 64, 760, 560);
}

TEST(WindowPlacementRecord, FirstViewerSavesPositionSizeAndMonitor) {
    Settings s;
    s.theme = "dark";
    recordWindowPlacement(s, WindowRect{12, 34, 800, 600}, false, true,
                          std::string("\\\\.\\DISPLAY1"));
    EXPECT_TRUE(s.has_win_x && s.has_win_y && s.has_win_w && s.has_win_h && s.has_monitor);
    EXPECT_TRUE(s.has_win_max);
    EXPECT_FALSE(s.win_max);
    EXPECT_FALSE(startsMaximised(s));
    EXPECT_EQ(s.win_x, 12);
    EXPECT_EQ(s.win_y, 34);
    EXPECT_EQ(s.win_w, 800);
    EXPECT_EQ(s.win_h, 600);
    EXPECT_EQ(s.monitor, "\\\\.\\DISPLAY1");
    EXPECT_EQ(s.theme, "dark");
}

TEST(WindowPlacementRecord, LaterViewersSaveOnlyTheSize) {
    Settings s = savedAt(100, 200, 700, 500);
    s.has_monitor = true;
    s.monitor = "first";
    recordWindowPlacement(s, WindowRect{132, 232, 810, 610}, true, false, std::string("second"));
    EXPECT_TRUE(startsMaximised(s)) << "maximised goes with the size";
    EXPECT_EQ(s.win_x, 100);
    EXPECT_EQ(s.win_y, 200);
    EXPECT_EQ(s.win_w, 810);
    EXPECT_EQ(s.win_h, 610);
    EXPECT_EQ(s.monitor, "first");
}

TEST(WindowPlacementRecord, UnknownMonitorKeepsTheLoadedOne) {
    Settings s;
    s.has_monitor = true;
    s.monitor = "kept";
    recordWindowPlacement(s, WindowRect{1, 2, 300, 200}, false, true, std::nullopt);
    EXPECT_EQ(s.monitor, "kept");
    EXPECT_EQ(s.win_x, 1);
}

// The placement store owns the window fields only: a font size the settings panel never
// stored stays unstored, so the next start still follows the screen's DPI.
TEST(WindowPlacementRecord, LeavesTheFontSizeAsItFoundIt) {
    for (const bool stored : {false, true}) {
        Settings s;
        s.has_font_px = stored;
        s.font_px = 20;
        recordWindowPlacement(s, WindowRect{1, 2, 1140, 840}, false, true, std::nullopt);
        const Settings reread = settingsFromText(settingsToText(s));
        EXPECT_EQ(reread.has_font_px, stored);
        EXPECT_EQ(reread.font_px, stored ? 20 : 12);
        EXPECT_EQ(reread.win_w, 1140);
    }
}

TEST(WindowPlacementRecord, MaximisedIsReadBack) {
    Settings s;
    EXPECT_FALSE(startsMaximised(s)) << "absent";
    recordWindowPlacement(s, WindowRect{1, 2, 700, 500}, true, true, std::nullopt);
    EXPECT_TRUE(startsMaximised(settingsFromText(settingsToText(s))));
    recordWindowPlacement(s, WindowRect{1, 2, 700, 500}, false, true, std::nullopt);
    EXPECT_FALSE(startsMaximised(settingsFromText(settingsToText(s))));
}

} // namespace
} // namespace velk
