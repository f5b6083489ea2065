// Light and dark: the app-mode setting, the undocumented uxtheme switches, the title bar,
// the controls' visual-style classes and the colour messages.

#include "viewer/theme_win.h"
#include "engine/unique_handle.h"
#include "engine/utf16.h"
#include "viewer/viewer_state.h"

#include <windows.h>

#include <commctrl.h>
#include <dwmapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <mutex>

namespace velk {
namespace {

// uxtheme exports that exist only as ordinals; each may be missing and is then skipped.
using SetPreferredAppMode = int(WINAPI*)(int);            // ordinal 135: 2 forces dark, 3 light
using FlushMenuThemes = void(WINAPI*)();                  // ordinal 104: re-read the colour policy
using AllowDarkModeForWindow = BOOL(WINAPI*)(HWND, BOOL); // ordinal 133

struct DarkModeExports {
    UniqueModule library; // kept until the process ends
    SetPreferredAppMode setPreferredAppMode = nullptr;
    FlushMenuThemes flushMenuThemes = nullptr;
    AllowDarkModeForWindow allowDarkModeForWindow = nullptr;
};

template <class Function> Function byOrdinal(HMODULE library, WORD ordinal) {
    if (library == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ordinal))));
}

const DarkModeExports& darkModeExports() {
    static DarkModeExports exports;
    static std::once_flag once;
    std::call_once(once, [] {
        exports.library.reset(
            LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        const HMODULE lib = exports.library.get();
        exports.setPreferredAppMode = byOrdinal<SetPreferredAppMode>(lib, 135);
        exports.flushMenuThemes = byOrdinal<FlushMenuThemes>(lib, 104);
        exports.allowDarkModeForWindow = byOrdinal<AllowDarkModeForWindow>(lib, 133);
    });
    return exports;
}

void allowDarkMode(HWND window, bool dark) {
    const DarkModeExports& ux = darkModeExports();
    if (ux.allowDarkModeForWindow != nullptr)
        ux.allowDarkModeForWindow(window, dark ? TRUE : FALSE);
}

void setDwmDarkMode(HWND window, bool dark) {
    const BOOL value = dark ? TRUE : FALSE;
    DwmSetWindowAttribute(window, 20, &value, sizeof value); // immersive dark mode
    DwmSetWindowAttribute(window, 19, &value, sizeof value); // its number on early Windows 10
}

// A one-pixel resize and back makes the title bar repaint in the new mode at once.
void refreshFrame(HWND window) {
    RECT r{};
    if (!GetWindowRect(window, &r))
        return;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 2)
        return;
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    SetWindowPos(window, nullptr, 0, 0, width, height - 1, flags);
    SetWindowPos(window, nullptr, 0, 0, width, height, flags);
}

} // namespace

void themeControl(HWND control, bool dark, const wchar_t* darkClass, const wchar_t* lightClass) {
    if (control == nullptr)
        return;
    allowDarkMode(control, dark);
    SetWindowTheme(control, dark ? darkClass : lightClass, nullptr);
}

void applyFrameTheme(HWND window, bool dark) {
    const DarkModeExports& ux = darkModeExports();
    if (ux.setPreferredAppMode != nullptr)
        ux.setPreferredAppMode(dark ? 2 : 3);
    if (ux.flushMenuThemes != nullptr)
        ux.flushMenuThemes();
    allowDarkMode(window, dark);
    setDwmDarkMode(window, dark);
    refreshFrame(window);
}

namespace {

void fillWith(HDC dc, const RECT& r, Colour colour) {
    const UniqueGdiObject brush(CreateSolidBrush(colour));
    if (brush && r.right > r.left)
        FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

// No visual style draws the bar dark, and without one the bar takes the system's colours:
// in the dark theme it is painted here, track and filled part, from its own range and
// position.
LRESULT CALLBACK darkProgressProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(bar, &paint);
        RECT r{};
        GetClientRect(bar, &r);
        const auto high = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
        const auto low = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, TRUE, 0));
        const auto position = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
        const int span = std::max(1, high - low);
        const int done = std::clamp(position - low, 0, span);
        RECT filled = r;
        filled.right = r.left + MulDiv(r.right - r.left, done, span);
        RECT rest = r;
        rest.left = filled.right;
        const ProgressColours colours = darkProgressColours();
        fillWith(dc, filled, colours.fill);
        fillWith(dc, rest, colours.track);
        EndPaint(bar, &paint);
        return 0;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(bar, darkProgressProc, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(bar, message, wParam, lParam);
}

} // namespace

