#include "engine/long_path.h"

#include <algorithm>

namespace velk {
namespace {

constexpr std::size_t kMaxPath = 260;

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool isLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

std::wstring withBackslashes(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

} // namespace

std::wstring extendedLengthPath(const std::wstring& path) {
    if (path.size() < kMaxPath)
        return path;
    if (path.size() >= 4 && isSeparator(path[0]) && isSeparator(path[1]) &&
        (path[2] == L'?' || path[2] == L'.') && isSeparator(path[3]))
        return path;
    if (isLetter(path[0]) && path[1] == L':' && isSeparator(path[2]))
        return L"\\\\?\\" + withBackslashes(path);
    if (isSeparator(path[0]) && isSeparator(path[1]) && !isSeparator(path[2]))
        return L"\\\\?\\UNC\\" + withBackslashes(path.substr(2));
    return path;
}

} // namespace velk
