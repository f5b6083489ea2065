#pragma once
// The file a ".lnk" shortcut points at; the page works on that file.

#include <string>

namespace velk {

// The shortcut's target when `path` ends in ".lnk" (any case) and the shell's link object
// can load it and names a non-empty target; otherwise `path` itself. Needs COM on the
// calling thread.
std::wstring resolveShortcutTarget(const std::wstring& path);

} // namespace velk
