#pragma once
// The viewer's colours, the theme button's label and the choice between light and dark.

#include "viewer/status_text.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velk {

using Colour = std::uint32_t; // COLORREF layout: 0x00BBGGRR

struct ThemePalette {
    Colour background;
    Colour text;
    Colour secondaryText; // size line and preview
    Colour link;
};

ThemePalette themePalette(bool dark);

// The progress bar's colours in the dark theme, which has no visual style for it (the light
// theme shows the system's bar): the filled part stands out from the track by at least 3 : 1,
// the track from the background enough to show the empty bar.
struct ProgressColours {
    Colour track;
    Colour fill;
};
ProgressColours darkProgressColours();

// The status line's colour: fixed per kind and theme, the text colour for Neutral. The dark
// theme's colours are lighter, so that each stands out from the dark background by at least
// 4.5 : 1.
Colour statusColour(StatusKind kind, bool dark, Colour textColour);

// The contrast ratio of two colours by their relative luminance: 1 for equal colours, 21 for
// black on white.
double contrastRatio(Colour a, Colour b);

// The button names the theme it switches to: "☀ Light" while dark, "☾ Dark" while light.
std::string themeButtonText(bool dark);

// "light", "dark" and "system" are kept; anything else (also "Dark") becomes "system".
std::string normalizeThemeName(const std::string& themeName);

// Dark or light for the two fixed names; no value for "system", which follows the
// user's app mode.
std::optional<bool> fixedThemeIsDark(const std::string& themeName);

// The app-mode value "AppsUseLightTheme": 0 means dark, anything else light.
inline bool appModeIsDark(std::uint32_t appsUseLightTheme) {
    return appsUseLightTheme == 0;
}

// What the theme button stores: the opposite of the theme being shown.
inline std::string toggledThemeName(bool darkShown) {
    return darkShown ? "light" : "dark";
}

} // namespace velk
