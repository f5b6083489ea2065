// The live window's layout, scrolling and keyboard handling.

#include "viewer_test_support.h"

#include "viewer/layout.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

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
        kLoadedMs, 150);
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
    EXPECT_GT(sha512.bottom - sha512.top, md5.bottom - md5.top) << "128 digits wrap";
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
    if (waitUntil([&] { return fileNameTop(viewer) == top; }, kLoadedMs)) {
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
    waitUntil([&] { return fileNameTop(viewer) != top; }, kLoadedMs);
    wheel(viewer.window(), WHEEL_DELTA);
    waitUntil([&] { return fileNameTop(viewer) == top; }, kLoadedMs);
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
        waitUntil([&] { return rectInParent(viewer.control(kLink)).bottom + 10 == H; }, kLoadedMs))
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

// Fonts as the viewer makes them, for measuring its texts here.
class Font {
  public:
    Font(int px, int weight, bool underline = false) {
        LOGFONTW lf{};
        lf.lfHeight = -px;
        lf.lfWeight = weight;
        lf.lfUnderline = underline;
        lf.lfCharSet = DEFAULT_CHARSET;
        wcscpy(lf.lfFaceName, L"Segoe UI");
        font_ = CreateFontIndirectW(&lf);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, font_);
    }
    ~Font() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(font_);
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int width(const std::wstring& text) const {
        SIZE extent{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &extent);
        return extent.cx;
    }
    // Lines the text takes when word-wrapped to the width, as a static control draws it.
    int lines(const std::wstring& text, int width) const {
        RECT r{0, 0, width, 0};
        DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc_, &tm);
        return r.right > width ? 99 : (r.bottom + tm.tmHeight - 1) / tm.tmHeight;
    }

  private:
    HFONT font_;
    HDC dc_;
    HGDIOBJ old_;
};

int widthOf(const RECT& r) {
    return r.right - r.left;
}

// No two controls overlap (combo boxes at their closed height) and every caption fits its
// control, measured in the control's font.
void expectEverythingFits(Viewer& viewer, int F) {
    waitForStillLayout(viewer);
    const int W = clientSize(viewer.window()).cx;
    std::vector<RECT> rects;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const RECT r = rectInParent(viewer.control(i));
        EXPECT_GE(r.left, 0) << i;
        EXPECT_LE(r.right, W) << i;
        for (std::size_t j = 0; j < rects.size(); ++j) {
            RECT both{};
            EXPECT_FALSE(IntersectRect(&both, &r, &rects[j]))
                << "control " << i << " " << rectText(r) << " over control " << j << " "
                << rectText(rects[j]);
        }
        rects.push_back(r);
    }

    const Font ui(F, 400);
    const Font bold(F, 700);
    const Font link(F, 700, true);
    for (const std::size_t button :
         {std::size_t{kTheme}, std::size_t{kCheck}, std::size_t{kSmaller}, std::size_t{kReset},
          std::size_t{kLarger}, std::size_t{7}}) {
        const std::wstring text = textOf(viewer.control(button));
        EXPECT_LE(ui.width(text) + 6, widthOf(rects[button])) << narrow(text);
    }
    const std::wstring computeAll = textOf(viewer.control(kComputeAll));
    EXPECT_LE(GetSystemMetrics(SM_CXMENUCHECK) + 4 + ui.width(computeAll),
              widthOf(rects[kComputeAll]));
    for (const std::size_t label : {std::size_t{kCaption}, std::size_t{kSize}}) {
        const std::wstring text = textOf(viewer.control(label));
        EXPECT_LE(ui.width(text), widthOf(rects[label])) << narrow(text);
    }
    for (std::size_t row = 0; row < 11; ++row) {
        const std::wstring name = textOf(viewer.control(7 + 3 * row + 1));
        EXPECT_LE(ui.width(name), widthOf(rects[7 + 3 * row + 1])) << narrow(name);
    }
    EXPECT_LE(bold.width(textOf(viewer.control(kFileName))), widthOf(rects[kFileName]));
    EXPECT_LE(link.width(textOf(viewer.control(kLink))), widthOf(rects[kLink]));
    const std::wstring status = textOf(viewer.control(kStatus));
    EXPECT_LE(ui.lines(status, widthOf(rects[kStatus])), 2) << narrow(status);

    // The format list opens as wide as its longest description.
    int longest = 0;
    for (const char* description : {"First/middle/last 4  (####-####-####)",
                                    "Whole hash  (full digest \xE2\x80\x94 long menu)"}) {
        longest = std::max(longest, ui.width(wide(description)));
    }
    EXPECT_GE(SendMessageW(viewer.control(kFormat), CB_GETDROPPEDWIDTH, 0, 0), longest + 4);
}

