// The "Hashes" page in a property sheet of this program, built from the pages that
// addHashPages hands out: what the page shows, what its controls do, and what it leaves
// behind when it closes.

#include "page_test_support_win.h"

#include "engine/pass/hash_file.h"
#include "engine/unique_handle.h"
#include "engine/utf16.h"
#include "settings/label_format.h"
#include "settings/settings.h"
#include "settings/tests/app_data_folder.h"
#include "shellext/com/module.h"
#include "shellext/page/page_worker.h"
#include "shellext/page/property_page.h"

#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

namespace velk::test {
namespace {

constexpr DWORD kWaitMs = 20000;
// Hashing 512 MiB under the emulator takes a while; the wait for such a worker is longer.
constexpr DWORD kLargeWaitMs = 120000;

class PageSheet : public ::testing::Test {
  protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        moduleHandle = GetModuleHandleW(nullptr);
        ASSERT_EQ(moduleRefCountValue(), 0);
        ASSERT_EQ(pageHashMessagesAlive(), 0);
        file = dir.file(L"data.bin");
        ASSERT_TRUE(writeFileBytes(file, "The quick brown fox jumps over the lazy dog"));
    }
    void TearDown() override {
        collector.destroyUnused();
        // Workers of closed pages end by themselves; nothing may stay behind once they have.
        EXPECT_TRUE(pumpUntil([] { return moduleRefCountValue() == 0; }, kLargeWaitMs))
            << "module count " << moduleRefCountValue();
        EXPECT_EQ(pageHashMessagesAlive(), 0);
        CoUninitialize();
    }

    HRESULT addPages(const std::vector<std::wstring>& paths) {
        return addHashPages(paths, &PageCollector::add, collector.param());
    }

    // One page for `path`, shown in a sheet whose worker has not been given a chance to
    // report yet (no message has been dispatched since the page was created).
    std::unique_ptr<ModelessSheet> openSheet(const std::wstring& path) {
        EXPECT_EQ(addPages({path}), S_OK);
        EXPECT_EQ(collector.pages.size(), 1u);
        auto sheet = std::make_unique<ModelessSheet>(collector.pages);
        EXPECT_NE(sheet->sheet(), nullptr);
        return sheet;
    }

    static std::vector<ControlView> edits(HWND page) { return controlsOfClass(page, L"Edit"); }

    static bool rowsSettled(HWND page) {
        const std::vector<ControlView> e = edits(page);
        return !e.empty() && e.front().text != L"computing...";
    }

    static HashResults engineDigests(const std::wstring& path) {
        HashResults expected;
        EXPECT_TRUE(computeAllHashes(toUtf8(path), expected, nullptr));
        return expected;
    }

    static void expectDigestRows(HWND page, const HashResults& expected) {
        const std::vector<ControlView> e = edits(page);
        const std::vector<ControlView> all = pageControls(page);
        ASSERT_EQ(e.size(), kAlgorithmNames.size());
        for (std::size_t i = 0; i < e.size(); ++i) {
            const std::string& name = kAlgorithmNames[i];
            EXPECT_EQ(e[i].text, toUtf16(expected.at(name))) << name;
            const ControlView* copy = controlWithId(all, 2000 + static_cast<int>(i));
            ASSERT_NE(copy, nullptr);
            EXPECT_TRUE(copy->enabled) << name;
        }
        EXPECT_TRUE(controlWithId(all, 3000)->enabled);
    }

