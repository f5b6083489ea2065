// Arbitrary bytes as config.json: the scanner never fails, and what it loads survives a save
// and a load unchanged unless a value holds a key's name (then, by design, the scanner finds
// the key inside that value first).

#include "settings/settings.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool holdsAKeyName(const std::string& v) {
    static const char* const kKeys[] = {
        "label_algo", "label_format", "theme",   "font_px", "compute_all_menus", "win_x", "win_y",
        "win_w",      "win_h",        "win_max", "monitor"};
    for (const char* k : kKeys) {
        if (v.find(k) != std::string::npos)
            return true;
    }
    return false;
}

bool same(const velk::Settings& a, const velk::Settings& b) {
    return a.label_algo == b.label_algo && a.label_format == b.label_format && a.theme == b.theme &&
           a.has_font_px == b.has_font_px && (!a.has_font_px || a.font_px == b.font_px) &&
           a.compute_all_menus == b.compute_all_menus && a.has_win_x == b.has_win_x &&
           (!a.has_win_x || a.win_x == b.win_x) && a.has_win_y == b.has_win_y &&
           (!a.has_win_y || a.win_y == b.win_y) && a.has_win_w == b.has_win_w &&
           (!a.has_win_w || a.win_w == b.win_w) && a.has_win_h == b.has_win_h &&
           (!a.has_win_h || a.win_h == b.win_h) && a.has_win_max == b.has_win_max &&
           a.win_max == b.win_max && a.has_monitor == b.has_monitor && a.monitor == b.monitor;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const velk::Settings loaded = velk::settingsFromText(text);
    const std::string written = velk::settingsToText(loaded);
    if (written.empty() || written.front() != '{' || written.back() != '}')
        std::abort();
    if (holdsAKeyName(loaded.label_algo) || holdsAKeyName(loaded.label_format) ||
        holdsAKeyName(loaded.theme) || holdsAKeyName(loaded.monitor)) {
        return 0;
    }
    if (!same(velk::settingsFromText(written), loaded))
        std::abort();
    return 0;
}
