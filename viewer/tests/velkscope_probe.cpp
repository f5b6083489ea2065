// velkscope_probe: a helper for scripts that show the viewer.
//   velkscope_probe wait [SECONDS]   waits for a viewer window whose digests have all
//                                    arrived; prints "rect X Y W H" and the value texts
//   velkscope_probe close            closes every viewer window and waits for them to go
//   velkscope_probe record FILE ARG  appends ARG and a line feed to FILE (a stand-in for the
//                                    program a link opens)
// Exit code 0 when done, 1 on timeout.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::vector<HWND> viewerWindows() {
    std::vector<HWND> found;
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, L"VelkscopeWnd", nullptr)) != nullptr)
        found.push_back(w);
    return found;
}

std::wstring textOf(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &copied);
    return std::wstring(text, copied);
}

// The value boxes are the "Edit" children; all have left "computing..." once the pass ended.
bool digestsShown(HWND window, std::vector<std::wstring>& values) {
    values.clear();
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t name[32];
        GetClassNameW(c, name, 32);
        if (_wcsicmp(name, L"Edit") != 0)
            continue;
        values.push_back(textOf(c));
        if (values.back() == L"computing...")
            return false;
    }
    return values.size() == 11;
}

int waitForDigests(int seconds) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    std::vector<std::wstring> values;
    while (GetTickCount64() < end) {
        for (HWND w : viewerWindows()) {
            if (!digestsShown(w, values))
                continue;
            Sleep(300); // let the window finish painting
            RECT r{};
            GetWindowRect(w, &r);
            std::printf("rect %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left,
                        r.bottom - r.top);
            for (const std::wstring& v : values)
                std::printf("%ls\n", v.c_str());
            return 0;
        }
        Sleep(50);
    }
    std::fprintf(stderr, "velkscope_probe: no viewer showed its digests in %d s\n", seconds);
    return 1;
}

int closeViewers() {
    for (HWND w : viewerWindows())
        PostMessageW(w, WM_CLOSE, 0, 0);
    const ULONGLONG end = GetTickCount64() + 5000;
    while (!viewerWindows().empty()) {
        if (GetTickCount64() > end)
            return 1;
        Sleep(50);
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && std::wcscmp(argv[1], L"wait") == 0) {
        return waitForDigests(argc >= 3 ? _wtoi(argv[2]) : 60);
    }
    if (argc >= 2 && std::wcscmp(argv[1], L"close") == 0)
        return closeViewers();
    if (argc >= 4 && std::wcscmp(argv[1], L"record") == 0) {
        FILE* out = _wfopen(argv[2], L"ab");
        if (out == nullptr)
            return 1;
        std::fprintf(out, "%ls\n", argv[3]);
        std::fclose(out);
        return 0;
    }
    std::fprintf(stderr, "usage: velkscope_probe wait [SECONDS] | close | record FILE ARG\n");
    return 2;
}