TEST_F(ViewerLayoutLive, NoNarrowerThanTheControlsNeedAtEveryFontSize) {
    Viewer viewer(quoted(sampleFile()), appData.folder.path());
    HWND window = viewer.window(kLoadedMs);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(viewer.waitForResult());
    // The status line's longest text: a 128-digit hash that matches nothing.
    ASSERT_TRUE(setClipboardText(std::wstring(128, L'a')));
    viewer.click(viewer.control(kCheck));
    ASSERT_EQ(textOf(viewer.control(kStatus)).substr(0, 15), L"\u2718 NO MATCH  128");

    SetWindowPos(window, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT smallest = windowRect(window);
    EXPECT_GT(widthOf(smallest), 50);
    EXPECT_GT(smallest.bottom - smallest.top, 50);
    EXPECT_LT(clientSize(window).cx, 744) << "well below the default";
    expectEverythingFits(viewer, 12);
    // Not one pixel less.
    SetWindowPos(window, nullptr, 0, 0, widthOf(smallest) - 1, smallest.bottom - smallest.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(widthOf(windowRect(window)), widthOf(smallest));

    // A larger font grows a window that has become too small for it.
    for (int i = 0; i < 8; ++i)
        viewer.click(viewer.control(kLarger));
    ASSERT_TRUE(waitUntil([&] { return checkHeight(viewer) == 20 + 16; }, kLoadedMs));
    EXPECT_GT(widthOf(windowRect(window)), widthOf(smallest));
    expectEverythingFits(viewer, 20);
    SetWindowPos(window, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    expectEverythingFits(viewer, 20);
}

// The tooltip of the file name label, and the text it holds, read in the viewer's memory.
std::wstring pathTipText(Viewer& viewer) {
    HWND tip = nullptr;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, L"tooltips_class32", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == viewer.processId())
            tip = w;
    }
    if (tip == nullptr || SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0) != 1)
        return L"<no tooltip>";
    constexpr std::size_t kChars = 1024;
    RemoteBlock block(viewer.process(), sizeof(TOOLINFOW) + kChars * sizeof(wchar_t));
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = viewer.window(kLoadedMs);
    tool.uId = reinterpret_cast<UINT_PTR>(viewer.control(kFileName));
    tool.lpszText = block.at<wchar_t>(sizeof tool);
    if (!block.ok() || !block.write(&tool, sizeof tool))
        return L"<no memory>";
    SendMessageW(tip, TTM_GETTEXTW, kChars, reinterpret_cast<LPARAM>(block.at<TOOLINFOW>()));
    std::vector<wchar_t> text(kChars, L'\0');
    block.read(text.data(), kChars * sizeof(wchar_t), sizeof tool);
    text.back() = L'\0';
    return text.data();
}

TEST_F(ViewerLayoutLive, LongFileNameShowsItsExtensionOnOneLineAndThePathInATooltip) {
    const std::wstring name = L"begin" + std::wstring(187, L'x') + L"end.iso"; // 199
    const std::wstring path = files.write(name, "some bytes");
    Viewer viewer(quoted(path), appData.folder.path());
    HWND window = viewer.window(kLoadedMs);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(textOf(window), L"Velkora");

    const Font bold(12, 700);
    std::size_t shownBefore = 0;
    for (const int width : {600, 900}) {
        SCOPED_TRACE(width);
        ASSERT_TRUE(setClientWidth(window, width));
        waitForStillLayout(viewer);
        const std::wstring shown = textOf(viewer.control(kFileName));
        const RECT label = rectInParent(viewer.control(kFileName));
        EXPECT_EQ(shown.substr(0, 5), L"begin") << narrow(shown);
        EXPECT_NE(shown.find(L'\u2026'), std::wstring::npos) << narrow(shown);
        ASSERT_GE(shown.size(), 7u);
        EXPECT_EQ(shown.substr(shown.size() - 7), L"end.iso") << narrow(shown);
        EXPECT_LE(bold.width(shown), widthOf(label)) << "one line";
        EXPECT_GT(bold.width(shown), widthOf(label) - 3 * bold.width(L"x")) << "no room wasted";
        EXPECT_GT(shown.size(), shownBefore) << "a wider window shows more";
        shownBefore = shown.size();
    }
    EXPECT_EQ(pathTipText(viewer), path);

    // A name that fits is shown whole.
    ScratchFolder other(L"short");
    const std::wstring shortPath = other.write(L"short name.txt", "x");
    Viewer second(quoted(shortPath), appData.folder.path());
    ASSERT_NE(second.window(), nullptr);
    EXPECT_EQ(textOf(second.control(kFileName)), L"short name.txt");
    EXPECT_EQ(pathTipText(second), shortPath);
}

} // namespace
} // namespace velk::test
