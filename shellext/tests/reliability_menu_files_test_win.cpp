// The context menu through the registered object on files that fight back: locked, cut short
// or cut short while they are hashed, sparse files past 4 GiB, paths at the 259-character limit
// and names outside ASCII. Each case says what it expects: the specified item or message, or,
// where the behaviour is left open, a sound one (no crash or hang, and digests that describe
// bytes the file really held).

#include "reliability_menu_support_win.h"
#include "shell_data_object.h"
#include "shell_menu_fixture.h"
#include "test_files.h"

#include "engine/unique_handle.h"
#include "shellext/com/selection_win.h"
#include "shellext/menu/shell_commands.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

const long long MiB = 1024 * 1024;
const long long GiB = 1024 * MiB;
const std::string kSample = "Pack my box with five dozen liquor jugs\n";

std::wstring w(const std::string& text) {
    return narrowToWide(text);
}

// Offsets in the one-file menu when only the label digest is known.
const UINT kCopy = 0;
const UINT kCheck = 12;
const UINT kOpen = 13;
UINT moreOffset(const std::string& name) {
    const auto& names = velk::kAlgorithmNames;
    return 1 + static_cast<UINT>(std::find(names.begin(), names.end(), name) - names.begin());
}

const std::wstring kMatchMd5 = L"\x2714 MATCH\n\nThe clipboard matches this file's MD5 hash.";

std::vector<std::wstring> viewerArguments(const std::vector<ViewerStart>& launched) {
    std::vector<std::wstring> arguments;
    for (const ViewerStart& start : launched) {
        EXPECT_EQ(start.arguments.size(), 1u) << wideToNarrow(start.commandLine);
        if (!start.arguments.empty())
            arguments.push_back(start.arguments[0]);
    }
    return arguments;
}

// The one box a command shows, or an empty view when it shows none or several.
MessageBoxView boxOf(const BuiltMenu& built, UINT offset, std::size_t* count = nullptr) {
    MessageBoxWatcher boxes;
    EXPECT_EQ(built.invoke(offset), S_OK);
    const auto seen = boxes.finish();
    if (count != nullptr)
        *count = seen.size();
    return seen.size() == 1 ? seen[0] : MessageBoxView{};
}

// ---- A file held open by another program with no sharing at all ----

