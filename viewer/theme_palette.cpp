#include "viewer/theme_palette.h"

namespace velk {

ThemePalette themePalette(bool dark) {
    if (dark)
        return {0x202020, 0xEBEBEB, 0xA5A5A5, 0xFAA560};
    return {0xFFFFFF, 0x000000, 0x6E6E6E, 0xC85A00};
}

Colour statusColour(StatusKind kind, Colour textColour) {
    switch (kind) {
    case StatusKind::Success:
        return 0x377F1A;
    case StatusKind::Failure:
        return 0x281CC0;
    case StatusKind::Warning:
        return 0x00679A;
    case StatusKind::Neutral:
        break;
    }
    return textColour;
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
