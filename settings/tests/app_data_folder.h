#pragma once
// A fresh APPDATA folder per test, and raw file access that bypasses the code under test.

#include <filesystem>
#include <string>

namespace velk::test {

// Creates an empty folder (its last level named `leaf`, UTF-8) under the system's temporary
// folder, points APPDATA at it, and on destruction restores APPDATA and removes the folder.
class ScopedAppData {
  public:
    explicit ScopedAppData(const std::string& leaf = "appdata");
    ScopedAppData(const ScopedAppData&) = delete;
    ScopedAppData& operator=(const ScopedAppData&) = delete;
    ~ScopedAppData();

    // The APPDATA value, UTF-8.
    const std::string& path() const { return path_; }

  private:
    std::filesystem::path root_;
    std::string path_;
    bool hadPrevious_ = false;
    std::string previous_;
};

// Sets (or, with nullptr, removes) an environment variable of this process; UTF-8.
void setEnvironment(const char* name, const char* utf8Value);
bool readEnvironment(const char* name, std::string& utf8Value);

std::filesystem::path fsPath(const std::string& utf8);
std::string readBytes(const std::string& utf8Path);
void writeBytes(const std::string& utf8Path, const std::string& bytes);
bool exists(const std::string& utf8Path);

// The platform's separator inside the settings paths.
extern const char* const kSeparator;

} // namespace velk::test