bool isDarkTheme(const ViewerState& s) {
    return themeIsDark(s.themeName);
}

bool themeIsDark(const std::string& themeName) {
    if (const std::optional<bool> fixed = fixedThemeIsDark(themeName))
        return *fixed;
    DWORD appsUseLightTheme = 1; // a missing key or value means light
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER,
                      L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                      KEY_READ, &opened) == ERROR_SUCCESS) {
        const UniqueRegKey key(opened);
        DWORD value = 0;
        DWORD size = sizeof value;
        DWORD type = 0;
        if (RegQueryValueExW(key.get(), L"AppsUseLightTheme", nullptr, &type,
                             reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
            size == sizeof value) {
            appsUseLightTheme = value;
        }
    }
    return appModeIsDark(appsUseLightTheme);
}

void applyTheme(ViewerState& s) {
    s.dark = isDarkTheme(s);
    const ThemePalette palette = themePalette(s.dark);
    s.backgroundColor = palette.background;
    s.textColor = palette.text;
    s.secondaryTextColor = palette.secondaryText;
    s.backgroundBrush.reset(CreateSolidBrush(s.backgroundColor));

    applyFrameTheme(s.mainWindow, s.dark);

    for (HWND control : {s.fileNameLabel, s.sizeLabel, s.themeButton, s.menuLabelCaption,
                         s.previewLabel, s.checkButton, s.statusLabel, s.fontSmallerButton,
                         s.fontResetButton, s.fontLargerButton, s.computeAllCheckBox}) {
        themeControl(control, s.dark, L"DarkMode_Explorer", L"Explorer");
    }
    for (const HashRow& row : s.rows) {
        for (HWND control : {row.copyButton, row.nameLabel, row.valueBox}) {
            themeControl(control, s.dark, L"DarkMode_Explorer", L"Explorer");
        }
    }
    themeControl(s.algoCombo, s.dark, L"DarkMode_CFD", L"CFD");
    themeControl(s.formatCombo, s.dark, L"DarkMode_CFD", L"CFD");
    themeControl(s.fileNameTip, s.dark, L"DarkMode_Explorer", L"Explorer");
    themeProgress(s);

    setWindowTextUtf8(s.themeButton, themeButtonText(s.dark));
    SendMessageW(s.mainWindow, WM_THEMECHANGED, 0, 0);
    redrawViewer(s, RDW_UPDATENOW);
}

void themeProgress(ViewerState& s) {
    themeProgressControls(s.progress, s.dark);
}

void themeProgressControls(const ProgressControls& controls, bool dark) {
    themeControl(controls.line, dark, L"DarkMode_Explorer", L"Explorer");
    if (controls.bar == nullptr)
        return;
    if (dark) {
        SetWindowSubclass(controls.bar, darkProgressProc, 1, 0);
    } else {
        RemoveWindowSubclass(controls.bar, darkProgressProc, 1);
    }
    InvalidateRect(controls.bar, nullptr, TRUE);
}

LRESULT controlColour(ViewerState& s, HDC dc, HWND control) {
    SetBkColor(dc, s.backgroundColor);
    Colour text = s.textColor;
    if (control == s.sizeLabel || control == s.previewLabel || control == s.progress.line) {
        text = s.secondaryTextColor;
    } else if (control == s.statusLabel) {
        text = statusColour(s.statusKind, s.dark, s.textColor);
    } else if (control == s.linkLabel) {
        text = themePalette(s.dark).link;
    } else {
        for (const HashRow& row : s.rows) {
            if (control == row.nameLabel && row.mark != RowMark::None) {
                text = statusColour(rowMarkKind(row.mark), s.dark, s.textColor);
                break;
            }
        }
    }
    SetTextColor(dc, text);
    return reinterpret_cast<LRESULT>(s.backgroundBrush.get());
}

} // namespace velk
