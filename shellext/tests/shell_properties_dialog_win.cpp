#include "shell_properties_dialog_win.h"

#include "page_test_support_win.h"

#include "engine/unique_handle.h"

#include <commctrl.h>
#include <objbase.h>
#include <prsht.h>
#include <shobjidl.h>

namespace velk::test {

ShellPropertiesDialog::ShellPropertiesDialog(std::vector<std::wstring> paths)
    : thread_([this, p = std::move(paths)] { run(p); }) {}

ShellPropertiesDialog::~ShellPropertiesDialog() {
    close();
    thread_.join();
}

HWND ShellPropertiesDialog::waitForSheet(DWORD timeoutMs) {
    pumpUntil([this] { return findSheet() != nullptr || done_; }, timeoutMs);
    return findSheet();
}

std::vector<std::wstring> ShellPropertiesDialog::tabTitles(HWND sheet) const {
    std::vector<std::wstring> titles;
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        titles.push_back(text);
    }
    return titles;
}

HWND ShellPropertiesDialog::showTab(HWND sheet, int index) {
    SendMessageW(sheet, PSM_SETCURSEL, index, 0);
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

void ShellPropertiesDialog::close() {
    HWND sheet = findSheet();
    if (sheet != nullptr)
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

void ShellPropertiesDialog::run(const std::vector<std::wstring>& paths) {
    threadId_ = GetCurrentThreadId();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        IContextMenu* rawMenu = nullptr;
        HRESULT hr = shellItemsObject(paths, IID_IContextMenu, reinterpret_cast<void**>(&rawMenu));
        if (SUCCEEDED(hr)) {
            UniqueCom<IContextMenu> menu(rawMenu);
            HMENU popup = CreatePopupMenu();
            hr = menu.get()->QueryContextMenu(popup, 0, 1, 0x7FFF, CMF_NORMAL);
            CMINVOKECOMMANDINFO info{};
            info.cbSize = sizeof info;
            info.lpVerb = "properties";
            info.nShow = SW_SHOWNORMAL;
            if (SUCCEEDED(hr))
                hr = menu.get()->InvokeCommand(&info);
            DestroyMenu(popup);
        }
        invoked_ = hr;
    }
    CoUninitialize();
    done_ = true;
}

HWND ShellPropertiesDialog::findSheet() const {
    struct Search {
        DWORD thread;
        HWND found;
    } search{threadId_, nullptr};
    EnumThreadWindows(
        threadId_,
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t cls[32] = {};
            GetClassNameW(window, cls, 32);
            if (std::wstring(cls) == L"#32770" && IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int hashesTab(const std::vector<std::wstring>& titles, int from) {
    for (int i = from; i < static_cast<int>(titles.size()); ++i) {
        if (titles[static_cast<std::size_t>(i)] == L"Hashes")
            return i;
    }
    return -1;
}

} // namespace velk::test
