#pragma once
// The one place where text crosses between UTF-8 (everything inside) and UTF-16 (the
// Windows boundary: window texts, clipboard, shell paths, file names).

#ifdef _WIN32
#include <string>

namespace velk {

// MultiByteToWideChar / WideCharToMultiByte with CP_UTF8 and no flags. Invalid input is
// converted as the platform converts it (replacement characters); empty gives empty.
std::wstring toUtf16(const std::string& utf8);
std::string toUtf8(const std::wstring& utf16);
std::string toUtf8(const wchar_t* utf16, std::size_t count);

} // namespace velk
#endif
