#include "settings/file_replace.h"

#include "engine/unique_handle.h"
#include "settings/settings.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velk {
namespace {

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Between our open and our lock another writer may have renamed this very file over the
// target. Writing on would then change the installed file in place, so the file we hold
// must still be the one that carries the temporary name.
bool stillNamed(int fd, const std::string& name) {
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0 || ::stat(name.c_str(), &named) != 0)
        return false;
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace

FileRead readFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd)
        return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Unreadable;
    char block[4096];
    for (;;) {
        const ssize_t got = ::read(fd.get(), block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) { // a folder in the file's place ends here too
            bytes.clear();
            return FileRead::Unreadable;
        }
        if (got == 0)
            return FileRead::Read;
        bytes.append(block, static_cast<std::size_t>(got));
    }
}

std::string readWholeFile(const std::string& path) {
    std::string bytes;
    (void)readFileBytes(path, bytes);
    return bytes;
}

SaveResult writeFileReplacing(const std::string& path, const std::string& bytes) {
    // Usually exists already; a real failure shows up at the open below.
    (void)::mkdir(settingsFolderPath().c_str(), 0777);

    const std::string temp = path + ".tmp";
    // No O_TRUNC: the file may belong to a writer that is still busy with it.
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (!fd)
        return SaveResult::WriteFailed;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return SaveResult::Busy; // another save is writing it
    if (!stillNamed(fd.get(), temp))
        return SaveResult::Busy; // that save has just put it in place

    const bool complete =
        ::ftruncate(fd.get(), 0) == 0 && writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    if (!complete) {
        // A short file must never reach the target; the lock keeps the name ours to remove.
        (void)::unlink(temp.c_str());
        return SaveResult::WriteFailed;
    }
    // Renamed while still locked: a writer that opened the same file meanwhile gets the lock
    // only after it carries the target's name, and stillNamed() turns it away. Open files
    // never block a rename here; one that fails (a folder in the target's place) leaves the
    // new text in `temp`.
    return ::rename(temp.c_str(), path.c_str()) == 0 ? SaveResult::Saved
                                                     : SaveResult::RenameRefused;
}

} // namespace velk
