#include "settings/file_replace.h"

#include "engine/utf16.h"
#include "settings/settings.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <vector>

namespace velk {
namespace {

class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() {
        if (valid()) CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

private:
    HANDLE handle_;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
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

// Renames the file behind the open handle, replacing `target`. Renaming the handle rather
// than the name means the file is installed while nobody else can have it open.
bool renameOpenFile(HANDLE file, const std::wstring& target) {
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    const std::size_t size = offsetof(FILE_RENAME_INFO, FileName) + nameBytes + sizeof(wchar_t);
    std::vector<unsigned char> buffer(size, 0);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::copy(target.begin(), target.end(), info->FileName);
    return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(size)) !=
           FALSE;
}

} // namespace

std::string readWholeFile(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(_wfopen(toUtf16(path).c_str(), L"rb"));
    if (!file) return std::string();
    std::string bytes;
    char block[4096];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) bytes.append(block, got);
    return bytes;
}

void writeFileReplacing(const std::string& path, const std::string& bytes) {
    // Usually exists already; a real failure shows up at the open below.
    (void)CreateDirectoryW(toUtf16(settingsFolderPath()).c_str(), nullptr);

    // No sharing at all: while one save holds the temporary file, every other save's open
    // fails with a sharing violation and that save is skipped.
    UniqueHandle temp(CreateFileW(toUtf16(path + ".tmp").c_str(), GENERIC_WRITE | DELETE, 0,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!temp.valid()) return;

    if (!writeAll(temp.get(), bytes) || !FlushFileBuffers(temp.get())) {
        // A short file must never reach the target.
        (void)deleteOnClose(temp.get());
        return;
    }
    // A refused rename (the target open without delete sharing) leaves the new text in the
    // temporary file; the next save overwrites it.
    (void)renameOpenFile(temp.get(), toUtf16(path));
}

} // namespace velk
