#pragma once
// The page's progress while its worker runs: a bar with a line beside it in the preview's
// place (the preview is empty until the digests arrive), from half a second into the pass
// until the digests arrive.

#include "shellext/page/page_layout.h"
#include "shellext/page/page_state.h"

#include <windows.h>

namespace velk {

inline constexpr UINT_PTR kPageProgressTimerId = 1;

// The worker has started on a file of `fileBytes`.
void startPageProgressWatch(HWND window, PropertyPageState& state, std::uint64_t fileBytes);
// The watch's timer: the pass runs long, the bar shows.
void showPageProgress(HWND window, PropertyPageState& state);
// A report of the worker (WM_PAGE_HASH_PROGRESS).
void takePageProgress(PropertyPageState& state, WPARAM bytesRead, LPARAM elapsedMs);
// The digests have arrived (or the computation failed): the bar goes.
void endPageProgress(HWND window, PropertyPageState& state);
// Places the bar and the line in the preview's rectangle.
void placePageProgress(PropertyPageState& state, const PageRect& preview);

} // namespace velk
