// Expanding "*" and "?" in file arguments, which cmd.exe leaves to the program.

#include "engine/unique_handle.h"
#include "engine/utf16.h"
#include "velksum/file_arguments.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

namespace velk {
namespace {

struct FindTraits {
    using Handle = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { FindClose(h); }
};

std::wstring lowered(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

} // namespace

std::vector<std::string> expandFileArgument(const std::string& argument) {
    const std::wstring wide = toUtf16(argument);
    const std::size_t slash = wide.find_last_of(L"\\/:");
    const std::wstring folder = slash == std::wstring::npos ? L"" : wide.substr(0, slash + 1);
    const std::wstring pattern = slash == std::wstring::npos ? wide : wide.substr(slash + 1);
    if (pattern.find_first_of(L"*?") == std::wstring::npos ||
        folder.find_first_of(L"*?") != std::wstring::npos)
        return {argument};

    // Every entry of the folder, matched here rather than by the system, whose matching also
    // looks at short 8.3 names ("*.bin" would find "x.binary").
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const UniqueHandle<FindTraits> search(FindFirstFileExW(
        (folder + L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (search) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                wildcardMatch(pattern, found.cFileName))
                names.push_back(found.cFileName);
        } while (FindNextFileW(search.get(), &found));
    }
    if (names.empty())
        return {argument};
    std::sort(names.begin(), names.end(),
              [](const std::wstring& a, const std::wstring& b) { return lowered(a) < lowered(b); });
    std::vector<std::string> files;
    for (const std::wstring& name : names)
        files.push_back(toUtf8(folder + name));
    return files;
}

} // namespace velk
