#pragma once
// Case folding of ASCII letters only: algorithm tags, file-name extensions and Windows device
// names are ASCII, and other bytes of a UTF-8 name must stay as they are.

#include <string>

namespace velk {

inline char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiLowered(std::string text) {
    for (char& c : text)
        c = asciiLower(c);
    return text;
}

// True when `text` is longer than `suffix` and ends with it.
inline bool endsWithSuffix(const std::string& text, const std::string& suffix) {
    return text.size() > suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace velk
