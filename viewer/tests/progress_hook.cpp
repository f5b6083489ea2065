// A WH_GETMESSAGE hook the window system loads into the viewer: it records when each progress
// report is taken from the viewer's queue, in memory the test shares by name.

#include "progress_reports.h"

namespace {

velk::test::ProgressReports* reports() {
    static velk::test::ProgressReports* shared = [] {
        HANDLE mapping =
            OpenFileMappingW(FILE_MAP_WRITE, FALSE, velk::test::kProgressReportsMapping);
        if (mapping == nullptr)
            return static_cast<velk::test::ProgressReports*>(nullptr);
        // The view and its handle stay for the life of the process.
        return static_cast<velk::test::ProgressReports*>(
            MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(velk::test::ProgressReports)));
    }();
    return shared;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    countProgressReports(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        velk::test::ProgressReports* r = reports();
        if (message->message == velk::test::kProgressReportMessage && r != nullptr) {
            const LONG index = InterlockedIncrement(&r->count) - 1;
            if (index < 4096)
                r->takenAt[index] = GetTickCount();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
