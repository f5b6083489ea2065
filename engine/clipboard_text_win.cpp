#include "engine/clipboard_token.h"

#include "engine/utf16.h"

#include <windows.h>

namespace velk {
namespace {

// The clipboard stays open only while its text is copied out.
struct OpenClipboardScope {
    bool opened = OpenClipboard(nullptr) != FALSE;
    ~OpenClipboardScope() {
        if (opened)
            CloseClipboard();
    }
};

struct GlobalLockScope {
    HGLOBAL block;
    void* data;
    explicit GlobalLockScope(HGLOBAL b) : block(b), data(b ? GlobalLock(b) : nullptr) {}
    ~GlobalLockScope() {
        if (data != nullptr)
            GlobalUnlock(block);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
};

} // namespace

std::string readClipboardText() {
    OpenClipboardScope clipboard;
    if (!clipboard.opened)
        return std::string();
    HGLOBAL block = static_cast<HGLOBAL>(GetClipboardData(CF_UNICODETEXT));
    GlobalLockScope lock(block);
    if (lock.data == nullptr)
        return std::string();
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 clipboard text");
    const std::size_t length =
        clipboardTextLength(static_cast<const char16_t*>(lock.data), GlobalSize(block));
    return toUtf8(static_cast<const wchar_t*>(lock.data), length);
}

} // namespace velk
