// Check: is the hash on the clipboard one of this file's digests?

#include "engine/clipboard_token.h"
#include "viewer/viewer_state.h"

namespace velk {

void checkClipboard(ViewerState& s) {
    // Without digests there is nothing to compare: the clipboard is not even read.
    if (const auto early = checkStatusWithoutDigests(s.hashesReady, s.hashFailed, s.hashError)) {
        setStatus(s, *early);
        return;
    }
    setStatus(s, clipboardCheckStatus(s.results, readClipboardText()));
}

} // namespace velk
