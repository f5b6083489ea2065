// The one background pass of a viewer and the window's handling of its result.

#include "engine/pass/hash_file.h"
#include "engine/progress/progress_throttle.h"
#include "engine/utf16.h"
#include "viewer/viewer_state.h"

#include <memory>
#include <new>

namespace velk {

std::unique_ptr<HashJobResult> hashForWindow(const std::string& path, const PassOptions& options) {
    std::unique_ptr<HashJobResult> block(new (std::nothrow) HashJobResult);
    if (!block)
        return block;
    try {
        block->ok = computeAllHashes(path, block->results, &block->error, options);
    } catch (const std::bad_alloc&) {
        block->ok = false;
        block->results.clear();
        block->error = "out of memory";
    }
    return block;
}

void hashWorker(ViewerState* state) {
    // Reports go out one at a time, at most ten a second, from half a second on.
    PassOptions options;
    HWND window = state->mainWindow;
    options.progress = throttledProgress(
        [window](std::uint64_t bytesRead, std::uint64_t elapsedMs) {
            return PostMessageW(window, WM_HASH_PROGRESS, static_cast<WPARAM>(bytesRead),
                                static_cast<LPARAM>(elapsedMs)) != FALSE;
        },
        &state->progressPending);
    std::unique_ptr<HashJobResult> block = hashForWindow(state->filePath, options);
    if (!block)
        return;
    // The digests go to the window first; the search for a checksum file beside the file
    // works on a copy of them and never delays them.
    HashResults digests;
    try {
        if (block->ok)
            digests = block->results;
    } catch (const std::bad_alloc&) {
        digests.clear();
    }
    // From a successful post on the window owns the block. A failed post means the window
    // is gone and the process is ending.
    if (!PostMessageW(state->mainWindow, WM_HASH_RESULT, 0, reinterpret_cast<LPARAM>(block.get())))
        return;
    block.release();
    if (!digests.empty())
        lookForChecksumFile(state, digests);
}

void handleHashResult(ViewerState& state, LPARAM blockAddress) {
    const std::unique_ptr<HashJobResult> block(reinterpret_cast<HashJobResult*>(blockAddress));
    if (!block)
        return;
    endProgress(state, block->ok);
    if (block->ok) {
        state.results = std::move(block->results);
        state.hashesReady = true;
        for (const HashRow& row : state.rows) {
            const auto found = state.results.find(row.algorithmName);
            if (found == state.results.end())
                continue;
            setWindowTextUtf8(row.valueBox, found->second);
            EnableWindow(row.copyButton, TRUE);
        }
        refreshPreview(state);
    } else {
        state.hashFailed = true;
        state.hashError = block->error;
        for (const HashRow& row : state.rows)
            setWindowTextUtf8(row.valueBox, "error: " + block->error);
        setStatus(state, hashFailureStatus(block->error));
    }
    if (state.comparing)
        showCompare(state);
    state.measuredValueWidth = -1; // the new texts need a new measurement
    layoutViewer(state);
    redrawViewer(state);
}

} // namespace velk
