// Copy: the row's lowercase digest onto the clipboard as Unicode text, nothing else.

#include "engine/unique_handle.h"
#include "engine/utf16.h"
#include "viewer/checksum_status.h"
#include "viewer/viewer_state.h"

#include <cstring>

namespace velk {
namespace {

// The clipboard stays open for as long as the scope lives, and no longer.
struct OpenClipboardScope {
    bool opened = OpenClipboard(nullptr) != FALSE;
    ~OpenClipboardScope() {
        if (opened)
            CloseClipboard();
    }
};

// Puts the text with its terminating zero on the open clipboard; true once the clipboard
// owns the block.
bool placeUnicodeText(const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!block)
        return false;
    void* data = GlobalLock(block.get());
    if (data == nullptr)
        return false; // freed by the owner
    std::memcpy(data, text.c_str(), bytes);
    GlobalUnlock(block.get());
    if (SetClipboardData(CF_UNICODETEXT, block.get()) == nullptr)
        return false;
    block.release(); // the clipboard owns it now
    return true;
}

const std::string* rowDigest(const ViewerState& state, std::size_t rowIndex) {
    if (rowIndex >= state.rows.size())
        return nullptr;
    const auto found = state.results.find(state.rows[rowIndex].algorithmName);
    return found == state.results.end() ? nullptr : &found->second;
}

} // namespace

bool copyToClipboard(const std::string& utf8) {
    const std::wstring text = toUtf16(utf8);
    const OpenClipboardScope clipboard;
    if (!clipboard.opened)
        return false;
    EmptyClipboard();
    return placeUnicodeText(text);
}

void copyDigest(ViewerState& state, std::size_t rowIndex) {
    const std::string* digest = rowDigest(state, rowIndex);
    // A clipboard held by another program: no change, no status.
    if (digest != nullptr && copyToClipboard(*digest))
        setStatus(state, copiedStatus(state.rows[rowIndex].algorithmName));
}

void copyChecksumLine(ViewerState& state, std::size_t rowIndex) {
    const std::string* digest = rowDigest(state, rowIndex);
    if (digest != nullptr && copyToClipboard(checksumLineText(*digest, state.filePath)))
        setStatus(state, copiedLineStatus(state.rows[rowIndex].algorithmName));
}

} // namespace velk
