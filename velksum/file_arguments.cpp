#include "velksum/file_arguments.h"

#include <cwctype>

namespace velk {

bool wildcardMatch(const std::wstring& pattern, const std::wstring& name) {
    // Greedy match with one back-track point: the last "*" seen.
    std::size_t p = 0, n = 0, star = std::wstring::npos, resume = 0;
    const auto same = [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); };
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && (pattern[p] == L'?' || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (star != std::wstring::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

#ifndef _WIN32
// The shell has expanded patterns already; a name with "*" in it is a name.
std::vector<std::string> expandFileArgument(const std::string& argument) {
    return {argument};
}
#endif

} // namespace velk
