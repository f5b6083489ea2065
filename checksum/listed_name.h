#pragma once
// Names in checksum lines: the backslash escape of GNU lines, and where a listed name leads.

#include <string>

namespace velk {

// How a listed name becomes a file: on Windows either slash separates folders and drive
// letters, streams and device names exist; elsewhere only "/" separates and a backslash is
// an ordinary character.
enum class NameRules { Posix, Windows };

#ifdef _WIN32
inline constexpr NameRules kHostNameRules = NameRules::Windows;
#else
inline constexpr NameRules kHostNameRules = NameRules::Posix;
#endif

// The name of an escaped line ("\\" -> "\", "\n" -> line feed, "\r" -> carriage return).
// False for any other escape or a lone trailing backslash.
bool unescapeListedName(const std::string& escaped, std::string& name);

// The name as a checksum line carries it, and whether the line needs the leading backslash.
// Posix: "\", line feed and carriage return are escaped. Windows: backslashes become "/"
// first, so only a line break (which no Windows name holds) is escaped.
std::string escapeListedName(const std::string& name, NameRules rules, bool& escaped);

// The name as a check prints it before ": OK", the way coreutils prints it: as it is, unless
// it holds a line feed; then with a leading backslash and "\\", "\n" escaped.
std::string displayListedName(const std::string& name);

// The listed name as a path relative to the checksum file's folder, its segments joined by
// "/" ("a/./b/../c" -> "a/c"). False when it leaves that folder: an absolute path, ".." above
// it, and on Windows a drive letter, any ":" (streams, devices) or a device name (CON, NUL,
// COM1...), which would read something that is not a file in the folder.
bool resolveListedName(const std::string& name, NameRules rules, std::string& relative);

} // namespace velk
