#pragma once
// Opening the hashed file: read-only, untranslated, not denying others any access.

#include <cstdio>
#include <memory>
#include <string>

namespace velk {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The UTF-8 path is opened through its UTF-16 form on Windows. Null when it cannot be opened.
FilePtr openForHashing(const std::string& utf8Path);

} // namespace velk
