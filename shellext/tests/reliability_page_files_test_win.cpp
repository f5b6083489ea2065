// The "Hashes" page on files that fight back: locked, shrinking or growing under the worker,
// larger than 4 GiB, at the path length limit, with names outside ASCII, and shortcuts that
// lead nowhere or in a circle. None may crash or hang the page, and each ends in the
// documented text or in digests of what was really read.

#include "reliability_page_fixture_win.h"

#include "engine/own/crc32.h"
#include "engine/unique_handle.h"
#include "engine/utf16.h"
#include "shellext/com/module.h"
#include "shellext/page/property_page.h"

#include <atomic>
#include <iostream>
#include <thread>

namespace velk::test {
namespace {

constexpr std::size_t kMiB = 1048576;
const std::wstring kTooLarge = L"File too large to hash here - open the Velkscope.";

// The page works on what a read pass delivered: when the file changes under it, its rows
// must be the digests of the file's first L bytes for one of the `candidates` lengths. The
// CRC32 row picks L out, then all eleven rows are compared with the engine's digests of that
// prefix. Returns L, or -1 when the CRC32 row is the digest of no candidate.
long long prefixOfRows(const std::string& content, const std::vector<std::size_t>& candidates,
                       const std::wstring& crcRow) {
    Crc32 crc;
    std::size_t done = 0;
    for (const std::size_t length : candidates) {
        crc.update(reinterpret_cast<const std::uint8_t*>(content.data()) + done, length - done);
        done = length;
        if (toUtf16(crc.finalHex()) == crcRow)
            return static_cast<long long>(length);
    }
    return -1;
}

// `first`, then every multiple of 4096 above it up to `last`, then `last`, in order.
std::vector<std::size_t> readLengths(std::size_t first, std::size_t last) {
    std::vector<std::size_t> lengths{first};
    for (std::size_t n = (first / 4096 + 1) * 4096; n < last; n += 4096)
        lengths.push_back(n);
    if (last > first)
        lengths.push_back(last);
    return lengths;
}

TEST_F(HostilePage, ExclusivelyLockedFileIsUnreadableUntilReleased) {
    const std::wstring file = dir.file(L"locked.bin");
    const std::string content = "held by another program";
    ASSERT_TRUE(writeFileBytes(file, content));
    const std::wstring link = dir.file(L"to locked.lnk");
    ASSERT_TRUE(makeShortcut(link, file));
    {
        UniqueFile lock(CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock);
        for (const std::wstring& path : {file, link}) {
            auto sheet = openPage(path);
            HWND page = sheet->page();
            settledRows(page);
            expectUnreadableRows(page);
            EXPECT_EQ(headerText(page), path == link ? L"Shortcut target: " + file : L"");
        }
    }
    auto sheet = openPage(file);
    settledRows(sheet->page());
    expectDigestRows(sheet->page(), digestsOfBytes(content));
}

TEST_F(HostilePage, FileTruncatedWhileHashedShowsTheDigestsOfWhatWasRead) {
    const std::size_t size = 96 * kMiB;
    const std::size_t cut = 8 * kMiB + 12345;
    const std::string content = patternBytes(size);
    const std::wstring file = dir.file(L"shrinking.bin");
    ASSERT_TRUE(writeFileBytes(file, content));

    auto sheet = openPage(file);
    HWND page = sheet->page();
    ASSERT_EQ(moduleRefCountValue(), 2) << "the page and its running worker";
    {
        UniqueFile writer(CreateFileW(file.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(writer) << "the worker's open denies writers";
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(cut);
        ASSERT_TRUE(SetFilePointerEx(writer.get(), at, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(writer.get()));
    }
    ASSERT_EQ(moduleRefCountValue(), 2) << "the worker ended before the cut: file too small";

    const std::vector<std::wstring> rows = settledRows(page);
    ASSERT_FALSE(rows.empty());
    // Reads before the cut returned the old bytes, reads after it end at the new end: the
    // worker read the first `cut` bytes, or more if it had passed the cut already.
    const long long read = prefixOfRows(content, readLengths(cut, size), rows[0]);
    ASSERT_GE(read, 0) << "the CRC32 row is the digest of no prefix of the file";
    expectDigestRows(page, digestsOfBytes(content.substr(0, static_cast<std::size_t>(read))));
    std::cout << "cut to " << cut << " bytes while hashing " << size << ": the page shows the "
              << "digests of the first " << read << " bytes\n";
}

TEST_F(HostilePage, FileGrowingWhileHashedShowsTheDigestsOfAPrefix) {
    // As large as the truncated file above, so that the worker is still reading when the
    // first check below looks (16 MiB were done before it on an idle machine).
    const std::size_t initial = 96 * kMiB;
    const std::size_t grown = 160 * kMiB;
    const std::string content = patternBytes(grown);
    const std::wstring file = dir.file(L"growing.bin");
    ASSERT_TRUE(writeFileBytes(file, content.substr(0, initial)));

    auto sheet = openPage(file);
    HWND page = sheet->page();
    ASSERT_EQ(moduleRefCountValue(), 2) << "the page and its running worker";
    std::atomic<bool> appended{true};
    std::thread appender([&] {
        UniqueFile out(CreateFileW(file.c_str(), FILE_APPEND_DATA,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        for (std::size_t at = initial; out && at < grown; at += kMiB) {
            DWORD written = 0;
            if (!WriteFile(out.get(), content.data() + at, static_cast<DWORD>(kMiB), &written,
                           nullptr) ||
                written != kMiB) {
                appended = false;
                return;
            }
            Sleep(2);
        }
        appended = static_cast<bool>(out);
    });
    const std::vector<std::wstring> rows = settledRows(page);
    appender.join();
    ASSERT_TRUE(appended);
    ASSERT_FALSE(rows.empty());
    const long long read = prefixOfRows(content, readLengths(initial, grown), rows[0]);
    ASSERT_GE(read, 0) << "the CRC32 row is the digest of no prefix of the file";
    expectDigestRows(page, digestsOfBytes(content.substr(0, static_cast<std::size_t>(read))));
    std::cout << "grew from " << initial << " to " << grown << " bytes while hashing: the page "
              << "shows the digests of the first " << read << " bytes\n";
}

// A size kept in 32 bits would turn each of these into a small file (1 byte, exactly the
// limit, 1 GiB, nothing) and hash it.
TEST_F(HostilePage, SparseFilesAbove4GiBAreTooLargeWhateverTheirLow32Bits) {
    const struct {
        const wchar_t* name;
        long long size;
    } cases[] = {
        {L"4GiB+1.bin", 4294967296LL + 1},
        {L"4GiB+512MiB.bin", 4294967296LL + 536870912LL},
        {L"5GiB.bin", 5368709120LL},
        {L"8GiB.bin", 8589934592LL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.name));
        const std::wstring file = dir.file(c.name);
        ASSERT_TRUE(writeSparseFile(file, c.size));
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data));
        ASSERT_EQ((static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow, c.size);
        {
            auto sheet = openPage(file);
            HWND page = sheet->page();
            const std::vector<ControlView> all = pageControls(page);
            ASSERT_GE(all.size(), 3u);
            EXPECT_EQ(all[0].text, kTooLarge);
            EXPECT_EQ(all[1].id, 3012);
            EXPECT_EQ(all[1].text, L"&Open Velkscope");
            EXPECT_EQ(all[2].text, L"&Settings:");
            EXPECT_TRUE(digestRows(page).empty());
            EXPECT_FALSE(checkEnabled(page));
            EXPECT_EQ(moduleRefCountValue(), 1) << "a worker was started for a too-large file";
        }
        ASSERT_TRUE(DeleteFileW(file.c_str()));
    }
}

TEST_F(HostilePage, PathsAtThe259CharacterLimit) {
    const std::wstring base = dir.path() + L"\\";
    ASSERT_LT(base.size(), 100u);
    const std::wstring file = base + std::wstring(259 - base.size(), L'p');
    const std::wstring link = base + std::wstring(259 - base.size() - 4, L'l') + L".lnk";
    const std::wstring linkToLimit = dir.file(L"to the limit.lnk");
    const std::wstring shortFile = dir.file(L"short.bin");
    ASSERT_EQ(file.size(), 259u);
    ASSERT_EQ(link.size(), 259u);
    ASSERT_TRUE(writeFileBytes(file, "a file at the limit"));
    ASSERT_TRUE(writeFileBytes(shortFile, "a file with a short path"));
    ASSERT_TRUE(makeShortcut(link, shortFile));
    ASSERT_TRUE(makeShortcut(linkToLimit, file));

    const struct {
        const char* label;
        std::wstring selected;
        std::wstring target;
        std::string content;
    } cases[] = {
        {"259-character file", file, file, "a file at the limit"},
        {"259-character shortcut", link, shortFile, "a file with a short path"},
        {"shortcut to a 259-character file", linkToLimit, file, "a file at the limit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto sheet = openPage(c.selected);
        HWND page = sheet->page();
        EXPECT_EQ(headerText(page),
                  c.selected == c.target ? std::wstring() : L"Shortcut target: " + c.target);
        settledRows(page);
        expectDigestRows(page, digestsOfBytes(c.content));
    }
}

// A 300-character path gets a page with the file's own digests.
TEST_F(HostilePage, PathBeyondTheLimitShowsItsOwnDigests) {
    std::wstring folder = dir.path();
    for (int level = 0; level < 2; ++level) {
        folder += L"\\" + std::wstring(100, static_cast<wchar_t>(L'd' + level));
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    }
    const std::wstring file = folder + L"\\" + std::wstring(300 - folder.size() - 1, L'f');
    ASSERT_EQ(file.size(), 300u);
    ASSERT_TRUE(writeFileBytes(file, "past the limit"));
    // Another file at the path's first 259 characters must not lend its digests.
    ASSERT_TRUE(writeFileBytes(file.substr(0, 259), "the cut path's bytes"));
    collector.pages.clear();
    ASSERT_EQ(addHashPages({file}, &PageCollector::add, collector.param()), S_OK);
    ASSERT_EQ(collector.pages.size(), 1u);
    ModelessSheet sheet(collector.pages);
    settledRows(sheet.page());
    expectDigestRows(sheet.page(), digestsOfBytes("past the limit"));
}

TEST_F(HostilePage, NamesOutsideAsciiShowTheirOwnDigestsAndTargets) {
    const std::wstring folder = dir.file(L"Pr\u00fcfung \u0434\u0430\u043d\u043d\u044b\u0435 "
                                         L"\u6578\u64da");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring file =
        folder + L"\\r\u00e9sum\u00e9 \u2013 \u0444\u0430\u0439\u043b \U0001F600.bin";
    const std::wstring latin = dir.file(L"r\u00e9sum\u00e9 \u00fcber.bin");
    const std::wstring linkToLatin = folder + L"\\\u0441\u0441\u044b\u043b\u043a\u0430 \u2192 "
                                              L"\u2713.LNK";
    const std::string content = "bytes behind a name outside ASCII";
    ASSERT_TRUE(writeFileBytes(file, content));
    ASSERT_TRUE(writeFileBytes(latin, content));
    ASSERT_TRUE(makeShortcut(linkToLatin, latin));
    const HashResults expected = digestsOfBytes(content);
    const struct {
        const char* label;
        std::wstring selected;
        std::wstring header;
    } cases[] = {
        {"file named in four scripts and an emoji", file, L""},
        {"shortcut named outside ASCII to a Latin-1 name", linkToLatin,
         L"Shortcut target: " + latin},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto sheet = openPage(c.selected);
        HWND page = sheet->page();
        EXPECT_EQ(headerText(page), c.header);
        settledRows(page);
        expectDigestRows(page, expected);
    }
}

// The emulator's shortcut keeps its target's path in the code page of the old link format,
// so a target named outside that code page comes back with question marks in place of those
// characters. Such a path names no file at all (a question mark is not allowed in a name):
// the page must then show "(unreadable)", never the digests of some other file.
TEST_F(HostilePage, ShortcutTargetOutsideTheCodePageIsTheTargetOrUnreadable) {
    const std::wstring target = dir.file(L"\u0444\u0430\u0439\u043b \u6578\u64da \U0001F600.bin");
    const std::wstring link = dir.file(L"to cyrillic.lnk");
    const std::string content = "bytes of a Cyrillic name";
    ASSERT_TRUE(writeFileBytes(target, content));
    ASSERT_TRUE(makeShortcut(link, target));
    auto sheet = openPage(link);
    HWND page = sheet->page();
    const std::wstring header = headerText(page);
    settledRows(page);
    if (header == L"Shortcut target: " + target) {
        expectDigestRows(page, digestsOfBytes(content));
        std::cout << "shortcut to a name outside the code page: the target's digests\n";
        return;
    }
    ASSERT_EQ(header.rfind(L"Shortcut target: ", 0), 0u) << toUtf8(header);
    EXPECT_NE(header.find(L'?'), std::wstring::npos) << toUtf8(header);
    expectUnreadableRows(page);
    std::cout << "shortcut to a name outside the code page: the link gave back "
              << toUtf8(header.substr(17)) << ", rows (unreadable)\n";
}

TEST_F(HostilePage, ShortcutToNoReadableFileIsUnreadable) {
    const std::wstring gone = dir.file(L"deleted.bin");
    ASSERT_TRUE(writeFileBytes(gone, "soon gone"));
    const std::wstring toGone = dir.file(L"to deleted.lnk");
    ASSERT_TRUE(makeShortcut(toGone, gone));
    ASSERT_TRUE(DeleteFileW(gone.c_str()));
    const std::wstring never = dir.file(L"never existed.bin");
    const std::wstring toNever = dir.file(L"to nothing.lnk");
    ASSERT_TRUE(makeShortcut(toNever, never));
    const std::wstring folder = dir.file(L"a folder");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring toFolder = dir.file(L"to a folder.lnk");
    ASSERT_TRUE(makeShortcut(toFolder, folder));

    for (const auto& c : {std::make_pair(toGone, gone), std::make_pair(toNever, never),
                          std::make_pair(toFolder, folder)}) {
        SCOPED_TRACE(toUtf8(c.first));
        auto sheet = openPage(c.first);
        HWND page = sheet->page();
        EXPECT_EQ(headerText(page), L"Shortcut target: " + c.second);
        settledRows(page);
        expectUnreadableRows(page);
    }
}

// A shortcut is followed one step only: a loop ends at the next shortcut, whose own bytes the
// page then shows.
TEST_F(HostilePage, ShortcutLoopsAreFollowedOneStep) {
    const std::wstring self = dir.file(L"self.lnk");
    const std::wstring a = dir.file(L"a.lnk");
    const std::wstring b = dir.file(L"b.lnk");
    // A link's target is recorded from an existing file; each is overwritten afterwards.
    ASSERT_TRUE(writeFileBytes(self, "placeholder"));
    ASSERT_TRUE(writeFileBytes(b, "placeholder"));
    ASSERT_TRUE(makeShortcut(self, self));
    ASSERT_TRUE(makeShortcut(a, b));
    ASSERT_TRUE(makeShortcut(b, a));

    const struct {
        std::wstring selected;
        std::wstring target;
    } cases[] = {{self, self}, {a, b}, {b, a}};
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.selected));
        const std::string linkBytes = readFileBytes(c.target);
        ASSERT_FALSE(linkBytes.empty());
        auto sheet = openPage(c.selected);
        HWND page = sheet->page();
        EXPECT_EQ(headerText(page),
                  c.selected == c.target ? std::wstring() : L"Shortcut target: " + c.target);
        settledRows(page);
        expectDigestRows(page, digestsOfBytes(linkBytes));
    }
}

} // namespace
} // namespace velk::test
