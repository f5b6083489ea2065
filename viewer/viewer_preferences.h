#pragma once
// The five settings the viewer's panel owns, as the viewer starts with them and as it
// writes them back.

#include <string>

namespace velk {

struct Settings;

// What a settings save does with font_px. A viewer that follows the DPI default leaves the
// stored size as it found it; a size the user chose is stored; going back to the DPI default
// with Reset removes the stored size, so that the next start follows its screen again.
enum class FontPxSaving { Keep, Store, Remove };

struct ViewerPreferences {
    int fontPx = 12;
    std::string labelAlgo = "MD5";
    std::string labelFormat = "4";
    std::string themeName = "system";
    bool computeAllMenus = false;
    FontPxSaving fontPxSaving = FontPxSaving::Keep;
};

// The loaded values made safe: font size as startupFontPx decides (and stored again by later
// saves only if it was stored), label settings normalised, an unknown theme name read as
// "system".
ViewerPreferences preferencesFromSettings(const Settings& settings, int defaultFontPx);

// Overwrites the label, theme and compute-all fields, treats font_px as fontPxSaving says,
// and touches nothing else, so the window keys of the placement store survive a settings
// save.
void storePreferences(Settings& settings, const ViewerPreferences& preferences);

} // namespace velk
