#pragma once
// What the menu's commands do outside the menu: the clipboard copy, the size probe and the
// start of the viewer. The property page uses them too. Failures of the platform are
// silent; only std::bad_alloc (while converting or composing the texts) can escape, for the
// COM method that called them to turn into its failure result.

#include <string>

namespace velk {

// Replaces the clipboard content with the text as CF_UNICODETEXT. A busy clipboard or a
// failed allocation leaves it as it was (or emptied) without a report.
void copyTextToClipboard(const std::string& utf8);

// Size in bytes, or -1 when the path's attributes cannot be read.
long long fileSizeOf(const std::wstring& path);

// "velkscope.exe" in the folder of this DLL.
std::wstring viewerExecutablePath();

// Starts the viewer with the path as its one (double-quoted) argument; nothing waits for
// it and a failed start is silent.
void launchViewer(const std::wstring& path);

} // namespace velk