    PageTempDir dir;
    std::wstring file;
    PageCollector collector;
    ScopedAppData appData{"page-appdata"};
};

TEST_F(PageSheet, OnePageTitledHashesForOneFileOnly) {
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"folder").c_str(), nullptr));
    ASSERT_TRUE(writeFileBytes(dir.file(L"second.bin"), "x"));
    struct {
        const char* label;
        std::vector<std::wstring> paths;
        std::size_t pages;
    } const cases[] = {
        {"one file", {file}, 1},
        {"two files", {file, dir.file(L"second.bin")}, 0},
        {"one folder", {dir.file(L"folder")}, 0},
        {"nothing selected", {}, 0},
        {"empty path", {L""}, 0},
        {"missing file", {dir.file(L"absent.bin")}, 0},
    };
    for (const auto& c : cases) {
        collector.pages.clear();
        EXPECT_EQ(addPages(c.paths), S_OK) << c.label;
        EXPECT_EQ(collector.pages.size(), c.pages) << c.label;
        EXPECT_EQ(moduleRefCountValue(), static_cast<LONG>(c.pages)) << c.label;
        if (c.pages == 1) {
            ModelessSheet sheet(collector.pages);
            EXPECT_EQ(sheet.tabCount(), 1);
            EXPECT_EQ(sheet.tabTitle(0), L"Hashes");
        }
    }
}

TEST_F(PageSheet, RejectedPageIsReleasedAtOnce) {
    const auto refuse = [](HPROPSHEETPAGE, LPARAM) -> BOOL { return FALSE; };
    EXPECT_EQ(addHashPages({file}, refuse, 0), S_OK);
    EXPECT_EQ(moduleRefCountValue(), 0);
}

TEST_F(PageSheet, RowsComputeThenShowTheEngineDigestsAndCopyPutsExactlyOne) {
    auto sheet = openSheet(file);
    HWND page = sheet->page();
    ASSERT_NE(page, nullptr);

    const std::vector<ControlView> names = controlsOfClass(page, L"Static");
    std::vector<std::wstring> rowNames;
    for (const ControlView& v : names) {
        if ((v.style & SS_CENTERIMAGE) != 0)
            rowNames.push_back(v.text);
    }
    ASSERT_EQ(rowNames.size(), 11u);
    for (std::size_t i = 0; i < 11; ++i)
        EXPECT_EQ(rowNames[i], toUtf16(kAlgorithmNames[i]));

    std::vector<ControlView> before = edits(page);
    ASSERT_EQ(before.size(), 11u);
    for (const ControlView& e : before)
        EXPECT_EQ(e.text, L"computing...");
    const std::vector<ControlView> all = pageControls(page);
    for (int id = 2000; id <= 2010; ++id)
        EXPECT_FALSE(controlWithId(all, id)->enabled) << id;
    EXPECT_FALSE(controlWithId(all, 3000)->enabled);
    EXPECT_EQ(controlWithId(all, 3012), nullptr);
    EXPECT_EQ(all.front().text, L""); // no header for a plain file

    ASSERT_TRUE(pumpUntil([&] { return rowsSettled(page); }, kWaitMs));
    const HashResults expected = engineDigests(file);
    expectDigestRows(page, expected);

    ASSERT_TRUE(putClipboardText(L"something else"));
    clickButton(GetDlgItem(page, 2004)); // SHA-256
    bool present = false;
    EXPECT_EQ(clipboardText(&present), toUtf16(expected.at("SHA-256")));
    EXPECT_TRUE(present);
    clickButton(GetDlgItem(page, 2000));
    EXPECT_EQ(clipboardText(), toUtf16(expected.at("CRC32")));
}

