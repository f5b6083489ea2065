// The pass's progress in the window and on its taskbar button: a bar with a line beside it in
// the preview's place, shown once the pass has run half a second and gone when its result
// arrives; reports from the worker move only what changed.

#include "engine/progress/progress_throttle.h"
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
    if (showProgressValues(s.progress, s.progressBytes, s.fileBytes, s.progressEstimate))
        setTaskbarValue(s);
}

} // namespace

void startProgressWatch(ViewerState& s) {
    SetTimer(s.mainWindow, kProgressTimerId, static_cast<UINT>(kProgressShowDelayMs), nullptr);
}

void showProgress(ViewerState& s) {
    KillTimer(s.mainWindow, kProgressTimerId);
    if (s.passOver || s.progress.bar != nullptr)
        return;
    if (!createProgressControls(s.progress, s.mainWindow, static_cast<HFONT>(s.uiFont.get())))
        return; // the pass goes on without them
    themeProgress(s);
    refreshProgress(s);
    placeProgress(s);
    // The preview is empty while the pass runs; the bar and its line take its place.
    ShowWindow(s.previewLabel, SW_HIDE);
    showProgressControls(s.progress);
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
    refreshProgress(s);
}

void endProgress(ViewerState& s, bool passSucceeded) {
    s.passOver = true;
    KillTimer(s.mainWindow, kProgressTimerId);
    if (s.progress.bar != nullptr) {
        destroyProgressControls(s.progress);
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
    if (s.progress.bar != nullptr) {
        setTaskbarState(s, TBPF_NORMAL);
        setTaskbarValue(s);
    }
}

} // namespace velk
