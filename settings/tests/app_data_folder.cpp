#include "app_data_folder.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#include "engine/utf16.h"
#include <windows.h>
#else
#include <cstdlib>
#include <unistd.h>
#endif

namespace velk::test {

#ifdef _WIN32
const char* const kSeparator = "\\";

void setEnvironment(const char* name, const char* utf8Value) {
    const std::wstring wideName = toUtf16(name);
    if (utf8Value == nullptr) {
        SetEnvironmentVariableW(wideName.c_str(), nullptr);
    } else {
        SetEnvironmentVariableW(wideName.c_str(), toUtf16(utf8Value).c_str());
    }
}

bool readEnvironment(const char* name, std::string& utf8Value) {
    const std::wstring wideName = toUtf16(name);
    const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (needed == 0)
        return false;
    std::wstring value(needed, L'\0');
    const DWORD written = GetEnvironmentVariableW(wideName.c_str(), &value[0], needed);
    value.resize(written);
    utf8Value = toUtf8(value);
    return true;
}

static unsigned long processId() {
    return GetCurrentProcessId();
}
#else
const char* const kSeparator = "/";

void setEnvironment(const char* name, const char* utf8Value) {
    if (utf8Value == nullptr) {
        ::unsetenv(name);
    } else {
        ::setenv(name, utf8Value, 1);
    }
}

bool readEnvironment(const char* name, std::string& utf8Value) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return false;
    utf8Value = value;
    return true;
}

static unsigned long processId() {
    return static_cast<unsigned long>(::getpid());
}
#endif

std::filesystem::path fsPath(const std::string& utf8) {
    return std::filesystem::u8path(utf8);
}

std::string readBytes(const std::string& utf8Path) {
    std::ifstream in(fsPath(utf8Path), std::ios::binary);
    if (!in)
        return std::string();
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& utf8Path, const std::string& bytes) {
    std::ofstream out(fsPath(utf8Path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + utf8Path);
}

bool exists(const std::string& utf8Path) {
    std::error_code error;
    return std::filesystem::exists(fsPath(utf8Path), error);
}

ScopedAppData::ScopedAppData(const std::string& leaf) {
    static std::atomic<unsigned> counter{0};
    root_ = std::filesystem::temp_directory_path() /
            ("velk-settings-" + std::to_string(processId()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(root_);
    const std::filesystem::path folder = root_ / fsPath(leaf);
    std::filesystem::create_directories(folder);
    path_ = folder.u8string();
    hadPrevious_ = readEnvironment("APPDATA", previous_);
    setEnvironment("APPDATA", path_.c_str());
}

ScopedAppData::~ScopedAppData() {
    setEnvironment("APPDATA", hadPrevious_ ? previous_.c_str() : nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

} // namespace velk::test
