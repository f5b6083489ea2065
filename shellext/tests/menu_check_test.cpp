// The menu's clipboard check: which of its messages answers which clipboard text.

#include "shellext/menu/menu_check.h"

#include "engine/pass/hash_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace velk {
namespace {

// The real digests of the empty file.
const HashResults& emptyFileDigests() {
    static const HashResults digests = [] {
        const std::string path = testing::TempDir() + "velk_menu_check_empty";
        std::ofstream(path, std::ios::binary).close();
        HashResults results;
        EXPECT_TRUE(computeAllHashes(path, results, nullptr));
        std::remove(path.c_str());
        return results;
    }();
    return digests;
}

const char kMd5OfEmpty[] = "d41d8cd98f00b204e9800998ecf8427e";

TEST(ShellMenuCheck, TokenIsNormalisedBeforeComparing) {
    ASSERT_EQ(emptyFileDigests().at("MD5"), kMd5OfEmpty);
    const Notice notice =
        clipboardCheckNotice(emptyFileDigests(), "  0XD41D8CD98F00B204E9800998ECF8427E\r\n");
    EXPECT_EQ(notice.text, "\xE2\x9C\x94 MATCH\n\nThe clipboard matches this file's MD5 hash.");
    EXPECT_EQ(notice.caption, "Clipboard Check");
    EXPECT_EQ(notice.icon, NoticeIcon::Information);
}

TEST(ShellMenuCheck, EachOutcomeHasItsTextCaptionAndIcon) {
    struct Case {
        const char* clipboard;
        const char* text;
        NoticeIcon icon;
    };
    const std::string sha256 = emptyFileDigests().at("SHA-256");
    const std::string other64(64, 'a');
    const Case cases[] = {
        {"", "The clipboard is empty or not a hexadecimal hash.", NoticeIcon::Warning},
        {"0x", "The clipboard is empty or not a hexadecimal hash.", NoticeIcon::Warning},
        {"   \r\n", "The clipboard is empty or not a hexadecimal hash.", NoticeIcon::Warning},
        {"hash: d41d8cd98f00b204e9800998ecf8427e",
         "The clipboard is empty or not a hexadecimal hash.", NoticeIcon::Warning},
        {"abc xyz", "The clipboard hash length doesn't match any of this file's hashes.",
         NoticeIcon::Warning},
        {other64.c_str(),
         "\xE2\x9C\x98 NO MATCH\n\nThe clipboard is a 64-character hash (SHA-256 / SHA3-256 / "
         "BLAKE2s length) but does not match this file.",
         NoticeIcon::Error},
        {sha256.c_str(), "\xE2\x9C\x94 MATCH\n\nThe clipboard matches this file's SHA-256 hash.",
         NoticeIcon::Information},
        {"00000000", // CRC32 of the empty file
         "\xE2\x9C\x94 MATCH\n\nThe clipboard matches this file's CRC32 hash.",
         NoticeIcon::Information},
        {"00000001",
         "\xE2\x9C\x98 NO MATCH\n\nThe clipboard is a 8-character hash (CRC32 length) but does "
         "not match this file.",
         NoticeIcon::Error},
    };
    for (const Case& c : cases) {
        const Notice notice = clipboardCheckNotice(emptyFileDigests(), c.clipboard);
        EXPECT_EQ(notice.text, c.text) << "clipboard: " << c.clipboard;
        EXPECT_EQ(notice.caption, "Clipboard Check");
        EXPECT_EQ(notice.icon, c.icon) << "clipboard: " << c.clipboard;
    }
}

TEST(ShellMenuCheck, EveryMatchingAlgorithmIsNamedInCatalogueOrder) {
    HashResults digests;
    digests["BLAKE2s"] = std::string(64, 'c');
    digests["SHA-256"] = std::string(64, 'c');
    digests["SHA3-256"] = std::string(64, 'd');
    EXPECT_EQ(clipboardCheckNotice(digests, std::string(64, 'C')).text,
              "\xE2\x9C\x94 MATCH\n\nThe clipboard matches this file's SHA-256 / BLAKE2s hash.");
    // Only the digests present take part.
    EXPECT_EQ(clipboardCheckNotice(digests, std::string(32, 'c')).text,
              "The clipboard hash length doesn't match any of this file's hashes.");
}

TEST(ShellMenuCheck, LargeFileAndUnreadableNotices) {
    const Notice large = largeFileNotice();
    EXPECT_EQ(large.text,
              "This file is large. Open the Velkscope to compute its hashes, then compare.");
    EXPECT_EQ(large.caption, "Velkora");
    EXPECT_EQ(large.icon, NoticeIcon::Information);
    const Notice unreadable = unreadableNotice();
    EXPECT_EQ(unreadable.text, "Could not read file.");
    EXPECT_EQ(unreadable.caption, "Clipboard Check");
    EXPECT_EQ(unreadable.icon, NoticeIcon::Error);
}

TEST(ShellMenuCheck, OnlyUncomputedFilesOverTheLimitAreSkipped) {
    const long long limit = 256LL * 1024 * 1024;
    EXPECT_FALSE(checkSkipsLargeFile(false, limit));
    EXPECT_TRUE(checkSkipsLargeFile(false, limit + 1));
    EXPECT_FALSE(checkSkipsLargeFile(true, 300LL * 1024 * 1024));
    EXPECT_FALSE(checkSkipsLargeFile(false, -1)); // size unknown: try to read it
}

} // namespace
} // namespace velk
