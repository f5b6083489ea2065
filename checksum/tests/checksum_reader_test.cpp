// The checksum-file reader: line forms, algorithm choice, encodings, bounds, hostile bytes.

#include "checksum/algorithm_names.h"
#include "checksum/checksum_reader.h"
#include "checksum/checksum_writer.h"
#include "engine/tests/temp_dir.h"

#include <gtest/gtest.h>

#include <random>

namespace velk {
namespace {

const std::string kMd5 = "d41d8cd98f00b204e9800998ecf8427e";
const std::string kSha256 = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
const std::string k128(128, 'c');

ChecksumList parsed(const std::string& bytes, const std::string& fileName = "list.txt") {
    ChecksumList list;
    std::string error;
    EXPECT_TRUE(parseChecksumFile(bytes, fileName, list, &error)) << error;
    return list;
}

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : ",") + n;
    return out;
}

TEST(ChecksumReader, LineForms) {
    struct Case {
        std::string line;
        const char* name; // null: improperly formatted
        std::string digest;
        const char* algorithms;
        ChecksumLineFormat format;
    };
    using F = ChecksumLineFormat;
    const Case cases[] = {
        {kSha256 + "  a.iso", "a.iso", kSha256, "SHA-256,SHA3-256,BLAKE2s", F::Gnu},
        {kSha256 + " *a.iso", "a.iso", kSha256, "SHA-256,SHA3-256,BLAKE2s", F::Gnu},
        {"  " + kMd5 + "  lead", "lead", kMd5, "MD5", F::Gnu},
        {kMd5 + "  name with  spaces ", "name with  spaces ", kMd5, "MD5", F::Gnu},
        {"\\" + kMd5 + "  a\\\\b\\nc", "a\\b\nc", kMd5, "MD5", F::Gnu},
        {"\\" + kMd5 + "  a\\tb", nullptr, "", "", F::Gnu},
        {"D41D8CD98F00B204E9800998ECF8427E  up", "up", kMd5, "MD5", F::Gnu},
        {kMd5 + "\tx", "x", kMd5, "MD5", F::Gnu},
        {"SHA256 (a.iso) = " + kSha256, "a.iso", kSha256, "SHA-256", F::Bsd},
        {"SHA256(a.iso)= " + kSha256, "a.iso", kSha256, "SHA-256", F::Bsd},
        {"MD5   (a (1).iso) = " + kMd5, "a (1).iso", kMd5, "MD5", F::Bsd},
        {"sha3-256 (x) = " + kSha256, "x", kSha256, "SHA3-256", F::Bsd},
        {"BLAKE2b (x) = " + k128, "x", k128, "BLAKE2b", F::Bsd},
        {"BLAKE2B-512 (x) = " + k128, "x", k128, "BLAKE2b", F::Bsd},
        {"BLAKE2s-256 (x) = " + kSha256, "x", kSha256, "BLAKE2s", F::Bsd},
        {"CRC32 (x) = 1A2B3C4D", "x", "1a2b3c4d", "CRC32", F::Bsd},
        {"\\SHA1 (a\\\\b) = " + std::string(40, 'f'), "a\\b", std::string(40, 'f'), "SHA-1",
         F::Bsd},
        {"SHA256 (x) = " + kMd5, nullptr, "", "", F::Bsd},         // digest of the wrong length
        {"SHA256 (x) " + kSha256, nullptr, "", "", F::Bsd},        // no "="
        {"BLAKE2b-256 (x) = " + kSha256, nullptr, "", "", F::Bsd}, // not one of ours
        {"a file.iso 1A2B3C4D", "a file.iso", "1a2b3c4d", "CRC32", F::Sfv},
        {kSha256.substr(0, 60) + "  short", nullptr, "", "", F::Gnu},
        {kSha256 + "x  glued", nullptr, "", "", F::Gnu},
        {kSha256 + "  ", " ", kSha256, "SHA-256,SHA3-256,BLAKE2s", F::Gnu}, // as coreutils
        {"   ", nullptr, "", "", F::Gnu},
        {std::string("\0", 1) + kMd5 + "  x", nullptr, "", "", F::Gnu},
        {kMd5 + "  x" + std::string("\0y", 2), nullptr, "", "", F::Gnu},
    };
    for (const Case& c : cases) {
        const ChecksumList list = parsed(c.line + "\n");
        if (c.name == nullptr) {
            EXPECT_TRUE(list.entries.empty()) << c.line;
            EXPECT_EQ(list.improperLines, 1u) << c.line;
            continue;
        }
        ASSERT_EQ(list.entries.size(), 1u) << c.line;
        const ChecksumEntry& e = list.entries[0];
        EXPECT_EQ(e.name, c.name) << c.line;
        EXPECT_EQ(e.digest, c.digest) << c.line;
        EXPECT_EQ(joined(e.algorithms), c.algorithms) << c.line;
        EXPECT_EQ(e.format, c.format) << c.line;
        EXPECT_EQ(list.improperLines, 0u) << c.line;
    }
}

