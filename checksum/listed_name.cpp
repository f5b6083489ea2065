#include "checksum/listed_name.h"

#include "checksum/ascii_case.h"

#include <vector>

namespace velk {
namespace {

bool isSeparator(char c, NameRules rules) {
    return c == '/' || (rules == NameRules::Windows && c == '\\');
}

// CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an extension or trailing dots and
// spaces: Windows opens the device, not a file.
bool isWindowsDeviceName(const std::string& segment) {
    std::string stem = asciiLowered(segment.substr(0, segment.find('.')));
    while (!stem.empty() && (stem.back() == ' ' || stem.back() == '.'))
        stem.pop_back();
    if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul" || stem == "conin$" ||
        stem == "conout$")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

// Windows drops trailing dots and spaces from a segment, so ".. " or "..." would name the
// parent or the folder itself under another spelling.
bool isOnlyDotsAndSpaces(const std::string& segment) {
    return segment.find_first_not_of(". ") == std::string::npos;
}

} // namespace

bool unescapeListedName(const std::string& escaped, std::string& name) {
    std::string out;
    out.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '\\') {
            out += escaped[i];
            continue;
        }
        if (++i == escaped.size())
            return false;
        switch (escaped[i]) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return false;
        }
    }
    name = std::move(out);
    return true;
}

std::string escapeListedName(const std::string& name, NameRules rules, bool& escaped) {
    std::string out;
    out.reserve(name.size());
    escaped = false;
    for (char c : name) {
        if (c == '\\' && rules == NameRules::Windows) {
            out += '/';
        } else if (c == '\\' || c == '\n' || c == '\r') {
            escaped = true;
            out += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

std::string displayListedName(const std::string& name) {
    if (name.find('\n') == std::string::npos)
        return name;
    std::string out = "\\";
    for (char c : name) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

bool resolveListedName(const std::string& name, NameRules rules, std::string& relative) {
    const bool windows = rules == NameRules::Windows;
    if (name.empty() || isSeparator(name[0], rules))
        return false;
    if (windows && name.find(':') != std::string::npos)
        return false;
    std::vector<std::string> segments;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isSeparator(name[i], rules))
            continue;
        const std::string segment = name.substr(start, i - start);
        start = i + 1;
        if (segment.empty() || segment == ".")
            continue;
        if (segment == "..") {
            if (segments.empty())
                return false;
            segments.pop_back();
            continue;
        }
        if (windows && (isWindowsDeviceName(segment) || isOnlyDotsAndSpaces(segment)))
            return false;
        segments.push_back(segment);
    }
    std::string joined;
    for (const std::string& s : segments) {
        if (!joined.empty())
            joined += '/';
        joined += s;
    }
    relative = joined.empty() ? "." : joined;
    return true;
}

} // namespace velk
