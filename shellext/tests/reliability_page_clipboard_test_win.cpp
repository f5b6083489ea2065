// readClipboardText and the page's Check on clipboards that are no friendly hash: 10 MB of
// text, a text block with no terminating zero, formats that are not text, a clipboard held
// open by someone else.

#include "reliability_page_fixture_win.h"

#include "engine/clipboard_token.h"
#include "engine/unique_handle.h"
#include "engine/utf16.h"

#include <shlobj.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <iostream>
#include <thread>

namespace velk::test {
namespace {

const std::wstring kNotAHash = L"Clipboard isn't a hash for this file.";
constexpr std::size_t kTenMegabytes = 10 * 1000 * 1000;

// Replaces the clipboard's content with one block of `bytes` under `format`.
bool putBlock(UINT format, const void* bytes, std::size_t size) {
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
    bool ok = false;
    if (block) {
        void* dest = GlobalLock(block.get());
        if (dest != nullptr) {
            std::memcpy(dest, bytes, size);
            GlobalUnlock(block.get());
            ok = SetClipboardData(format, block.get()) != nullptr;
            if (ok)
                block.release(); // the clipboard owns it now
        }
    }
    CloseClipboard();
    return ok;
}

class PageCheck : public HostilePage {
  protected:
    void SetUp() override {
        HostilePage::SetUp();
        file = dir.file(L"checked.bin");
        ASSERT_TRUE(writeFileBytes(file, "The quick brown fox jumps over the lazy dog"));
        digests = digestsOfBytes("The quick brown fox jumps over the lazy dog");
        sheet = openPage(file);
        page = sheet->page();
        settledRows(page);
        ASSERT_TRUE(checkEnabled(page));
    }
    void TearDown() override {
        sheet.reset();
        HostilePage::TearDown();
    }

    std::wstring check() {
        clickButton(GetDlgItem(page, 3000));
        return windowText(GetDlgItem(page, 3001));
    }

