// Stands in for velkscope.exe in the command tests: records how it was started and ends.
// Each start writes one file launch-<pid>.txt into the folder named by VELK_STANDIN_LOG:
// line 1 the program's own path, line 2 the whole command line, then one argument per line
// (as the C runtime splits them, the program name excluded). UTF-8.

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], bytes,
                        nullptr, nullptr);
    return out;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t folder[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"VELK_STANDIN_LOG", folder, MAX_PATH) == 0)
        return 2;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);

    std::string record = utf8(self) + "\n" + utf8(GetCommandLineW()) + "\n";
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; argv != nullptr && i < argc; ++i)
        record += utf8(argv[i]) + "\n";
    LocalFree(argv);

    // Written under a temporary name and renamed, so a reader never sees half a record.
    const std::wstring name =
        std::wstring(folder) + L"\\launch-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring temporary = name + L".part";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    return MoveFileW(temporary.c_str(), (name + L".txt").c_str()) ? 0 : 4;
}