TEST(ChecksumReader, AFileDoesNotMixTheTwoSpacings) {
    // A name with a leading space must not pass for the other spacing in the same file.
    const ChecksumList one = parsed(kMd5 + "  a\n" + kMd5 + " b\n");
    ASSERT_EQ(one.entries.size(), 1u);
    EXPECT_EQ(one.improperLines, 1u);
    const ChecksumList other = parsed(kMd5 + " a\n" + kMd5 + "  b\n");
    ASSERT_EQ(other.entries.size(), 2u);
    EXPECT_EQ(other.entries[0].name, "a");
    EXPECT_EQ(other.entries[1].name, " b");
}

TEST(ChecksumReader, AlgorithmFromTagThenFileNameThenLength) {
    struct Case {
        std::string fileName;
        std::string digest;
        const char* algorithms;
    };
    const Case cases[] = {
        {"SHA256SUMS", kSha256, "SHA-256"},
        {"ubuntu.iso.sha256", kSha256, "SHA-256"},
        {"ubuntu.iso.SHA256SUM", kSha256, "SHA-256"},
        {"sha256sum.txt", kSha256, "SHA-256"},
        {"B2SUMS", k128, "BLAKE2b"},
        {"x.b2", k128, "BLAKE2b"},
        {"x.sha3", kSha256, "SHA3-256"},
        {"x.sha3", k128, "SHA3-512"},
        {"SHA512SUMS", k128, "SHA-512"},
        {"x.blake2s", kSha256, "BLAKE2s"},
        {"MD5SUMS", kMd5, "MD5"},
        {"SHA256SUMS", kMd5, "MD5"}, // the name and the length disagree: the length decides
        {"CHECKSUMS", k128, "SHA-512,SHA3-512,BLAKE2b"},
        {"x.sfv", "1a2b3c4d", "CRC32"},
    };
    for (const Case& c : cases) {
        const ChecksumList list = parsed(c.digest + "  f\n", c.fileName);
        ASSERT_EQ(list.entries.size(), 1u) << c.fileName;
        EXPECT_EQ(joined(list.entries[0].algorithms), c.algorithms) << c.fileName;
    }
    // A tag wins over the file's name.
    const ChecksumList tagged = parsed("SHA3-256 (f) = " + kSha256 + "\n", "SHA256SUMS");
    ASSERT_EQ(tagged.entries.size(), 1u);
    EXPECT_EQ(joined(tagged.entries[0].algorithms), "SHA3-256");
}

TEST(ChecksumReader, ToolNamesAreReadCaseInsensitively) {
    const std::pair<const char*, const char*> cases[] = {
        {"sha256", "SHA-256"},
        {"SHA-256", "SHA-256"},
        {"Sha1", "SHA-1"},
        {"blake2b-512", "BLAKE2b"},
        {"BLAKE2S", "BLAKE2s"},
        {"crc32", "CRC32"},
        {"sha3-512", "SHA3-512"},
        {"md4", ""},
        {"SHA", ""},
    };
    for (const auto& [tool, catalogue] : cases)
        EXPECT_EQ(catalogueNameFor(tool), catalogue) << tool;
    EXPECT_EQ(bsdTagFor("SHA-256"), "SHA256");
    EXPECT_EQ(bsdTagFor("SHA-1"), "SHA1");
}

TEST(ChecksumReader, SfvFilesWithComments) {
    const std::string sfv = "; Generated by a tool\r\n;\r\nfirst.bin 1A2B3C4D\r\n"
                            "second one.bin\t00000000\r\n";
    const ChecksumList list = parsed(sfv, "disc.sfv");
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0].name, "first.bin");
    EXPECT_EQ(list.entries[0].line, 3u);
    EXPECT_EQ(list.entries[1].name, "second one.bin");
    EXPECT_EQ(list.entries[1].digest, "00000000");
    EXPECT_EQ(list.improperLines, 0u);
}

std::string utf16(const std::string& ascii, bool bigEndian, const std::u16string& extra) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    std::u16string units(ascii.begin(), ascii.end());
    units += extra;
    for (char16_t u : units) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