    std::wstring file;
    HashResults digests;
    std::unique_ptr<ModelessSheet> sheet;
    HWND page = nullptr;
};

TEST_F(PageCheck, TenMegabytesOfText) {
    const std::wstring sha512 = toUtf16(digests.at("SHA-512"));
    const struct {
        const char* label;
        std::wstring text;
        std::wstring outcome;
    } cases[] = {
        {"a digest, then 10 MB of words", sha512 + L" " + std::wstring(kTenMegabytes, L'w'),
         L"\u2714 MATCH - SHA-512 matches this file."},
        {"10 MB of white space, then the digest",
         std::wstring(kTenMegabytes, L' ') + L"\r\n\t" + sha512,
         L"\u2714 MATCH - SHA-512 matches this file."},
        {"10 MB of hexadecimal digits", std::wstring(kTenMegabytes, L'a'), kNotAHash},
        {"10 MB of a character outside ASCII", std::wstring(kTenMegabytes, L'\u4f8b'), kNotAHash},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(putClipboardText(c.text));
        const auto start = std::chrono::steady_clock::now();
        const std::string read = readClipboardText();
        const double readMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        EXPECT_EQ(read, toUtf8(c.text)) << read.size() << " bytes read";
        const auto checkStart = std::chrono::steady_clock::now();
        EXPECT_EQ(check(), c.outcome);
        const double checkMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - checkStart)
                .count();
        std::cout << c.label << ": " << read.size() << " UTF-8 bytes read in " << readMs
                  << " ms, Check answered in " << checkMs << " ms\n";
        EXPECT_EQ(clipboardText(), c.text) << "the check leaves the clipboard alone";
    }
}

// The emulator terminates a text block handed to SetClipboardData by zeroing its last byte.
// A block of an odd number of bytes keeps every whole character then: the text has no
// terminating zero inside the block, and the read must end at the block's size. Whether the
// last whole character survives depends on the platform, so the outcome is checked against
// what was read; nothing past the block may be read.
TEST_F(PageCheck, TextBlockWithoutTerminatingZero) {
    const std::wstring md5 = toUtf16(digests.at("MD5"));
    const struct {
        const char* label;
        std::wstring chars;
        std::size_t extraBytes;
    } cases[] = {
        {"the MD5 and one stray byte", md5, 1},
        {"the MD5 and a stray character", md5 + L"z", 0},
        {"the MD5 alone", md5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::string block(c.chars.size() * sizeof(wchar_t) + c.extraBytes, 'x');
        std::memcpy(&block[0], c.chars.data(), c.chars.size() * sizeof(wchar_t));
        ASSERT_TRUE(putBlock(CF_UNICODETEXT, block.data(), block.size()));

        const std::string read = readClipboardText();
        const std::string whole = toUtf8(c.chars);
        EXPECT_LE(read.size(), whole.size()) << "read past the block";
        EXPECT_EQ(read, whole.substr(0, read.size()));
        EXPECT_EQ(check(),
                  read == toUtf8(md5) ? L"\u2714 MATCH - MD5 matches this file." : kNotAHash);
        std::cout << c.label << " (" << block.size() << " bytes, no zero character): read "
                  << read.size() << " of " << whole.size() << " characters\n";
    }
}

TEST_F(PageCheck, ClipboardWithoutTextIsNoHash) {
    const std::wstring md5 = toUtf16(digests.at("MD5"));
    const std::string md5Utf8 = digests.at("MD5");

    // A file named like the digest, as a file manager's copy puts it.
    const std::wstring named = dir.file(md5);
    std::string drop(sizeof(DROPFILES), '\0');
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(&drop[0], &header, sizeof header);
    const std::wstring list = named + L'\0' + L'\0';
    drop.append(reinterpret_cast<const char*>(list.data()), list.size() * sizeof(wchar_t));

    const UINT custom = RegisterClipboardFormatW(L"Velkora reliability text");
    const std::wstring customText = md5 + L'\0';

    BITMAPINFOHEADER dib{};
    dib.biSize = sizeof dib;
    dib.biWidth = 2;
    dib.biHeight = 2;
    dib.biPlanes = 1;
    dib.biBitCount = 32;
    std::string dibBytes(reinterpret_cast<const char*>(&dib), sizeof dib);
    dibBytes.append(16, '\x7f');

    const struct {
        const char* label;
        UINT format;
        std::string bytes;
    } cases[] = {
        {"a dropped-file list", CF_HDROP, drop},
        {"the digest under a private format", custom,
         std::string(reinterpret_cast<const char*>(customText.data()),
                     customText.size() * sizeof(wchar_t))},
        {"a device-independent bitmap", CF_DIB, dibBytes},
        {"nothing at all", 0, std::string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.format == 0) {
            ASSERT_TRUE(OpenClipboard(nullptr));
            EmptyClipboard();
            CloseClipboard();
        } else {
            ASSERT_TRUE(putBlock(c.format, c.bytes.data(), c.bytes.size()));
        }
        EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
        EXPECT_EQ(readClipboardText(), "");
        EXPECT_EQ(check(), kNotAHash);
        if (c.format != 0) {
            EXPECT_TRUE(IsClipboardFormatAvailable(c.format)) << "the check changed the clipboard";
        }
    }
}

// Another window keeps the clipboard open: the check answers as for an empty clipboard, and
// answers normally again once the clipboard is free.
TEST_F(PageCheck, ClipboardHeldOpenElsewhereIsNoHash) {
    ASSERT_TRUE(putClipboardText(toUtf16(digests.at("MD5"))));
    EXPECT_EQ(check(), L"\u2714 MATCH - MD5 matches this file.");

    std::atomic<int> stage{0}; // 1: holding, 2: let go
    std::thread holder([&stage] {
        HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     nullptr, nullptr);
        const bool opened = owner != nullptr && OpenClipboard(owner);
        stage = opened ? 1 : -1;
        while (opened && stage == 1)
            Sleep(1);
        if (opened)
            CloseClipboard();
        if (owner != nullptr)
            DestroyWindow(owner);
    });
    while (stage == 0)
        Sleep(1);
    ASSERT_EQ(stage, 1);
    EXPECT_EQ(check(), kNotAHash);
    stage = 2;
    holder.join();
    EXPECT_EQ(check(), L"\u2714 MATCH - MD5 matches this file.") << "once the clipboard is free";
}

} // namespace
} // namespace velk::test
