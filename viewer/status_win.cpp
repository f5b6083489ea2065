// The status line: a text and the colour class it is painted in.

#include "engine/utf16.h"
#include "viewer/viewer_state.h"

namespace velk {

void setWindowTextUtf8(HWND window, const std::string& text) {
    SetWindowTextW(window, toUtf16(text).c_str());
}

void setStatus(ViewerState& state, const std::string& text, StatusKind kind) {
    state.statusKind = kind;
    setWindowTextUtf8(state.statusLabel, text);
    // The colour comes from the colour message, so the whole control must repaint.
    InvalidateRect(state.statusLabel, nullptr, TRUE);
}

void setStatus(ViewerState& state, const StatusMessage& message) {
    setStatus(state, message.text, message.kind);
}

} // namespace velk
