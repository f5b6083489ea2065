#pragma once
// Shared pieces of the end-to-end viewer tests.

#include "viewer_harness.h"

#include "engine/algorithms.h"
#include "engine/pass/hash_file.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace velk::test {

inline std::string randomBytes(std::size_t count, unsigned seed = 5) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

inline std::wstring quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

// How long a change of the live window may take on a loaded machine (with the themed
// controls, one layout of the window takes 150 ms under Wine at a load of 5 on two cores).
// Polls end as soon as their condition holds, so this costs nothing when the machine is idle.
inline constexpr DWORD kLoadedMs = 15000;

// Every test gets its own APPDATA and a folder for the files it hashes.
class ViewerTest : public testing::Test {
  protected:
    AppData appData;
    ScratchFolder files{L"files"};

    // A 1 MiB file and the digests the engine computes for it.
    std::wstring sampleFile(const std::wstring& name = L"sample.bin") {
        const std::wstring path = files.write(name, randomBytes(1 << 20));
        std::string error;
        EXPECT_TRUE(computeAllHashes(narrow(path), expected, &error)) << error;
        return path;
    }

    Settings savedSettings() const { return settingsFromText(appData.configText()); }

    HashResults expected;
};

inline std::string rectText(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right - r.left) + " x " + std::to_string(r.bottom - r.top) + ")";
}

// The Check button's height: fontPx + 16, so it tells the font size the layout uses.
inline int checkHeight(Viewer& viewer) {
    const RECT r = rectInParent(viewer.control(kCheck));
    return r.bottom - r.top;
}

inline RECT windowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

inline SIZE clientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// Resizes the window until its client area has the given width.
inline bool setClientWidth(HWND window, int width) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const SIZE client = clientSize(window);
        if (client.cx == width)
            return true;
        const RECT outer = windowRect(window);
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + width - client.cx,
                     outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return clientSize(window).cx == width;
}

// How long the window takes to answer a message, up to 3 s.
inline DWORD answerTime(HWND window) {
    const ULONGLONG start = GetTickCount64();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &result))
        return 3000;
    return static_cast<DWORD>(GetTickCount64() - start);
}

// Answer times of a window sampled over a while. On a loaded machine a few answers wait for
// the scheduler whatever the window does: a window that answers in time is one whose 95th
// percentile stays within the bound and that never hangs.
struct AnswerTimes {
    std::vector<DWORD> samples;
    DWORD sample(HWND window) {
        samples.push_back(answerTime(window));
        return samples.back();
    }
    DWORD slowest() const {
        return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
    }
    DWORD percentile95() const {
        if (samples.empty())
            return 0;
        std::vector<DWORD> sorted = samples;
        std::sort(sorted.begin(), sorted.end());
        return sorted[(sorted.size() - 1) * 95 / 100];
    }
    std::string summary() const {
        return std::to_string(samples.size()) + " answers, 95% within " +
               std::to_string(percentile95()) + " ms, slowest " + std::to_string(slowest()) + " ms";
    }
};

// The pass's progress bar while it is shown; null otherwise.
inline HWND progressBarOf(HWND window) {
    for (const Child& child : childrenOf(window)) {
        if (child.className == L"msctls_progress32" && IsWindowVisible(child.window))
            return child.window;
    }
    return nullptr;
}

} // namespace velk::test

#include <atomic>
#include <initializer_list>
#include <mutex>
#include <thread>
#include <vector>

