#pragma once
// Where a new viewer window goes: the remembered size and position, kept on one display's
// work area, cascaded 32 pixels per other running viewer.

#include <optional>
#include <string>

namespace velk {

struct Settings;

struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct WorkArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Used when the system names no work area at all.
inline constexpr WorkArea kFallbackWorkArea{0, 0, 1280, 1000};

struct WindowSize {
    int width = 0;
    int height = 0;
};

// The saved size, unless it is the tiny rectangle of a window saved while minimized (width
// 200 or less, height 150 or less); otherwise 760 x 560 at the given DPI scale.
WindowSize initialWindowSize(const Settings& settings, double scale);

// Both coordinates saved: the position counts, and its display's work area is used.
bool hasSavedPosition(const Settings& settings);

// The window's rectangle on `area`, `otherViewers` cascade steps from its base position.
WindowRect placeInWorkArea(const Settings& settings, int otherViewers, WindowSize size,
                           const WorkArea& area);

// Whether the settings ask for a maximised window.
bool startsMaximised(const Settings& settings);

// What a placement save changes: the restored (normal) size and whether the window is
// maximised always; the restored position, and the display when it is known, only for the
// first viewer, so cascaded copies never move the remembered place.
void recordWindowPlacement(Settings& settings, const WindowRect& normal, bool maximised,
                           bool firstViewer, const std::optional<std::string>& monitorName);

} // namespace velk
