#pragma once
// The page's background computation: one detached thread per page, handing its digests to
// the page window in one posted WM_PAGE_HASHES_DONE.

#include "engine/algorithms.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

namespace velk {

inline constexpr UINT WM_PAGE_HASHES_DONE = WM_APP + 2;
// How far the worker has read: wParam the bytes, lParam the milliseconds since it began.
// Carries nothing to free; one at a time, at most ten a second.
inline constexpr UINT WM_PAGE_HASH_PROGRESS = WM_APP + 3;

// Allocated by the worker; whoever holds it last frees it: the page once the post succeeded,
// the worker otherwise.
struct PageHashMessage {
    PageHashMessage();
    ~PageHashMessage();
    PageHashMessage(const PageHashMessage&) = delete;
    PageHashMessage& operator=(const PageHashMessage&) = delete;

    bool ok = false;
    HashResults results;
};

// Messages that exist right now, in this module. A leak shows as a count that stays above 0
// after every worker has ended and every page has closed.
long pageHashMessagesAlive();

// Shared by a page and its worker. When the page goes away it sets both under the lock: the
// worker then stops reading between chunks, closes the file and posts nothing, so no message
// can arrive after the page has discarded its queue.
struct PageWorkerLink {
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    bool pageGone = false;
    // Set by the worker when it posts a progress report, cleared by the page on taking it.
    std::atomic<bool> progressPending{false};
};

// What the page asks of its worker: the size it measured (the worker reads no more) and the
// link through which the page stops it.
struct PageHashRequest {
    std::string utf8Path;
    long long measuredSize = -1; // unknown: read to the end
    std::shared_ptr<PageWorkerLink> link;
};

// Called by the page as it goes away, before it discards its queued messages.
void stopPageHashWorker(PageWorkerLink& link);

// Computes all digests of the requested file and posts them to `window`. Frees the message
// itself when the post fails (the page is gone).
void runPageHashWorker(HWND window, const PageHashRequest& request);

// Takes one module reference for the worker and starts it detached. False (and the reference
// given back) when the thread cannot be started; the caller then computes by itself.
bool startPageHashWorker(HWND window, const PageHashRequest& request);

// Frees WM_PAGE_HASHES_DONE messages still queued for a window that is being destroyed.
void discardQueuedPageHashMessages(HWND window);

} // namespace velk
