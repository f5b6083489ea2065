// The main window's first rectangle and the saving of where it was left.

#include "engine/utf16.h"
#include "settings/settings.h"
#include "viewer/window_placement.h"

#include <algorithm>
#include <climits>

namespace velk {
namespace {

bool workAreaOf(HMONITOR monitor, WorkArea& area) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info))
        return false;
    area = {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    return true;
}

LONG clampedSum(int a, int b) {
    const long long sum = static_cast<long long>(a) + b;
    return static_cast<LONG>(std::clamp<long long>(sum, LONG_MIN, LONG_MAX));
}

} // namespace

WindowRect computeInitialPlacement(const Settings& settings, int otherViewers, double scale) {
    const WindowSize size = initialWindowSize(settings, scale);
    WorkArea area;
    bool found = false;
    if (hasSavedPosition(settings)) {
        // Saved coordinates come from a file: the far corner is formed without overflow.
        const RECT saved{settings.win_x, settings.win_y, clampedSum(settings.win_x, size.width),
                         clampedSum(settings.win_y, size.height)};
        found = workAreaOf(MonitorFromRect(&saved, MONITOR_DEFAULTTONEAREST), area);
    }
    if (!found)
        found = workAreaOf(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), area);
    if (!found)
        area = kFallbackWorkArea;
    return placeInWorkArea(settings, otherViewers, size, area);
}

bool saveWindowPlacement(HWND window, bool isFirstViewerWindow, int limitMs) {
    if (!IsWindow(window))
        return true; // nothing left to save
    RECT r{};
    if (!GetWindowRect(window, &r))
        return true;
    std::optional<std::string> monitorName;
    if (isFirstViewerWindow) {
        MONITORINFOEXW info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) {
            monitorName = toUtf8(info.szDevice);
        }
    }
    const WindowRect rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    return updateSettings(
               [&](Settings& settings) {
                   recordWindowPlacement(settings, rect, isFirstViewerWindow, monitorName);
               },
               limitMs) == SaveResult::Saved;
}

} // namespace velk
