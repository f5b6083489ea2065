#pragma once
// The viewer's one font size: its range, its DPI default, its start value and the keys and
// wheel steps that change it.

#include <optional>

namespace velk {

struct Settings;

inline constexpr int kMinFontPx = 7;
inline constexpr int kMaxFontPx = 72;

int clampFontPx(int px);

// 12 pixels at 96 DPI, scaled and rounded: 18 at 144.
int defaultFontPxForDpi(int dpi);

// The stored size, clamped; without one, the DPI default.
int startupFontPx(const Settings& settings, int defaultFontPx);

// Virtual-key codes of the size keys, as the window system numbers them.
inline constexpr unsigned kKeyZero = 0x30;
inline constexpr unsigned kKeyNumpadZero = 0x60;
inline constexpr unsigned kKeyAdd = 0x6B;
inline constexpr unsigned kKeySubtract = 0x6D;
inline constexpr unsigned kKeyOemPlus = 0xBB;
inline constexpr unsigned kKeyOemMinus = 0xBD;

// The size asked for by a key pressed with Ctrl held, or nothing for other keys. The result
// is unclamped: setting it clamps. The zero keys ask for the DPI default.
std::optional<int> fontSizeForKey(unsigned virtualKey, int fontPx, int defaultFontPx);

inline bool isFontResetKey(unsigned virtualKey) {
    return virtualKey == kKeyZero || virtualKey == kKeyNumpadZero;
}

// One step per wheel message, whatever the delta.
inline int fontSizeForWheel(int wheelDelta, int fontPx) {
    return wheelDelta > 0 ? fontPx + 1 : fontPx - 1;
}

} // namespace velk
