#pragma once
// File arguments as the user meant them: cmd.exe hands "*.bin" over unexpanded, so the
// Windows build expands "*" and "?" itself.

#include <string>
#include <vector>

namespace velk {

// True when the whole name matches the pattern ("*": any run, "?": any one character),
// letters compared without regard to case.
bool wildcardMatch(const std::wstring& pattern, const std::wstring& name);

// The files an argument names, sorted without regard to case. On Windows a last path part
// holding "*" or "?" is matched against the files (not folders) of its folder; an argument
// that matches nothing, or any argument elsewhere, stays as it is, so that a pattern without
// a match is reported like a missing file.
std::vector<std::string> expandFileArgument(const std::string& argument);

} // namespace velk
