#include "viewer/viewer_preferences.h"

#include "settings/label_format.h"
#include "settings/settings.h"
#include "viewer/font_size.h"
#include "viewer/theme_palette.h"

namespace velk {

ViewerPreferences preferencesFromSettings(const Settings& settings, int defaultFontPx) {
    Settings labels = settings;
    normalizeLabelSettings(labels);
    ViewerPreferences p;
    p.fontPx = startupFontPx(settings, defaultFontPx);
    // A stored size is the user's: it is written back with every save.
    p.fontPxSaving = settings.has_font_px ? FontPxSaving::Store : FontPxSaving::Keep;
    p.labelAlgo = labels.label_algo;
    p.labelFormat = labels.label_format;
    p.themeName = normalizeThemeName(settings.theme);
    p.computeAllMenus = settings.compute_all_menus;
    return p;
}

void storePreferences(Settings& settings, const ViewerPreferences& p) {
    switch (p.fontPxSaving) {
    case FontPxSaving::Keep:
        break;
    case FontPxSaving::Store:
        settings.has_font_px = true;
        settings.font_px = p.fontPx;
        break;
    case FontPxSaving::Remove:
        settings.has_font_px = false;
        break;
    }
    settings.label_algo = p.labelAlgo;
    settings.label_format = p.labelFormat;
    settings.theme = p.themeName;
    settings.compute_all_menus = p.computeAllMenus;
}

} // namespace velk
