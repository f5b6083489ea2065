// The live window's layout, scrolling and keyboard handling.

#include "viewer_test_support.h"

#include "viewer/layout.h"

#include <algorithm>

namespace velk::test {
namespace {

using ViewerLayoutLive = ViewerTest;

Rect asRect(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

::testing::AssertionResult placedAt(HWND control, Rect want) {
    // Windows have no negative sizes: what the layout makes negative is simply empty.
    want.width = std::max(want.width, 0);
    want.height = std::max(want.height, 0);
    const Rect got = asRect(rectInParent(control));
    if (got == want)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "at (" << got.x << ", " << got.y << ", " << got.width << " x " << got.height
           << "), want (" << want.x << ", " << want.y << ", " << want.width << " x " << want.height
           << ")";
}

std::vector<RECT> snapshot(Viewer& viewer) {
    std::vector<RECT> rects;
    for (std::size_t i = 0; i < kControlCount; ++i)
        rects.push_back(rectInParent(viewer.control(i)));
    return rects;
}

bool sameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!EqualRect(&a[i], &b[i]))
            return false;
    }
    return a.size() == b.size();
}

// A layout moves the controls one after the other: wait until they have all come to rest.
void waitForStillLayout(Viewer& viewer) {
    std::vector<RECT> last = snapshot(viewer);
    waitUntil(
        [&] {
            std::vector<RECT> now = snapshot(viewer);
            const bool still = sameRects(now, last);
            last = std::move(now);
            return still;
        },
        3000, 40);
}

// The window's controls against the computed layout, with the row heights it measured.
void expectLayout(Viewer& viewer, int F, int scrollPos) {
    waitForStillLayout(viewer);
    HWND window = viewer.window();
    const int W = clientSize(window).cx;
    const ViewerLayout l = computeLayout(F, scrollPos, W, 11, [&](std::size_t row, int, int, int) {
        return static_cast<int>(rectInParent(viewer.valueBox(row)).bottom -
                                rectInParent(viewer.valueBox(row)).top);
    });
    EXPECT_TRUE(placedAt(viewer.control(kFileName), l.fileNameLabel));
    EXPECT_TRUE(placedAt(viewer.control(kTheme), l.themeButton));
    EXPECT_TRUE(placedAt(viewer.control(kSize), l.sizeLabel));
    EXPECT_TRUE(placedAt(viewer.control(kCaption), l.menuLabelCaption));
    EXPECT_EQ(asRect(rectInParent(viewer.control(kAlgo))).x, l.algoCombo.x);
    EXPECT_EQ(asRect(rectInParent(viewer.control(kAlgo))).y, l.algoCombo.y);
    EXPECT_EQ(asRect(rectInParent(viewer.control(kFormat))).x, l.formatCombo.x);
    EXPECT_EQ(asRect(rectInParent(viewer.control(kFormat))).width, l.formatCombo.width);
    EXPECT_TRUE(placedAt(viewer.control(kPreview), l.previewLabel));
    for (std::size_t row = 0; row < 11; ++row) {
        EXPECT_TRUE(placedAt(viewer.copyButton(row), l.rows[row].copyButton)) << row;
        EXPECT_TRUE(placedAt(viewer.control(7 + 3 * row + 1), l.rows[row].nameLabel)) << row;
        EXPECT_TRUE(placedAt(viewer.valueBox(row), l.rows[row].valueBox)) << row;
        EXPECT_GE(l.rows[row].valueBox.height, F + 16) << row;
    }
    EXPECT_TRUE(placedAt(viewer.control(kCheck), l.checkButton));
    EXPECT_TRUE(placedAt(viewer.control(kStatus), l.statusLabel));
    EXPECT_TRUE(placedAt(viewer.control(kSmaller), l.fontSmallerButton));
    EXPECT_TRUE(placedAt(viewer.control(kReset), l.fontResetButton));
    EXPECT_TRUE(placedAt(viewer.control(kLarger), l.fontLargerButton));
    EXPECT_TRUE(placedAt(viewer.control(kLink), l.linkLabel));
    EXPECT_TRUE(placedAt(viewer.control(kComputeAll), l.computeAllCheckBox));
}

