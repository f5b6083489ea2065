// Applies the computed layout to the controls, measures wrapped digests when needed, and
// scrolls by moving the controls.

#include "engine/utf16.h"
#include "viewer/file_facts.h"
#include "viewer/gdi_scope_win.h"
#include "viewer/layout.h"
#include "viewer/scrolling.h"
#include "viewer/status_text.h"
#include "viewer/viewer_state.h"

#include <windows.h>

#include <algorithm>

namespace velk {
namespace {

static_assert(kScrollLineUp == SB_LINEUP && kScrollLineDown == SB_LINEDOWN &&
                  kScrollPageUp == SB_PAGEUP && kScrollPageDown == SB_PAGEDOWN &&
                  kScrollThumbTrack == SB_THUMBTRACK,
              "scroll codes as the window system numbers them");

struct MonoMetrics {
    int lineHeight = 0;
    int charWidth = 7;
};

MonoMetrics measureMonoFont(const ViewerState& s) {
    MonoMetrics m;
    const WindowDc dc(s.mainWindow);
    if (dc.get() == nullptr)
        return m;
    const SelectedObject font(dc.get(), s.monoFont.get());
    TEXTMETRICW tm{};
    if (GetTextMetricsW(dc.get(), &tm)) {
        m.lineHeight = tm.tmHeight + tm.tmExternalLeading;
        m.charWidth = tm.tmAveCharWidth >= 1 ? tm.tmAveCharWidth : 7;
    }
    return m;
}

void place(HWND control, const Rect& r) {
    if (control != nullptr)
        MoveWindow(control, r.x, r.y, r.width, r.height, TRUE);
}

// The file name on the label's one line, shortened in the middle when it does not fit; the
// whole path is in the label's tooltip.
void showFileName(const ViewerState& s, int width) {
    const WindowDc dc(s.fileNameLabel);
    if (dc.get() == nullptr)
        return;
    const SelectedObject font(dc.get(), s.boldFont.get());
    const std::string shown =
        elideFileName(fileNameOf(s.filePath), width, [&](const std::string& text) {
            const std::wstring wide = toUtf16(text);
            SIZE extent{};
            GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
            return static_cast<int>(extent.cx);
        });
    wchar_t current[1024];
    const int length = GetWindowTextW(s.fileNameLabel, current, 1024);
    if (toUtf16(shown) != std::wstring(current, static_cast<std::size_t>(length)))
        setWindowTextUtf8(s.fileNameLabel, shown);
}

// The narrowest status line on which each of its longest texts takes two lines at most, as
// the label draws them (word breaks, the control's font).
int measureStatusWidth(const ViewerState& s) {
    const WindowDc dc(s.statusLabel);
    if (dc.get() == nullptr)
        return 0;
    const SelectedObject font(dc.get(), s.uiFont.get());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    std::vector<std::wstring> texts;
    for (const std::string& text : longestStatusTexts())
        texts.push_back(toUtf16(text));
    const auto fits = [&](int width) {
        for (const std::wstring& text : texts) {
            RECT r{0, 0, width, 0};
            DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
                      DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
            if (r.right > width || r.bottom > 2 * tm.tmHeight)
                return false;
        }
        return true;
    };
    int low = 1;
    int high = 8192;
    if (!fits(high))
        return high;
    while (low < high) { // fewer lines never need more width
        const int mid = (low + high) / 2;
        if (fits(mid)) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return low;
}

RECT workAreaOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    return info.rcWork;
}

ViewerLayout runLayout(ViewerState& s, int clientWidth) {
    const int F = s.fontPx;
    const int vw = valueBoxWidth(F, clientWidth);
    const bool measure = vw != s.measuredValueWidth || F != s.measuredFontPx;
    const MonoMetrics metrics = measure ? measureMonoFont(s) : MonoMetrics{};

    ViewerLayout layout = computeLayout(
        F, s.scrollPos, clientWidth, s.rows.size(), [&](std::size_t i, int x, int y, int width) {
            HashRow& row = s.rows[i];
            if (measure) {
                MoveWindow(row.valueBox, x, y, width, metrics.lineHeight + 4, TRUE);
                const int lines =
                    static_cast<int>(SendMessageW(row.valueBox, EM_GETLINECOUNT, 0, 0));
                wchar_t text[300];
                const int length = GetWindowTextW(row.valueBox, text, 300);
                row.height = measuredRowHeight(F, width, metrics.lineHeight, metrics.charWidth,
                                               lines, length);
            }
            return row.height;
        });
    if (measure) {
        s.measuredValueWidth = vw;
        s.measuredFontPx = F;
    }
    return layout;
}

} // namespace

void layoutViewer(ViewerState& s) {
    // Sizing messages arrive while the window is being created, before any control exists.
    if (s.mainWindow == nullptr || s.linkLabel == nullptr)
        return;
    RECT client{};
    GetClientRect(s.mainWindow, &client);
    const int W = client.right - client.left;
    const int H = client.bottom - client.top;

    ViewerLayout l = runLayout(s, W);
    // A window made taller while scrolled down would keep its top hidden with no bar left
    // to bring it back: the offset never exceeds what the content still needs.
    const int limit = std::max(0, l.contentHeight - H);
    if (s.scrollPos > limit) {
        s.scrollPos = limit;
        l = runLayout(s, W);
    }

    place(s.fileNameLabel, l.fileNameLabel);
    showFileName(s, l.fileNameLabel.width);
    place(s.themeButton, l.themeButton);
    place(s.sizeLabel, l.sizeLabel);
    place(s.menuLabelCaption, l.menuLabelCaption);
    place(s.algoCombo, l.algoCombo);
    place(s.formatCombo, l.formatCombo);
    place(s.previewLabel, l.previewLabel);
    place(s.progress.bar, l.progressBar);
    place(s.progress.line, l.progressLine);
    for (std::size_t i = 0; i < s.rows.size() && i < l.rows.size(); ++i) {
        place(s.rows[i].copyButton, l.rows[i].copyButton);
        place(s.rows[i].nameLabel, l.rows[i].nameLabel);
        place(s.rows[i].valueBox, l.rows[i].valueBox);
    }
    place(s.checkButton, l.checkButton);
    place(s.statusLabel, l.statusLabel);
    place(s.fontSmallerButton, l.fontSmallerButton);
    place(s.fontResetButton, l.fontResetButton);
    place(s.fontLargerButton, l.fontLargerButton);
    place(s.linkLabel, l.linkLabel);
    place(s.computeAllCheckBox, l.computeAllCheckBox);
    s.contentHeight = l.contentHeight;

    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    bar.nMin = 0;
    bar.nMax = s.contentHeight;
    bar.nPage = static_cast<UINT>(std::max(H, 0));
    bar.nPos = s.scrollPos;
    SetScrollInfo(s.mainWindow, SB_VERT, &bar, TRUE);
}

void placeProgress(ViewerState& s) {
    if (s.mainWindow == nullptr || s.linkLabel == nullptr)
        return;
    RECT client{};
    GetClientRect(s.mainWindow, &client);
    // Only the two rectangles are wanted: every row keeps its remembered height.
    const ViewerLayout l =
        computeLayout(s.fontPx, s.scrollPos, client.right - client.left, s.rows.size(),
                      [&](std::size_t i, int, int, int) { return s.rows[i].height; });
    place(s.progress.bar, l.progressBar);
    place(s.progress.line, l.progressLine);
}

bool minimumTrackSize(ViewerState& s, POINT& outerSize) {
    if (!s.minimumSizeActive || !s.uiFont)
        return false;
    if (s.statusWidthFontPx != s.fontPx) {
        // A few pixels to spare: the label draws the line's last character a little wider
        // than the measurement says (seen with the period of the longest text).
        s.statusWidth = measureStatusWidth(s) + s.fontPx / 2;
        s.statusWidthFontPx = s.fontPx;
    }
    const ClientSize client = minimumClientSize(s.fontPx, s.statusWidth);
    RECT r{0, 0, client.width, client.height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(s.mainWindow, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(s.mainWindow, GWL_EXSTYLE)));
    // The scroll bar takes its width from the client area whenever the page is taller.
    const LONG width = r.right - r.left + GetSystemMetrics(SM_CXVSCROLL);
    const LONG height = r.bottom - r.top;
    // A window larger than its display could not be moved or resized at all.
    const RECT work = workAreaOf(s.mainWindow);
    outerSize.x = std::min(width, work.right - work.left);
    outerSize.y = std::min(height, work.bottom - work.top);
    return true;
}

bool growToMinimumSize(ViewerState& s) {
    POINT minimum{};
    if (IsIconic(s.mainWindow) || IsZoomed(s.mainWindow) || !minimumTrackSize(s, minimum))
        return false;
    RECT r{};
    GetWindowRect(s.mainWindow, &r);
    const LONG width = std::max(r.right - r.left, minimum.x);
    const LONG height = std::max(r.bottom - r.top, minimum.y);
    if (width == r.right - r.left && height == r.bottom - r.top)
        return false;
    // Grown to the right and down, pulled back onto the display where that runs off it.
    const RECT work = workAreaOf(s.mainWindow);
    const LONG x = std::max(work.left, std::min(r.left, work.right - width));
    const LONG y = std::max(work.top, std::min(r.top, work.bottom - height));
    SetWindowPos(s.mainWindow, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // Only a new size brings WM_SIZE, and with it the layout.
    RECT after{};
    GetWindowRect(s.mainWindow, &after);
    return after.right - after.left != r.right - r.left ||
           after.bottom - after.top != r.bottom - r.top;
}

void redrawViewer(ViewerState& s, UINT extraFlags) {
    RedrawWindow(s.mainWindow, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | extraFlags);
}

namespace {

void scrollTo(ViewerState& s, int position) {
    // At a limit the wheel and the bar keep asking for the same place: nothing to move.
    if (position == s.scrollPos)
        return;
    s.scrollPos = position;
    layoutViewer(s);
    redrawViewer(s);
}

} // namespace

void scrollByBar(ViewerState& s, int code) {
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_ALL;
    if (!GetScrollInfo(s.mainWindow, SB_VERT, &bar))
        return;
    scrollTo(
        s, scrollBarPosition(code, bar.nPos, static_cast<int>(bar.nPage), bar.nTrackPos, bar.nMax));
}

void scrollByWheel(ViewerState& s, int wheelDelta) {
    RECT client{};
    GetClientRect(s.mainWindow, &client);
    scrollTo(s, wheelScrollPosition(s.scrollPos, wheelDelta, s.contentHeight,
                                    client.bottom - client.top));
}

} // namespace velk
