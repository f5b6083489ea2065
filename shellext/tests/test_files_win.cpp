#include "test_files.h"

#include "shell_dll.h"

#include "engine/unique_handle.h"

#include <windows.h>

#include <shellapi.h>

namespace {

void removeTree(const std::wstring& folder) {
    std::wstring from = folder;
    from.push_back(L'\0'); // double-terminated list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

} // namespace

std::wstring freshTestFolder(const std::wstring& name) {
    const std::wstring root = testProgramFolder() + L"shell-test-data";
    CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring folder = root + L"\\" + name;
    removeTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

bool writeTestFile(const std::wstring& path, const std::string& bytes) {
    velk::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

bool makeSizedFile(const std::wstring& path, long long size) {
    velk::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER end;
    end.QuadPart = size;
    return SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
}
