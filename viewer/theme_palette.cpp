#include "viewer/theme_palette.h"

#include <algorithm>
#include <cmath>

namespace velk {
namespace {

// sRGB channel (0..255) to linear light.
double linearChannel(unsigned value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double relativeLuminance(Colour c) {
    return 0.2126 * linearChannel(c & 0xFF) + 0.7152 * linearChannel((c >> 8) & 0xFF) +
           0.0722 * linearChannel((c >> 16) & 0xFF);
}

} // namespace

ThemePalette themePalette(bool dark) {
    if (dark)
        return {0x202020, 0xEBEBEB, 0xA5A5A5, 0xFAA560};
    return {0xFFFFFF, 0x000000, 0x6E6E6E, 0xC85A00};
}

ProgressColours darkProgressColours() {
    return {0x4A4A4A, themePalette(true).link};
}

Colour statusColour(StatusKind kind, bool dark, Colour textColour) {
    switch (kind) {
    case StatusKind::Success:
        return dark ? 0x5FCB6C : 0x377F1A; // RGB(108, 203, 95) : RGB(26, 127, 55)
    case StatusKind::Failure:
        return dark ? 0x7070FF : 0x281CC0; // RGB(255, 112, 112) : RGB(192, 28, 40)
    case StatusKind::Warning:
        return dark ? 0x32B4E6 : 0x00679A; // RGB(230, 180, 50) : RGB(154, 103, 0)
    case StatusKind::Neutral:
        break;
    }
    return textColour;
}

double contrastRatio(Colour a, Colour b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::string themeButtonText(bool dark) {
    return dark ? "\xE2\x98\x80 Light" : "\xE2\x98\xBE Dark";
}

std::string normalizeThemeName(const std::string& themeName) {
    if (themeName == "light" || themeName == "dark" || themeName == "system")
        return themeName;
    return "system";
}

std::optional<bool> fixedThemeIsDark(const std::string& themeName) {
    if (themeName == "dark")
        return true;
    if (themeName == "light")
        return false;
    return std::nullopt;
}

} // namespace velk
