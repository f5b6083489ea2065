#pragma once
// The five settings the viewer's panel owns, as the viewer starts with them and as it
// writes them back.

#include <string>

namespace velk {

struct Settings;

struct ViewerPreferences {
    int fontPx = 12;
    std::string labelAlgo = "MD5";
    std::string labelFormat = "4";
    std::string themeName = "system";
    bool computeAllMenus = false;
};

// The loaded values made safe: font size as startupFontPx decides, label settings normalised,
// an unknown theme name read as "system".
ViewerPreferences preferencesFromSettings(const Settings& settings, int defaultFontPx);

// Overwrites the five fields and nothing else, so the window keys of the placement store
// survive a settings save.
void storePreferences(Settings& settings, const ViewerPreferences& preferences);

} // namespace velk
