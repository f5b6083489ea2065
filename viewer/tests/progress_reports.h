#pragma once
// Shared between a test and the hook it has the window system load into the viewer: when each
// progress report was taken from the viewer's queue.

#include <windows.h>

namespace velk::test {

inline constexpr wchar_t kProgressReportsMapping[] = L"Local\\velk_progress_reports";
inline constexpr UINT kProgressReportMessage = WM_APP + 6;

struct ProgressReports {
    volatile LONG count;
    DWORD takenAt[4096]; // GetTickCount of each, in order
};

} // namespace velk::test
