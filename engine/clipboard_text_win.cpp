#include "clipboard_token.h"

#include "utf16.h"

#include <windows.h>

namespace velk {
namespace {

// The clipboard stays open only while its text is copied out.
struct OpenClipboardScope {
    bool opened = OpenClipboard(nullptr) != FALSE;
    ~OpenClipboardScope() {
        if (opened) CloseClipboard();
    }
};

struct GlobalLockScope {
    HGLOBAL block;
    void* data;
    explicit GlobalLockScope(HGLOBAL b) : block(b), data(b ? GlobalLock(b) : nullptr) {}
    ~GlobalLockScope() {
        if (data != nullptr) GlobalUnlock(block);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
};

} // namespace

std::string readClipboardText() {
    OpenClipboardScope clipboard;
    if (!clipboard.opened) return std::string();
    HGLOBAL block = static_cast<HGLOBAL>(GetClipboardData(CF_UNICODETEXT));
    GlobalLockScope lock(block);
    if (lock.data == nullptr) return std::string();
    // The text ends at its first zero, but never runs past the block, which need not hold
    // a terminating zero at all.
    const auto* text = static_cast<const wchar_t*>(lock.data);
    const std::size_t limit = GlobalSize(block) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < limit && text[length] != L'\0') ++length;
    return toUtf8(text, length);
}

} // namespace velk