TEST_F(ViewerLayoutLive, At744PixelsTheRowsAndCombosSitWhereTheyShould) {
    Viewer viewer(quoted(sampleFile()), appData.folder.path());
    HWND window = viewer.window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(viewer.waitForResult());
    ASSERT_TRUE(setClientWidth(window, 744));

    // The figures of the 12-pixel layout, read off the live controls.
    for (std::size_t row = 0; row < 11; ++row) {
        const RECT copy = rectInParent(viewer.copyButton(row));
        const RECT name = rectInParent(viewer.control(7 + 3 * row + 1));
        const RECT value = rectInParent(viewer.valueBox(row));
        EXPECT_EQ(copy.left, 10);
        EXPECT_EQ(copy.right - copy.left, 80);
        EXPECT_EQ(copy.bottom - copy.top, 28);
        EXPECT_EQ(name.left, 96);
        EXPECT_EQ(name.right - name.left, 94);
        EXPECT_EQ(value.left, 196);
        EXPECT_EQ(value.right - value.left, 538);
    }
    const RECT algo = rectInParent(viewer.control(kAlgo));
    const RECT format = rectInParent(viewer.control(kFormat));
    const RECT caption = rectInParent(viewer.control(kCaption));
    EXPECT_EQ(algo.left, 256);
    EXPECT_EQ(algo.right - algo.left, 160);
    EXPECT_EQ(format.left, 422);
    EXPECT_EQ(format.right - format.left, 160);
    EXPECT_EQ(algo.top, caption.top) << "on the caption's line";
    expectLayout(viewer, 12, 0);
}

