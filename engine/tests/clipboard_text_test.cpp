// readClipboardText against the real clipboard of the Windows session.

#include "engine/clipboard_token.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace velk {
namespace {

// Puts raw bytes on the clipboard under one format, replacing whatever it held.
bool putOnClipboard(UINT format, const void* bytes, std::size_t size) {
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    bool ok = true;
    if (bytes != nullptr) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        ok = block != nullptr;
        if (ok) {
            std::memcpy(GlobalLock(block), bytes, size);
            GlobalUnlock(block);
            ok = SetClipboardData(format, block) != nullptr;
            if (!ok)
                GlobalFree(block);
        }
    }
    CloseClipboard();
    return ok;
}

TEST(ClipboardText, ReadsUnicodeTextAsUtf8) {
    const wchar_t text[] = L"  0xABCDEF \u00e9\u4f8b\n";
    ASSERT_TRUE(putOnClipboard(CF_UNICODETEXT, text, sizeof text));
    EXPECT_EQ(readClipboardText(), "  0xABCDEF \xc3\xa9\xe4\xbe\x8b\n");
}

// Wine terminates a text block handed to SetClipboardData by overwriting its last
// character, so the unterminated case reaches the bounded scan only through
// clipboardTextLength (tested in both flavours); here the read must stay inside the block.
TEST(ClipboardText, BlockWithoutTerminatingZeroStaysInsideTheBlock) {
    const wchar_t text[] = {L'a', L'b', L'c', L'd'};
    ASSERT_TRUE(putOnClipboard(CF_UNICODETEXT, text, sizeof text));
    const std::string read = readClipboardText();
    EXPECT_LE(read.size(), 4u);
    EXPECT_EQ(std::string("abcd").substr(0, read.size()), read);
}

TEST(ClipboardText, TextStopsAtTheFirstZero) {
    const wchar_t text[] = {L'a', L'b', 0, L'c', L'd', 0};
    ASSERT_TRUE(putOnClipboard(CF_UNICODETEXT, text, sizeof text));
    EXPECT_EQ(readClipboardText(), "ab");
}

TEST(ClipboardText, EmptyClipboardAndNonTextFormatsGiveEmptyText) {
    ASSERT_TRUE(putOnClipboard(0, nullptr, 0));
    EXPECT_EQ(readClipboardText(), "");
    const UINT custom = RegisterClipboardFormatW(L"Velkora test bytes");
    const char bytes[] = "0123456789abcdef";
    ASSERT_TRUE(putOnClipboard(custom, bytes, sizeof bytes));
    EXPECT_EQ(readClipboardText(), "");
}

TEST(ClipboardText, ReadingLeavesTheClipboardAsItWas) {
    const wchar_t text[] = L"deadbeef";
    ASSERT_TRUE(putOnClipboard(CF_UNICODETEXT, text, sizeof text));
    EXPECT_EQ(readClipboardText(), "deadbeef");
    EXPECT_EQ(readClipboardText(), "deadbeef");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST(ClipboardText, ClipboardHeldOpenByAnotherWindowGivesEmptyText) {
    HWND holder =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(holder, nullptr);
    const wchar_t text[] = L"abcdef";
    ASSERT_TRUE(putOnClipboard(CF_UNICODETEXT, text, sizeof text));
    ASSERT_TRUE(OpenClipboard(holder));
    std::string read = "unset";
    // Another thread stands for another program: the clipboard is owned by this one's window.
    HANDLE t = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            *static_cast<std::string*>(p) = readClipboardText();
            return 0;
        },
        &read, 0, nullptr);
    WaitForSingleObject(t, 5000);
    CloseHandle(t);
    CloseClipboard();
    DestroyWindow(holder);
    EXPECT_EQ(read, "");
}

} // namespace
} // namespace velk
