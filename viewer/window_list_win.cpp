// windows.txt under the mutex "Local\velkscope_winreg": which viewers are running.

#include "settings/file_replace.h"
#include "settings/settings.h"
#include "viewer/window_placement.h"

#include "engine/unique_handle.h"

#include <ctime>

namespace velk {
namespace {

// Holds the list's lock for one read-modify-write. Without a mutex, or after the bounded
// wait runs out, the work goes on unlocked: a lost registration only shifts a cascade.
class ListLock {
  public:
    ListLock() : mutex_(CreateMutexA(nullptr, FALSE, "Local\\velkscope_winreg")) {
        if (mutex_) {
            const DWORD wait = WaitForSingleObject(mutex_.get(), 2000);
            owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        }
    }
    ~ListLock() {
        if (owned_)
            ReleaseMutex(mutex_.get());
    }
    ListLock(const ListLock&) = delete;
    ListLock& operator=(const ListLock&) = delete;

  private:
    UniqueObject mutex_;
    bool owned_ = false;
};

bool processRuns(std::uint32_t processId) {
    if (processId == 0)
        return false;
    const UniqueObject process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

} // namespace

std::string windowListPath() {
    return settingsFolderPath() + "\\windows.txt";
}

std::vector<ViewerWindowEntry> readLiveViewerWindows() {
    std::vector<ViewerWindowEntry> live;
    for (ViewerWindowEntry& entry : parseViewerWindowList(readWholeFile(windowListPath()))) {
        if (processRuns(entry.processId))
            live.push_back(std::move(entry));
    }
    return live;
}

void writeViewerWindows(const std::vector<ViewerWindowEntry>& entries) {
    writeFileReplacing(windowListPath(), formatViewerWindowList(entries));
}

int registerViewerWindow() {
    const ListLock lock;
    std::vector<ViewerWindowEntry> list = readLiveViewerWindows();
    const int others = static_cast<int>(list.size());
    list.push_back(
        {GetCurrentProcessId(), std::to_string(static_cast<long long>(std::time(nullptr)))});
    writeViewerWindows(list);
    return others;
}

void unregisterViewerWindow() {
    const ListLock lock;
    std::vector<ViewerWindowEntry> list = readLiveViewerWindows();
    const DWORD self = GetCurrentProcessId();
    std::vector<ViewerWindowEntry> rest;
    for (ViewerWindowEntry& entry : list) {
        if (entry.processId != self)
            rest.push_back(std::move(entry));
    }
    writeViewerWindows(rest);
}

} // namespace velk
