// Copy: the row's lowercase digest onto the clipboard as Unicode text, nothing else.

#include "engine/unique_handle.h"
#include "engine/utf16.h"
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

} // namespace

void copyDigest(ViewerState& state, std::size_t rowIndex) {
    if (rowIndex >= state.rows.size())
        return;
    const std::string& name = state.rows[rowIndex].algorithmName;
    const auto found = state.results.find(name);
    if (found == state.results.end())
        return;

    const std::wstring text = toUtf16(found->second);
    bool placed = false;
    {
        const OpenClipboardScope clipboard;
        if (!clipboard.opened)
            return; // held by another program: no change, no status
        EmptyClipboard();
        placed = placeUnicodeText(text);
    }
    if (placed)
        setStatus(state, copiedStatus(name));
}

} // namespace velk