TEST_F(MenuReliability, ExclusivelyLockedFileGetsTheViewerItemAndItsCommandsStayQuiet) {
    const std::wstring path = file(L"locked exclusively.txt", kSample);
    const velk::HashResults d = digestsOf(path);

    for (const char* config : {"{}", R"({"compute_all_menus":1})"}) {
        SCOPED_TRACE(config);
        writeConfig(config);
        starts().clear();
        velk::UniqueFile lock(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock);
        // Specified: hashing fails, so the single item "Velkscope" replaces the submenu.
        const BuiltMenu built = build({path});
        EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
        ASSERT_EQ(built.entries.size(), 3u);
        EXPECT_EQ(built.ours().text, L"Velkscope");
        EXPECT_FALSE(built.ours().popup);
        EXPECT_EQ(built.invoke(0), S_OK);
        EXPECT_EQ(viewerArguments(starts().waitFor(1)), std::vector<std::wstring>{path});
    }

    // Locked after a label-only menu was built: the stored label still copies; computing a
    // digest now fails silently; the check says it cannot read the file.
    writeConfig("{}");
    starts().clear();
    const BuiltMenu labelOnly = build({path});
    ASSERT_EQ(labelOnly.ours().children.size(), 4u);
    velk::UniqueFile lock(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    ASSERT_TRUE(putClipboardText(L"before"));
    std::size_t boxes = 0;
    boxOf(labelOnly, moreOffset("SHA-256"), &boxes);
    EXPECT_EQ(boxes, 0u) << "a failed computation shows nothing";
    EXPECT_EQ(clipboardText(), L"before");
    EXPECT_EQ(labelOnly.invoke(kCopy), S_OK);
    EXPECT_EQ(clipboardText(), w(d.at("MD5")));

    ASSERT_TRUE(putClipboardText(w(d.at("MD5"))));
    const MessageBoxView unreadable = boxOf(labelOnly, kCheck);
    EXPECT_EQ(unreadable.text, L"Could not read file.");
    EXPECT_EQ(unreadable.caption, L"Clipboard Check");
    EXPECT_EQ(unreadable.icon, 'x');

    // Locked after a compute-all menu: the check answers from the digests the menu kept.
    lock.reset();
    writeConfig(R"({"compute_all_menus":1})");
    const BuiltMenu computed = build({path});
    ASSERT_EQ(computed.ours().children.size(), 4u);
    lock.reset(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    ASSERT_TRUE(putClipboardText(w(d.at("MD5"))));
    const int check = childOffset(computed.ours(), L"Clipboard Check");
    ASSERT_GE(check, 0);
    EXPECT_EQ(boxOf(computed, static_cast<UINT>(check)).text, kMatchMd5);

    EXPECT_EQ(labelOnly.invoke(kOpen), S_OK);
    EXPECT_EQ(viewerArguments(starts().waitFor(1)), std::vector<std::wstring>{path});
}

// ---- Files cut short or growing while the menu or a command reads them ----

// What a hashing call made of a file changed under it: the label's or the copied CRC-32
// must be that of a prefix the file really held, at least as long as the part nobody took
// away; with every digest computed, the other ten must describe the same bytes.
struct ChangeOutcome {
    bool landedDuring = false; // the change finished while the call was still running
    long long readLength = -1; // prefix the digests describe; -1 when none does
};

TEST_F(MenuReliability, TruncatedWhileTheMenuComputesEveryDigest) {
    writeConfig(R"({"compute_all_menus":1,"label_algo":"CRC32","label_format":"full"})");
    const std::string content = pseudoRandomBytes(120 * MiB, 7);
    const long long cut = 3 * MiB + 1234;
    const PrefixCrcs prefixes(content, {static_cast<std::size_t>(cut)});
    const std::wstring path = file(L"cut while the menu hashes.bin", "");

    int landed = 0;
    for (int delay : {0, 15, 40, 90, 180, 400}) {
        SCOPED_TRACE("truncation after " + std::to_string(delay) + " ms");
        ASSERT_TRUE(writeTestFile(path, content));
        BuiltMenu built = idle(path);
        std::atomic<bool> truncated{false};
        Clock::time_point truncatedAt;
        const Clock::time_point start = Clock::now();
        std::thread cutter([&] {
            Sleep(static_cast<DWORD>(delay));
            truncated = truncateFile(path, cut);
            truncatedAt = Clock::now();
        });
        rebuild(built);
        const Clock::time_point end = Clock::now();
        cutter.join();
        ASSERT_TRUE(truncated);
        ChangeOutcome outcome;
        outcome.landedDuring = truncatedAt < end;
        landed += outcome.landedDuring ? 1 : 0;

        // Sound: the whole submenu, every digest of one and the same prefix. A read error
        // would be the specified fallback item instead; the file system reports none here.
        ASSERT_EQ(built.entries.size(), 3u);
        const MenuEntryView& hashes = built.ours();
        ASSERT_TRUE(hashes.popup) << wideToNarrow(hashes.text);
        const std::string label = wideToNarrow(hashes.text.substr(7));
        outcome.readLength = prefixes.lengthOf(label);
        EXPECT_GE(outcome.readLength, cut) << "label " << label;
        std::map<std::string, std::string> shown = copyMoreDigests(hashes);
        EXPECT_EQ(shown["CRC32"], label);
        if (outcome.readLength >= 0)
            expectAllOfPrefix(shown, content, outcome.readLength);
        std::printf("[ truncate ] after %d ms: %s, menu took %.0f ms, read %lld of %lld bytes\n",
                    delay, outcome.landedDuring ? "during the menu" : "after it",
                    millisecondsBetween(start, end), outcome.readLength,
                    static_cast<long long>(content.size()));
    }
    EXPECT_GT(landed, 0) << "no truncation landed while the menu was hashing";
    DeleteFileW(path.c_str());
}

TEST_F(MenuReliability, TruncatedWhileComputeAndCopyHashes) {
    writeConfig("{}");
    const std::string content = pseudoRandomBytes(120 * MiB, 11);
    const long long cut = 5 * MiB + 77;
    const PrefixCrcs prefixes(content, {static_cast<std::size_t>(cut)});
    const std::wstring path = file(L"cut while copying.bin", "");

    int landed = 0;
    for (int delay : {0, 5, 15, 40, 90}) {
        SCOPED_TRACE("truncation after " + std::to_string(delay) + " ms");
        // The menu is built while the file is small, so that its label stays within the read
        // budget on a slow machine; the command then reads the whole content.
        ASSERT_TRUE(writeTestFile(path, content.substr(0, 1024)));
        const BuiltMenu built = build({path});
        ASSERT_EQ(built.ours().children.size(), 4u);
        ASSERT_TRUE(writeTestFile(path, content));
        ASSERT_TRUE(putClipboardText(L"before"));
        std::atomic<bool> truncated{false};
        Clock::time_point truncatedAt;
        std::thread cutter([&] {
            Sleep(static_cast<DWORD>(delay));
            truncated = truncateFile(path, cut);
            truncatedAt = Clock::now();
        });
        std::size_t boxes = 0;
        boxOf(built, moreOffset("CRC32"), &boxes);
        const Clock::time_point end = Clock::now();
        cutter.join();
        ASSERT_TRUE(truncated);
        EXPECT_EQ(boxes, 0u);
        const bool during = truncatedAt < end;
        landed += during ? 1 : 0;
        // Sound: the CRC-32 of a prefix at least as long as what was left.
        const std::string copied = wideToNarrow(clipboardText());
        const long long length = prefixes.lengthOf(copied);
        EXPECT_GE(length, cut) << "copied " << copied;
        std::printf("[ truncate ] copy after %d ms: %s, read %lld bytes\n", delay,
                    during ? "during the copy" : "after it", length);
    }
    EXPECT_GT(landed, 0) << "no truncation landed while the copy was hashing";
    DeleteFileW(path.c_str());
}

// ---- Sizes past 4 GiB: the low 32 bits alone would look small ----

TEST_F(MenuReliability, SparseFilesPast4GiBGetTheViewerItemAndNeverHash) {
    struct Case {
        const wchar_t* name;
        long long size;
    };
    const Case cases[] = {{L"sparse 5 GiB.bin", 5 * GiB},
                          {L"sparse 4 GiB and ten bytes.bin", 4 * GiB + 10},
                          {L"sparse 4 GiB and 128 MiB.bin", 4 * GiB + 128 * MiB}};
    for (const Case& c : cases) {
        SCOPED_TRACE(wideToNarrow(c.name));
        const std::wstring path = sizedFile(c.name, c.size);
        EXPECT_EQ(velk::fileSizeOf(path), c.size);

        // Specified: over every limit, so the single "Velkscope" item, with or without
        // compute-all, and it opens the viewer.
        for (const char* config : {"{}", R"({"compute_all_menus":1})"}) {
            SCOPED_TRACE(config);
            writeConfig(config);
            starts().clear();
            const BuiltMenu built = build({path});
            EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
            ASSERT_EQ(built.entries.size(), 3u);
            EXPECT_EQ(built.ours().text, L"Velkscope");
            EXPECT_EQ(built.invoke(0), S_OK);
            EXPECT_EQ(viewerArguments(starts().waitFor(1)), std::vector<std::wstring>{path});
        }

        // Menu built while the file was small, then it grew past 4 GiB: computing a digest
        // opens the viewer instead, and the check calls the file large, without hashing.
        writeConfig("{}");
        starts().clear();
        ASSERT_TRUE(writeTestFile(path, kSample));
        const BuiltMenu small = build({path});
        ASSERT_EQ(small.ours().children.size(), 4u);
        ASSERT_TRUE(makeSizedFile(path, c.size));
        ASSERT_TRUE(putClipboardText(L"before"));
        std::size_t boxes = 0;
        boxOf(small, moreOffset("SHA-384"), &boxes);
        EXPECT_EQ(boxes, 0u);
        EXPECT_EQ(clipboardText(), L"before");
        EXPECT_EQ(viewerArguments(starts().waitFor(1)), std::vector<std::wstring>{path});
        const MessageBoxView large = boxOf(small, kCheck);
        EXPECT_EQ(large.text,
                  L"This file is large. Open the Velkscope to compute its hashes, then compare.");
        EXPECT_EQ(large.caption, L"Velkora");
        EXPECT_EQ(large.icon, 'i');
        DeleteFileW(path.c_str());
    }
}

// ---- Paths at the 259-character limit ----

TEST_F(MenuReliability, PathOfExactly259CharactersWorksThroughout) {
    writeConfig(R"({"label_format":"full"})");
    const std::wstring probe = file(L"p", "");
    DeleteFileW(probe.c_str());
    const std::size_t folderLength = probe.size() - 1; // with its trailing backslash
    ASSERT_LT(folderLength + 10, 259u);
    const std::wstring name = L"limit " + std::wstring(259 - folderLength - 10, L'x') + L".txt";
    const std::wstring path = file(name, kSample);
    ASSERT_EQ(path.size(), 259u);
    const velk::HashResults d = digestsOf(path);

    const BuiltMenu built = build({path});
    EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 14));
    EXPECT_EQ(built.ours().text, w("Hashes " + d.at("MD5")));
    ASSERT_TRUE(putClipboardText(L"before"));
    EXPECT_EQ(built.invoke(kCopy), S_OK);
    EXPECT_EQ(clipboardText(), w(d.at("MD5")));
    EXPECT_EQ(built.invoke(moreOffset("BLAKE2b")), S_OK);
    EXPECT_EQ(clipboardText(), w(d.at("BLAKE2b")));
    ASSERT_TRUE(putClipboardText(w(d.at("MD5"))));
    EXPECT_EQ(boxOf(built, kCheck).text, kMatchMd5);
    EXPECT_EQ(built.invoke(kOpen), S_OK);
    EXPECT_EQ(viewerArguments(starts().waitFor(1)), std::vector<std::wstring>{path});
    DeleteFileW(path.c_str());
}

