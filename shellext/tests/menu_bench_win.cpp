// How long the file manager waits for QueryContextMenu: local files of 10, 128 and 512 MiB,
// with the label digest only and with all digests (compute_all_menus), a read slowed down to
// 60 ms per chunk (the test build of the DLL), a file on a network-typed drive and a file
// growing while the menu reads it. Not a test: it prints medians of repeated builds and what
// the menu showed.
//
// usage: shell_menu_bench.exe [REPEATS [NETWORK_FOLDER]]   (files under
// bin\shell-test-data\menu-bench; NETWORK_FOLDER is a folder on a drive the system reports as
// a network drive, as menu_bench.sh sets one up)

#include "com_ptr.h"
#include "shell_data_object.h"
#include "shell_dll.h"
#include "test_files.h"

#include "engine/unique_handle.h"
#include "engine/utf16.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
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

// Milliseconds of one QueryContextMenu on a fresh object, as the shell does it per click;
// `shown` receives the text of the entry it inserted.
double timeOneBuild(const ShellDll& dll, IDataObject* data, UINT* commands,
                    std::wstring* shown = nullptr) {
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
    if (shown != nullptr) {
        wchar_t text[512] = {};
        GetMenuStringW(host.get(), 0, text, 512, MF_BYPOSITION);
        *shown = text;
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
}

struct Row {
    double median, min, max;
    UINT commands;
    std::wstring shown;
};

Row timeBuilds(const ShellDll& dll, IDataObject* data, int repeats, bool warm = true) {
    Row row{};
    if (warm)
        timeOneBuild(dll, data, &row.commands); // file into the cache
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i)
        times.push_back(timeOneBuild(dll, data, &row.commands, &row.shown));
    std::sort(times.begin(), times.end());
    row.median = times[times.size() / 2];
    row.min = times.front();
    row.max = times.back();
    return row;
}

void printRow(const char* what, const char* mode, const Row& row) {
    const char* shown = row.shown.rfind(L"Hashes ", 0) == 0 ? "label"
                        : row.shown == L"Velkscope"         ? "\"Velkscope\""
                                                            : "nothing";
    std::printf("%-26s %-19s median %7.1f  min %7.1f  max %7.1f  %s\n", what, mode, row.median,
                row.min, row.max, shown);
}

void writeConfig(const std::wstring& appData, bool computeAll) {
    writeTestFile(appData + L"\\velkscope\\config.json",
                  computeAll ? "{\"compute_all_menus\":1}" : "{\"compute_all_menus\":0}");
}

// Appends 1 MiB writes to the file until destroyed.
class Grower {
  public:
    explicit Grower(const std::wstring& path) {
        file_.reset(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        thread_ = std::thread([this] {
            const std::string chunk(1 << 20, 'g');
            DWORD written = 0;
            while (!stop_ && file_ &&
                   WriteFile(file_.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &written,
                             nullptr)) {
            }
        });
    }
    ~Grower() {
        stop_ = true;
        thread_.join();
    }

  private:
    velk::UniqueFile file_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

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
    std::printf("QueryContextMenu, median, min and max of %d builds (ms)\n", repeats);
    std::printf("screen width %d px: items wrap beyond %d px\n", GetSystemMetrics(SM_CXSCREEN),
                static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * 0.6));
    std::wstring slowFile;
    for (const long long mib : {10LL, 128LL, 512LL}) {
        const std::wstring path = scratch + L"\\bench " + std::to_wstring(mib) + L" MiB.bin";
        if (!writeRandomFile(path, mib * 1024 * 1024)) {
            std::printf("cannot write the %lld MiB file\n", mib);
            return 1;
        }
        if (mib == 128)
            slowFile = path;
        ComRef<IDataObject> data = shellDataObject({path});
        const std::string what = "local " + std::to_string(mib) + " MiB";
        for (const bool computeAll : {false, true}) {
            writeConfig(appData, computeAll);
            printRow(what.c_str(), computeAll ? "all digests" : "label digest (MD5)",
                     timeBuilds(dll, data.get(), repeats));
        }
    }
    writeConfig(appData, false);

    // The test build of the DLL, each read slowed down to 60 ms as on a slow share.
    const ShellDll& faults = loadShellDll(testProgramFolder() + L"velkshell_faults.dll");
    using SetDelayFn = void(WINAPI*)(unsigned);
    const auto setDelay = faults.module == nullptr
                              ? nullptr
                              : reinterpret_cast<SetDelayFn>(reinterpret_cast<void*>(
                                    GetProcAddress(faults.module, "VelkTestSetReadDelay")));
    if (setDelay != nullptr && faults.getClassObject != nullptr) {
        ComRef<IDataObject> data = shellDataObject({slowFile});
        setDelay(60);
        printRow("slowed read 128 MiB", "label digest (MD5)",
                 timeBuilds(faults, data.get(), 3, false));
        setDelay(0);
    } else {
        std::printf("slowed read: velkshell_faults.dll not beside the bench\n");
    }

    if (argc > 2) {
        const std::wstring networkFolder = velk::toUtf16(argv[2]);
        const std::wstring path = networkFolder + L"\\bench network 10 MiB.bin";
        if (writeRandomFile(path, 10LL * 1024 * 1024)) {
            ComRef<IDataObject> data = shellDataObject({path});
            printRow("network drive 10 MiB", "label digest (MD5)",
                     timeBuilds(dll, data.get(), repeats));
        } else {
            std::printf("cannot write on the network drive\n");
        }
    } else {
        std::printf("network drive: no folder given\n");
    }

    {
        const std::wstring path = scratch + L"\\bench growing.bin";
        writeRandomFile(path, 16LL * 1024 * 1024);
        ComRef<IDataObject> data = shellDataObject({path});
        const Grower grower(path);
        Sleep(20);
        printRow("growing from 16 MiB", "label digest (MD5)",
                 timeBuilds(dll, data.get(), repeats, false));
    }
    return 0;
}
