// Two digest sets compared in catalogue order.

#include "engine/digest_compare.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

HashResults allOf(char digit) {
    HashResults r;
    for (const std::string& name : kAlgorithmNames)
        r[name] = std::string(digestHexLength(name), digit);
    return r;
}

TEST(DigestCompare, IdenticalOnlyWhenAllElevenAreThereAndEqual) {
    const HashResults a = allOf('a');
    EXPECT_TRUE(compareDigests(a, a).identical);
    EXPECT_EQ(compareDigests(a, a).firstDifference, "");
    for (const std::string& name : kAlgorithmNames) {
        EXPECT_EQ(digestsAgree(a, a, name), std::optional<bool>(true)) << name;
    }
}

TEST(DigestCompare, FirstDifferenceFollowsTheCatalogueNotTheMapOrder) {
    struct Case {
        std::vector<std::string> changed; // digests of b that differ from a
        std::vector<std::string> missing; // digests b lacks
        std::string first;
    };
    // The map sorts "BLAKE2b" and "CRC32" before "MD5"; the catalogue starts with CRC32.
    const Case cases[] = {
        {{"BLAKE2s", "MD5"}, {}, "MD5"},   {{"BLAKE2b", "SHA3-512"}, {}, "SHA3-512"},
        {{"BLAKE2s"}, {}, "BLAKE2s"},      {{}, {"SHA-224"}, "SHA-224"},
        {{"SHA-512"}, {"CRC32"}, "CRC32"},
    };
    const HashResults a = allOf('a');
    for (const Case& c : cases) {
        HashResults b = a;
        for (const std::string& name : c.changed)
            b[name].back() = 'b';
        for (const std::string& name : c.missing)
            b.erase(name);
        const DigestComparison both = compareDigests(a, b);
        EXPECT_FALSE(both.identical) << c.first;
        EXPECT_EQ(both.firstDifference, c.first);
        // The comparison is symmetric.
        EXPECT_EQ(compareDigests(b, a).firstDifference, c.first);
        for (const std::string& name : c.changed)
            EXPECT_EQ(digestsAgree(a, b, name), std::optional<bool>(false)) << name;
        for (const std::string& name : c.missing)
            EXPECT_EQ(digestsAgree(a, b, name), std::nullopt) << name;
    }
}

TEST(DigestCompare, EmptySetsAreNotIdentical) {
    EXPECT_FALSE(compareDigests({}, {}).identical);
    EXPECT_EQ(compareDigests({}, {}).firstDifference, "CRC32");
}

} // namespace
} // namespace velk
