#include "engine/utf16.h"

#include <windows.h>

#include <climits>

namespace velk {

std::wstring toUtf16(const std::string& utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX)
        return std::wstring();
    const int size = static_cast<int>(utf8.size());
    const int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (count <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, &wide[0], count);
    return wide;
}

std::string toUtf8(const wchar_t* utf16, std::size_t count) {
    if (utf16 == nullptr || count == 0 || count > INT_MAX)
        return std::string();
    const int size = static_cast<int>(count);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16, size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16, size, &narrow[0], bytes, nullptr, nullptr);
    return narrow;
}

std::string toUtf8(const std::wstring& utf16) {
    return toUtf8(utf16.data(), utf16.size());
}

} // namespace velk
