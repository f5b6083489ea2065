#include "velksum/file_probe.h"

#include "engine/pass/file_stream.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace velk {

std::string failureReason(const std::string& path) {
    errno = 0;
    const FilePtr file = openForHashing(path);
    if (!file)
        return errno != 0 ? std::strerror(errno) : "";
    char byte = 0;
    errno = 0;
    if (std::fread(&byte, 1, 1, file.get()) == 0 && std::ferror(file.get()) && errno != 0)
        return std::strerror(errno);
    return {};
}

bool fileSizeOf(const std::string& path, std::uint64_t& size) {
    std::error_code error;
    const auto n = std::filesystem::file_size(std::filesystem::u8path(path), error);
    if (error)
        return false;
    size = n;
    return true;
}

#ifdef _WIN32
std::string standardInputPath() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        return {};
    // A name of our own in the temporary folder; _wtempnam picks one that does not exist.
    wchar_t* name = _wtempnam(folder.wstring().c_str(), L"velksum-stdin-");
    if (name == nullptr)
        return {};
    const std::filesystem::path copy(name);
    std::free(name);
    std::FILE* out = _wfopen(copy.wstring().c_str(), L"wbx");
    if (out == nullptr)
        return {};
    _setmode(_fileno(stdin), _O_BINARY);
    char buffer[65536];
    bool ok = true;
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;)
        ok = ok && std::fwrite(buffer, 1, n, out) == n;
    ok = ok && !std::ferror(stdin);
    ok = std::fclose(out) == 0 && ok;
    if (!ok) {
        std::filesystem::remove(copy, error);
        return {};
    }
    return copy.u8string();
}

void removeInputCopy(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(std::filesystem::u8path(path), error);
}

bool isTerminal(std::FILE* stream) {
    // _isatty holds for the NUL device too; only a console has a console mode.
    DWORD mode = 0;
    const intptr_t handle = _get_osfhandle(_fileno(stream));
    return handle != -1 && GetConsoleMode(reinterpret_cast<HANDLE>(handle), &mode) != 0;
}
#else
std::string standardInputPath() {
    return "/dev/stdin";
}

void removeInputCopy(const std::string&) {}

bool isTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) == 1;
}
#endif

} // namespace velk