TEST_F(PageSheet, CombosLoadTheSettingsAndEachPickWritesItsField) {
    CreateDirectoryW(toUtf16(settingsFolderPath()).c_str(), nullptr);
    writeBytes(settingsFilePath(), "{\"label_algo\":\"sha256\",\"label_format\":\"2m\"}");
    auto sheet = openSheet(file);
    HWND page = sheet->page();
    HWND algo = GetDlgItem(page, 3010);
    HWND format = GetDlgItem(page, 3011);
    ASSERT_NE(algo, nullptr);
    ASSERT_NE(format, nullptr);

    ASSERT_EQ(SendMessageW(algo, CB_GETCOUNT, 0, 0), 11);
    ASSERT_EQ(SendMessageW(format, CB_GETCOUNT, 0, 0), 5);
    wchar_t item[128] = {};
    SendMessageW(format, CB_GETLBTEXT, 4, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(std::wstring(item), toUtf16(kLabelFormats[4].description));
    EXPECT_EQ(SendMessageW(algo, CB_GETCURSEL, 0, 0), 1); // "sha256" is no name: MD5
    EXPECT_EQ(SendMessageW(format, CB_GETCURSEL, 0, 0), 2);

    ASSERT_TRUE(pumpUntil([&] { return rowsSettled(page); }, kWaitMs));
    const HashResults expected = engineDigests(file);
    HWND preview = nullptr;
    for (const ControlView& v : controlsOfClass(page, L"Static")) {
        if (v.text.rfind(L"menu shows:", 0) == 0)
            preview = v.window;
    }
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(windowText(preview),
              toUtf16("menu shows:  Hashes " + formatMenuLabel(expected.at("MD5"), "2m")));
    // Opening the page and showing the digests wrote nothing.
    EXPECT_NE(readBytes(settingsFilePath()).find("\"label_algo\":\"sha256\""), std::string::npos);

    pickComboItem(page, algo, 4);
    Settings stored = loadSettings();
    EXPECT_EQ(stored.label_algo, "SHA-256");
    EXPECT_EQ(stored.label_format, "2m");
    EXPECT_EQ(windowText(preview),
              toUtf16("menu shows:  Hashes " + formatMenuLabel(expected.at("SHA-256"), "2m")));

    pickComboItem(page, format, 4);
    stored = loadSettings();
    EXPECT_EQ(stored.label_algo, "SHA-256");
    EXPECT_EQ(stored.label_format, "full");
    EXPECT_EQ(windowText(preview), toUtf16("menu shows:  Hashes " + expected.at("SHA-256")));
}

// A pick made while another program holds config.json without sharing cannot be saved; it
// stays pending, lands with the next pick, or else when the page closes, and the fields the
// page does not own are never written over.
TEST_F(PageSheet, PickMadeWhileTheFileIsHeldLandsWithTheNextPickOrWhenThePageCloses) {
    CreateDirectoryW(toUtf16(settingsFolderPath()).c_str(), nullptr);
    const std::string seed =
        "{\"label_algo\":\"SHA-1\",\"label_format\":\"2\",\"theme\":\"dark\",\"win_x\":5}";
    writeBytes(settingsFilePath(), seed);
    const auto pickWhileHeld = [](HWND page, HWND combo, int index) {
        UniqueFile holder(CreateFileW(toUtf16(settingsFilePath()).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        pickComboItem(page, combo, index);
    };
    const auto expectStored = [](const char* algo, const char* format) {
        const Settings stored = loadSettings();
        EXPECT_EQ(stored.label_algo, algo);
        EXPECT_EQ(stored.label_format, format);
        EXPECT_EQ(stored.theme, "dark");
        EXPECT_TRUE(stored.has_win_x && stored.win_x == 5);
    };

    auto sheet = openSheet(file);
    HWND page = sheet->page();
    HWND algo = GetDlgItem(page, 3010);
    HWND format = GetDlgItem(page, 3011);
    ASSERT_TRUE(pumpUntil([&] { return rowsSettled(page); }, kWaitMs));

    pickWhileHeld(page, algo, 4); // SHA-256
    EXPECT_EQ(readBytes(settingsFilePath()), seed);
    pickComboItem(page, format, 4); // "full", and the pending algorithm with it
    expectStored("SHA-256", "full");

    pickWhileHeld(page, algo, 9); // BLAKE2b
    expectStored("SHA-256", "full");
    sheet.reset();
    expectStored("BLAKE2b", "full");
}

TEST_F(PageSheet, UpperCaseShortcutShowsItsTargetAndTheTargetsDigests) {
    const std::wstring link = dir.file(L"LINK TO DATA.LNK");
    ASSERT_TRUE(makeShortcut(link, file));
    auto sheet = openSheet(link);
    HWND page = sheet->page();
    const std::vector<ControlView> all = pageControls(page);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front().text, L"Shortcut target: " + file);
    ASSERT_TRUE(pumpUntil([&] { return rowsSettled(page); }, kWaitMs));
    expectDigestRows(page, engineDigests(file));
}

TEST_F(PageSheet, ShortcutToALargeFileOffersTheViewerAndHasNoRows) {
    const std::wstring big = dir.file(L"big.iso");
    ASSERT_TRUE(writeSparseFile(big, 536870913));
    const std::wstring link = dir.file(L"big.lnk");
    ASSERT_TRUE(makeShortcut(link, big));
    auto sheet = openSheet(link);
    HWND page = sheet->page();
    const std::vector<ControlView> all = pageControls(page);
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[0].text, L"Shortcut target: " + big);
    EXPECT_EQ(all[1].id, 3012);
    EXPECT_EQ(all[1].text, L"&Open Velkscope");
    EXPECT_TRUE(edits(page).empty());
    EXPECT_EQ(GetDlgItem(page, 2000), nullptr);
    EXPECT_FALSE(controlWithId(all, 3000)->enabled);
    EXPECT_EQ(moduleRefCountValue(), 1); // the page; no worker for a file it does not hash
}

TEST_F(PageSheet, OneByteAboveTheLimitIsNotHashed) {
    const std::wstring big = dir.file(L"limit-plus-one.bin");
    ASSERT_TRUE(writeSparseFile(big, 536870913));
    auto sheet = openSheet(big);
    HWND page = sheet->page();
    const std::vector<ControlView> all = pageControls(page);
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[0].text, L"File too large to hash here - open the Velkscope.");
    EXPECT_EQ(all[1].text, L"&Open Velkscope");
    EXPECT_EQ(all[2].text, L"&Settings:");
    EXPECT_TRUE(edits(page).empty());
    pumpFor(200);
    EXPECT_FALSE(controlWithId(pageControls(page), 3000)->enabled);
}

