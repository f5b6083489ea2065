// The all-digest pass and the one-digest pass over real files.

#include "digest_oracle.h"
#include "temp_dir.h"

#include "engine/algorithms.h"
#include "engine/pass/fault_injection.h"
#include "engine/pass/hash_file.h"
#include "engine/pass/hash_one.h"

#include <gtest/gtest.h>

namespace velk::test {
namespace {

HashResults expectedDigests(const std::vector<std::uint8_t>& content) {
    HashResults r;
    for (const std::string& name : kAlgorithmNames)
        r[name] = digestInPieces(name, content);
    return r;
}

// Both passes open the path and digest exactly the content.
void expectBothPassesRead(const std::string& path, const std::vector<std::uint8_t>& content) {
    HashResults results;
    ASSERT_TRUE(computeAllHashes(path, results, nullptr));
    EXPECT_EQ(results, expectedDigests(content));
    std::string digest;
    ASSERT_TRUE(computeHash(path, "SHA3-256", digest, nullptr));
    EXPECT_EQ(digest, results["SHA3-256"]);
}

class Pass : public ::testing::Test {
  protected:
    TempDir dir;
};

struct SizeCase {
    const char* label;
    std::size_t size;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.label;
}

class PassSizes : public Pass, public ::testing::WithParamInterface<SizeCase> {};

// Sizes around the 1 MiB read chunk: a short last read, an exact multiple, and an odd tail.
TEST_P(PassSizes, AllElevenEqualTheDigestsOfTheContent) {
    const std::vector<std::uint8_t> content =
        randomBytes(GetParam().size, testSeed() + GetParam().size);
    const std::string path = dir.write("data.bin", content);
    HashResults results;
    std::string error = "untouched";
    ASSERT_TRUE(computeAllHashes(path, results, &error));
    EXPECT_EQ(error, "untouched");
    EXPECT_EQ(results, expectedDigests(content));
    for (const std::string& name : kAlgorithmNames) {
        EXPECT_EQ(results[name].size(), digestHexLength(name)) << name;
        EXPECT_EQ(results[name].find_first_not_of("0123456789abcdef"), std::string::npos);
        std::string one;
        ASSERT_TRUE(computeHash(path, name, one, nullptr)) << name;
        EXPECT_EQ(one, results[name]) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, PassSizes,
                         ::testing::Values(SizeCase{"empty", 0}, SizeCase{"one", 1},
                                           SizeCase{"chunkMinusOne", 1048575},
                                           SizeCase{"oneChunk", 1048576},
                                           SizeCase{"twoChunks", 2097152},
                                           SizeCase{"fewMiBOddTail", 3 * 1048576 + 12345}),
                         [](const auto& p) { return std::string(p.param.label); });

TEST_F(Pass, EmptyFileGivesTheEmptyMessageDigests) {
    const std::string path = dir.write("empty", {});
    HashResults results;
    ASSERT_TRUE(computeAllHashes(path, results, nullptr));
    EXPECT_EQ(results["CRC32"], "00000000");
    EXPECT_EQ(results["MD5"], "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(results["SHA-224"], "d14a028c2a3a2bc9476102bb288234c415a2b01f828ea62ac5b3e42f");
    EXPECT_EQ(results["BLAKE2s"],
              "69217a3079908094e11121d042354a7c1f55b6482ca1a51e1b250dfd1ed0eef9");
}

TEST_F(Pass, NonAsciiUtf8PathOpensTheFile) {
    const std::vector<std::uint8_t> content = {'h', 'i'};
    expectBothPassesRead(dir.write(u8"Пример 例え ä.txt", content), content);
}

// A path of 300 characters is opened whole (beyond MAX_PATH on Windows), not cut to
// another file's name.
TEST_F(Pass, PathOf300CharactersOpensTheFile) {
    const std::string folder = dir.file(std::string(120, 'd'));
    std::filesystem::create_directories(std::filesystem::u8path(folder));
    const std::string name = std::string(120, 'd') + "/" + std::string(299 - folder.size(), 'f');
    const std::vector<std::uint8_t> content = {'l', 'o', 'n', 'g'};
    const std::string path = dir.write(name, content);
    ASSERT_EQ(path.size(), 300u);
    expectBothPassesRead(path, content);
}

TEST_F(Pass, ForeignKeysSurviveAndCatalogueKeysAreReplaced) {
    const std::string path = dir.write("x", {1, 2, 3});
    HashResults results = {{"note", "kept"}, {"MD5", "stale"}};
    ASSERT_TRUE(computeAllHashes(path, results, nullptr));
    EXPECT_EQ(results["note"], "kept");
    EXPECT_EQ(results.size(), 12u);
    EXPECT_EQ(results["MD5"], digestInPieces("MD5", {1, 2, 3}));
}

struct FailureCase {
    const char* label;
    int kind; // 0 missing path, 1 empty path, 2 platform creation fails
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.label;
}

class PassFailures : public Pass, public ::testing::WithParamInterface<FailureCase> {
  protected:
    void TearDown() override { faults::setPlatformHashOpenFailure(nullptr); }
    std::string pathFor(int kind) {
        if (kind == 0)
            return dir.file("does-not-exist");
        if (kind == 1)
            return "";
        faults::setPlatformHashOpenFailure(L"SHA256");
        return dir.write("real", {9, 9, 9});
    }
};

// Failures before the read loop leave the results alone, with or without an error string.
TEST_P(PassFailures, EarlyFailuresReportAndLeaveResultsUntouched) {
    const int kind = GetParam().kind;
    const std::string path = pathFor(kind);
    const std::string message = kind == 2 ? "CNG init failed" : "cannot open file";
    const HashResults before = {{"MD5", "earlier"}, {"other", "x"}};

    HashResults results = before;
    std::string error;
    EXPECT_FALSE(computeAllHashes(path, results, &error));
    EXPECT_EQ(error, message);
    EXPECT_EQ(results, before);

    EXPECT_FALSE(computeAllHashes(path, results, nullptr));
    EXPECT_EQ(results, before);

    std::string digest = "held";
    error.clear();
    EXPECT_FALSE(computeHash(path, "SHA-256", digest, &error));
    EXPECT_EQ(error, message);
    EXPECT_EQ(digest, "held");
    EXPECT_FALSE(computeHash(path, "SHA-256", digest, nullptr));
    EXPECT_EQ(digest, "held");
}

INSTANTIATE_TEST_SUITE_P(Rows, PassFailures,
                         ::testing::Values(FailureCase{"missingPath", 0},
                                           FailureCase{"emptyPath", 1},
                                           FailureCase{"platformCreation", 2}),
                         [](const auto& p) { return std::string(p.param.label); });

TEST_F(Pass, PlatformFailureOnlyAffectsPlatformDigestsOfTheOnePass) {
    const std::string path = dir.write("real", {5});
    faults::setPlatformHashOpenFailure(L"MD5");
    std::string digest, error;
    EXPECT_TRUE(computeHash(path, "SHA-224", digest, &error));
    EXPECT_FALSE(computeHash(path, "MD5", digest, &error));
    EXPECT_EQ(error, "CNG init failed");
    faults::setPlatformHashOpenFailure(nullptr);
    EXPECT_TRUE(computeHash(path, "MD5", digest, &error));
}

#ifndef _WIN32
// Reading a directory opens but fails on the first read: the error indicator is set, the
// all-digest pass still stores the digests of the (zero) bytes read, the one-digest pass none.
TEST_F(Pass, ReadErrorStoresDigestsOfTheBytesReadBefore) {
    HashResults results = {{"other", "x"}};
    std::string error;
    EXPECT_FALSE(computeAllHashes(dir.path(), results, &error));
    EXPECT_EQ(error, "read error");
    EXPECT_EQ(results.size(), 12u);
    EXPECT_EQ(results["CRC32"], "00000000");
    EXPECT_EQ(results["SHA-256"], digestInPieces("SHA-256", {}));

    std::string digest = "held";
    error.clear();
    EXPECT_FALSE(computeHash(dir.path(), "BLAKE2b", digest, &error));
    EXPECT_EQ(error, "read error");
    EXPECT_EQ(digest, "held");
}
#endif

TEST_F(Pass, NamesAreMatchedExactly) {
    const std::string path = dir.write("x", {});
    for (const char* bad : {"sha-256", "SHA256", "SHA1", "md5", "", "CRC-32"}) {
        std::string digest = "held", error;
        EXPECT_FALSE(computeHash(path, bad, digest, &error)) << bad;
        EXPECT_EQ(error, "unknown algorithm") << bad;
        EXPECT_EQ(digest, "held");
    }
    std::string digest, error;
    EXPECT_FALSE(computeHash(dir.file("missing"), "sha-256", digest, &error));
    EXPECT_EQ(error, "cannot open file");
}

} // namespace
} // namespace velk::test
