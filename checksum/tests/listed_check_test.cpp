// Checking the entries of a checksum file against the files they name, the report lines of
// the outcomes, and the names that mark and make checksum files.

#include "checksum/algorithm_names.h"
#include "checksum/common_folder.h"
#include "checksum/listed_check.h"
#include "engine/pass/hash_file.h"
#include "engine/tests/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

namespace velk {
namespace {

std::vector<std::uint8_t> bytes(const std::string& s) {
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

TEST(ListedCheck, EachVerdictAndItsReportLine) {
    test::TempDir dir;
    const std::string good = dir.write("good.bin", bytes("the listed content"));
    dir.write("changed.bin", bytes("other content"));
    std::filesystem::create_directory(std::filesystem::u8path(dir.file("a folder")));
    HashResults digests;
    ASSERT_TRUE(computeAllHashes(good, digests, nullptr));
    const std::string sha = digests["SHA-256"];
    const std::string list = sha + "  good.bin\n" + sha + "  changed.bin\n" + sha + "  gone.bin\n" +
                             sha + "  a folder\n" + sha + "  ../good.bin\n" + digests["MD5"] +
                             "  ./good.bin\n";
    ChecksumList parsed;
    // "CHECKSUMS" names no algorithm: each length-chosen entry names what matched.
    ASSERT_TRUE(parseChecksumFile(list, "CHECKSUMS", parsed, nullptr));
    ASSERT_EQ(parsed.entries.size(), 6u);

    struct Expected {
        ListedVerdict verdict;
        const char* line;
    };
    const Expected expected[] = {
        {ListedVerdict::Ok, "good.bin: OK (SHA-256)\n"},
        {ListedVerdict::Failed, "changed.bin: FAILED\n"},
        {ListedVerdict::Missing, "gone.bin: FAILED open or read\n"},
        {ListedVerdict::Unreadable, "a folder: FAILED open or read\n"},
        {ListedVerdict::Skipped, "../good.bin: skipped (outside the folder)\n"},
        {ListedVerdict::Ok, "./good.bin: OK\n"},
    };
    const std::string folder = checksumFolderOf(dir.file("CHECKSUMS"));
    for (std::size_t i = 0; i < parsed.entries.size(); ++i) {
        const ChecksumEntry& entry = parsed.entries[i];
        const ListedOutcome outcome = checkListedFile(folder, entry, PassOptions());
        EXPECT_EQ(outcome.verdict, expected[i].verdict) << entry.name;
        EXPECT_EQ(listedReportLine(entry, outcome), expected[i].line);
        const bool unread = outcome.verdict == ListedVerdict::Missing ||
                            outcome.verdict == ListedVerdict::Unreadable;
        EXPECT_EQ(outcome.error.empty(), !unread) << entry.name << ": " << outcome.error;
    }
}

TEST(ListedCheck, ACancelledReadIsNoVerdictAndProgressIsReported) {
    test::TempDir dir;
    dir.write("big.bin", std::vector<std::uint8_t>(3u << 20, 7));
    ChecksumList parsed;
    ASSERT_TRUE(
        parseChecksumFile(std::string(64, '0') + "  big.bin\n", "SHA256SUMS", parsed, nullptr));
    const std::string folder = checksumFolderOf(dir.file("SHA256SUMS"));

    std::atomic<bool> cancel{false};
    std::uint64_t lastProgress = 0;
    PassOptions options;
    options.cancel = &cancel;
    options.progress = [&](std::uint64_t n) { lastProgress = n; };
    EXPECT_EQ(checkListedFile(folder, parsed.entries[0], options).verdict, ListedVerdict::Failed);
    EXPECT_EQ(lastProgress, 3u << 20);

    options.progress = [&](std::uint64_t) { cancel = true; };
    const ListedOutcome stopped = checkListedFile(folder, parsed.entries[0], options);
    EXPECT_EQ(stopped.verdict, ListedVerdict::Cancelled);
    EXPECT_EQ(listedReportLine(parsed.entries[0], stopped), "");
}

TEST(ChecksumFileNames, WhatMarksAChecksumFile) {
    const char* yes[] = {"SHA256SUMS", "sha1sums",    "MD5SUMS.txt",  "sha256sum.txt",
                         "B2SUMS",     "CHECKSUMS",   "x.iso.sha256", "x.MD5",
                         "list.sfv",   "a.sha512sum", "b.sha3",       "checksum.txt"};
    const char* no[] = {"report.pdf", "md5.exe", "sha256",        "SUMS", "notes.txt",
                        "sha256.txt", "x.sum",   "checksums.zip", ""};
    for (const char* name : yes)
        EXPECT_TRUE(isChecksumFileName(name)) << name;
    for (const char* name : no)
        EXPECT_FALSE(isChecksumFileName(name)) << name;
}

TEST(ChecksumFileNames, ANewListsNameNamesItsAlgorithmBack) {
    EXPECT_EQ(checksumFileNameFor("SHA-256"), "SHA256SUMS");
    EXPECT_EQ(checksumFileNameFor("BLAKE2b"), "B2SUMS");
    EXPECT_EQ(checksumFileNameFor("CRC32"), "CRC32SUMS");
    EXPECT_EQ(checksumFileNameFor("SHA256"), "");
    for (const std::string& name : kAlgorithmNames) {
        const std::string fileName = checksumFileNameFor(name);
        EXPECT_TRUE(isChecksumFileName(fileName)) << fileName;
        EXPECT_EQ(algorithmsForChecksumFileName(fileName), std::vector<std::string>{name})
            << fileName;
    }
}

TEST(ListedFiles, CommonFolderAndNamesBelowIt) {
    struct Case {
        std::vector<std::string> paths;
        NameRules rules;
        bool ok;
        const char* folder;
        const char* names;
    };
    const NameRules P = NameRules::Posix, W = NameRules::Windows;
    const Case cases[] = {
        {{"/d/a.iso", "/d/b.iso"}, P, true, "/d/", "a.iso|b.iso"},
        {{"/d/x/a", "/d/y/z/b", "/d/c"}, P, true, "/d/", "x/a|y/z/b|c"},
        {{"/d/x/a", "/d/x/b"}, P, true, "/d/x/", "a|b"},
        {{"/a", "/b"}, P, true, "/", "a|b"},
        {{"/d/X/a", "/d/x/b"}, P, true, "/d/", "X/a|x/b"},
        {{"C:\\d\\X\\a", "c:/d/x/b"}, W, true, "C:\\d\\X\\", "a|b"},
        {{"C:\\d\\a", "D:\\d\\b"}, W, false, "", ""},
        {{"\\\\srv\\share\\a\\f", "\\\\srv\\share\\b\\g"}, W, true, "\\\\srv\\share\\", "a/f|b/g"},
        {{"C:\\d\\sub\\a b.txt"}, W, true, "C:\\d\\sub\\", "a b.txt"},
        {{"a.iso", "/d/b.iso"}, P, false, "", ""},
        {{"/d/"}, P, false, "", ""},
        {{}, P, false, "", ""},
    };
    for (const Case& c : cases) {
        ListedFiles out;
        const std::string label = c.paths.empty() ? "(none)" : c.paths.front();
        ASSERT_EQ(listedFilesOf(c.paths, c.rules, out), c.ok) << label;
        if (!c.ok)
            continue;
        std::string names;
        for (const std::string& n : out.names)
            names += (names.empty() ? "" : "|") + n;
        EXPECT_EQ(out.folder, c.folder) << label;
        EXPECT_EQ(names, c.names) << label;
    }
}

} // namespace
} // namespace velk
