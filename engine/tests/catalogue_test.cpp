// The catalogue as its users meet it: its lookups, and every entry through both passes against
// the vector tables, so that an entry cannot be added to one path and not the other.

#include "digest_oracle.h"
#include "temp_dir.h"

#include "engine/algorithms.h"
#include "engine/pass/hash_file.h"
#include "engine/pass/hash_one.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace velk::test {
namespace {

TEST(CatalogueLookup, ChecksumNamesInAnyCaseAndCatalogueNamesFindTheirEntry) {
    const struct {
        const char* name;
        const char* entry; // null: no entry
    } cases[] = {
        {"SHA256", "SHA-256"},
        {"sha256", "SHA-256"},
        {"SHA-256", "SHA-256"},
        {"Sha-256", "SHA-256"},
        {"SHA1", "SHA-1"},
        {"sha-1", "SHA-1"},
        {"md5", "MD5"},
        {"crc32", "CRC32"},
        {"SHA224", "SHA-224"},
        {"SHA384", "SHA-384"},
        {"sha512", "SHA-512"},
        {"SHA3-256", "SHA3-256"},
        {"sha3-512", "SHA3-512"},
        {"BLAKE2b", "BLAKE2b"},
        {"BLAKE2b-512", "BLAKE2b"},
        {"blake2s-256", "BLAKE2s"},
        {"BLAKE2S", "BLAKE2s"},
        {"CRC-32", "CRC32"},
        {"sha3_256", "SHA3-256"},
        {"B2", "BLAKE2b"},
        {"", nullptr},
        {"SHA3", nullptr},
        {"SHA-3", nullptr},
        {"BLAKE2b-256", nullptr},
        {"BLAKE2s-512", nullptr},
        {"SHA256 ", nullptr},
        {" SHA256", nullptr},
        {"SHA2-256", nullptr},
        {"SHA3-25", nullptr},
        {"SHA3-2566", nullptr},
        {"BLAKE2", nullptr},
    };
    for (const auto& c : cases) {
        const Algorithm* found = findAlgorithmByChecksumName(c.name);
        if (c.entry == nullptr) {
            EXPECT_EQ(found, nullptr) << '"' << c.name << '"';
        } else {
            ASSERT_NE(found, nullptr) << c.name;
            EXPECT_STREQ(found->name, c.entry) << c.name;
        }
    }
}

// The passes take catalogue names only, exactly as written.
TEST(CatalogueLookup, CatalogueNamesAreMatchedExactly) {
    for (const std::string& name : kAlgorithmNames) {
        const Algorithm* found = findAlgorithm(name);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(found->name, name);
        EXPECT_EQ(digestHexLength(name), 2 * found->digestBytes);
    }
    for (const char* other : {"SHA256", "sha-256", "SHA1", "BLAKE2b-512", "blake2b", ""}) {
        EXPECT_EQ(findAlgorithm(other), nullptr) << other;
        EXPECT_EQ(digestHexLength(other), 0u) << other;
    }
}

// No name of one entry, in any case, reaches another entry, and the checksum tools' tag name
// comes first.
TEST(CatalogueLookup, EveryNameOfAnEntryLeadsBackToIt) {
    std::set<std::string> seen;
    for (const Algorithm& a : kAlgorithms) {
        EXPECT_EQ(findAlgorithmByChecksumName(a.name), &a) << a.name;
        for (const char* name : a.checksumNames) {
            if (name == nullptr)
                continue;
            EXPECT_EQ(findAlgorithmByChecksumName(name), &a) << name;
            std::string upper = name;
            for (char& ch : upper)
                ch = (ch >= 'a' && ch <= 'z') ? char(ch - 'a' + 'A') : ch;
            EXPECT_EQ(findAlgorithmByChecksumName(upper), &a) << upper;
            EXPECT_TRUE(seen.insert(upper).second) << name << " names two entries";
        }
    }
}

// Every entry has vectors, every vector names an entry, and both passes give each entry's
// vector digest for files of the vector messages (short ones, and lengths around the 1 MiB
// read chunk).
TEST(Catalogue, EveryEntryThroughBothPassesGivesTheVectorDigests) {
    TempDir dir;
    for (const char* table : {"standards.txt", "long.txt"}) {
        SCOPED_TRACE(table);
        std::map<std::string, std::vector<Vector>> byMessage;
        std::set<std::string> covered;
        for (Vector& v : loadVectors(table)) {
            ASSERT_NE(findAlgorithm(v.algorithm), nullptr)
                << v.algorithm << " is not in the catalogue";
            covered.insert(v.algorithm);
            byMessage[v.form].push_back(std::move(v));
        }
        EXPECT_EQ(covered.size(), kAlgorithms.size());

        int file = 0;
        for (const auto& [form, vectors] : byMessage) {
            SCOPED_TRACE(form.substr(0, 40));
            const std::string path = dir.write("m" + std::to_string(file++), vectors[0].message);
            HashResults all;
            ASSERT_TRUE(computeAllHashes(path, all, nullptr));
            EXPECT_EQ(all.size(), kAlgorithms.size());
            for (const Algorithm& a : kAlgorithms) {
                const std::string& digest = all[a.name];
                EXPECT_EQ(digest.size(), 2 * a.digestBytes) << a.name;
                std::string one;
                ASSERT_TRUE(computeHash(path, a.name, one, nullptr)) << a.name;
                EXPECT_EQ(one, digest) << a.name;
            }
            for (const Vector& v : vectors)
                EXPECT_EQ(all[v.algorithm], v.digest) << v.algorithm;
        }
    }
}

} // namespace
} // namespace velk::test
