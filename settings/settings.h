#pragma once
// The settings shared by velkscope and velkshell, and their file config.json.
//
// Every writer loads, changes only the fields it owns, and saves the whole record; there
// is no cache and no lock, so each load reads the file afresh.

#include "settings/file_replace.h"

#include <functional>
#include <string>

namespace velk {

struct Settings {
    std::string label_algo = "MD5"; // one of kAlgorithmNames once normalised
    std::string label_format = "4"; // one of the kLabelFormats keys once normalised
    std::string theme = "system";   // "light", "dark" or "system"; stored as found
    // Written only by the viewer's settings panel; absent, the viewer uses its DPI default.
    bool has_font_px = false;
    int font_px = 12; // clamped by the viewer when applied, not here
    bool compute_all_menus = false;
    bool has_win_x = false;
    int win_x = 0;
    bool has_win_y = false;
    int win_y = 0;
    bool has_win_w = false;
    int win_w = 0;
    bool has_win_h = false;
    int win_h = 0;
    bool has_win_max = false;
    bool win_max = false; // the window was maximised (or minimised from maximised)
    bool has_monitor = false;
    std::string monitor;
};

// The one-line file text: no whitespace, no line break, font size, window fields and monitor
// only when present. All defaults give the 78-byte
// {"label_algo":"MD5","label_format":"4","theme":"system","compute_all_menus":0}
std::string settingsToText(const Settings& settings);

// Reads each key independently with the tolerant scanner; anything missing or of the
// wrong shape keeps its default.
Settings settingsFromText(const std::string& text);

// $APPDATA + "/velkscope" ("\" on Windows); "." stands in for an unset or empty APPDATA.
// UTF-8 on every platform.
std::string settingsFolderPath();
// settingsFolderPath() + "/config.json" ("\" on Windows).
std::string settingsFilePath();

// For readers. Never fails: an absent or unreadable file gives the defaults.
Settings loadSettings();

// For writers: one read. False when config.json exists but cannot be read; saving the
// defaults then would wipe every field this writer does not own. A missing or empty file
// gives the defaults and true.
bool loadSettingsForWrite(Settings& settings);

// Writes the whole record; a save that does not land leaves the previous file in force.
SaveResult saveSettings(const Settings& settings);

// How long a writer keeps trying one change before it reports the failure and keeps the
// change pending: in a window's normal run, and once more when that window closes.
inline constexpr int kSettingsSaveRetryLimitMs = 250;
inline constexpr int kSettingsFinalSaveLimitMs = 2000;

// One writer's load, change, save. A load that cannot read the file, a save skipped because
// another save held the temporary file, and a refused rename are all tried again from the
// load (so the other save's fields are kept) until `limitMs` have passed. Anything but Saved
// means the change is not in force and the caller should keep it pending.
SaveResult updateSettings(const std::function<void(Settings&)>& change,
                          int limitMs = kSettingsSaveRetryLimitMs);

} // namespace velk
