#include "shell_ui.h"

#include "engine/unique_handle.h"
#include "engine/utf16.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>

std::vector<MenuEntryView> readMenu(HMENU menu) {
    std::vector<MenuEntryView> entries;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[1024] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STATE | MIIM_BITMAP;
        info.dwTypeData = text;
        info.cch = 1024;
        MenuEntryView entry;
        if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) {
            entry.text.assign(text, info.cch);
            entry.id = info.wID;
            entry.type = info.fType;
            entry.state = info.fState;
            entry.hasBitmap = info.hbmpItem != nullptr;
            entry.popup = info.hSubMenu != nullptr;
            if (entry.popup)
                entry.children = readMenu(info.hSubMenu);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

namespace {

struct FindBoxes {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK collectBox(HWND window, LPARAM param) {
    auto* find = reinterpret_cast<FindBoxes*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (owner == find->process && std::wcscmp(className, L"#32770") == 0 && IsWindowVisible(window))
        find->found.push_back(window);
    return TRUE;
}

std::wstring textOf(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                                        reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

// The icon control of a message box shows one of the system icons.
char iconOf(HWND box) {
    struct Known {
        LPCWSTR id;
        char code;
    };
    const Known known[] = {{IDI_INFORMATION, 'i'}, {IDI_WARNING, '!'}, {IDI_ERROR, 'x'}};
    HWND child = nullptr;
    while ((child = FindWindowExW(box, child, L"Static", nullptr)) != nullptr) {
        const HICON shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        if (shown == nullptr)
            continue;
        for (const Known& k : known)
            if (shown == LoadIconW(nullptr, k.id))
                return k.code;
    }
    return '?';
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher() : thread_([this] { watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

void MessageBoxWatcher::watch() {
    while (!stop_) {
        FindBoxes find{GetCurrentProcessId(), {}};
        EnumWindows(collectBox, reinterpret_cast<LPARAM>(&find));
        for (HWND box : find.found) {
            MessageBoxView view;
            view.caption = textOf(box);
            view.text = textOf(GetDlgItem(box, 0xFFFF));
            view.icon = iconOf(box);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                seen_.push_back(view);
            }
            SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
            // The box is gone once its modal loop has seen the command.
            for (int i = 0; i < 200 && IsWindow(box) && IsWindowVisible(box); ++i)
                Sleep(10);
        }
        Sleep(20);
    }
}

std::vector<MessageBoxView> MessageBoxWatcher::finish() {
    Sleep(200);
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

namespace {

struct ClipboardScope {
    bool open;
    ClipboardScope() : open(false) {
        for (int attempt = 0; attempt < 50 && !open; ++attempt) {
            open = OpenClipboard(nullptr) != FALSE;
            if (!open)
                Sleep(10);
        }
    }
    ~ClipboardScope() {
        if (open)
            CloseClipboard();
    }
};

UINT privateFormat() {
    return RegisterClipboardFormatW(L"VelkshellTestPrivate");
}

bool setBlock(UINT format, const void* data, std::size_t bytes) {
    velk::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!block)
        return false;
    void* memory = GlobalLock(block.get());
    if (memory == nullptr)
        return false;
    std::memcpy(memory, data, bytes);
    GlobalUnlock(block.get());
    if (SetClipboardData(format, block.get()) == nullptr)
        return false;
    block.release();
    return true;
}

} // namespace

bool putClipboardText(const std::wstring& text) {
    ClipboardScope clipboard;
    if (!clipboard.open)
        return false;
    EmptyClipboard();
    return setBlock(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool putClipboardTextAndPrivateFormat(const std::wstring& text) {
    ClipboardScope clipboard;
    if (!clipboard.open)
        return false;
    EmptyClipboard();
    const char marker[] = "private";
    return setBlock(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t)) &&
           setBlock(privateFormat(), marker, sizeof(marker));
}

bool clipboardHasPrivateFormat() {
    return IsClipboardFormatAvailable(privateFormat()) != FALSE;
}

std::wstring clipboardText(bool* present) {
    if (present != nullptr)
        *present = false;
    ClipboardScope clipboard;
    if (!clipboard.open)
        return std::wstring();
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr)
        return std::wstring();
    const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    if (text == nullptr)
        return std::wstring();
    const std::size_t limit = GlobalSize(data) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < limit && text[length] != 0)
        ++length;
    std::wstring result(text, length);
    GlobalUnlock(data);
    if (present != nullptr)
        *present = true;
    return result;
}

ViewerStartLog::ViewerStartLog(std::wstring folder) : folder_(std::move(folder)) {
    SetEnvironmentVariableW(L"VELK_STANDIN_LOG", folder_.c_str());
}

void ViewerStartLog::clear() {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder_ + L"\\launch-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        DeleteFileW((folder_ + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::vector<ViewerStart> ViewerStartLog::read() const {
    std::vector<ViewerStart> starts;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder_ + L"\\launch-*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return starts;
    do {
        std::ifstream in(velk::toUtf8(folder_ + L"\\" + found.cFileName), std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        std::vector<std::wstring> lines;
        std::string line;
        while (std::getline(content, line))
            lines.push_back(velk::toUtf16(line));
        ViewerStart start;
        if (lines.size() >= 2) {
            start.program = lines[0];
            start.commandLine = lines[1];
            start.arguments.assign(lines.begin() + 2, lines.end());
        }
        starts.push_back(std::move(start));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return starts;
}

std::vector<ViewerStart> ViewerStartLog::waitFor(std::size_t count, DWORD timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (read().size() < count && std::chrono::steady_clock::now() < deadline)
        Sleep(50);
    Sleep(400); // a start beyond the expected ones would show by now
    return read();
}
