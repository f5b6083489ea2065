// The "Hashes" page in the shell's own Properties dialog on a real display (Xvfb) at 96, 144
// and 192 DPI: every caption fits its control in the control's own font, no two controls
// overlap, the digest font grows with the DPI, Tab and Shift+Tab walk every control in visual
// order, access keys and the digest boxes' Ctrl+A / Ctrl+C work, and the check result is drawn
// on the page's own background. Screenshots go to the artifacts folder.
//
// The screen's DPI is read when a process starts, so each DPI runs in a process of its own:
// this program starts itself once per DPI with VELK_PAGE_DPI set. Runs in a display prefix of
// its own (display-tests.sh).

#include "page_capture_win.h"
#include "page_test_support_win.h"
#include "shell_properties_dialog_win.h"

#include "engine/algorithms.h"
#include "engine/pass/hash_file.h"
#include "engine/utf16.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace velk::test {
namespace {

constexpr DWORD kWaitMs = 30000;
constexpr COLORREF kMatchColour = RGB(26, 127, 55);

std::wstring environmentText(const wchar_t* name) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

// The DPI this process was started to test; 0 in the process that starts the others.
int dpiUnderTest() {
    return _wtoi(environmentText(L"VELK_PAGE_DPI").c_str());
}

RECT rectInPage(HWND page, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string describe(HWND control) {
    wchar_t cls[32] = {};
    GetClassNameW(control, cls, 32);
    return toUtf8(cls) + " " + std::to_string(GetDlgCtrlID(control)) + " \"" +
           toUtf8(windowText(control)) + "\"";
}

// The size of `text` as DrawText lays it out in the control's own font; `wrapWidth` > 0 breaks
// lines at that width.
SIZE drawnSize(HWND control, const std::wstring& text, int wrapWidth) {
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, wrapWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int fontHeight(HWND control) {
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return metrics.tmHeight;
}

// Every caption of a static, button or combo box, measured in the control's own font, fits
// inside the control (a button's frame and focus gap, a combo box's frame and drop button
// taken off); a digest box is tall enough for all its lines; the drop lists hold their
// longest entry.
void expectCaptionsFit(HWND page) {
    const int edgeX = GetSystemMetrics(SM_CXEDGE);
    const int edgeY = GetSystemMetrics(SM_CYEDGE);
    for (const ControlView& c : pageControls(page)) {
        if (!IsWindowVisible(c.window))
            continue;
        SCOPED_TRACE(describe(c.window));
        const RECT r = rectInPage(page, c.window);
        const int w = r.right - r.left;
        const int h = r.bottom - r.top;
        if (c.className == L"Static" && !c.text.empty()) {
            const bool oneLine = (c.style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
            const SIZE s = drawnSize(c.window, c.text, oneLine ? 0 : w);
            EXPECT_LE(s.cx, w);
            EXPECT_LE(s.cy, h);
        } else if (c.className == L"Button" && !c.text.empty()) {
            const SIZE s = drawnSize(c.window, c.text, 0);
            EXPECT_LE(s.cx + 2 * (edgeX + 2), w);
            EXPECT_LE(s.cy + 2 * edgeY, h);
        } else if (c.className == L"ComboBox") {
            const SIZE s = drawnSize(c.window, c.text, 0);
            EXPECT_LE(s.cx + GetSystemMetrics(SM_CXVSCROLL) + 2 * (edgeX + 1), w);
            EXPECT_LE(s.cy + 2 * edgeY, h);
            const int items = static_cast<int>(SendMessageW(c.window, CB_GETCOUNT, 0, 0));
            const int dropped = static_cast<int>(SendMessageW(c.window, CB_GETDROPPEDWIDTH, 0, 0));
            for (int i = 0; i < items; ++i) {
                wchar_t item[128] = {};
                SendMessageW(c.window, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
                EXPECT_LE(drawnSize(c.window, item, 0).cx + 2 * (edgeX + 1), dropped)
                    << toUtf8(item);
            }
        } else if (c.className == L"Edit") {
            const int lines = static_cast<int>(SendMessageW(c.window, EM_GETLINECOUNT, 0, 0));
            RECT client{};
            GetClientRect(c.window, &client);
            EXPECT_LE(lines * fontHeight(c.window), client.bottom);
        }
    }
}

void expectNoOverlaps(HWND page) {
    std::vector<std::pair<HWND, RECT>> placed;
    for (const ControlView& c : pageControls(page)) {
        const RECT r = rectInPage(page, c.window);
        if (IsWindowVisible(c.window) && r.right > r.left && r.bottom > r.top)
            placed.emplace_back(c.window, r);
    }
    for (std::size_t a = 0; a < placed.size(); ++a) {
        for (std::size_t b = a + 1; b < placed.size(); ++b) {
            RECT common{};
            EXPECT_FALSE(IntersectRect(&common, &placed[a].second, &placed[b].second))
                << describe(placed[a].first) << " overlaps " << describe(placed[b].first);
        }
    }
}

// Keys as the keyboard sends them, to whatever window has the focus.
void press(WORD key, std::initializer_list<WORD> modifiers = {}) {
    std::vector<INPUT> inputs;
    const auto add = [&inputs](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    for (WORD m : modifiers)
        add(m, false);
    add(key, false);
    add(key, true);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
        add(*m, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND focusOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Presses a key and waits until the focus has moved; the new focus (or the old one after 3 s).
HWND pressAndFollow(DWORD thread, WORD key, std::initializer_list<WORD> modifiers = {}) {
    const HWND before = focusOf(thread);
    press(key, modifiers);
    pumpUntil([&] { return focusOf(thread) != before; }, 3000);
    return focusOf(thread);
}

std::vector<HWND> tabStops(HWND page) {
    std::vector<HWND> stops;
    for (const ControlView& c : pageControls(page)) {
        if ((c.style & WS_TABSTOP) && c.enabled && IsWindowVisible(c.window))
            stops.push_back(c.window);
    }
    return stops;
}

// The controls the user can reach, as the page should list them: Open (too large only), the two
// combo boxes, each row's Copy button and digest box, Check (once enabled).
std::vector<HWND> expectedStops(HWND page) {
    std::vector<HWND> stops;
    if (HWND open = GetDlgItem(page, 3012))
        stops.push_back(open);
    stops.push_back(GetDlgItem(page, 3010));
    stops.push_back(GetDlgItem(page, 3011));
    const std::vector<ControlView> edits = controlsOfClass(page, L"Edit");
    for (std::size_t i = 0; i < edits.size(); ++i) {
        stops.push_back(GetDlgItem(page, 2000 + static_cast<int>(i)));
        stops.push_back(edits[i].window);
    }
    if (IsWindowEnabled(GetDlgItem(page, 3000)))
        stops.push_back(GetDlgItem(page, 3000));
    return stops;
}

// Tab from the first control visits every stop once in visual order, then leaves the page for
// the sheet's own controls and comes back to the first; Shift+Tab walks the same way back.
void expectTabWalksThePageInVisualOrder(HWND sheet, HWND page, DWORD thread) {
    const std::vector<HWND> expected = expectedStops(page);
    ASSERT_EQ(tabStops(page), expected) << "tab stops, enabled controls and creation order";
    std::vector<HWND> visual = expected;
    std::stable_sort(visual.begin(), visual.end(), [page](HWND a, HWND b) {
        const RECT ra = rectInPage(page, a);
        const RECT rb = rectInPage(page, b);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    EXPECT_EQ(visual, expected) << "the creation order is the visual order";

    SendMessageW(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(expected.front()), TRUE);
    ASSERT_TRUE(pumpUntil([&] { return focusOf(thread) == expected.front(); }, 3000));
    std::vector<HWND> visited{expected.front()};
    HWND focus = expected.front();
    for (int i = 0; i < 60; ++i) {
        focus = pressAndFollow(thread, VK_TAB);
        if (!IsChild(page, focus))
            break;
        visited.push_back(focus);
    }
    EXPECT_EQ(visited, expected);
    for (int i = 0; i < 20 && focus != expected.front(); ++i) {
        EXPECT_FALSE(IsChild(page, focus)) << "visited twice: " << describe(focus);
        focus = pressAndFollow(thread, VK_TAB);
    }
    EXPECT_EQ(focus, expected.front()) << "Tab comes round to the first control";

    SendMessageW(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(expected.back()), TRUE);
    ASSERT_TRUE(pumpUntil([&] { return focusOf(thread) == expected.back(); }, 3000));
    std::vector<HWND> back{expected.back()};
    for (int i = 0; i < 60; ++i) {
        focus = pressAndFollow(thread, VK_TAB, {VK_SHIFT});
        if (!IsChild(page, focus))
            break;
        back.push_back(focus);
    }
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(back, expected) << "Shift+Tab";
}

// A pixel of the screen as RGB.
COLORREF pixelAt(const std::vector<std::uint8_t>& rgb, int width, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
}

// Saves a picture of the sheet as artifacts\NAME.png (when there is an artifacts folder) and
// returns its pixels with the sheet's rectangle.
bool shoot(HWND sheet, const std::wstring& name, std::vector<std::uint8_t>& rgb, int& width,
           int& height) {
    RedrawWindow(sheet, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpFor(700);
    if (!captureWindow(sheet, width, height, rgb))
        return false;
    const std::wstring folder = environmentText(L"VELK_ARTIFACTS");
    if (!folder.empty()) {
        CreateDirectoryW(folder.c_str(), nullptr);
        EXPECT_TRUE(savePng(folder + L"\\" + name + L".png", width, height, rgb));
    }
    return true;
}

class PageOnScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        SetEnvironmentVariableW(L"APPDATA", dir.path().c_str()); // default label settings
    }
    void TearDown() override { CoUninitialize(); }

    // The dialog's Hashes page, shown, or null.
    HWND openHashesPage(ShellPropertiesDialog& dialog, HWND& sheet) {
        sheet = dialog.waitForSheet(kWaitMs);
        if (sheet == nullptr)
            return nullptr;
        const int tab = hashesTab(dialog.tabTitles(sheet));
        if (tab < 0)
            return nullptr;
        SetWindowPos(sheet, HWND_TOPMOST, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(sheet);
        return dialog.showTab(sheet, tab);
    }

    PageTempDir dir;
};

TEST_F(PageOnScreen, AtTheScreensDpi) {
    const int dpi = dpiUnderTest();
    if (dpi == 0)
        GTEST_SKIP() << "run by ThreeDpisThroughTheShellsDialog";
    {
        HDC screen = GetDC(nullptr);
        ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), dpi);
        ReleaseDC(nullptr, screen);
    }
    const std::wstring prefix = L"page-" + std::to_wstring(dpi) + L"dpi";
    const std::wstring file = dir.file(L"velkora-setup-1.0.zip");
    ASSERT_TRUE(writeFileBytes(file, "Velkora sample download: the bytes behind the digests.\n"));
    HashResults digests;
    ASSERT_TRUE(computeAllHashes(toUtf8(file), digests, nullptr));

    {
        ShellPropertiesDialog dialog({file});
        HWND sheet = nullptr;
        HWND page = openHashesPage(dialog, sheet);
        ASSERT_NE(page, nullptr) << "no Hashes page in the Properties dialog";
        ASSERT_TRUE(pumpUntil(
            [&] {
                const auto edits = controlsOfClass(page, L"Edit");
                return edits.size() == 11 && edits.back().text != L"computing...";
            },
            kWaitMs));
        // Rows are laid out again once the digests are in.
        pumpFor(300);
        const DWORD thread = dialog.threadId();

        expectCaptionsFit(page);
        expectNoOverlaps(page);
        std::ofstream(environmentText(L"VELK_PAGE_REPORT").c_str())
            << fontHeight(controlsOfClass(page, L"Edit").front().window) << "\n";

        std::vector<std::uint8_t> rgb;
        int width = 0, height = 0;
        ASSERT_TRUE(shoot(sheet, prefix, rgb, width, height));

        expectTabWalksThePageInVisualOrder(sheet, page, thread);

        // Ctrl+A in a digest box selects the whole digest, Ctrl+C copies it.
        HWND crc = controlsOfClass(page, L"Edit").front().window;
        const std::wstring crcText = toUtf16(digests.at("CRC32"));
        SendMessageW(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(crc), TRUE);
        ASSERT_TRUE(pumpUntil([&] { return focusOf(thread) == crc; }, 3000));
        SendMessageW(crc, EM_SETSEL, 0, 0);
        ASSERT_TRUE(putClipboardText(L"before"));
        press('A', {VK_CONTROL});
        DWORD from = 1, to = 0;
        EXPECT_TRUE(pumpUntil(
            [&] {
                SendMessageW(crc, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                             reinterpret_cast<LPARAM>(&to));
                return from == 0 && to == crcText.size();
            },
            3000))
            << from << ".." << to;
        press('C', {VK_CONTROL});
        EXPECT_TRUE(pumpUntil([&] { return clipboardText() == crcText; }, 3000))
            << toUtf8(clipboardText());

        // Alt+S goes to the algorithm box beside "Settings:"; Alt+C presses Check.
        press('S', {VK_MENU});
        EXPECT_TRUE(pumpUntil([&] { return focusOf(thread) == GetDlgItem(page, 3010); }, 3000));
        ASSERT_TRUE(putClipboardText(toUtf16(digests.at("SHA-256")) + L"\r\n"));
        press('C', {VK_MENU});
        HWND result = GetDlgItem(page, 3001);
        EXPECT_TRUE(pumpUntil(
            [&] { return windowText(result) == L"\u2714 MATCH - SHA-256 matches this file."; },
            3000))
            << toUtf8(windowText(result));

        // The result line, scrolled into view: its text in the match colour, its background the
        // page's own (compared with the page's right margin at the same height).
        for (int i = 0; i < 10; ++i)
            SendMessageW(page, WM_VSCROLL, SB_PAGEDOWN, 0);
        expectCaptionsFit(page);
        ASSERT_TRUE(shoot(sheet, prefix + L"-check", rgb, width, height));
        RECT sheetRect{}, label{}, client{};
        GetWindowRect(sheet, &sheetRect);
        GetWindowRect(result, &label);
        GetClientRect(page, &client);
        POINT margin{client.right - 2, 0};
        ClientToScreen(page, &margin);
        const int y = label.bottom - 2 - sheetRect.top;
        const COLORREF pageBackground = pixelAt(rgb, width, margin.x - sheetRect.left, y);
        EXPECT_EQ(pixelAt(rgb, width, label.right - 2 - sheetRect.left, y), pageBackground)
            << "the result line's background is the page's";
        int inked = 0;
        for (int py = label.top; py < label.bottom; ++py) {
            for (int px = label.left; px < label.right; ++px) {
                inked +=
                    pixelAt(rgb, width, px - sheetRect.left, py - sheetRect.top) == kMatchColour;
            }
        }
        EXPECT_GT(inked, 0) << "the match line in its colour";
        dialog.close();
        EXPECT_TRUE(pumpUntil([&] { return dialog.finished(); }, kWaitMs));
    }

    // Too large to hash here: the Open button and a line beside the disabled Check button.
    const std::wstring big = dir.file(L"disk image.iso");
    ASSERT_TRUE(writeSparseFile(big, 536870913));
    {
        ShellPropertiesDialog dialog({big});
        HWND sheet = nullptr;
        HWND page = openHashesPage(dialog, sheet);
        ASSERT_NE(page, nullptr);
        pumpFor(300);
        EXPECT_EQ(windowText(GetDlgItem(page, 3001)),
                  L"Open Velkscope above to check this file: the viewer has no size limit.");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 3000)));
        expectCaptionsFit(page);
        expectNoOverlaps(page);
        expectTabWalksThePageInVisualOrder(sheet, page, dialog.threadId());
        std::vector<std::uint8_t> rgb;
        int width = 0, height = 0;
        ASSERT_TRUE(shoot(sheet, prefix + L"-too-large", rgb, width, height));
        dialog.close();
        EXPECT_TRUE(pumpUntil([&] { return dialog.finished(); }, kWaitMs));
    }
}

// Starts this program once per DPI (the screen's DPI is read at process start) and compares
// the digest font across them.
TEST_F(PageOnScreen, ThreeDpisThroughTheShellsDialog) {
    if (dpiUnderTest() != 0)
        GTEST_SKIP() << "a run at one DPI";
    const std::wstring dll = L"\"" + programFolder() + L"velkshell.dll\"";
    ASSERT_EQ(runAndWait(L"regsvr32.exe /s " + dll, 60000), 0);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);

    const auto setLogPixels = [](DWORD dpi) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                       sizeof dpi);
        RegCloseKey(key);
    };
    std::vector<int> heights;
    for (const int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        setLogPixels(static_cast<DWORD>(dpi));
        const std::wstring report = dir.file(L"report-" + std::to_wstring(dpi) + L".txt");
        SetEnvironmentVariableW(L"VELK_PAGE_DPI", std::to_wstring(dpi).c_str());
        SetEnvironmentVariableW(L"VELK_PAGE_REPORT", report.c_str());
        EXPECT_EQ(runAndWait(L"\"" + std::wstring(self) +
                                 L"\" --gtest_filter=PageOnScreen.AtTheScreensDpi",
                             300000),
                  0);
        SetEnvironmentVariableW(L"VELK_PAGE_DPI", nullptr);
        int height = 0;
        std::ifstream(report.c_str()) >> height;
        heights.push_back(height);
    }
    setLogPixels(96);
    runAndWait(L"regsvr32.exe /s /u " + dll, 60000);

    ASSERT_EQ(heights.size(), 3u);
    std::printf("digest font height: %d px at 96 DPI, %d at 144, %d at 192\n", heights[0],
                heights[1], heights[2]);
    ASSERT_GT(heights[0], 0);
    EXPECT_GE(heights[1], 1.4 * heights[0]);
    EXPECT_GE(heights[2], 1.4 * heights[0]);
    EXPECT_GT(heights[2], heights[1]);
}

} // namespace
} // namespace velk::test
