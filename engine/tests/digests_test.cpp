// Every digest against the vector tables, whole and in pieces.

#include "digest_oracle.h"

#include "engine/algorithms.h"
#include "engine/hex.h"

#include <gtest/gtest.h>

#include <random>

namespace velk::test {
namespace {

TEST(Hex, EncodesHighNibbleFirstInLowerCase) {
    const std::uint8_t bytes[] = {0x00, 0x0F, 0xA0, 0xFF};
    EXPECT_EQ(toHex(bytes, 4), "000fa0ff");
    EXPECT_EQ(toHex(bytes, 0), "");
}

TEST(Catalogue, NamesAndOrderAreFixed) {
    const std::vector<std::string> expected = {"CRC32",    "MD5",     "SHA-1",   "SHA-224",
                                               "SHA-256",  "SHA-384", "SHA-512", "SHA3-256",
                                               "SHA3-512", "BLAKE2b", "BLAKE2s"};
    EXPECT_EQ(kAlgorithmNames, expected);
}

TEST(Digests, CrcCheckValueAndEmptyMessage) {
    const std::string nine = "123456789";
    EXPECT_EQ(digestInPieces("CRC32", {nine.begin(), nine.end()}), "cbf43926");
    EXPECT_EQ(digestInPieces("CRC32", {}), "00000000");
    // A value below 0x10000000 keeps its leading zero: CRC-32 of the single byte 0x8b.
    EXPECT_EQ(digestInPieces("CRC32", {0x8b}).size(), 8u);
}

class VectorTable : public ::testing::TestWithParam<const char*> {};

// Whole, byte by byte, and in pieces of every size from 2 to 129 (they straddle every block
// and rate boundary); split at every point for the short messages.
TEST_P(VectorTable, EveryWayOfFeedingGivesTheExpectedDigest) {
    const std::vector<Vector> table = loadVectors(GetParam());
    ASSERT_FALSE(table.empty());
    for (const Vector& v : table) {
        SCOPED_TRACE(v.algorithm + " " + v.form.substr(0, 40));
        ASSERT_EQ(digestInPieces(v.algorithm, v.message), v.digest);
        ASSERT_EQ(v.digest.size(), digestHexLength(v.algorithm));
        if (v.message.size() > 70000)
            continue;
        const std::size_t n = v.message.size();
        ASSERT_EQ(digestInPieces(v.algorithm, v.message, std::vector<std::size_t>(n, 1)), v.digest);
        for (std::size_t step = 2; step <= 129 && step < n; step += (n > 5000 ? 31 : 1)) {
            ASSERT_EQ(digestInPieces(v.algorithm, v.message,
                                     std::vector<std::size_t>(n / step + 1, step)),
                      v.digest)
                << "pieces of " << step;
        }
        if (n <= 300) {
            for (std::size_t split = 0; split <= n; ++split) {
                ASSERT_EQ(digestInPieces(v.algorithm, v.message, {split, 0, n - split}), v.digest)
                    << "split at " << split;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, VectorTable, ::testing::Values("standards.txt", "boundaries.txt"));

// Random messages in random pieces agree with the same message fed whole.
TEST(Digests, RandomPiecesAgreeWithOnePiece) {
    std::mt19937_64 gen(testSeed());
    for (int round = 0; round < 40; ++round) {
        const std::size_t size = gen() % 5000;
        const std::vector<std::uint8_t> m = randomBytes(size, gen());
        std::vector<std::size_t> pieces;
        for (std::size_t at = 0; at < size;) {
            const std::size_t p = gen() % 300;
            pieces.push_back(p);
            at += p;
        }
        for (const std::string& name : kAlgorithmNames) {
            ASSERT_EQ(digestInPieces(name, m, pieces), digestInPieces(name, m))
                << name << " size " << size << " round " << round;
        }
    }
}

} // namespace
} // namespace velk::test
