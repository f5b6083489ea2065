#include "settings/file_replace.h"

#include "engine/utf16.h"
#include "settings/settings.h"

#include <windows.h>

#include <cstddef>

namespace velk {
namespace {

class UniqueHandle {
  public:
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { close(); }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    // Whether the handle closed cleanly; a handle that was never open counts as a failure.
    bool close() {
        if (!valid())
            return false;
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

bool writeAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t remaining = bytes.size() - done;
        const DWORD chunk = remaining > 0x40000000u ? 0x40000000u : static_cast<DWORD>(remaining);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

// Marks the open file for deletion; it disappears when the handle closes.
bool deleteOnClose(HANDLE file) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != FALSE;
}

// A rename onto a file that anyone holds open is refused with ERROR_ACCESS_DENIED, delete
// sharing or not, and every context menu and property page holds config.json open while it
// loads the settings. Such a reader lets go within microseconds, so the move is tried again
// for a short while rather than losing the save. A source held by another save
// (ERROR_SHARING_VIOLATION) ends it at once: that save's text is not complete yet.
bool moveIntoPlace(const std::wstring& temp, const std::wstring& target) {
    const ULONGLONG deadline = GetTickCount64() + 50;
    for (;;) {
        if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
            return true;
        if (GetLastError() != ERROR_ACCESS_DENIED || GetTickCount64() >= deadline)
            return false;
        Sleep(1);
    }
}

} // namespace

std::string readWholeFile(const std::string& path) {
    // Delete sharing lets the read go through while a save is renaming a new file into
    // place; without it the open would fail for that instant and the caller would take the
    // defaults for the stored values.
    UniqueHandle file(CreateFileW(toUtf16(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return std::string();
    std::string bytes;
    char block[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), block, sizeof block, &got, nullptr) && got > 0) {
        bytes.append(block, got);
    }
    return bytes;
}

void writeFileReplacing(const std::string& path, const std::string& bytes) {
    // Usually exists already; a real failure shows up at the open below.
    (void)CreateDirectoryW(toUtf16(settingsFolderPath()).c_str(), nullptr);

    // No sharing at all: while one save holds the temporary file, every other save's open
    // fails with a sharing violation and that save is skipped. The same rule makes the
    // rename below fail, rather than move a file, when another save has reopened the
    // temporary file after we closed it.
    const std::wstring temp = toUtf16(path + ".tmp");
    UniqueHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return;

    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
        // A short file must never reach the target.
        (void)deleteOnClose(file.get());
        return;
    }
    if (!file.close()) {
        (void)DeleteFileW(temp.c_str());
        return;
    }
    // Refused while another program holds the target open: the new text stays in the
    // temporary file and the next save overwrites it.
    (void)moveIntoPlace(temp, toUtf16(path));
}

} // namespace velk