TEST_F(ViewerLayoutLive, NarrowWindowWrapsCombosAndLongDigests) {
    Viewer viewer(quoted(sampleFile()), appData.folder.path());
    HWND window = viewer.window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(viewer.waitForResult());

    ASSERT_TRUE(setClientWidth(window, 597)); // 40F + 118 - 1
    const RECT caption = rectInParent(viewer.control(kCaption));
    const RECT algo = rectInParent(viewer.control(kAlgo));
    EXPECT_EQ(algo.left, 10);
    EXPECT_EQ(algo.top, caption.top + 28 + 4);
    EXPECT_EQ(rectInParent(viewer.control(kFormat)).left, 10 + 166);
    expectLayout(viewer, 12, 0);

    // The narrowest the window goes: the long digests wrap over several lines and their rows
    // grow, while Copy button and name stay one line high at the row's top.
    SetWindowPos(window, nullptr, 0, 0, 100, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int narrowest = clientSize(window).cx;
    EXPECT_GT(narrowest, 29 * 12 + 60) << "no narrower than the footer needs";
    EXPECT_LT(narrowest, 597) << "the combo boxes can still wrap";
    const RECT md5 = rectInParent(viewer.valueBox(1));
    const RECT sha512 = rectInParent(viewer.valueBox(6));
    EXPECT_GT(sha512.bottom - sha512.top, 2 * (md5.bottom - md5.top)) << "128 digits wrap";
    EXPECT_EQ(rectInParent(viewer.copyButton(6)).bottom - rectInParent(viewer.copyButton(6)).top,
              28);
    EXPECT_EQ(rectInParent(viewer.copyButton(6)).top, sha512.top);
    expectLayout(viewer, 12, 0);
}

void wheel(HWND target, int delta, WPARAM keys = 0) {
    PostMessageW(target, WM_MOUSEWHEEL, MAKEWPARAM(keys, delta), 0);
}

int fileNameTop(Viewer& viewer) {
    return rectInParent(viewer.control(kFileName)).top;
}

// Sent messages overtake posted ones, so the effect of posted input is polled for.
::testing::AssertionResult topBecomes(Viewer& viewer, int top) {
    if (waitUntil([&] { return fileNameTop(viewer) == top; }, 2000)) {
        waitForStillLayout(viewer);
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "top is " << fileNameTop(viewer) << ", not " << top;
}

// Everything posted before this has been handled, and whatever that posted in turn too:
// two wheel steps must go through the queue behind it.
void drainPosted(Viewer& viewer) {
    const int top = fileNameTop(viewer);
    wheel(viewer.window(), -WHEEL_DELTA);
    waitUntil([&] { return fileNameTop(viewer) != top; }, 2000);
    wheel(viewer.window(), WHEEL_DELTA);
    waitUntil([&] { return fileNameTop(viewer) == top; }, 2000);
}

TEST_F(ViewerLayoutLive, WheelAndBarScrollThePageWithinItsLimits) {
    Viewer viewer(quoted(sampleFile()), appData.folder.path());
    HWND window = viewer.window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(viewer.waitForResult());
    SetWindowPos(window, nullptr, 0, 0, 760, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int H = clientSize(window).cy;
    ASSERT_EQ(fileNameTop(viewer), 10);

    // Over a value box and over a combo box the wheel still scrolls the page.
    wheel(viewer.valueBox(3), -WHEEL_DELTA);
    EXPECT_TRUE(topBecomes(viewer, 10 - 60));
    wheel(viewer.control(kAlgo), -1);
    EXPECT_TRUE(topBecomes(viewer, 10 - 120));
    wheel(window, 10 * WHEEL_DELTA);
    EXPECT_TRUE(topBecomes(viewer, 10 - 60)) << "one step per message whatever the delta";
    expectLayout(viewer, 12, 60);
    for (int i = 0; i < 4; ++i)
        wheel(window, WHEEL_DELTA);
    EXPECT_TRUE(topBecomes(viewer, 10)) << "never above the top";

    // Far down: the last line ends 10 pixels above the client's bottom.
    for (int i = 0; i < 40; ++i)
        wheel(window, -WHEEL_DELTA);
    EXPECT_TRUE(
        waitUntil([&] { return rectInParent(viewer.control(kLink)).bottom + 10 == H; }, 2000))
        << rectInParent(viewer.control(kLink)).bottom << " + 10 vs " << H;
    Sleep(100);
    EXPECT_EQ(rectInParent(viewer.control(kLink)).bottom + 10, H) << "and stays there";
    const int limit = 10 - fileNameTop(viewer);
    ASSERT_GT(limit, 0);

    // Posted behind the wheel steps, so they come after them.
    for (int i = 0; i < 3; ++i)
        PostMessageW(window, WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_TRUE(topBecomes(viewer, 10));
    PostMessageW(window, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_TRUE(topBecomes(viewer, 10 - 30));
    PostMessageW(window, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_TRUE(topBecomes(viewer, 10 - std::min(30 + H, limit)));
    PostMessageW(window, WM_VSCROLL, SB_LINEUP, 0);
    PostMessageW(window, WM_VSCROLL, SB_PAGEUP, 0);
    PostMessageW(window, WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_TRUE(topBecomes(viewer, 10));

    // Content that fits keeps the page at the top.
    SetWindowPos(window, nullptr, 0, 0, 760, 900, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    wheel(window, -WHEEL_DELTA);
    PostMessageW(window, WM_VSCROLL, SB_PAGEDOWN, 0);
    Sleep(300);
    EXPECT_EQ(fileNameTop(viewer), 10);
}

TEST_F(ViewerLayoutLive, EscapeAndEnterDoNotCloseTheViewer) {
    Viewer viewer(quoted(sampleFile()), appData.folder.path());
    HWND window = viewer.window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(viewer.waitForResult());
    SetWindowPos(window, nullptr, 0, 0, 760, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // To the window itself, and to the controls a user may have clicked into last.
    for (HWND target : {window, viewer.valueBox(0), viewer.valueBox(6), viewer.control(kAlgo),
                        viewer.control(kCheck)}) {
        for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
            PostMessageW(target, WM_KEYDOWN, key, 1);
            PostMessageW(target, WM_KEYUP, key, 0xC0000001);
        }
        drainPosted(viewer);
        ASSERT_TRUE(IsWindow(window)) << "closed by a key sent to " << target;
    }
    EXPECT_EQ(viewer.waitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(textOf(viewer.control(kStatus)), L"");
    viewer.close();
    EXPECT_EQ(viewer.waitForExit(5000), 0u);
}

} // namespace
} // namespace velk::test
