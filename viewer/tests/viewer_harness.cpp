#include "viewer_harness.h"

#include "engine/unique_handle.h"
#include "engine/utf16.h"

#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <random>
#include <thread>

namespace velk::test {

std::string narrow(const std::wstring& w) {
    return toUtf8(w);
}
std::wstring wide(const std::string& s) {
    return toUtf16(s);
}

std::wstring binFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

namespace {

void removeTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

// This process's environment with APPDATA replaced.
std::wstring environmentWith(const std::wstring& appData) {
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* p = strings; *p != 0; p += wcslen(p) + 1) {
        const std::wstring entry = p;
        if (_wcsnicmp(entry.c_str(), L"APPDATA=", 8) == 0)
            continue;
        block += entry;
        block.push_back(L'\0');
    }
    FreeEnvironmentStringsW(strings);
    block += L"APPDATA=" + appData;
    block.push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

struct FindByProcess {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM param) {
    auto* find = reinterpret_cast<FindByProcess*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != find->processId)
        return TRUE;
    wchar_t name[64];
    if (GetClassNameW(window, name, 64) > 0 && wcscmp(name, find->className) == 0) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND topWindowOf(DWORD processId, const wchar_t* className) {
    FindByProcess find{processId, className, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

std::wstring listViewText(HWND list, int item, int subItem) {
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    const UniqueObject owned(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!owned)
        return L"";
    HANDLE process = owned.get();
    // The item record and its text buffer live in the list's own process.
    constexpr int kChars = 1024;
    const SIZE_T bytes = sizeof(LVITEMW) + kChars * sizeof(wchar_t);
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    std::wstring text;
    if (remote != nullptr) {
        LVITEMW record{};
        record.iSubItem = subItem;
        record.cchTextMax = kChars;
        record.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
        SIZE_T moved = 0;
        if (WriteProcessMemory(process, remote, &record, sizeof record, &moved)) {
            const LRESULT length =
                SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(remote));
            std::wstring buffer(kChars, L'\0');
            if (length > 0 && ReadProcessMemory(process, remote + sizeof(LVITEMW), &buffer[0],
                                                kChars * sizeof(wchar_t), &moved))
                text = buffer.substr(0, static_cast<std::size_t>(length));
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    return text;
}

ScratchFolder::ScratchFolder(const std::wstring& leaf) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::random_device random;
    path_ = std::wstring(temp) + L"velk-viewer-" + std::to_wstring(random()) + L"-" + leaf;
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    removeTree(path_);
}

std::wstring ScratchFolder::write(const std::wstring& name, const std::string& bytes) const {
    const std::wstring path = file(name);
    writeFile(path, bytes);
    return path;
}

std::string AppData::configText() const {
    return readFile(settingsFolder() + L"\\config.json");
}
std::string AppData::windowListText() const {
    return readFile(settingsFolder() + L"\\windows.txt");
}
bool AppData::hasConfig() const {
    return GetFileAttributesW((settingsFolder() + L"\\config.json").c_str()) !=
           INVALID_FILE_ATTRIBUTES;
}
void AppData::writeConfig(const std::string& text) const {
    CreateDirectoryW(settingsFolder().c_str(), nullptr);
    writeFile(settingsFolder() + L"\\config.json", text);
}
void AppData::writeWindowList(const std::string& text) const {
    CreateDirectoryW(settingsFolder().c_str(), nullptr);
    writeFile(settingsFolder() + L"\\windows.txt", text);
}

std::wstring textOf(HWND window) {
    // The text may change between the two messages: a longer one would come back cut, so the
    // buffer has room for one more character, and a text that fills it is asked for again.
    for (int attempt = 0;; ++attempt) {
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
            return L"<no answer>";
        }
        std::wstring text(length + 2, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(window, WM_GETTEXT, length + 2, reinterpret_cast<LPARAM>(&text[0]),
                            SMTO_ABORTIFHUNG, 2000, &copied);
        if (copied <= length || attempt == 10) {
            text.resize(copied);
            return text;
        }
    }
}

RECT rectInParent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<Child> childrenOf(HWND parent) {
    std::vector<Child> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        Child child;
        child.window = c;
        wchar_t name[64];
        child.className.assign(name, GetClassNameW(c, name, 64));
        child.text = textOf(c);
        child.style = GetWindowLongW(c, GWL_STYLE);
        child.exStyle = GetWindowLongW(c, GWL_EXSTYLE);
        child.id = GetDlgCtrlID(c);
        child.rect = rectInParent(c);
        children.push_back(child);
    }
    return children;
}

Viewer::Viewer(const std::wstring& arguments, const std::wstring& appData) {
    std::wstring commandLine = L"\"" + binFolder() + L"\\velkscope.exe\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    std::wstring environment = environmentWith(appData);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                       CREATE_UNICODE_ENVIRONMENT, &environment[0], nullptr, &startup, &info)) {
        process_ = info.hProcess;
        thread_ = info.hThread;
        processId_ = info.dwProcessId;
    }
}

Viewer::~Viewer() {
    if (process_ == nullptr)
        return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        if (HWND box = messageBox(0))
            dismissMessageBox(box);
        for (const wchar_t* cls : {L"VelkscopeWnd", L"VelkscopeListWnd"}) {
            if (HWND w = topWindowOf(processId_, cls))
                PostMessageW(w, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(process_, 5000) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
    }
    CloseHandle(thread_);
    CloseHandle(process_);
}

HWND Viewer::window(DWORD timeoutMs) {
    if (window_ != nullptr && IsWindow(window_))
        return window_;
    waitUntil([&] { return (window_ = topWindowOf(processId_, L"VelkscopeWnd")) != nullptr; },
              timeoutMs, 5);
    // The controls are created right after the window: wait for the last one.
    if (window_ != nullptr) {
        waitUntil(
            [&] {
                std::size_t count = 0;
                for (HWND c = GetWindow(window_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                    ++count;
                return count >= kControlCount;
            },
            timeoutMs, 5);
        // Start-up goes on after the controls exist (fonts, theme, first layout).
        WaitForInputIdle(process_, timeoutMs);
    }
    return window_;
}

HWND Viewer::messageBox(DWORD timeoutMs) const {
    HWND box = nullptr;
    waitUntil([&] { return (box = topWindowOf(processId_, L"#32770")) != nullptr; }, timeoutMs, 5);
    return box;
}

DWORD Viewer::waitForExit(DWORD timeoutMs) const {
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::vector<Child> Viewer::controls() {
    HWND w = window();
    return w ? childrenOf(w) : std::vector<Child>{};
}

HWND Viewer::control(std::size_t index) {
    if (handles_.size() < kControlCount) {
        handles_.clear();
        if (HWND w = window()) {
            for (HWND c = GetWindow(w, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
                handles_.push_back(c);
            }
        }
    }
    return index < handles_.size() ? handles_[index] : nullptr;
}

bool Viewer::waitForResult(DWORD timeoutMs) {
    return waitUntil(
        [&] {
            for (std::size_t row = 0; row < 11; ++row) {
                if (textOf(valueBox(row)) == L"computing...")
                    return false;
            }
            return true;
        },
        timeoutMs, 20);
}

void Viewer::click(HWND button) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

void Viewer::command(int id, int code) {
    DWORD_PTR ignored = 0;
    HWND from = GetDlgItem(window(), id);
    SendMessageTimeoutW(window(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

void Viewer::close() {
    if (HWND w = window(0))
        PostMessageW(w, WM_CLOSE, 0, 0);
}

std::wstring messageBoxText(HWND box) {
    return textOf(GetDlgItem(box, 0xFFFF));
}

void dismissMessageBox(HWND box) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(pollMs);
    }
}

namespace {

bool openClipboardRetrying() {
    return waitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2000, 5);
}

} // namespace

bool setClipboardText(const std::wstring& text) {
    if (!openClipboardRetrying())
        return false;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool placed = false;
    if (block != nullptr) {
        if (void* data = GlobalLock(block)) {
            memcpy(data, text.c_str(), bytes);
            GlobalUnlock(block);
            placed = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        }
        if (!placed)
            GlobalFree(block);
    }
    CloseClipboard();
    return placed;
}

bool emptyClipboard() {
    if (!openClipboardRetrying())
        return false;
    EmptyClipboard();
    CloseClipboard();
    return true;
}

bool clipboardText(std::wstring& text) {
    text.clear();
    if (!openClipboardRetrying())
        return false;
    bool any = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            text.assign(p, wcsnlen(p, GlobalSize(data) / sizeof(wchar_t)));
            GlobalUnlock(data);
            any = true;
        }
    }
    CloseClipboard();
    return any;
}

DWORD clipboardSequence() {
    return GetClipboardSequenceNumber();
}

std::string readFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace velk::test
