#include "shellext/page/page_progress.h"

#include "engine/progress/progress_row.h"
#include "engine/progress/progress_throttle.h"
#include "shellext/page/page_dialog.h"

namespace velk {

void startPageProgressWatch(HWND window, PropertyPageState& s, std::uint64_t fileBytes) {
    s.progressBytesTotal = fileBytes;
    SetTimer(window, kPageProgressTimerId, static_cast<UINT>(kProgressShowDelayMs), nullptr);
}

void showPageProgress(HWND window, PropertyPageState& s) {
    KillTimer(window, kPageProgressTimerId);
    if (!s.computing || s.progress.bar != nullptr)
        return;
    if (!createProgressControls(s.progress, window, s.uiFont))
        return; // the digests come all the same
    showProgressValues(s.progress, s.progressBytes, s.progressBytesTotal, s.progressEstimate);
    layoutPropertyPage(window, s);
    if (s.previewLabel != nullptr)
        ShowWindow(s.previewLabel, SW_HIDE);
    showProgressControls(s.progress);
}

void takePageProgress(PropertyPageState& s, WPARAM bytesRead, LPARAM elapsedMs) {
    if (s.workerLink)
        s.workerLink->progressPending.store(false); // the worker may send the next one
    if (!s.computing)
        return;
    s.progressBytes = static_cast<std::uint64_t>(bytesRead);
    s.progressEstimate = updateThroughput(s.progressEstimate, s.progressBytes,
                                          static_cast<std::uint64_t>(elapsedMs));
    showProgressValues(s.progress, s.progressBytes, s.progressBytesTotal, s.progressEstimate);
}

void endPageProgress(HWND window, PropertyPageState& s) {
    KillTimer(window, kPageProgressTimerId);
    if (s.progress.bar == nullptr)
        return;
    destroyProgressControls(s.progress);
    if (s.previewLabel != nullptr)
        ShowWindow(s.previewLabel, SW_SHOWNA);
}

void placePageProgress(PropertyPageState& s, const PageRect& preview) {
    if (s.progress.bar == nullptr)
        return;
    const ProgressRowParts parts =
        splitProgressRow({preview.x, preview.y, preview.width, preview.height}, 14, 8);
    const auto place = [](HWND control, const ProgressRect& r) {
        SetWindowPos(control, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(s.progress.bar, parts.bar);
    place(s.progress.line, parts.line);
}

} // namespace velk
