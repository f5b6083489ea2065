#pragma once
// Whole-file read and the safe replacing write used for config.json and windows.txt.

#include <string>

namespace velk {

// The file's bytes, untranslated; empty when it cannot be opened. Paths are UTF-8.
std::string readWholeFile(const std::string& path);

// Replaces `path` with `bytes` so that a reader only ever sees the complete old or the
// complete new file. The bytes go to path + ".tmp", which is then renamed over `path`;
// the settings folder is created first.
//
// The save is silent and simply does not happen when
//   - another save (in any process) is writing path + ".tmp" at that moment,
//   - a byte cannot be written or flushed: the temporary file is removed and `path` is
//     left exactly as it was.
// When only the rename is refused (on Windows: another program holds `path` open for
// longer than the 50 ms the save keeps trying), `path` stays in force and path + ".tmp"
// keeps the new text until the next save.
void writeFileReplacing(const std::string& path, const std::string& bytes);

} // namespace velk
