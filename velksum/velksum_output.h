#pragma once
// How velksum writes: raw UTF-8 bytes, and one form for every error line.

#include <cstdio>
#include <string>

namespace velk {

inline void put(std::FILE* f, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), f);
}

// "velksum: NAME: MESSAGE (REASON)\n", or without the parenthesis when there is no reason.
inline void putError(std::FILE* err, const std::string& name, const std::string& message,
                     const std::string& reason) {
    put(err,
        "velksum: " + name + ": " + message + (reason.empty() ? "" : " (" + reason + ")") + "\n");
}

} // namespace velk
