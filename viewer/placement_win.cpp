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
    // The restored rectangle, whatever the window shows now: a window closed while minimised
    // or maximised comes back at the size and place the user gave it.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return true;
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    const bool monitorKnown = GetMonitorInfoW(monitor, &info) != FALSE;
    RECT normal = placement.rcNormalPosition;
    if (monitorKnown) {
        // Workspace coordinates: relative to the work area, which a taskbar at the left or
        // top moves away from the screen's origin.
        OffsetRect(&normal, info.rcWork.left - info.rcMonitor.left,
                   info.rcWork.top - info.rcMonitor.top);
    }
    const bool maximised = placement.showCmd == SW_SHOWMAXIMIZED ||
                           (IsIconic(window) && (placement.flags & WPF_RESTORETOMAXIMIZED) != 0);
    std::optional<std::string> monitorName;
    if (isFirstViewerWindow && monitorKnown)
        monitorName = toUtf8(info.szDevice);
    const WindowRect rect{normal.left, normal.top, normal.right - normal.left,
                          normal.bottom - normal.top};
    return updateSettings(
               [&](Settings& settings) {
                   recordWindowPlacement(settings, rect, maximised, isFirstViewerWindow,
                                         monitorName);
               },
               limitMs) == SaveResult::Saved;
}

} // namespace velk
