#include "viewer/font_size.h"

#include "settings/settings.h"

#include <algorithm>

namespace velk {

int clampFontPx(int px) {
    return std::clamp(px, kMinFontPx, kMaxFontPx);
}

int defaultFontPxForDpi(int dpi) {
    const double scale = dpi / 96.0;
    return clampFontPx(static_cast<int>(scale * 12 + 0.5));
}

int startupFontPx(const Settings& settings, int defaultFontPx) {
    return settings.has_font_px ? clampFontPx(settings.font_px) : defaultFontPx;
}

std::optional<int> fontSizeForKey(unsigned virtualKey, int fontPx, int defaultFontPx) {
    switch (virtualKey) {
    case kKeyOemPlus:
    case kKeyAdd:
        return fontPx + 1;
    case kKeyOemMinus:
    case kKeySubtract:
        return fontPx - 1;
    case kKeyZero:
    case kKeyNumpadZero:
        return defaultFontPx;
    default:
        return std::nullopt;
    }
}

} // namespace velk
