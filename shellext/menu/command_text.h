#pragma once
// The texts the menu commands compose: the viewer's location, its argument, the help text
// and the message after a capped multi-file open.

#include <cstddef>
#include <string>

namespace velk {

// The most viewers one "Open Velkscope" command starts.
inline constexpr std::size_t kMaxViewerLaunches = 20;

// Help text of every item, as GetCommandString hands it out.
inline constexpr const char* kMenuHelpText = "Hash tools for this file";

// The folder of modulePath (text before its last '\' or '/', empty without either)
// followed by "\velkscope.exe".
std::wstring viewerPathBeside(const std::wstring& modulePath);

// The path in one pair of double quotes, so a path with spaces stays one argument.
std::wstring quotedArgument(const std::wstring& path);

// The viewer's arguments for comparing two files: --compare, then each path in one pair of
// double quotes.
std::wstring compareArguments(const std::wstring& file, const std::wstring& other);

// "Opened the first 20 of 25 selected files."
std::string openedFirstMessage(std::size_t opened, std::size_t selected);

} // namespace velk