// The limit itself is hashed. The page is closed while its worker still reads the 512 MiB:
// the worker stops, its post fails and it frees its own message, and its module count goes
// last.
TEST_F(PageSheet, ExactlyTheLimitIsHashedAndClosingWhileHashingLeavesNothing) {
    const std::wstring big = dir.file(L"limit.bin");
    ASSERT_TRUE(writeSparseFile(big, 536870912));
    auto sheet = openSheet(big);
    HWND page = sheet->page();
    const std::vector<ControlView> all = pageControls(page);
    EXPECT_EQ(all.front().text, L"");
    EXPECT_EQ(controlWithId(all, 3012), nullptr);
    const std::vector<ControlView> e = edits(page);
    ASSERT_EQ(e.size(), 11u);
    for (const ControlView& v : e)
        EXPECT_EQ(v.text, L"computing...");
    EXPECT_EQ(moduleRefCountValue(), 2); // the page and its worker

    sheet->close();
    // The page is released at once; its worker stops between chunks and closes the file, so
    // the file can be deleted 200 ms later. The module count goes with the worker's thread.
    EXPECT_LE(moduleRefCountValue(), 1);
    Sleep(200);
    EXPECT_TRUE(DeleteFileW(big.c_str())) << "error " << GetLastError();
    ASSERT_TRUE(pumpUntil([] { return moduleRefCountValue() == 0; }, kLargeWaitMs));
    EXPECT_EQ(pageHashMessagesAlive(), 0);
}

