#pragma once
// What the menu's commands do outside the menu: the clipboard copy, the size probe and the
// start of the viewer. The property page uses them too. Failures of the platform are
// silent; only std::bad_alloc (while converting or composing the texts) can escape, for the
// COM method that called them to turn into its failure result.

#include "shellext/menu/menu_model.h"
#include "shellext/menu/shell_read.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velk {

// Replaces the clipboard content with the text as CF_UNICODETEXT. A busy clipboard or a
// failed allocation leaves it as it was (or emptied) without a report.
void copyTextToClipboard(const std::string& utf8);

// Size in bytes, or -1 when the path's attributes cannot be read.
long long fileSizeOf(const std::wstring& path);

// Attributes of a user's file (INVALID_FILE_ATTRIBUTES when they cannot be read); long paths
// work.
unsigned long fileAttributesOf(const std::wstring& path);

// Where the file lives: share path, network drive, attributes.
FilePlace filePlaceOf(const std::wstring& path);

// "velkscope.exe" in the folder of this DLL.
std::wstring viewerExecutablePath();

// Starts the viewer with the path as its one (double-quoted) argument; nothing waits for
// it and a failed start is silent.
void launchViewer(const std::wstring& path);

// Starts the viewer with the argument text as it stands, in the same way.
void launchViewerWith(const std::wstring& arguments);

// Starts one viewer comparing the two files (compareArguments); reads neither.
void launchViewerComparing(const std::wstring& file, const std::wstring& other);

// What each selected path is, from its attributes alone (no file is opened).
std::vector<SelectedKind> selectedKinds(const std::vector<std::wstring>& paths);

} // namespace velk
