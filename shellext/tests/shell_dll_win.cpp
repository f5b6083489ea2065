#include "shell_dll.h"

#include "engine/unique_handle.h"

#include <map>

const CLSID kTestClsid = {
    0x5D2E8B71, 0x9C04, 0x4F6A, {0xB3, 0xE8, 0x1A, 0x7C, 0x6D, 0x92, 0xF0, 0x45}};

std::wstring testProgramFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer, length);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

const ShellDll& loadShellDll(const std::wstring& path) {
    static std::map<std::wstring, ShellDll> loaded;
    auto found = loaded.find(path);
    if (found != loaded.end())
        return found->second;
    ShellDll dll;
    dll.module = LoadLibraryW(path.c_str());
    if (dll.module != nullptr) {
        dll.getClassObject = reinterpret_cast<DllGetClassObjectFn>(
            reinterpret_cast<void*>(GetProcAddress(dll.module, "DllGetClassObject")));
        dll.canUnloadNow = reinterpret_cast<DllSimpleFn>(
            reinterpret_cast<void*>(GetProcAddress(dll.module, "DllCanUnloadNow")));
        dll.registerServer = reinterpret_cast<DllSimpleFn>(
            reinterpret_cast<void*>(GetProcAddress(dll.module, "DllRegisterServer")));
        dll.unregisterServer = reinterpret_cast<DllSimpleFn>(
            reinterpret_cast<void*>(GetProcAddress(dll.module, "DllUnregisterServer")));
    }
    return loaded.emplace(path, dll).first->second;
}

long runRegsvr32(const std::wstring& arguments) {
    std::wstring commandLine = L"regsvr32.exe " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    velk::UniqueObject processHandle(process.hProcess);
    velk::UniqueObject threadHandle(process.hThread);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    return static_cast<long>(code);
}
