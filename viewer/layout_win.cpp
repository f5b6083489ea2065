// Applies the computed layout to the controls, measures wrapped digests when needed, and
// scrolls by moving the controls.

#include "viewer/gdi_scope_win.h"
#include "viewer/layout.h"
#include "viewer/scrolling.h"
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
    place(s.themeButton, l.themeButton);
    place(s.sizeLabel, l.sizeLabel);
    place(s.menuLabelCaption, l.menuLabelCaption);
    place(s.algoCombo, l.algoCombo);
    place(s.formatCombo, l.formatCombo);
    place(s.previewLabel, l.previewLabel);
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

void redrawViewer(ViewerState& s, UINT extraFlags) {
    RedrawWindow(s.mainWindow, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | extraFlags);
}

namespace {

void scrollTo(ViewerState& s, int position) {
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
