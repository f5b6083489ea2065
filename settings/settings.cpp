#include "settings/settings.h"

#include "settings/json_scan.h"
#include "settings/retry_backoff.h"

namespace velk {
namespace {

void appendStringField(std::string& text, const char* key, const std::string& value) {
    text += '"';
    text += key;
    text += "\":\"";
    text += escapeJsonText(value);
    text += '"';
}

void appendIntField(std::string& text, const char* key, int value) {
    text += ",\"";
    text += key;
    text += "\":";
    text += std::to_string(value);
}

void readOptionalInt(const std::string& text, const char* key, bool& present, int& value) {
    present = findJsonInt(text, key, value);
}

} // namespace

std::string settingsToText(const Settings& s) {
    std::string text = "{";
    appendStringField(text, "label_algo", s.label_algo);
    text += ',';
    appendStringField(text, "label_format", s.label_format);
    text += ',';
    appendStringField(text, "theme", s.theme);
    if (s.has_font_px)
        appendIntField(text, "font_px", s.font_px);
    text += ",\"compute_all_menus\":";
    text += s.compute_all_menus ? '1' : '0';
    if (s.has_win_x)
        appendIntField(text, "win_x", s.win_x);
    if (s.has_win_y)
        appendIntField(text, "win_y", s.win_y);
    if (s.has_win_w)
        appendIntField(text, "win_w", s.win_w);
    if (s.has_win_h)
        appendIntField(text, "win_h", s.win_h);
    if (s.has_win_max)
        appendIntField(text, "win_max", s.win_max ? 1 : 0);
    if (s.has_monitor) {
        text += ',';
        appendStringField(text, "monitor", s.monitor);
    }
    text += '}';
    return text;
}

Settings settingsFromText(const std::string& text) {
    Settings s;
    if (text.empty())
        return s;
    findJsonString(text, "label_algo", s.label_algo);
    findJsonString(text, "label_format", s.label_format);
    findJsonString(text, "theme", s.theme);
    readOptionalInt(text, "font_px", s.has_font_px, s.font_px);
    int computeAll = 0;
    if (findJsonInt(text, "compute_all_menus", computeAll))
        s.compute_all_menus = computeAll != 0;
    readOptionalInt(text, "win_x", s.has_win_x, s.win_x);
    readOptionalInt(text, "win_y", s.has_win_y, s.win_y);
    readOptionalInt(text, "win_w", s.has_win_w, s.win_w);
    readOptionalInt(text, "win_h", s.has_win_h, s.win_h);
    int maximised = 0;
    s.has_win_max = findJsonInt(text, "win_max", maximised);
    s.win_max = s.has_win_max && maximised != 0;
    s.has_monitor = findJsonString(text, "monitor", s.monitor);
    return s;
}

Settings loadSettings() {
    return settingsFromText(readWholeFile(settingsFilePath()));
}

bool loadSettingsForWrite(Settings& settings) {
    std::string text;
    if (readFileBytes(settingsFilePath(), text) == FileRead::Unreadable)
        return false;
    settings = settingsFromText(text);
    return true;
}

SaveResult saveSettings(const Settings& settings) {
    return writeFileReplacing(settingsFilePath(), settingsToText(settings));
}

SaveResult updateSettings(const std::function<void(Settings&)>& change, int limitMs) {
    RetryBackoff backoff = retryFor(limitMs);
    for (;;) {
        Settings settings;
        SaveResult result = SaveResult::Unreadable;
        if (loadSettingsForWrite(settings)) {
            change(settings);
            result = saveSettings(settings);
        }
        if (result == SaveResult::Saved || !waitToRetry(backoff))
            return result;
    }
}

} // namespace velk
