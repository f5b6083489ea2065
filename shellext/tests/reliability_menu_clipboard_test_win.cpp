// The menu's "Clipboard Check" through the registered object when the clipboard holds far
// more text than any hash, or no text at all. Expected: one of the check's own messages,
// exactly as specified, and a clipboard left as it was.

#include "reliability_menu_support_win.h"
#include "shell_menu_fixture.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

namespace {

const std::string kSample = "Sphinx of black quartz, judge my vow\n";
const UINT kCheck = 12; // label-only menu
const std::size_t kTenMB = 10 * 1000 * 1000;

const std::wstring kNotAHash = L"The clipboard is empty or not a hexadecimal hash.";
const std::wstring kWrongLength =
    L"The clipboard hash length doesn't match any of this file's hashes.";
const std::wstring kMatchMd5 = L"\x2714 MATCH\n\nThe clipboard matches this file's MD5 hash.";

std::string bytesOf(const std::wstring& text, bool terminated = true) {
    std::string bytes(reinterpret_cast<const char*>(text.c_str()),
                      (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
    return bytes;
}

// The one message the check shows.
MessageBoxView checkBox(const BuiltMenu& built, UINT offset) {
    MessageBoxWatcher boxes;
    EXPECT_EQ(built.invoke(offset), S_OK);
    const auto seen = boxes.finish();
    EXPECT_EQ(seen.size(), 1u);
    return seen.empty() ? MessageBoxView{} : seen[0];
}

TEST_F(MenuReliability, TenMegabytesOfTextGetTheCheckOwnMessages) {
    const std::wstring path = file(L"check against a huge clipboard.txt", kSample);
    const std::wstring md5 = narrowToWide(digestsOf(path).at("MD5"));
    struct Case {
        const char* what;
        std::wstring text;
        std::wstring message;
    };
    const Case cases[] = {
        // The first word is the whole text: hexadecimal, but no digest is that long.
        {"ten million hex digits", std::wstring(kTenMB, L'a'), kWrongLength},
        {"the digest run into the rest", md5 + std::wstring(kTenMB, L'f'), kWrongLength},
        // The token is the first word; whatever follows it does not matter.
        {"the digest, then ten megabytes of words", md5 + L" " + std::wstring(kTenMB, L'z'),
         kMatchMd5},
        {"the digest after ten megabytes of blanks", std::wstring(kTenMB, L' ') + md5, kMatchMd5},
        {"ten megabytes of line breaks", std::wstring(kTenMB, L'\n'), kNotAHash},
        {"a non-hex word first", L"zz" + std::wstring(kTenMB, L'0'), kNotAHash},
        {"ten megabytes outside ASCII", std::wstring(kTenMB, L'\x6587'), kNotAHash},
    };
    for (const char* config : {"{}", R"({"compute_all_menus":1})"}) {
        SCOPED_TRACE(config);
        writeConfig(config);
        const BuiltMenu built = build({path});
        ASSERT_EQ(built.ours().children.size(), 4u);
        const int check = childOffset(built.ours(), L"Clipboard Check");
        ASSERT_GE(check, 0);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            ASSERT_TRUE(putClipboardText(c.text));
            const Clock::time_point start = Clock::now();
            const MessageBoxView box = checkBox(built, static_cast<UINT>(check));
            const double ms = millisecondsBetween(start, Clock::now());
            EXPECT_EQ(box.text, c.message);
            EXPECT_EQ(box.caption, L"Clipboard Check");
            EXPECT_TRUE(clipboardText() == c.text) << "the check only reads the clipboard";
            std::printf("[ clipboard ] %s (%s): %.0f ms with the box\n", c.what, config, ms);
        }
    }
}

TEST_F(MenuReliability, NoTextFormatMeansNoHash) {
    const std::wstring path = file(L"check against no text.txt", kSample);
    const std::string md5 = digestsOf(path).at("MD5");
    const std::wstring md5Wide = narrowToWide(md5);

    BITMAPINFOHEADER dib{};
    dib.biSize = sizeof(dib);
    dib.biWidth = 2;
    dib.biHeight = 2;
    dib.biPlanes = 1;
    dib.biBitCount = 32;
    dib.biCompression = BI_RGB;
    std::string dibBytes(reinterpret_cast<const char*>(&dib), sizeof(dib));
    dibBytes.append(16, '\x7F');

    // A drop list naming the hash as a file: still no text.
    std::string drop(sizeof(DROPFILES), '\0');
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(&drop[0], &header, sizeof(header));
    drop += bytesOf(L"C:\\" + md5Wide) + std::string(2, '\0');

    const UINT privateFormat = RegisterClipboardFormatW(L"VelkReliabilityPrivate");
    struct Case {
        const char* what;
        std::vector<ClipboardBlock> blocks;
        std::wstring message;
    };
    const Case cases[] = {
        {"an empty clipboard", {}, kNotAHash},
        {"a private format holding the hash as UTF-16",
         {{privateFormat, bytesOf(md5Wide)}},
         kNotAHash},
        {"a picture", {{CF_DIB, dibBytes}}, kNotAHash},
        {"a file list naming the hash", {{CF_HDROP, drop}}, kNotAHash},
        {"a picture and a private format",
         {{CF_DIB, dibBytes}, {privateFormat, md5 + std::string(1, '\0')}},
         kNotAHash},
    };
    writeConfig("{}");
    const BuiltMenu built = build({path});
    ASSERT_EQ(built.ours().children.size(), 4u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(putClipboardBlocks(c.blocks));
        const std::vector<UINT> before = clipboardFormats();
        EXPECT_EQ(std::count(before.begin(), before.end(), CF_UNICODETEXT), 0)
            << "the system made text of it";
        const MessageBoxView box = checkBox(built, kCheck);
        EXPECT_EQ(box.text, c.message);
        EXPECT_EQ(box.caption, L"Clipboard Check");
        EXPECT_EQ(box.icon, '!');
        EXPECT_EQ(clipboardFormats(), before) << "the check only reads the clipboard";
    }

    // Text in the ANSI format only: the system offers it as UTF-16 as well, so it is text.
    ASSERT_TRUE(putClipboardBlocks({{CF_TEXT, "  " + md5 + "\r\n" + std::string(1, '\0')}}));
    EXPECT_EQ(checkBox(built, kCheck).text, kMatchMd5);
}

} // namespace