// A pass that runs long shows its progress in the preview's place, rising, until the
// digests arrive; the bar goes with them.
TEST_F(PageSheet, LongComputationShowsARisingBarUntilTheDigests) {
    const std::wstring big = dir.file(L"limit.bin");
    ASSERT_TRUE(writeSparseFile(big, 536870912));
    const ULONGLONG opened = GetTickCount64();
    auto sheet = openSheet(big);
    HWND page = sheet->page();
    const auto barOf = [page]() -> HWND {
        const std::vector<ControlView> bars = controlsOfClass(page, L"msctls_progress32");
        return bars.empty() ? nullptr : bars.front().window;
    };
    HWND bar = nullptr;
    ASSERT_TRUE(pumpUntil([&] { return (bar = barOf()) != nullptr; }, kWaitMs));
    EXPECT_GE(GetTickCount64() - opened, 500u) << "the bar came before the pass ran long";
    // The preview is created right after the format combo box.
    HWND preview = nullptr;
    const std::vector<ControlView> all = pageControls(page);
    for (std::size_t i = 0; i + 1 < all.size(); ++i) {
        if (all[i].id == 3011)
            preview = all[i + 1].window;
    }
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(IsWindowVisible(preview)) << "the bar takes the preview's place";
    RECT barRect{};
    GetWindowRect(bar, &barRect);
    RECT firstDigest{};
    GetWindowRect(edits(page).front().window, &firstDigest);
    EXPECT_LT(barRect.bottom, firstDigest.top) << "above the rows";

    int rises = 0;
    int last = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
    std::wstring line;
    pumpUntil(
        [&] {
            const int now = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
            rises += now > last ? 1 : 0;
            last = now;
            for (const ControlView& v : controlsOfClass(page, L"Static")) {
                if (v.text.find(L" of 512.0 MiB") != std::wstring::npos)
                    line = v.text;
            }
            return rises >= 3;
        },
        kLargeWaitMs);
    EXPECT_GE(rises, 3) << "position stayed at " << last;
    EXPECT_NE(line, L"") << "no line with the bytes done of the total";

    ASSERT_TRUE(pumpUntil([&] { return rowsSettled(page); }, kLargeWaitMs));
    EXPECT_EQ(barOf(), nullptr);
    EXPECT_TRUE(IsWindowVisible(preview));
    sheet->close();
}

// The worker's message was posted, but the page closes before reading it.
TEST_F(PageSheet, MessageQueuedForAClosingPageIsFreed) {
    auto sheet = openSheet(file);
    const ULONGLONG deadline = GetTickCount64() + kWaitMs;
    while (moduleRefCountValue() > 1 && GetTickCount64() < deadline)
        Sleep(5); // no dispatching
    ASSERT_EQ(moduleRefCountValue(), 1) << "the worker should have posted and ended";
    EXPECT_EQ(pageHashMessagesAlive(), 1);
    sheet->close();
    pumpFor(50);
    EXPECT_EQ(pageHashMessagesAlive(), 0);
}

TEST_F(PageSheet, FileThatVanishedBeforeThePageOpenedIsUnreadable) {
    ASSERT_EQ(addPages({file}), S_OK);
    ASSERT_EQ(collector.pages.size(), 1u);
    ASSERT_TRUE(DeleteFileW(file.c_str()));
    ModelessSheet sheet(collector.pages);
    HWND page = sheet.page();
    ASSERT_TRUE(pumpUntil([&] { return rowsSettled(page); }, kWaitMs));
    const std::vector<ControlView> all = pageControls(page);
    for (const ControlView& v : edits(page))
        EXPECT_EQ(v.text, L"(unreadable)");
    EXPECT_EQ(edits(page).size(), 11u);
    for (int id = 2000; id <= 2010; ++id)
        EXPECT_FALSE(controlWithId(all, id)->enabled);
    EXPECT_FALSE(controlWithId(all, 3000)->enabled);
    for (const ControlView& v : controlsOfClass(page, L"Static")) {
        EXPECT_EQ(v.text.find(L"menu shows"), std::wstring::npos);
    }
}

