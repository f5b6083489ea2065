#include "viewer/placement.h"

#include "settings/settings.h"

#include <algorithm>

namespace velk {

WindowSize initialWindowSize(const Settings& s, double scale) {
    WindowSize size;
    size.width = (s.has_win_w && s.win_w > 200) ? s.win_w : static_cast<int>(scale * 760 + 0.5);
    size.height = (s.has_win_h && s.win_h > 150) ? s.win_h : static_cast<int>(scale * 560 + 0.5);
    return size;
}

bool hasSavedPosition(const Settings& s) {
    return s.has_win_x && s.has_win_y;
}

WindowRect placeInWorkArea(const Settings& s, int otherViewers, WindowSize size,
                           const WorkArea& area) {
    // 64-bit throughout: saved coordinates come from a file and may be anything an int holds.
    using Wide = long long;
    const Wide left = area.left, top = area.top, right = area.right, bottom = area.bottom;
    const Wide width = std::min<Wide>(size.width, right - left);
    const Wide height = std::min<Wide>(size.height, bottom - top);

    Wide x;
    Wide y;
    if (hasSavedPosition(s)) {
        x = s.win_x;
        y = s.win_y;
    } else {
        x = left + (right - left - width) / 2;
        y = top + (bottom - top - height) / 2;
    }
    if (x + width > right)
        x = right - width;
    if (y + height > bottom)
        y = bottom - height;
    x = std::max(x, left);
    y = std::max(y, top);

    // The first viewer stands where it was left (pulled onto the area). The cascade limits
    // below keep room for the copies that step down and right; applied to the first
    // window they would throw a window left at the right or bottom edge to the corner.
    if (otherViewers <= 0) {
        return {static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                static_cast<int>(height)};
    }

    const Wide maxX = std::max(left, right - width - 20);
    const Wide maxY = std::max(top, bottom - height - 48);
    const Wide offset = static_cast<Wide>(otherViewers) * 32;
    Wide cx = x + offset;
    Wide cy = y + offset;
    if (cx > maxX || cy > maxY) { // both wrap, so the cascade stays a diagonal
        cx = left + offset % (maxX - left + 1);
        cy = top + offset % (maxY - top + 1);
    }
    const Wide finalX = cx < left ? left : std::min(cx, maxX);
    const Wide finalY = cy < top ? top : std::min(cy, maxY);
    return {static_cast<int>(finalX), static_cast<int>(finalY), static_cast<int>(width),
            static_cast<int>(height)};
}

bool startsMaximised(const Settings& s) {
    return s.has_win_max && s.win_max;
}

void recordWindowPlacement(Settings& s, const WindowRect& outer, bool maximised, bool firstViewer,
                           const std::optional<std::string>& monitorName) {
    s.has_win_w = s.has_win_h = true;
    s.win_w = outer.width;
    s.win_h = outer.height;
    s.has_win_max = true;
    s.win_max = maximised;
    if (!firstViewer)
        return;
    s.has_win_x = s.has_win_y = true;
    s.win_x = outer.x;
    s.win_y = outer.y;
    if (monitorName) {
        s.has_monitor = true;
        s.monitor = *monitorName;
    }
}

} // namespace velk
