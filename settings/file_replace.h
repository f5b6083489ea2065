#pragma once
// Whole-file read and the safe replacing write used for config.json and windows.txt.

#include <string>

namespace velk {

// How long a refused rename keeps being tried before the save reports RenameRefused. The
// save runs on a window thread, so this stays short; the writer keeps its change pending
// and tries again later.
inline constexpr int kRenameRetryLimitMs = 100;

enum class FileRead {
    Read,      // `bytes` holds the whole file (possibly empty)
    Missing,   // neither the file nor its folder exists; `bytes` is empty
    Unreadable // the file exists but could not be opened or read; `bytes` is empty
};

// What became of a save.
enum class SaveResult {
    Saved,         // the new bytes are in force
    Busy,          // another save held the temporary file: nothing of this one was written
    WriteFailed,   // the temporary file could not be created or completely written; the old
                   // file is untouched and no temporary file is left
    RenameRefused, // the complete new text waits in path + ".tmp"; the old file stays in force
    Unreadable,    // settings writes only: config.json exists but could not be read, so
                   // nothing was saved (a save from defaults would wipe the other fields)
};

// Reads the file's bytes, untranslated; paths are UTF-8.
FileRead readFileBytes(const std::string& path, std::string& bytes);

// The file's bytes; empty when it is missing or cannot be read.
std::string readWholeFile(const std::string& path);

// Replaces `path` with `bytes` so that a reader only ever sees the complete old or the
// complete new file. The bytes go to path + ".tmp", which is then renamed over `path`; the
// settings folder is created first. Never returns Unreadable.
//
// On Windows the rename goes through the still-open temporary file with POSIX semantics,
// which replaces a target that readers hold open with delete sharing. Where the system has
// no such rename, the still-open file is moved by name, which any open handle on the target
// refuses; both ways retry a refused rename for up to kRenameRetryLimitMs.
SaveResult writeFileReplacing(const std::string& path, const std::string& bytes);

} // namespace velk
