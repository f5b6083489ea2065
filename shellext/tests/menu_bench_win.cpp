// How long the file manager waits for QueryContextMenu: a 10 MiB and a 128 MiB file, with
// the label digest only and with all digests (compute_all_menus). Not a test: it prints
// medians of repeated builds on files in the page cache.
//
// usage: shell_menu_bench.exe [REPEATS]   (files under bin\shell-test-data\menu-bench)

#include "com_ptr.h"
#include "shell_data_object.h"
#include "shell_dll.h"
#include "test_files.h"

#include "engine/unique_handle.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

bool writeRandomFile(const std::wstring& path, long long size) {
    std::mt19937_64 random(20261210);
    std::string chunk(1 << 20, '\0');
    velk::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    for (long long left = size; left > 0;) {
        for (std::size_t i = 0; i < chunk.size(); i += 8) {
            const unsigned long long v = random();
            std::memcpy(&chunk[i], &v, 8);
        }
        const DWORD n = static_cast<DWORD>(std::min<long long>(left, chunk.size()));
        DWORD written = 0;
        if (!WriteFile(file.get(), chunk.data(), n, &written, nullptr) || written != n)
            return false;
        left -= n;
    }
    return true;
}

struct MenuTraits {
    using Handle = HMENU;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DestroyMenu(h); }
};

// Milliseconds of one QueryContextMenu on a fresh object, as the shell does it per click.
double timeOneBuild(const ShellDll& dll, IDataObject* data, UINT* commands) {
    ComRef<IClassFactory> factory;
    dll.getClassObject(kTestClsid, IID_IClassFactory, factory.putVoid());
    ComRef<IShellExtInit> init;
    factory->CreateInstance(nullptr, IID_IShellExtInit, init.putVoid());
    init->Initialize(nullptr, data, nullptr);
    ComRef<IContextMenu> menu;
    init->QueryInterface(IID_IContextMenu, menu.putVoid());
    velk::UniqueHandle<MenuTraits> host(CreatePopupMenu());
    const auto start = std::chrono::steady_clock::now();
    const HRESULT hr = menu->QueryContextMenu(host.get(), 0, 1, 0x7FFF, CMF_NORMAL);
    const auto end = std::chrono::steady_clock::now();
    *commands = HRESULT_CODE(hr);
    return std::chrono::duration<double, std::milli>(end - start).count();
}

} // namespace

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::wstring scratch = freshTestFolder(L"menu-bench");
    const std::wstring appData = scratch + L"\\appdata";
    CreateDirectoryW(appData.c_str(), nullptr);
    CreateDirectoryW((appData + L"\\velkscope").c_str(), nullptr);
    SetEnvironmentVariableW(L"APPDATA", appData.c_str());

    const ShellDll& dll = loadShellDll(testProgramFolder() + L"velkshell.dll");
    if (dll.getClassObject == nullptr) {
        std::printf("cannot load velkshell.dll\n");
        return 1;
    }
    std::printf("QueryContextMenu, median and min of %d builds (ms), random data in cache\n",
                repeats);
    std::printf("screen width %d px: items wrap beyond %d px\n", GetSystemMetrics(SM_CXSCREEN),
                static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * 0.6));
    for (const long long mib : {10LL, 128LL}) {
        const std::wstring path = scratch + L"\\bench " + std::to_wstring(mib) + L" MiB.bin";
        if (!writeRandomFile(path, mib * 1024 * 1024)) {
            std::printf("cannot write the %lld MiB file\n", mib);
            return 1;
        }
        ComRef<IDataObject> data = shellDataObject({path});
        for (const bool computeAll : {false, true}) {
            writeTestFile(appData + L"\\velkscope\\config.json",
                          computeAll ? "{\"compute_all_menus\":1}" : "{\"compute_all_menus\":0}");
            UINT commands = 0;
            timeOneBuild(dll, data.get(), &commands); // warm-up: file into the cache
            std::vector<double> times;
            for (int i = 0; i < repeats; ++i)
                times.push_back(timeOneBuild(dll, data.get(), &commands));
            std::sort(times.begin(), times.end());
            std::printf("%4lld MiB  %-22s median %8.1f  min %8.1f  (%u commands)\n", mib,
                        computeAll ? "all digests" : "label digest (MD5)", times[times.size() / 2],
                        times.front(), commands);
        }
    }
    return 0;
}
