#include "shellext/page/page_worker.h"

#include "engine/pass/hash_file.h"
#include "engine/progress/progress_throttle.h"
#include "engine/unique_handle.h"
#include "shellext/com/module.h"

#include <memory>
#include <new>

namespace velk {
namespace {

volatile LONG messagesAlive = 0;

struct WorkerStart {
    HWND window;
    PageHashRequest request;
};

void runStartedWorker(WorkerStart* raw) {
    std::unique_ptr<WorkerStart> start(raw);
    try {
        runPageHashWorker(start->window, start->request);
    } catch (...) {
        // Only an allocation can throw here; the page then keeps its "computing..." rows,
        // which is all that can be done without memory.
    }
}

DWORD WINAPI workerThread(LPVOID parameter) {
    // The pin taken by startPageHashWorker keeps this code mapped until the very last
    // instruction of the thread, even after the module count (which DllCanUnloadNow reads)
    // has dropped: FreeLibraryAndExitThread gives it back without returning here.
    HMODULE pin = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&workerThread), &pin);
    runStartedWorker(static_cast<WorkerStart*>(parameter));
    moduleRelease();
    FreeLibraryAndExitThread(pin, 0);
}

} // namespace

PageHashMessage::PageHashMessage() {
    InterlockedIncrement(&messagesAlive);
}
PageHashMessage::~PageHashMessage() {
    InterlockedDecrement(&messagesAlive);
}

long pageHashMessagesAlive() {
    return messagesAlive;
}

void runPageHashWorker(HWND window, const PageHashRequest& request) {
    std::unique_ptr<PageHashMessage> message(new (std::nothrow) PageHashMessage);
    if (message) {
        try {
            PassOptions options;
            if (request.measuredSize >= 0)
                options.byteCap = static_cast<std::uint64_t>(request.measuredSize);
            if (request.link) {
                options.cancel = &request.link->cancel;
                // Reports go to the page only while it is there, under the same lock as the
                // digests.
                const std::shared_ptr<PageWorkerLink> link = request.link;
                options.progress = throttledProgress(
                    [window, link](std::uint64_t bytesRead, std::uint64_t elapsedMs) {
                        const std::lock_guard<std::mutex> lock(link->mutex);
                        return !link->pageGone &&
                               PostMessageW(window, WM_PAGE_HASH_PROGRESS,
                                            static_cast<WPARAM>(bytesRead),
                                            static_cast<LPARAM>(elapsedMs)) != FALSE;
                    },
                    &link->progressPending);
            }
            message->ok = computeAllHashes(request.utf8Path, message->results, nullptr, options);
        } catch (...) {
            message->ok = false;
            message->results.clear();
        }
    }
    // Without a message (no memory) the page still learns that the computation is over.
    std::unique_lock<std::mutex> lock;
    if (request.link) {
        lock = std::unique_lock<std::mutex>(request.link->mutex);
        if (request.link->pageGone)
            return;
    }
    if (PostMessageW(window, WM_PAGE_HASHES_DONE, 0, reinterpret_cast<LPARAM>(message.get()))) {
        message.release();
    }
}

void stopPageHashWorker(PageWorkerLink& link) {
    const std::lock_guard<std::mutex> lock(link.mutex);
    link.pageGone = true;
    link.cancel.store(true);
}

bool startPageHashWorker(HWND window, const PageHashRequest& request) {
    std::unique_ptr<WorkerStart> start(new (std::nothrow) WorkerStart{window, PageHashRequest()});
    if (!start)
        return false;
    try {
        start->request = request;
    } catch (...) {
        return false;
    }
    // The module stays mapped while the thread runs (released by FreeLibraryAndExitThread).
    HMODULE pin = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&workerThread), &pin)) {
        return false;
    }
    moduleAddRef();
    UniqueObject thread(CreateThread(nullptr, 0, workerThread, start.get(), 0, nullptr));
    if (!thread) {
        moduleRelease();
        FreeLibrary(pin);
        return false;
    }
    start.release(); // the thread owns it now
    return true;
}

void discardQueuedPageHashMessages(HWND window) {
    MSG msg;
    while (PeekMessageW(&msg, window, WM_PAGE_HASHES_DONE, WM_PAGE_HASHES_DONE, PM_REMOVE)) {
        delete reinterpret_cast<PageHashMessage*>(msg.lParam);
    }
}

} // namespace velk
