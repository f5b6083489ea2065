#include "page_test_support_win.h"

#include "engine/unique_handle.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <atomic>
#include <filesystem>

namespace velk::test {

PageTempDir::PageTempDir() {
    static std::atomic<unsigned> counter{0};
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"velk-page-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++);
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(path_), ignored);
    std::filesystem::create_directories(std::filesystem::path(path_), ignored);
}

PageTempDir::~PageTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(path_), ignored);
}

bool writeFileBytes(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

bool writeSparseFile(const std::wstring& path, long long size) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER end;
    end.QuadPart = size;
    return SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
}

std::string readFileBytes(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return std::string();
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

bool makeShortcut(const std::wstring& linkPath, const std::wstring& target) {
    IShellLinkW* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&rawLink)))) {
        return false;
    }
    UniqueCom<IShellLinkW> link(rawLink);
    if (FAILED(link.get()->SetPath(target.c_str())))
        return false;
    IPersistFile* rawFile = nullptr;
    if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)))) {
        return false;
    }
    UniqueCom<IPersistFile> file(rawFile);
    return SUCCEEDED(file.get()->Save(linkPath.c_str(), TRUE));
}

bool putClipboardText(const std::wstring& text) {
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    bool ok = false;
    if (block) {
        auto* dest = static_cast<wchar_t*>(GlobalLock(block.get()));
        if (dest != nullptr) {
            text.copy(dest, text.size());
            dest[text.size()] = L'\0';
            GlobalUnlock(block.get());
            ok = SetClipboardData(CF_UNICODETEXT, block.get()) != nullptr;
            if (ok)
                block.release(); // the clipboard owns it now
        }
    }
    CloseClipboard();
    return ok;
}

std::wstring clipboardText(bool* present) {
    if (present != nullptr)
        *present = false;
    if (!OpenClipboard(nullptr))
        return std::wstring();
    std::wstring text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data != nullptr) {
        const auto* chars = static_cast<const wchar_t*>(GlobalLock(data));
        if (chars != nullptr) {
            const std::size_t limit = GlobalSize(data) / sizeof(wchar_t);
            std::size_t n = 0;
            while (n < limit && chars[n] != L'\0')
                ++n;
            text.assign(chars, n);
            GlobalUnlock(data);
            if (present != nullptr)
                *present = true;
        }
    }
    CloseClipboard();
    return text;
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void pumpFor(DWORD milliseconds) {
    pumpUntil([] { return false; }, milliseconds);
}

BOOL CALLBACK PageCollector::add(HPROPSHEETPAGE page, LPARAM collector) {
    reinterpret_cast<PageCollector*>(collector)->pages.push_back(page);
    return TRUE;
}

void PageCollector::destroyUnused() {
    for (HPROPSHEETPAGE page : pages)
        DestroyPropertySheetPage(page);
    pages.clear();
}

ModelessSheet::ModelessSheet(std::vector<HPROPSHEETPAGE>& pages) {
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_MODELESS | PSH_NOAPPLYNOW;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = L"Page test";
    header.nPages = static_cast<UINT>(pages.size());
    header.phpage = pages.data();
    sheet_ = reinterpret_cast<HWND>(PropertySheetW(&header));
    // The sheet owns the pages now, whether or not it could be shown.
    pages.clear();
}

ModelessSheet::~ModelessSheet() {
    close();
}

void ModelessSheet::close() {
    if (sheet_ == nullptr)
        return;
    DestroyWindow(std::exchange(sheet_, nullptr));
}

HWND ModelessSheet::page(int index) const {
    return reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_INDEXTOHWND, index, 0));
}

int ModelessSheet::tabCount() const {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETTABCONTROL, 0, 0));
    return tabs == nullptr ? 0 : static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
}

std::wstring ModelessSheet::tabTitle(int index) const {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETTABCONTROL, 0, 0));
    wchar_t text[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    if (tabs == nullptr ||
        !SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) {
        return std::wstring();
    }
    return text;
}

std::wstring windowText(HWND window) {
    wchar_t text[1024] = {};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<ControlView> pageControls(HWND page) {
    std::vector<ControlView> controls;
    for (HWND child = GetWindow(page, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ControlView view;
        view.window = child;
        wchar_t className[64] = {};
        GetClassNameW(child, className, 64);
        view.className = className;
        view.text = windowText(child);
        view.id = GetDlgCtrlID(child);
        view.enabled = IsWindowEnabled(child) != FALSE;
        view.style = GetWindowLongW(child, GWL_STYLE);
        controls.push_back(view);
    }
    return controls;
}

std::vector<ControlView> controlsOfClass(HWND page, const std::wstring& className) {
    std::vector<ControlView> matching;
    for (const ControlView& view : pageControls(page)) {
        if (CompareStringOrdinal(view.className.c_str(), -1, className.c_str(), -1, TRUE) ==
            CSTR_EQUAL) {
            matching.push_back(view);
        }
    }
    return matching;
}

const ControlView* controlWithId(const std::vector<ControlView>& controls, int id) {
    for (const ControlView& view : controls) {
        if (view.id == id)
            return &view;
    }
    return nullptr;
}

void clickButton(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}

void pickComboItem(HWND page, HWND combo, int index) {
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

} // namespace velk::test

#include <shlobj.h>

#include <memory>

namespace velk::test {
namespace {
struct TaskMemFree {
    void operator()(void* p) const { CoTaskMemFree(p); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST, TaskMemFree>;
} // namespace

HRESULT shellItemsObject(const std::vector<std::wstring>& paths, REFIID riid, void** object) {
    *object = nullptr;
    if (paths.empty())
        return E_INVALIDARG;
    std::vector<UniquePidl> absolute;
    for (const std::wstring& path : paths) {
        PIDLIST_ABSOLUTE pidl = nullptr;
        const HRESULT hr = SHParseDisplayName(path.c_str(), nullptr, &pidl, 0, nullptr);
        if (FAILED(hr))
            return hr;
        absolute.emplace_back(pidl);
    }
    IShellFolder* rawFolder = nullptr;
    PCUITEMID_CHILD firstChild = nullptr;
    HRESULT hr = SHBindToParent(absolute.front().get(), IID_IShellFolder,
                                reinterpret_cast<void**>(&rawFolder), &firstChild);
    if (FAILED(hr))
        return hr;
    UniqueCom<IShellFolder> folder(rawFolder);
    std::vector<PCUITEMID_CHILD> children;
    for (const UniquePidl& pidl : absolute)
        children.push_back(ILFindLastID(pidl.get()));
    return folder.get()->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(),
                                       riid, nullptr, object);
}

long runAndWait(const std::wstring& commandLine, DWORD timeoutMs) {
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, &mutableLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return -1;
    }
    UniqueObject process(info.hProcess);
    UniqueObject thread(info.hThread);
    if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<long>(code);
}

std::wstring programFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer, length);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

} // namespace velk::test
