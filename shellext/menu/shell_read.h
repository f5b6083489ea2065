#pragma once
// How the extension reads a user's file inside the file manager: never a file whose content is
// not on this machine, never past the size measured when the request started, and on the
// shell's own thread never for longer than a fixed budget.

#include "engine/pass/pass_options.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace velk {

// How long the shell's thread may read for a menu or one of its commands before the request
// goes to the viewer instead. One second keeps every local file within the menu's size limits
// hashed as before on an ordinary machine (512 MiB of MD5 at the ~600 MB/s of a solid-state
// disk and one core), yet caps the wait for a slow disk, a USB stick or a network share at
// about the time a user accepts for a menu to open.
inline constexpr std::chrono::milliseconds kShellReadBudget{1000};

// Attribute bits that say the content is somewhere else (FILE_ATTRIBUTE_OFFLINE,
// FILE_ATTRIBUTE_RECALL_ON_OPEN, FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS): reading such a file
// downloads or recalls it.
inline constexpr std::uint32_t kContentNotLocalAttributes = 0x1000 | 0x40000 | 0x400000;

// Where a file lives, as the platform reports it.
struct FilePlace {
    bool uncPath = false;     // \\server\share\... or \\?\UNC\...
    bool remoteDrive = false; // its volume is a network drive
    std::uint32_t attributes = 0;
};

// True when the extension must not read the file on its own: a network path or drive, or
// content that is not on this machine.
bool contentIsRemote(const FilePlace& place);

// True for \\server\share paths and their \\?\UNC\ form; false for drive paths, device paths
// and their \\?\ forms.
bool isUncPath(const std::wstring& path);

// "X:\" for a drive path, also in its \\?\ form; empty for any other path.
std::wstring driveRootOf(const std::wstring& path);

// One bounded read: the byte cap is the size measured at the start and, when timed, a watch
// thread sets the cancel flag once the budget has run out, so that the pass stops between
// chunks whether it is reading or still hashing what it read.
class BoundedRead {
  public:
    // measuredSize < 0 (unknown) sets no cap. Without a thread for the watch (the system
    // refuses one) the read is not timed.
    BoundedRead(long long measuredSize, bool timed,
                std::chrono::milliseconds budget = kShellReadBudget);
    // Ends the watch at once.
    ~BoundedRead();
    BoundedRead(const BoundedRead&) = delete;
    BoundedRead& operator=(const BoundedRead&) = delete;

    const PassOptions& options() const { return options_; }
    // True once the budget ran out before the read was over.
    bool stopped() const { return cancel_.load(); }

  private:
    std::atomic<bool> cancel_{false};
    PassOptions options_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool over_ = false;
    std::thread watch_;
};

} // namespace velk