// ---- Names outside ASCII ----

TEST_F(MenuReliability, NonAsciiNamesShowAndCopyTheEnginesDigests) {
    const wchar_t* names[] = {
        L"Cyrillic \x0444\x0430\x0439\x043B.txt",
        L"CJK \x6587\x4EF6\x540D.txt",
        L"emoji \xD83D\xDE00 pair.txt",         // one character outside the BMP
        L"combining e\x0301 and \x00DF.txt",    // decomposed accent, sharp s
        L"Hebrew \x05E9\x05DC\x05D5\x05DD.txt", // right-to-left
        L"fullwidth \xFF21\xFF22 \x2603 arrows \x21B3.txt",
    };
    int n = 0;
    for (const wchar_t* name : names) {
        SCOPED_TRACE(wideToNarrow(name));
        const std::wstring path = file(name, kSample + std::to_string(n++));
        const velk::HashResults d = digestsOf(path);

        writeConfig(R"({"label_format":"full"})");
        starts().clear();
        const BuiltMenu built = build({path});
        EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 14));
        EXPECT_EQ(built.ours().text, w("Hashes " + d.at("MD5")));
        ASSERT_TRUE(putClipboardText(L"before"));
        EXPECT_EQ(built.invoke(kCopy), S_OK);
        EXPECT_EQ(clipboardText(), w(d.at("MD5")));
        EXPECT_EQ(built.invoke(moreOffset("SHA3-256")), S_OK);
        EXPECT_EQ(clipboardText(), w(d.at("SHA3-256")));
        ASSERT_TRUE(putClipboardText(w(d.at("MD5"))));
        EXPECT_EQ(boxOf(built, kCheck).text, kMatchMd5);
        EXPECT_EQ(built.invoke(kOpen), S_OK);
        EXPECT_EQ(viewerArguments(starts().waitFor(1)), std::vector<std::wstring>{path});

        writeConfig(R"({"compute_all_menus":1,"label_algo":"SHA-256","label_format":"full"})");
        const BuiltMenu all = build({path});
        EXPECT_EQ(all.ours().text, w("Hashes " + d.at("SHA-256")));
        const auto shown = copyMoreDigests(all.ours());
        for (const std::string& algorithm : velk::kAlgorithmNames)
            EXPECT_EQ(shown.count(algorithm) ? shown.at(algorithm) : "", d.at(algorithm))
                << algorithm;
    }
}

} // namespace
