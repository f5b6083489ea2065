#include "viewer/window_list.h"

#include <cctype>
#include <limits>

namespace velk {

std::uint32_t parseProcessIdField(const std::string& field) {
    std::size_t i = 0;
    while (i < field.size() && std::isspace(static_cast<unsigned char>(field[i])))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t value = 0;
    bool anyDigit = false;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        anyDigit = true;
        value = value * 10 + static_cast<std::uint64_t>(field[i] - '0');
        if (value > kMax)
            return 0;
    }
    if (!anyDigit || (negative && value != 0))
        return 0;
    return static_cast<std::uint32_t>(value);
}

std::vector<ViewerWindowEntry> parseViewerWindowList(const std::string& text) {
    std::vector<ViewerWindowEntry> entries;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        ViewerWindowEntry entry;
        const std::size_t space = line.find(' ');
        if (space == std::string::npos) {
            entry.processId = parseProcessIdField(line);
            entry.stamp = "0";
        } else {
            entry.processId = parseProcessIdField(line.substr(0, space));
            entry.stamp = line.substr(space + 1);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string formatViewerWindowList(const std::vector<ViewerWindowEntry>& entries) {
    std::string text;
    for (const ViewerWindowEntry& entry : entries) {
        text += std::to_string(entry.processId);
        text += ' ';
        text += entry.stamp;
        text += '\n';
    }
    return text;
}

} // namespace velk
