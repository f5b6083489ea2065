#include "settings/file_replace.h"

#include "engine/unique_handle.h"
#include "engine/utf16.h"
#include "settings/retry_backoff.h"
#include "settings/settings.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

namespace velk {
namespace {

// The SDK's FileRenameInfoEx; this header set numbers its enumerators differently.
constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);

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

// Another process holds the target (or, by name, the source) in a way that forbids the
// rename for now; any other error means this way of renaming is not available here.
bool refusedForNow(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

// Renames the open file over `target` with POSIX semantics: the name moves at once, and a
// reader that holds the old target with delete sharing keeps reading the old file. Systems
// without it (older Windows, some file systems, the emulator) fail the call with an error
// that refusedForNow does not accept.
bool renameOpenFile(HANDLE file, const std::wstring& target) {
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::string block(offsetof(FILE_RENAME_INFO, FileName) + nameBytes + sizeof(wchar_t), '\0');
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(&block[0]);
    info->Flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->FileName, target.data(), nameBytes);
    return SetFileInformationByHandle(file, kFileRenameInfoEx, info,
                                      static_cast<DWORD>(block.size())) != FALSE;
}

// One try at putting the open temporary file in place; false with the reason in
// GetLastError. Without a POSIX rename the file is moved by name, still held (it is shared
// for deletion, which a move needs). That move is refused while anyone holds the target
// open, delete sharing or not, and every context menu and property page holds config.json
// for a moment while it loads.
bool renameOnce(HANDLE file, const std::wstring& temp, const std::wstring& target,
                bool& posixRename) {
    if (posixRename) {
        if (renameOpenFile(file, target))
            return true;
        if (refusedForNow(GetLastError()))
            return false;
        posixRename = false; // not available here: by name from now on
    }
    return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

} // namespace

FileRead readFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    // Delete sharing lets the read go through while a save is renaming a new file into place.
    UniqueFile file(CreateFileW(toUtf16(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? FileRead::Missing
                   : FileRead::Unreadable;
    }
    char block[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), block, sizeof block, &got, nullptr)) {
            bytes.clear();
            return FileRead::Unreadable;
        }
        if (got == 0)
            return FileRead::Read;
        bytes.append(block, got);
    }
}

SaveResult writeFileReplacing(const std::string& path, const std::string& bytes) {
    // Usually exists already; a real failure shows up at the open below.
    (void)CreateDirectoryW(toUtf16(settingsFolderPath()).c_str(), nullptr);

    // Not shared for writing: while one save holds the temporary file, every other save's
    // open fails with a sharing violation and that save reports Busy. The file stays ours
    // until it carries the target's name; then readers may open it before we close it.
    const std::wstring temp = toUtf16(path + ".tmp");
    const std::wstring target = toUtf16(path);
    UniqueFile file(CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE,
                                FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError() == ERROR_SHARING_VIOLATION ? SaveResult::Busy
                                                         : SaveResult::WriteFailed;

    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
        // A short file must never reach the target.
        (void)deleteOnClose(file.get());
        return SaveResult::WriteFailed;
    }

    // Readers let go within moments, so a refused rename is tried again for a short while.
    bool posixRename = true;
    RetryBackoff backoff = retryFor(kRenameRetryLimitMs);
    while (!renameOnce(file.get(), temp, target, posixRename)) {
        if (!refusedForNow(GetLastError()) || !waitToRetry(backoff))
            return SaveResult::RenameRefused; // the text stays in the temporary file
    }
    return SaveResult::Saved;
}

std::string readWholeFile(const std::string& path) {
    std::string bytes;
    (void)readFileBytes(path, bytes);
    return bytes;
}

} // namespace velk