// The text colour the page gives the result line, asked the way the label asks when it
// paints; `brush` tells whether a background brush came back with it.
COLORREF resultLineColour(HWND page, bool* brush) {
    HWND label = GetDlgItem(page, 3001);
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    *brush = SendMessageW(page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(label)) != 0;
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

TEST_F(PageSheet, CheckAnswersInTheKindsTextAndColour) {
    auto sheet = openSheet(file);
    HWND page = sheet->page();
    ASSERT_TRUE(pumpUntil([&] { return rowsSettled(page); }, kWaitMs));
    const HashResults digests = engineDigests(file);
    bool coloured = false;
    EXPECT_EQ(resultLineColour(page, &coloured), RGB(1, 2, 3))
        << "no colour of the page's own before the first check";

    std::wstring upper = toUtf16(digests.at("SHA-256"));
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(towupper(c));
    const std::wstring notAHash = L"Clipboard isn't a hash for this file.";
    const COLORREF amber = RGB(154, 103, 0);
    struct {
        std::wstring clipboard;
        std::wstring text;
        COLORREF colour;
    } const cases[] = {
        {L"0X" + upper + L"\r\n", L"\u2714 MATCH - SHA-256 matches this file.", RGB(26, 127, 55)},
        {std::wstring(40, L'e'), L"\u2718 NO MATCH - a 40-char hash, but not this file's.",
         RGB(192, 28, 40)},
        {L"0123456789ab", notAHash, amber},
        {L"0x", notAHash, amber},
        {L" \t\r\n", notAHash, amber},
        {toUtf16(digests.at("MD5")) + L" other words here",
         L"\u2714 MATCH - MD5 matches this file.", RGB(26, 127, 55)},
        {L"SHA-1: " + toUtf16(digests.at("SHA-1")), notAHash, amber},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(putClipboardText(c.clipboard));
        clickButton(GetDlgItem(page, 3000));
        EXPECT_EQ(windowText(GetDlgItem(page, 3001)), c.text);
        EXPECT_EQ(resultLineColour(page, &coloured), c.colour) << toUtf8(c.text);
        EXPECT_TRUE(coloured);
        EXPECT_EQ(clipboardText(), c.clipboard) << "the check leaves the clipboard alone";
    }

    // A clipboard without text (a bitmap) is no hash either.
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    ASSERT_NE(SetClipboardData(CF_BITMAP, bitmap), nullptr);
    CloseClipboard();
    clickButton(GetDlgItem(page, 3000));
    EXPECT_EQ(windowText(GetDlgItem(page, 3001)), notAHash);
}

TEST_F(PageSheet, WheelScrollsATallPageAndLeavesAShortOneAlone) {
    auto sheet = openSheet(file);
    HWND page = sheet->page();
    ASSERT_TRUE(pumpUntil([&] { return rowsSettled(page); }, kWaitMs));
    const auto topOf = [page](int id) {
        RECT r{};
        GetWindowRect(GetDlgItem(page, id), &r);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
        return r.top;
    };
    RECT client{};
    GetClientRect(page, &client);
    const int copyTop = topOf(2000);
    const int checkTop = topOf(3000);
    ASSERT_GT(checkTop + 56, client.bottom) << "the eleven rows should not fit";

    SendMessageW(page, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(topOf(2000), copyTop - 40);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    GetScrollInfo(page, SB_VERT, &info);
    EXPECT_EQ(info.nPos, 40);
    SendMessageW(page, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(topOf(2000), copyTop - 64);
    SendMessageW(page, WM_MOUSEWHEEL, MAKEWPARAM(0, 960), 0);
    SendMessageW(page, WM_MOUSEWHEEL, MAKEWPARAM(0, 1), 0);
    EXPECT_EQ(topOf(2000), copyTop);

    // Rows wrap: the 128-character SHA-512 needs more height than the 8-character CRC32.
    RECT crc{}, sha512{};
    GetWindowRect(edits(page)[0].window, &crc);
    GetWindowRect(edits(page)[6].window, &sha512);
    EXPECT_GT(sha512.bottom - sha512.top, crc.bottom - crc.top);
    EXPECT_EQ(crc.right - crc.left, std::max<LONG>(60, client.right - 162));

    sheet->close();
    const std::wstring big = dir.file(L"short-page.bin");
    ASSERT_TRUE(writeSparseFile(big, 536870913));
    sheet = openSheet(big);
    page = sheet->page();
    const int settingsTop = topOf(3010);
    SendMessageW(page, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    SendMessageW(page, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(topOf(3010), settingsTop);
}

} // namespace
} // namespace velk::test
