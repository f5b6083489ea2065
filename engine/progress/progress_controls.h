#pragma once
// A progress bar and the line of text beside it, as child windows of a window that shows a
// long pass: created when the pass has run long, updated where a report changed something,
// destroyed when the pass ends.

#ifdef _WIN32
#include "engine/progress/progress_text.h"

#include <windows.h>

#include <string>

namespace velk {

struct ProgressControls {
    HWND bar = nullptr;
    HWND line = nullptr;
    int shownPosition = -1;
    std::string shownLine; // UTF-8
};

// Creates both, hidden, with the bar's range set and the line in `font`. False (and nothing
// left) when either cannot be created: the pass then runs without them.
bool createProgressControls(ProgressControls& controls, HWND parent, HFONT font);

// Moves the bar and changes the line only where the report changed them; true when the bar
// moved.
bool showProgressValues(ProgressControls& controls, std::uint64_t bytesDone,
                        std::uint64_t bytesTotal, const ThroughputEstimate& estimate);

void showProgressControls(const ProgressControls& controls);
void destroyProgressControls(ProgressControls& controls);

} // namespace velk
#endif
