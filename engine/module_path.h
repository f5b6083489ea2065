#pragma once
// The whole path of a loaded module, however long.

#ifdef _WIN32
#include <windows.h>

#include <string>

namespace velk {

// The module's file path (nullptr: the program's own), read into a buffer that grows until
// the path fits; empty when it cannot be read whole.
std::wstring modulePathOf(HMODULE module);

} // namespace velk
#endif
