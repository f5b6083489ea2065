#include "engine/progress/progress_controls.h"

#include "engine/utf16.h"

#include <commctrl.h>

namespace velk {

bool createProgressControls(ProgressControls& c, HWND parent, HFONT font) {
    // Hidden until placed, so that they never flash at the parent's top left corner.
    const auto create = [parent](const wchar_t* className, DWORD style) {
        return CreateWindowExW(
            0, className, L"", WS_CHILD | style, 0, 0, 0, 0, parent, nullptr,
            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    };
    c.bar = create(PROGRESS_CLASSW, 0);
    c.line = create(L"STATIC", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE);
    if (c.bar == nullptr || c.line == nullptr) {
        destroyProgressControls(c);
        return false;
    }
    SendMessageW(c.bar, PBM_SETRANGE32, 0, kProgressBarRange);
    SendMessageW(c.line, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return true;
}

bool showProgressValues(ProgressControls& c, std::uint64_t bytesDone, std::uint64_t bytesTotal,
                        const ThroughputEstimate& estimate) {
    if (c.bar == nullptr)
        return false;
    const std::string line = progressLineText(bytesDone, bytesTotal, estimate);
    if (line != c.shownLine) {
        SetWindowTextW(c.line, toUtf16(line).c_str());
        c.shownLine = line;
    }
    const int position = progressBarPosition(bytesDone, bytesTotal);
    if (position == c.shownPosition)
        return false;
    SendMessageW(c.bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    c.shownPosition = position;
    return true;
}

void showProgressControls(const ProgressControls& c) {
    if (c.bar != nullptr)
        ShowWindow(c.bar, SW_SHOWNA);
    if (c.line != nullptr)
        ShowWindow(c.line, SW_SHOWNA);
}

void destroyProgressControls(ProgressControls& c) {
    if (c.bar != nullptr)
        DestroyWindow(c.bar);
    if (c.line != nullptr)
        DestroyWindow(c.line);
    c = ProgressControls{};
}

} // namespace velk
