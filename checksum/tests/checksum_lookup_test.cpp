// Finding the checksum file that lists a file, and its verdict on the file's digests.

#include "checksum/checksum_lookup.h"
#include "engine/pass/hash_file.h"
#include "engine/tests/temp_dir.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : ",") + n;
    return out;
}

TEST(ChecksumLookup, CandidatesInOrderOnceEachAndBounded) {
    const std::vector<std::string> folder = {"other.sha256",
                                             "ubuntu.iso",
                                             "MD5SUMS",
                                             "ubuntu.iso.md5",
                                             "a.sfv",
                                             "SHA256SUMS",
                                             "notes.txt",
                                             "UBUNTU.ISO.SHA256",
                                             "b.md5",
                                             "CHECKSUMS",
                                             "ubuntu.iso.sha512sum",
                                             "sha1sums",
                                             "ubuntu.iso.sha256.asc"};
    EXPECT_EQ(joined(checksumFileCandidates("ubuntu.iso", folder)),
              "UBUNTU.ISO.SHA256,ubuntu.iso.sha512sum,ubuntu.iso.md5,SHA256SUMS,sha1sums,MD5SUMS,"
              "CHECKSUMS,other.sha256,b.md5,a.sfv");
    // The file itself is never its own checksum file.
    EXPECT_EQ(joined(checksumFileCandidates("SHA256SUMS", {"SHA256SUMS", "MD5SUMS"})), "MD5SUMS");

    std::vector<std::string> many;
    for (int i = 0; i < 50; ++i)
        many.push_back("list" + std::to_string(100 + i) + ".md5");
    many.push_back("x.bin.sha256");
    const std::vector<std::string> bounded = checksumFileCandidates("x.bin", many);
    ASSERT_EQ(bounded.size(), kMaxChecksumCandidates);
    EXPECT_EQ(bounded.front(), "x.bin.sha256");
}

TEST(ChecksumLookup, VerdictOfOneList) {
    const HashResults digests = {{"MD5", std::string(32, '1')},
                                 {"SHA-256", std::string(64, '2')},
                                 {"BLAKE2s", std::string(64, '3')},
                                 {"SHA3-256", std::string(64, '4')}};
    struct Case {
        std::string list;
        std::string fileName;
        NameRules rules;
        bool listed;
        bool matches;
        const char* algorithms;
    };
    const std::string md5 = std::string(32, '1'), sha = std::string(64, '2');
    const std::string b2s = std::string(64, '3');
    const NameRules P = NameRules::Posix, W = NameRules::Windows;
    const Case cases[] = {
        {sha + "  a.iso\n", "a.iso", P, true, true, "SHA-256"},
        {sha + " *./a.iso\n", "a.iso", P, true, true, "SHA-256"},
        {std::string(64, '9') + "  a.iso\n", "a.iso", P, true, false, "SHA-256,SHA3-256,BLAKE2s"},
        {b2s + "  a.iso\n", "a.iso", P, true, true, "BLAKE2s"},
        {std::string(64, '9') + "  b.iso\n", "a.iso", P, false, false, ""},
        {sha + "  sub/a.iso\n", "a.iso", P, false, false, ""},
        {sha + "  ../a.iso\n", "a.iso", P, false, false, ""},
        {sha + "  A.ISO\n", "a.iso", P, false, false, ""},
        {sha + "  A.ISO\n", "a.iso", W, true, true, "SHA-256"},
        {"MD5 (a.iso) = " + md5 + "\nSHA256 (a.iso) = " + sha + "\n", "a.iso", P, true, true,
         "MD5,SHA-256"},
        {"MD5 (a.iso) = " + md5 + "\nSHA256 (a.iso) = " + b2s + "\n", "a.iso", P, true, false,
         "SHA-256"},
    };
    for (const Case& c : cases) {
        ChecksumList list;
        ASSERT_TRUE(parseChecksumFile(c.list, "CHECKSUMS", list, nullptr));
        const ChecksumVerdict v = checksumVerdict(list, "CHECKSUMS", c.fileName, digests, c.rules);
        EXPECT_EQ(v.listed, c.listed) << c.list;
        EXPECT_EQ(v.matches, c.matches) << c.list;
        EXPECT_EQ(joined(v.algorithms), c.algorithms) << c.list;
        EXPECT_EQ(v.checksumFileName, c.listed ? "CHECKSUMS" : "") << c.list;
    }
}

TEST(ChecksumLookup, TheFirstReadableListThatNamesTheFileDecides) {
    test::TempDir dir;
    const std::string file = dir.write("disc.iso", {'d', 'i', 's', 'c'});
    HashResults digests;
    ASSERT_TRUE(computeAllHashes(file, digests, nullptr));
    const auto text = [](const std::string& s) {
        return std::vector<std::uint8_t>(s.begin(), s.end());
    };

    EXPECT_FALSE(findChecksumVerdict(file, digests).listed) << "no checksum file at all";

    // Passed over: a sidecar over 1 MiB, a list of other files, a hostile list.
    dir.write("disc.iso.sha256", std::vector<std::uint8_t>((2u << 20), '#'));
    dir.write("SHA256SUMS", text(digests["SHA-256"] + "  other.iso\n"));
    dir.write("SHA1SUMS", text(std::string(70000, 'z') + "\n" + digests["SHA-1"] + "  disc.iso\n"));
    EXPECT_FALSE(findChecksumVerdict(file, digests).listed);

    dir.write("MD5SUMS", text(digests["MD5"] + "  disc.iso\n"));
    ChecksumVerdict v = findChecksumVerdict(file, digests);
    EXPECT_TRUE(v.listed && v.matches);
    EXPECT_EQ(v.checksumFileName, "MD5SUMS");
    EXPECT_EQ(joined(v.algorithms), "MD5");

    // A sidecar comes first, even when it disagrees.
    dir.write("disc.iso.sha512", text(std::string(128, '0') + "  disc.iso\n"));
    v = findChecksumVerdict(file, digests);
    EXPECT_TRUE(v.listed);
    EXPECT_FALSE(v.matches);
    EXPECT_EQ(v.checksumFileName, "disc.iso.sha512");
    EXPECT_EQ(joined(v.algorithms), "SHA-512");
}

} // namespace
} // namespace velk
