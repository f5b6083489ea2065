// Check: the clipboard's hash against the file's digests, read from the live status line.

#include "viewer_test_support.h"

namespace velk::test {
namespace {

// Offers text on the clipboard without putting it there: it is rendered only when a program
// asks for it, so every read of the clipboard shows.
class WatchedClipboard {
  public:
    explicit WatchedClipboard(std::wstring text) : text_(std::move(text)) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VelkTestClipboardOwner";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        if (waitUntil([&] { return OpenClipboard(window_) != FALSE; }, 2000, 5)) {
            EmptyClipboard();
            SetClipboardData(CF_UNICODETEXT, nullptr); // rendered on request
            CloseClipboard();
        }
    }
    ~WatchedClipboard() {
        DestroyWindow(window_);
        emptyClipboard();
    }
    int reads() const { return reads_; }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<WatchedClipboard*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message == WM_RENDERFORMAT && wParam == CF_UNICODETEXT) {
            ++self->reads_;
            const std::size_t bytes = (self->text_.size() + 1) * sizeof(wchar_t);
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
            memcpy(GlobalLock(block), self->text_.c_str(), bytes);
            GlobalUnlock(block);
            SetClipboardData(CF_UNICODETEXT, block);
            return 0;
        }
        if (message == WM_RENDERALLFORMATS)
            return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    }

    std::wstring text_;
    HWND window_ = nullptr;
    int reads_ = 0;
};

std::wstring upper(std::wstring s) {
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(towupper(c));
    return s;
}

using ViewerCheck = ViewerTest;

const wchar_t kNotAHash[] = L"Clipboard doesn't look like a hash for this file.";

TEST_F(ViewerCheck, ClipboardTextsAgainstTheDigests) {
    Viewer viewer(quoted(sampleFile(L"sample.bin")), appData.folder.path());
    ASSERT_NE(viewer.window(), nullptr);
    ASSERT_TRUE(viewer.waitForResult());
    const std::wstring sha256 = wide(expected.at("SHA-256"));
    const std::wstring md5 = wide(expected.at("MD5"));
    struct Case {
        std::wstring clipboard;
        std::wstring status;
    };
    const Case cases[] = {
        {L"  0X" + upper(sha256) + L"\r\n", L"\u2714 MATCH  SHA-256 matches this file."},
        {sha256 + L"  sample.bin\n", L"\u2714 MATCH  SHA-256 matches this file."},
        {wide(expected.at("SHA-512")), L"\u2714 MATCH  SHA-512 matches this file."},
        {wide(expected.at("CRC32")), L"\u2714 MATCH  CRC32 matches this file."},
        {std::wstring(64, L'a'), L"\u2718 NO MATCH  64-char hash (SHA-256 / SHA3-256 / BLAKE2s), "
                                 L"but it does not match this file."},
        {std::wstring(128, L'B'), L"\u2718 NO MATCH  128-char hash (SHA-512 / SHA3-512 / BLAKE2b), "
                                  L"but it does not match this file."},
        {L"abcdef0", kNotAHash},
        {L"abcdef012", kNotAHash},
        {L"0x", kNotAHash},
        {L"     ", kNotAHash},
        {L"SHA256 " + sha256, kNotAHash},
        {md5.substr(0, 16) + L"\u00A0" + md5.substr(16), kNotAHash},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(setClipboardText(c.clipboard));
        const DWORD sequence = clipboardSequence();
        viewer.click(viewer.control(kCheck));
        EXPECT_EQ(textOf(viewer.control(kStatus)), c.status) << narrow(c.clipboard);
        std::wstring after;
        ASSERT_TRUE(clipboardText(after));
        EXPECT_EQ(after, c.clipboard) << "a check leaves the clipboard alone";
        EXPECT_EQ(clipboardSequence(), sequence);
    }

    ASSERT_TRUE(emptyClipboard());
    const DWORD sequence = clipboardSequence();
    viewer.click(viewer.control(kCheck));
    EXPECT_EQ(textOf(viewer.control(kStatus)), kNotAHash) << "empty clipboard";
    EXPECT_EQ(clipboardSequence(), sequence);

    // Once the digests are there, Check does read the clipboard: the watch sees reads.
    WatchedClipboard watched(sha256);
    viewer.click(viewer.control(kCheck));
    EXPECT_EQ(watched.reads(), 1);
    EXPECT_EQ(textOf(viewer.control(kStatus)), L"\u2714 MATCH  SHA-256 matches this file.");
}

TEST_F(ViewerCheck, BeforeTheDigestsCheckLeavesTheClipboardUnread) {
    const std::wstring path = sparseFile(files, L"huge.img", 6ll << 30);
    Viewer viewer(quoted(path), appData.folder.path());
    ASSERT_NE(viewer.window(), nullptr);
    WatchedClipboard watched(std::wstring(64, L'0'));
    viewer.click(viewer.control(kCheck));
    EXPECT_EQ(textOf(viewer.valueBox(0)), L"computing...");
    EXPECT_EQ(textOf(viewer.control(kStatus)), L"Still computing hashes...");
    EXPECT_EQ(watched.reads(), 0);
}

TEST_F(ViewerCheck, AfterAFailedPassCheckKeepsTheFailureAndLeavesTheClipboardUnread) {
    const std::wstring path = files.write(L"locked.bin", randomBytes(512));
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Viewer viewer(quoted(path), appData.folder.path());
    ASSERT_NE(viewer.window(), nullptr);
    ASSERT_TRUE(viewer.waitForResult());
    WatchedClipboard watched(std::wstring(64, L'0'));
    viewer.click(viewer.control(kCheck));
    EXPECT_EQ(textOf(viewer.control(kStatus)), L"Could not read file: cannot open file");
    EXPECT_EQ(watched.reads(), 0);
    CloseHandle(held);
}

} // namespace
} // namespace velk::test
