#include "stress_record.h"

namespace velk::test {

Settings stressRecord(int writer, int iteration) {
    Settings s;
    s.label_algo = "writer-" + std::to_string(writer);
    s.theme =
        std::string(static_cast<std::size_t>(300 + 1700 * writer), static_cast<char>('a' + writer));
    s.has_font_px = true;
    s.font_px = writer;
    s.has_win_x = true;
    s.win_x = iteration;
    s.has_monitor = true;
    s.monitor =
        std::to_string(iteration) + std::string(static_cast<std::size_t>(iteration % 97), '#');
    return s;
}

bool isCompleteStressText(const std::string& text, int& writer, int& iteration) {
    const Settings s = settingsFromText(text);
    if (s.font_px < 0 || s.font_px >= kStressWriters || !s.has_win_x || s.win_x < 0)
        return false;
    if (text != settingsToText(stressRecord(s.font_px, s.win_x)))
        return false;
    writer = s.font_px;
    iteration = s.win_x;
    return true;
}

} // namespace velk::test
