#include "settings/file_replace.h"

#include "settings/settings.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velk {
namespace {

class UniqueFd {
  public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

  private:
    int fd_;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

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

std::string readWholeFile(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return std::string();
    std::string bytes;
    char block[4096];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0)
        bytes.append(block, got);
    return bytes;
}

void writeFileReplacing(const std::string& path, const std::string& bytes) {
    // Usually exists already; a real failure shows up at the open below.
    (void)::mkdir(settingsFolderPath().c_str(), 0777);

    const std::string temp = path + ".tmp";
    // No O_TRUNC: the file may belong to a writer that is still busy with it.
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (!fd.valid())
        return;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return; // another save is writing it
    if (!stillNamed(fd.get(), temp))
        return;

    const bool complete =
        ::ftruncate(fd.get(), 0) == 0 && writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    if (!complete) {
        // A short file must never reach the target; the lock keeps the name ours to remove.
        (void)::unlink(temp.c_str());
        return;
    }
    // Renamed while still locked: a writer that opened the same file meanwhile gets the lock
    // only after it carries the target's name, and stillNamed() turns it away. A refused
    // rename leaves the new text in `temp`.
    (void)::rename(temp.c_str(), path.c_str());
}

} // namespace velk