namespace velk::test {

// Which file a path names at one moment: every replacing write makes a new file.
struct FileStamp {
    bool exists = false;
    DWORD indexHigh = 0, indexLow = 0;
    FILETIME written{};
    bool operator==(const FileStamp& o) const {
        return exists == o.exists && indexHigh == o.indexHigh && indexLow == o.indexLow &&
               CompareFileTime(&written, &o.written) == 0;
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

inline FileStamp stampOf(const std::wstring& path) {
    FileStamp s;
    HANDLE f = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return s;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(f, &info)) {
        s.exists = true;
        s.indexHigh = info.nFileIndexHigh;
        s.indexLow = info.nFileIndexLow;
        s.written = info.ftLastWriteTime;
    }
    CloseHandle(f);
    return s;
}

// Watches a file from a thread of its own and records when it was written.
class WriteWatch {
  public:
    explicit WriteWatch(std::wstring path) : path_(std::move(path)), last_(stampOf(path_)) {
        thread_ = std::thread([this] {
            while (!stop_) {
                const FileStamp now = stampOf(path_);
                if (now != last_) {
                    std::lock_guard<std::mutex> lock(mutex_);
                    writes_.push_back(GetTickCount64());
                    last_ = now;
                }
                Sleep(3);
            }
        });
    }
    ~WriteWatch() { stop(); }
    void stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    std::vector<ULONGLONG> writes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return writes_;
    }

  private:
    std::wstring path_;
    FileStamp last_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<ULONGLONG> writes_;
    std::thread thread_;
};

inline std::wstring configPath(const AppData& appData) {
    return appData.settingsFolder() + L"\\config.json";
}

// A sparse file: created at once, read as zeros.
inline std::wstring sparseFile(const ScratchFolder& folder, const std::wstring& name,
                               long long bytes) {
    const std::wstring path = folder.file(name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return path;
    LARGE_INTEGER size;
    size.QuadPart = bytes;
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    return path;
}

} // namespace velk::test

namespace velk::test {

// The viewer's focused window, as its thread's state says (GetFocus sees only this
// process's own windows).
inline HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

// Brings the window to the front and waits until its thread has a focused window, so that
// keys sent next reach it; answers that window.
inline HWND focusForKeys(HWND window) {
    SetForegroundWindow(window);
    HWND focus = nullptr;
    waitUntil([&] { return (focus = focusOf(window)) != nullptr; }, kLoadedMs);
    return focus;
}

// Keys through the system's input, to whatever has the focus in the foreground window.
// Each entry is a virtual key, pressed and released; `held` keys stay down around them all.
inline void pressKeys(HWND window, std::initializer_list<WORD> keys,
                      std::initializer_list<WORD> held = {}) {
    SetForegroundWindow(window);
    std::vector<INPUT> input;
    const auto add = [&](WORD key, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = key;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        input.push_back(i);
    };
    for (WORD k : held)
        add(k, false);
    for (WORD k : keys) {
        add(k, false);
        add(k, true);
    }
    for (WORD k : held)
        add(k, true);
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// Presses Tab (or Shift+Tab) and waits for the focus to leave `from`; answers where it went.
inline HWND pressTab(HWND window, HWND from, bool backwards = false) {
    if (backwards) {
        pressKeys(window, {VK_TAB}, {VK_SHIFT});
    } else {
        pressKeys(window, {VK_TAB});
    }
    HWND now = nullptr;
    waitUntil([&] { return (now = focusOf(window)) != from; }, kLoadedMs);
    return now;
}

// A block of memory in another process, for messages whose arguments are pointers there.
class RemoteBlock {
  public:
    RemoteBlock(HANDLE process, std::size_t bytes)
        : process_(process), address_(VirtualAllocEx(process, nullptr, bytes,
                                                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (address_ != nullptr)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool ok() const { return address_ != nullptr; }
    template <class T> T* at(std::size_t offset = 0) const {
        return reinterpret_cast<T*>(static_cast<char*>(address_) + offset);
    }
    bool write(const void* data, std::size_t bytes, std::size_t offset = 0) const {
        return WriteProcessMemory(process_, at<char>(offset), data, bytes, nullptr) != FALSE;
    }
    bool read(void* data, std::size_t bytes, std::size_t offset = 0) const {
        return ReadProcessMemory(process_, at<char>(offset), data, bytes, nullptr) != FALSE;
    }

  private:
    HANDLE process_;
    void* address_;
};

} // namespace velk::test
