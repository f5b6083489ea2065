// Listed names: escapes both ways, and which names stay inside the checksum file's folder.

#include "checksum/checksum_writer.h"
#include "checksum/listed_name.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(ListedName, ResolvesInsideTheFolderOrRefuses) {
    struct Case {
        std::string name;
        NameRules rules;
        const char* relative; // null: leaves the folder
    };
    const NameRules P = NameRules::Posix, W = NameRules::Windows;
    const Case cases[] = {
        {"a.iso", P, "a.iso"},
        {"./a.iso", P, "a.iso"},
        {"sub//x/../a.iso", P, "sub/a.iso"},
        {"sub/..", P, "."},
        {"../a.iso", P, nullptr},
        {"sub/../../a.iso", P, nullptr},
        {"/etc/passwd", P, nullptr},
        {"back\\slash", P, "back\\slash"},
        {"..\\..\\x", P, "..\\..\\x"}, // one odd file name natively
        {"C:x", P, "C:x"},
        {"sub\\a.iso", W, "sub/a.iso"},
        {"..\\a.iso", W, nullptr},
        {"sub\\..\\..\\a.iso", W, nullptr},
        {"\\windows\\win.ini", W, nullptr},
        {"/windows/win.ini", W, nullptr},
        {"C:\\x.iso", W, nullptr},
        {"C:x.iso", W, nullptr},
        {"\\\\server\\share\\x", W, nullptr},
        {"\\\\?\\C:\\x", W, nullptr},
        {"a.iso:stream", W, nullptr},
        {"CON", W, nullptr},
        {"sub/nul.txt", W, nullptr},
        {"com7.iso", W, nullptr},
        {"LPT1 ", W, nullptr},
        {"console.iso", W, "console.iso"},
        {"com10", W, "com10"},
        {"sub/.. /x", W, nullptr},
        {"sub/.../x", W, nullptr},
        {"", P, nullptr},
    };
    for (const Case& c : cases) {
        std::string relative = "unchanged";
        const bool inside = resolveListedName(c.name, c.rules, relative);
        EXPECT_EQ(inside, c.relative != nullptr) << c.name;
        if (c.relative != nullptr) {
            EXPECT_EQ(relative, c.relative) << c.name;
        }
    }
}

TEST(ListedName, UnescapesOnlyTheThreeEscapes) {
    std::string name;
    EXPECT_TRUE(unescapeListedName("a\\\\b\\nc\\rd", name));
    EXPECT_EQ(name, "a\\b\nc\rd");
    for (const char* bad : {"a\\", "a\\t", "\\x41"}) {
        name = "kept";
        EXPECT_FALSE(unescapeListedName(bad, name)) << bad;
        EXPECT_EQ(name, "kept");
    }
}

TEST(ListedName, WriterLinesAsCoreutilsWritesThem) {
    // Expected lines as sha256sum and sha256sum --tag print them for these names.
    const std::string d(64, 'a');
    EXPECT_EQ(gnuChecksumLine(d, "plain name", NameRules::Posix), d + "  plain name\n");
    EXPECT_EQ(gnuChecksumLine(d, "a\\b", NameRules::Posix), "\\" + d + "  a\\\\b\n");
    EXPECT_EQ(gnuChecksumLine(d, "n\nl", NameRules::Posix), "\\" + d + "  n\\nl\n");
    EXPECT_EQ(gnuChecksumLine(d, "c\rr", NameRules::Posix), "\\" + d + "  c\\rr\n");
    EXPECT_EQ(bsdChecksumLine("SHA-256", d, "a\\b", NameRules::Posix),
              "\\SHA256 (a\\\\b) = " + d + "\n");
    EXPECT_EQ(bsdChecksumLine("BLAKE2b", d, "x", NameRules::Posix), "BLAKE2b (x) = " + d + "\n");
    EXPECT_EQ(bsdChecksumLine("SHA3-512", d, "x", NameRules::Posix), "SHA3-512 (x) = " + d + "\n");
    // Windows: folders with forward slashes, nothing to escape.
    EXPECT_EQ(gnuChecksumLine(d, "sub\\dir\\x.iso", NameRules::Windows), d + "  sub/dir/x.iso\n");
}

TEST(ListedName, DisplayedAsCoreutilsPrintsTheCheck) {
    EXPECT_EQ(displayListedName("plain"), "plain");
    EXPECT_EQ(displayListedName("a\\b"), "a\\b");
    EXPECT_EQ(displayListedName("n\nl\\b"), "\\n\\nl\\\\b");
    EXPECT_EQ(displayListedName("c\rr"), "c\rr"); // coreutils 9.1 prints CR as it is
}

} // namespace
} // namespace velk
