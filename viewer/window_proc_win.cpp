// The main window's procedure: commands, timers, scrolling, colours, the worker's result and
// the close sequence.

#include "engine/utf16.h"
#include "settings/settings.h"
#include "viewer/file_facts.h"
#include "viewer/font_size.h"
#include "viewer/viewer_state.h"
#include "viewer/window_placement.h"

#include <windows.h>
#include <windowsx.h>

#include <shellapi.h>

namespace velk {
namespace {

void restartPlacementSave(ViewerState& s) {
    if (s.placementSaveTimer != 0)
        KillTimer(s.mainWindow, s.placementSaveTimer);
    s.placementSaveTimer =
        SetTimer(s.mainWindow, kPlacementTimerId, kPlacementSaveDelayMs, nullptr);
}

void onTimer(ViewerState& s, UINT_PTR id) {
    // A save that did not land stays pending: its timer runs again.
    if (id == kPlacementTimerId) {
        KillTimer(s.mainWindow, id);
        s.placementSaveTimer = 0;
        if (!saveWindowPlacement(s.mainWindow, s.isFirstViewerWindow, kSettingsSaveRetryLimitMs))
            restartPlacementSave(s);
    } else if (id == kSettingsTimerId) {
        KillTimer(s.mainWindow, id);
        s.settingsSaveTimer = 0;
        if (!saveViewerSettings(s, kSettingsSaveRetryLimitMs))
            restartSettingsSave(s);
    } else if (id == kProgressTimerId) {
        showProgress(s);
    } else if (id == kTaskbarErrorTimerId) {
        clearTaskbarProgress(s);
    }
}

void openMakerSite() {
    ShellExecuteW(nullptr, L"open", toUtf16(kMakerSiteUrl).c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

void onCommand(ViewerState& s, int id, int code) {
    switch (id) {
    case kThemeButtonId:
        toggleTheme(s);
        return;
    case kAlgoComboId:
        if (code == CBN_SELCHANGE)
            changeLabelAlgorithm(s);
        return;
    case kFormatComboId:
        if (code == CBN_SELCHANGE)
            changeLabelFormat(s);
        return;
    case kCheckButtonId:
        checkClipboard(s);
        return;
    case kFontSmallerId:
        setFontSize(s, s.fontPx - 1);
        return;
    case kFontResetId:
        resetFontSize(s);
        return;
    case kFontLargerId:
        setFontSize(s, s.fontPx + 1);
        return;
    case kComputeAllId:
        changeComputeAll(s);
        return;
    case kLinkId:
        // A click only: the second click of a double-click comes as STN_DBLCLK.
        if (code == STN_CLICKED)
            openMakerSite();
        return;
    default:
        break;
    }
    if (id >= kFirstCopyButtonId && id <= kLastCopyButtonId) {
        copyDigest(s, static_cast<std::size_t>(id - kFirstCopyButtonId));
    }
}

void onDestroy(ViewerState& s) {
    if (s.placementSaveTimer != 0) {
        KillTimer(s.mainWindow, s.placementSaveTimer);
        s.placementSaveTimer = 0;
    }
    // The last chance for a pending change: the saves keep trying for a bounded while, the
    // placement only briefly once the file has already stayed out of reach that long.
    bool fileWithinReach = true;
    if (s.settingsSaveTimer != 0) {
        KillTimer(s.mainWindow, s.settingsSaveTimer);
        s.settingsSaveTimer = 0;
        fileWithinReach = saveViewerSettings(s, kSettingsFinalSaveLimitMs);
    }
    (void)saveWindowPlacement(s.mainWindow, s.isFirstViewerWindow,
                              fileWithinReach ? kSettingsFinalSaveLimitMs
                                              : kSettingsSaveRetryLimitMs);
    unregisterViewerWindow();
    PostQuitMessage(0);
}

void eraseBackground(const ViewerState& s, HDC dc) {
    if (!s.backgroundBrush)
        return;
    RECT client{};
    GetClientRect(s.mainWindow, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(s.backgroundBrush.get()));
}

} // namespace

LRESULT CALLBACK viewerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ViewerState* state = theViewer;
    if (state == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    ViewerState& s = *state;

    switch (message) {
    case WM_NCCREATE:
        s.mainWindow = window;
        break;
    case WM_DESTROY:
        onDestroy(s);
        return 0;
    case WM_MOVE:
    case WM_EXITSIZEMOVE:
        restartPlacementSave(s);
        return 0;
    case WM_SIZE:
        layoutViewer(s);
        redrawViewer(s);
        return 0;
    case WM_ERASEBKGND:
        eraseBackground(s, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_SETCURSOR:
        if (s.linkLabel != nullptr && reinterpret_cast<HWND>(wParam) == s.linkLabel) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return 1;
        }
        break;
    case WM_KEYDOWN:
        if (handleViewerKey(s, window, wParam))
            return 0;
        break;
    case WM_GETMINMAXINFO: {
        POINT minimum{};
        if (minimumTrackSize(s, minimum)) {
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = minimum;
            return 0;
        }
        break;
    }
    case WM_ACTIVATE:
        // A plain window gives the focus to itself when activated: the control that had it
        // gets it back instead.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            s.lastFocus = IsChild(window, focus) ? focus : nullptr;
        } else if (s.lastFocus != nullptr && IsWindow(s.lastFocus) &&
                   IsWindowEnabled(s.lastFocus) && HIWORD(wParam) == 0) {
            SetFocus(s.lastFocus);
            return 0;
        }
        break;
    case WM_COMMAND:
        onCommand(s, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_TIMER:
        onTimer(s, wParam);
        return 0;
    case WM_VSCROLL:
        scrollByBar(s, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        if (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) {
            setFontSize(s, fontSizeForWheel(GET_WHEEL_DELTA_WPARAM(wParam), s.fontPx));
        } else {
            scrollByWheel(s, GET_WHEEL_DELTA_WPARAM(wParam));
        }
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return controlColour(s, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_HASH_RESULT:
        handleHashResult(s, lParam);
        return 0;
    case WM_HASH_PROGRESS:
        handleHashProgress(s, wParam, lParam);
        return 0;
    case WM_CHECKSUM_VERDICT:
        handleChecksumVerdict(s, lParam);
        return 0;
    case WM_COMPARE_SIZE:
        handleCompareSize(s, wParam, lParam);
        return 0;
    case WM_COMPARE_RESULT:
        handleCompareResult(s, wParam, lParam);
        return 0;
    case WM_DROPFILES:
        handleDrop(s, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CONTEXTMENU:
        // A right-click on a Copy button reaches its parent here: copy "digest  name".
        for (std::size_t i = 0; i < s.rows.size(); ++i) {
            if (reinterpret_cast<HWND>(wParam) == s.rows[i].copyButton) {
                copyChecksumLine(s, i);
                return 0;
            }
        }
        break;
    default:
        if (message == s.taskbarButtonCreated && message != 0) {
            attachTaskbar(s);
            return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace velk
