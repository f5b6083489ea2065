#pragma once
// The texts the menu commands compose: the viewer's location, its argument, the help text
// and the message after a capped multi-file open.

#include <cstddef>
#include <string>
#include <vector>

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

// The longest command line a program can be started with, in characters with its end.
inline constexpr std::size_t kMaxCommandLine = 32767;

// "--check" and the list's path, quoted: the viewer's check window on a checksum file.
std::wstring checkListArguments(const std::wstring& listPath);

// "--create" and each path quoted: the viewer's window that makes a list of the files.
std::wstring createListArguments(const std::vector<std::wstring>& paths);

// Whether the program, quoted, and the arguments fit one command line.
bool fitsCommandLine(const std::wstring& program, const std::wstring& arguments);

// The viewer's arguments for comparing two files: --compare, then each path in one pair of
// double quotes.
std::wstring compareArguments(const std::wstring& file, const std::wstring& other);

// "Opened the first 20 of 25 selected files."
std::string openedFirstMessage(std::size_t opened, std::size_t selected);

} // namespace velk
