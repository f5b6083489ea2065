// The settings the viewer edits for the whole system: label algorithm and format, theme,
// font size, compute-all. Each change shows at once and is written 600 ms after the last.

#include "engine/utf16.h"
#include "settings/label_format.h"
#include "settings/settings.h"
#include "viewer/font_size.h"
#include "viewer/viewer_preferences.h"
#include "viewer/viewer_state.h"

#include <windows.h>

namespace velk {
namespace {

void addComboItem(HWND combo, const std::string& text) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toUtf16(text).c_str()));
}

int positionOf(const std::vector<std::string>& items, const std::string& wanted) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == wanted)
            return static_cast<int>(i);
    }
    return 0;
}

} // namespace

void fillSettingsControls(ViewerState& s) {
    for (const std::string& name : kAlgorithmNames)
        addComboItem(s.algoCombo, name);
    SendMessageW(s.algoCombo, CB_SETCURSEL, positionOf(kAlgorithmNames, s.labelAlgo), 0);

    s.formatKeys.clear();
    for (const LabelFormat& format : kLabelFormats) {
        addComboItem(s.formatCombo, format.description);
        s.formatKeys.emplace_back(format.key);
    }
    SendMessageW(s.formatCombo, CB_SETCURSEL, positionOf(s.formatKeys, s.labelFormat), 0);

    SendMessageW(s.computeAllCheckBox, BM_SETCHECK, s.computeAllMenus ? BST_CHECKED : BST_UNCHECKED,
                 0);
}

void restartSettingsSave(ViewerState& s) {
    if (s.settingsSaveTimer != 0)
        KillTimer(s.mainWindow, s.settingsSaveTimer);
    s.settingsSaveTimer = SetTimer(s.mainWindow, kSettingsTimerId, kSettingsSaveDelayMs, nullptr);
}

bool saveViewerSettings(const ViewerState& s, int limitMs) {
    ViewerPreferences p;
    p.fontPx = s.fontPx;
    p.labelAlgo = s.labelAlgo;
    p.labelFormat = s.labelFormat;
    p.themeName = s.themeName;
    p.computeAllMenus = s.computeAllMenus;
    p.fontPxSaving = s.fontPxSaving;
    return updateSettings([&p](Settings& settings) { storePreferences(settings, p); }, limitMs) ==
           SaveResult::Saved;
}

void refreshPreview(ViewerState& s) {
    setWindowTextUtf8(s.previewLabel, formatMenuPreview(s.results, s.labelAlgo, s.labelFormat));
}

void toggleTheme(ViewerState& s) {
    s.themeName = toggledThemeName(isDarkTheme(s));
    restartSettingsSave(s);
    applyTheme(s);
}

void changeLabelAlgorithm(ViewerState& s) {
    const LRESULT selected = SendMessageW(s.algoCombo, CB_GETCURSEL, 0, 0);
    if (selected >= 0 && static_cast<std::size_t>(selected) < kAlgorithmNames.size()) {
        s.labelAlgo = kAlgorithmNames[static_cast<std::size_t>(selected)];
    }
    restartSettingsSave(s);
    refreshPreview(s);
}

void changeLabelFormat(ViewerState& s) {
    const LRESULT selected = SendMessageW(s.formatCombo, CB_GETCURSEL, 0, 0);
    if (selected >= 0 && static_cast<std::size_t>(selected) < s.formatKeys.size()) {
        s.labelFormat = s.formatKeys[static_cast<std::size_t>(selected)];
    }
    restartSettingsSave(s);
    refreshPreview(s);
}

void changeComputeAll(ViewerState& s) {
    s.computeAllMenus = SendMessageW(s.computeAllCheckBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    restartSettingsSave(s);
}

namespace {

void applyFontSize(ViewerState& s, int px, FontPxSaving saving) {
    const bool resized = px != s.fontPx;
    if (!resized && saving == s.fontPxSaving)
        return;
    s.fontPxSaving = saving;
    if (resized) {
        s.fontPx = px;
        rebuildFonts(s);
        // A window grown for the larger controls lays itself out as it is resized.
        if (!growToMinimumSize(s)) {
            layoutViewer(s); // the new size forces a new measurement
            redrawViewer(s);
        }
    }
    restartSettingsSave(s);
}

} // namespace

void setFontSize(ViewerState& s, int px) {
    px = clampFontPx(px);
    if (px == s.fontPx)
        return;
    applyFontSize(s, px, FontPxSaving::Store);
}

void resetFontSize(ViewerState& s) {
    // Also at the default size a stored size is dropped, so the next start follows the DPI.
    if (s.fontPx == s.defaultFontPx && s.fontPxSaving == FontPxSaving::Keep)
        return;
    applyFontSize(s, s.defaultFontPx, FontPxSaving::Remove);
}

} // namespace velk
