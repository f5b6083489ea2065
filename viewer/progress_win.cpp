// The pass's progress in the window and on its taskbar button: a bar with a line beside it in
// the preview's place, shown once the pass has run half a second and gone when its result
// arrives; reports from the worker move only what changed.

#include "engine/progress/progress_throttle.h"
#include "engine/utf16.h"
#include "viewer/viewer_state.h"

#include <windows.h>

#include <commctrl.h>

namespace velk {
namespace {

void setTaskbarState(ViewerState& s, TBPFLAG flag) {
    if (s.taskbar)
        s.taskbar.get()->SetProgressState(s.mainWindow, flag);
}

void setTaskbarValue(ViewerState& s) {
    if (s.taskbar && s.fileBytes > 0) {
        s.taskbar.get()->SetProgressValue(s.mainWindow, std::min(s.progressBytes, s.fileBytes),
                                          s.fileBytes);
    }
}

void refreshProgress(ViewerState& s) {
    const int position = progressBarPosition(s.progressBytes, s.fileBytes);
    if (position != s.shownBarPosition) {
        SendMessageW(s.progressBar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        s.shownBarPosition = position;
        setTaskbarValue(s);
    }
    const std::string line = progressLineText(s.progressBytes, s.fileBytes, s.progressEstimate);
    if (line != s.shownProgressLine) {
        setWindowTextUtf8(s.progressLine, line);
        s.shownProgressLine = line;
    }
}

HWND createProgressControl(const ViewerState& s, const wchar_t* className, DWORD style) {
    // Hidden until placed, so that they never flash at the window's top left corner.
    return CreateWindowExW(0, className, L"", WS_CHILD | style, 0, 0, 0, 0, s.mainWindow, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void destroyProgressControls(ViewerState& s) {
    if (s.progressBar != nullptr)
        DestroyWindow(s.progressBar);
    if (s.progressLine != nullptr)
        DestroyWindow(s.progressLine);
    s.progressBar = s.progressLine = nullptr;
    s.shownBarPosition = -1;
    s.shownProgressLine.clear();
}

} // namespace

void startProgressWatch(ViewerState& s) {
    SetTimer(s.mainWindow, kProgressTimerId, static_cast<UINT>(kProgressShowDelayMs), nullptr);
}

void showProgress(ViewerState& s) {
    KillTimer(s.mainWindow, kProgressTimerId);
    if (s.passOver || s.progressBar != nullptr)
        return;
    s.progressBar = createProgressControl(s, PROGRESS_CLASSW, 0);
    s.progressLine = createProgressControl(s, L"STATIC",
                                           SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE);
    if (s.progressBar == nullptr || s.progressLine == nullptr) {
        destroyProgressControls(s); // the pass goes on without them
        return;
    }
    SendMessageW(s.progressBar, PBM_SETRANGE32, 0, kProgressBarRange);
    SendMessageW(s.progressLine, WM_SETFONT, reinterpret_cast<WPARAM>(s.uiFont.get()), FALSE);
    themeProgress(s);
    refreshProgress(s);
    placeProgress(s);
    // The preview is empty while the pass runs; the bar and its line take its place.
    ShowWindow(s.previewLabel, SW_HIDE);
    ShowWindow(s.progressBar, SW_SHOWNA);
    ShowWindow(s.progressLine, SW_SHOWNA);
    setTaskbarState(s, TBPF_NORMAL);
    setTaskbarValue(s);
}

void handleHashProgress(ViewerState& s, WPARAM bytesRead, LPARAM elapsedMs) {
    // The report is taken: the worker may send the next one.
    s.progressPending.store(false);
    if (s.passOver)
        return;
    s.progressBytes = static_cast<std::uint64_t>(bytesRead);
    s.progressEstimate = updateThroughput(s.progressEstimate, s.progressBytes,
                                          static_cast<std::uint64_t>(elapsedMs));
    if (s.progressBar != nullptr)
        refreshProgress(s);
}

void endProgress(ViewerState& s, bool passSucceeded) {
    s.passOver = true;
    KillTimer(s.mainWindow, kProgressTimerId);
    if (s.progressBar != nullptr) {
        destroyProgressControls(s);
        ShowWindow(s.previewLabel, SW_SHOWNA);
    }
    if (passSucceeded) {
        clearTaskbarProgress(s);
        return;
    }
    // Red for a moment, so that a failure shows on a window the user is not looking at.
    if (s.taskbar) {
        setTaskbarState(s, TBPF_ERROR);
        s.taskbar.get()->SetProgressValue(s.mainWindow, 1, 1);
    }
    SetTimer(s.mainWindow, kTaskbarErrorTimerId, kTaskbarErrorMs, nullptr);
}

void clearTaskbarProgress(ViewerState& s) {
    KillTimer(s.mainWindow, kTaskbarErrorTimerId);
    setTaskbarState(s, TBPF_NOPROGRESS);
}

void attachTaskbar(ViewerState& s) {
    // The taskbar announces the button again after it restarts: a fresh interface each time.
    s.taskbar.reset();
    if (!s.comReady) {
        s.comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        if (!s.comReady)
            return;
    }
    ITaskbarList3* raw = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&raw))) ||
        raw == nullptr) {
        return; // no taskbar progress on this system: nothing to say about it
    }
    UniqueCom<ITaskbarList3> list(raw);
    if (FAILED(list.get()->HrInit()))
        return;
    s.taskbar = std::move(list);
    if (s.progressBar != nullptr) {
        setTaskbarState(s, TBPF_NORMAL);
        setTaskbarValue(s);
    }
}

} // namespace velk
