// The keyboard, as a user presses keys: Tab through every control in reading order, and the
// font keys whichever control has the focus.

#include "viewer_test_support.h"

#include <set>

namespace velk::test {
namespace {

using ViewerKeyboard = ViewerTest;

// Reading order: a control further down, or on the same line further right.
bool readsAfter(const RECT& later, const RECT& earlier) {
    return later.top > earlier.top || (later.top == earlier.top && later.left > earlier.left);
}

TEST_F(ViewerKeyboard, TabVisitsEveryControlOnceInReadingOrderAndGoesRound) {
    Viewer viewer(quoted(sampleFile()), appData.folder.path());
    HWND window = viewer.window(kLoadedMs);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(viewer.waitForResult()); // the Copy buttons are enabled
    SetWindowPos(window, nullptr, 0, 0, 760, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    std::set<HWND> interactive;
    for (const Child& c : viewer.controls()) {
        if (c.style & WS_TABSTOP)
            interactive.insert(c.window);
    }
    ASSERT_EQ(interactive.size(), 3u + 2 * 11 + 6) << "theme, combos, rows, footer";

    HWND focus = focusForKeys(window);
    std::vector<HWND> visited;
    std::vector<RECT> unscrolled; // rectangles as if the page were at its top
    for (std::size_t i = 0; i < interactive.size(); ++i) {
        focus = pressTab(window, focus);
        ASSERT_TRUE(interactive.count(focus)) << "step " << i << " focus " << focus;
        // The page scrolls the focused control into view.
        RECT r = rectInParent(focus);
        EXPECT_GE(r.top, 0) << i;
        EXPECT_LE(r.bottom, clientSize(window).cy) << i;
        const int scrolled = 10 - rectInParent(viewer.control(kFileName)).top;
        OffsetRect(&r, 0, scrolled);
        if (!visited.empty()) {
            EXPECT_TRUE(readsAfter(r, unscrolled.back()))
                << "step " << i << " " << rectText(r) << " after " << rectText(unscrolled.back());
        }
        visited.push_back(focus);
        unscrolled.push_back(r);
    }
    EXPECT_EQ(std::set<HWND>(visited.begin(), visited.end()), interactive) << "each once";
    EXPECT_EQ(visited.front(), viewer.control(kTheme));
    EXPECT_EQ(visited[3], viewer.copyButton(0));
    EXPECT_EQ(visited[4], viewer.valueBox(0));
    EXPECT_EQ(visited.back(), viewer.control(kComputeAll));

    // Round to the start, and back with Shift.
    focus = pressTab(window, focus);
    EXPECT_EQ(focus, visited.front());
    focus = pressTab(window, focus, true);
    EXPECT_EQ(focus, visited.back());
    focus = pressTab(window, focus, true);
    EXPECT_EQ(focus, viewer.control(kLink));
}

TEST_F(ViewerKeyboard, FontKeysWorkAfterAButtonTookTheFocus) {
    appData.writeConfig("{\"font_px\":14,\"win_w\":1000,\"win_h\":800}");
    Viewer viewer(quoted(sampleFile()), appData.folder.path());
    HWND window = viewer.window(kLoadedMs);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(viewer.waitForResult());
    focusForKeys(window);

    viewer.click(viewer.copyButton(4));
    ASSERT_EQ(focusOf(window), viewer.copyButton(4)) << "the click gave the button the focus";
    pressKeys(window, {VK_OEM_PLUS}, {VK_CONTROL});
    EXPECT_TRUE(waitUntil([&] { return checkHeight(viewer) == 15 + 16; }, kLoadedMs))
        << checkHeight(viewer);

    // From a digest box too; Ctrl+A there selects the whole digest.
    viewer.click(viewer.control(kCheck));
    pressKeys(window, {VK_SUBTRACT}, {VK_CONTROL});
    EXPECT_TRUE(waitUntil([&] { return checkHeight(viewer) == 14 + 16; }, kLoadedMs));

    HWND box = viewer.valueBox(1);
    SetForegroundWindow(window);
    PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(waitUntil([&] { return focusOf(window) == box; }, kLoadedMs));
    pressKeys(window, {'A'}, {VK_CONTROL});
    LRESULT selection = 0;
    EXPECT_TRUE(waitUntil(
        [&] {
            selection = SendMessageW(box, EM_GETSEL, 0, 0);
            return LOWORD(selection) == 0 && HIWORD(selection) == 32;
        },
        kLoadedMs))
        << LOWORD(selection) << ".." << HIWORD(selection);
    pressKeys(window, {'0'}, {VK_CONTROL});
    EXPECT_TRUE(waitUntil([&] { return checkHeight(viewer) == 12 + 16; }, kLoadedMs))
        << "the DPI default";
    EXPECT_EQ(focusOf(window), box) << "the focus stays where it was";
}

} // namespace
} // namespace velk::test