TEST(ChecksumReader, EveryEncodingGivesTheSameEntries) {
    const std::string body = "# made by hand\n\n" + kMd5 + "  a.bin\n" + kMd5 + " *b c.bin\n";
    const std::string name = "\xC3\xA4\xF0\x9F\x98\x80.bin"; // ä and U+1F600 (a surrogate pair)
    const std::string lf = body + kMd5 + "  " + name + "\n";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::u16string tail = u"\u00E4\U0001F600.bin\r\n";
    std::string crlfBody;
    for (char c : body + kMd5 + "  ")
        crlfBody += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::pair<const char*, std::string> variants[] = {
        {"LF", lf},
        {"CRLF", crlf},
        {"BOM", "\xEF\xBB\xBF" + crlf},
        {"UTF-16 LE", utf16(crlfBody, false, tail)},
        {"UTF-16 BE", utf16(crlfBody, true, tail)},
    };
    for (const auto& [what, bytes] : variants) {
        const ChecksumList list = parsed(bytes);
        ASSERT_EQ(list.entries.size(), 3u) << what;
        EXPECT_EQ(list.entries[0].name, "a.bin") << what;
        EXPECT_EQ(list.entries[1].name, "b c.bin") << what;
        EXPECT_EQ(list.entries[2].name, name) << what;
        EXPECT_EQ(list.entries[2].line, 5u) << what;
        EXPECT_EQ(list.improperLines, 0u) << what;
    }
}

TEST(ChecksumReader, WrittenLinesReadBackToTheSameNames) {
    const std::string names[] = {"plain", "a\\b", "line\nbreak", "cr\rname", "sp ace", "(x)=y"};
    std::string file;
    for (const std::string& n : names) {
        file += gnuChecksumLine(kSha256, n, NameRules::Posix);
        file += bsdChecksumLine("BLAKE2s", kSha256, n, NameRules::Posix);
    }
    const ChecksumList list = parsed(file);
    ASSERT_EQ(list.entries.size(), 2 * std::size(names));
    for (std::size_t i = 0; i < std::size(names); ++i) {
        EXPECT_EQ(list.entries[2 * i].name, names[i]);
        EXPECT_EQ(list.entries[2 * i + 1].name, names[i]);
        EXPECT_EQ(joined(list.entries[2 * i + 1].algorithms), "BLAKE2s");
    }
}

TEST(ChecksumReader, BoundsRefuseTheWholeFile) {
    ChecksumList list;
    list.improperLines = 7; // untouched by a refusal
    std::string error;

    const std::string longLine = kMd5 + "  " + std::string(100 << 10, 'n') + "\n";
    EXPECT_FALSE(parseChecksumFile(kMd5 + "  ok\n" + longLine, "MD5SUMS", list, &error));
    EXPECT_EQ(error, "line 2 is longer than 64 KiB");
    // A comment line counts as well: the bound is on lines, not entries.
    EXPECT_FALSE(parseChecksumFile("#" + std::string(70000, 'x') + "\n", "x", list, &error));

    std::string many;
    for (std::size_t i = 0; i < kMaxChecksumEntries; ++i)
        many += kMd5 + "  f" + std::to_string(i) + "\n";
    ChecksumList full;
    ASSERT_TRUE(parseChecksumFile(many, "MD5SUMS", full, &error)) << error;
    EXPECT_EQ(full.entries.size(), kMaxChecksumEntries);
    EXPECT_FALSE(parseChecksumFile(many + kMd5 + "  one more\n", "MD5SUMS", list, &error));
    EXPECT_EQ(error, "more than 100000 entries");
    EXPECT_EQ(list.improperLines, 7u);
    EXPECT_TRUE(list.entries.empty());

    test::TempDir dir;
    const std::string big = dir.write("SHA256SUMS", std::vector<std::uint8_t>((20u << 20), 'x'));
    EXPECT_FALSE(loadChecksumFile(big, kMaxChecksumFileBytes, list, &error));
    EXPECT_EQ(error, "checksum file is larger than 16 MiB");
    const std::string small = dir.write("MD5SUMS", {'x', '\n'});
    EXPECT_FALSE(loadChecksumFile(dir.file("missing"), kMaxChecksumFileBytes, list, &error));
    EXPECT_EQ(error, "cannot open file");
    ASSERT_TRUE(loadChecksumFile(small, 1u << 20, list, &error)) << error;
    EXPECT_EQ(list.improperLines, 1u);
}

TEST(ChecksumReader, BinaryGarbageIsReadWithoutHarm) {
    const unsigned seed = 19;
    std::mt19937 random(seed);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(random() % 4096, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() & 0xFF);
        if (round % 3 == 0)
            bytes.insert(0, round % 2 ? "\xFF\xFE" : "\xFE\xFF");
        ChecksumList list;
        std::string error;
        ASSERT_TRUE(parseChecksumFile(bytes, "x.sfv", list, &error)) << "seed " << seed;
        for (const ChecksumEntry& e : list.entries) {
            EXPECT_FALSE(e.name.empty());
            EXPECT_FALSE(e.algorithms.empty());
        }
    }
}

} // namespace
} // namespace velk
