// Stands in for velkscope.exe in tests: writes how it was started (argument count, then each
// argument, one per line, UTF-8) to the file named by VELK_STANDIN_RECORD.

#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    wchar_t record[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"VELK_STANDIN_RECORD", record, MAX_PATH) == 0)
        return 3;
    std::string text = std::to_string(argc) + "\n";
    for (int i = 1; i < argc; ++i) {
        char utf8[4 * MAX_PATH] = {};
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, utf8, sizeof utf8, nullptr, nullptr);
        text += utf8;
        text += "\n";
    }
    // Written whole under a temporary name and renamed, so a reader never sees half of it.
    const std::wstring partial = std::wstring(record) + L".part";
    FILE* out = _wfopen(partial.c_str(), L"wb");
    if (out == nullptr)
        return 1;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    return MoveFileExW(partial.c_str(), record, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
