#pragma once
// The one place where a user's file path is made fit for the Windows file calls beyond
// MAX_PATH: a path of 260 characters or more is handed over in its extended-length form.

#include <string>

namespace velk {

// Paths shorter than 260 characters, relative paths and paths already in a \\?\ or \\.\ form
// come back unchanged. A longer drive path "X:\..." becomes "\\?\X:\...", a longer share path
// "\\server\share\..." becomes "\\?\UNC\server\share\..."; forward slashes become backslashes,
// since the extended form takes the path literally.
std::wstring extendedLengthPath(const std::wstring& path);

} // namespace velk
