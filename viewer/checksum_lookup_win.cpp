// After the pass: the checksum file beside the viewer's file, looked up on the worker thread
// and reported in the status line unless the user has put something there since.

#include "viewer/checksum_status.h"
#include "viewer/viewer_state.h"

#include <memory>
#include <new>

namespace velk {

void lookForChecksumFile(const ViewerState* state, const HashResults& digests) {
    std::unique_ptr<StatusMessage> block;
    try {
        const std::optional<StatusMessage> status =
            checksumFileStatus(findChecksumVerdict(state->filePath, digests));
        if (!status)
            return;
        block.reset(new StatusMessage(*status));
    } catch (const std::bad_alloc&) {
        return; // a verdict is a courtesy: without memory there is none
    }
    // From a successful post on the window owns the block.
    if (PostMessageW(state->mainWindow, WM_CHECKSUM_VERDICT, 0,
                     reinterpret_cast<LPARAM>(block.get())))
        block.release();
}

void handleChecksumVerdict(ViewerState& state, LPARAM blockAddress) {
    const std::unique_ptr<StatusMessage> block(reinterpret_cast<StatusMessage*>(blockAddress));
    // A Copy or Check since the digests arrived has the last word, and a comparison owns the
    // status line.
    if (block && state.statusKind == StatusKind::Neutral && !state.comparing)
        setStatus(state, *block);
}

} // namespace velk
