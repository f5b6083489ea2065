#include "viewer/status_text.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

// Digests of the right lengths, distinct per algorithm, so every same-length list is real.
HashResults fakeResults() {
    HashResults r;
    const char* digits = "0123456789abcdef";
    int i = 0;
    for (const std::string& name : kAlgorithmNames) {
        std::string d;
        for (std::size_t k = 0; k < digestHexLength(name); ++k)
            d += digits[(i + k) % 16];
        d[0] = digits[i]; // the three 64- and 128-character digests differ
        r[name] = d;
        ++i;
    }
    return r;
}

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

TEST(ClipboardCheckStatus, MatchesNameOnlyTheEqualDigests) {
    const HashResults r = fakeResults();
    struct Case {
        std::string clipboard;
        std::string text;
    };
    const Case cases[] = {
        {r.at("SHA-256"), "\xE2\x9C\x94 MATCH  SHA-256 matches this file."},
        {"  0X" + upper(r.at("SHA-256")) + "\r\n",
         "\xE2\x9C\x94 MATCH  SHA-256 matches this file."},
        {r.at("SHA-512") + "  file.bin\n", "\xE2\x9C\x94 MATCH  SHA-512 matches this file."},
        {r.at("CRC32"), "\xE2\x9C\x94 MATCH  CRC32 matches this file."},
        {r.at("BLAKE2s"), "\xE2\x9C\x94 MATCH  BLAKE2s matches this file."},
    };
    for (const Case& c : cases) {
        const StatusMessage m = clipboardCheckStatus(r, c.clipboard);
        EXPECT_EQ(m.text, c.text) << c.clipboard;
        EXPECT_EQ(m.kind, StatusKind::Success);
    }
}

TEST(ClipboardCheckStatus, EveryDigestOfTheSameValueIsNamed) {
    HashResults r = fakeResults();
    r["SHA3-256"] = r["SHA-256"];
    const StatusMessage m = clipboardCheckStatus(r, r["SHA-256"]);
    EXPECT_EQ(m.text, "\xE2\x9C\x94 MATCH  SHA-256 / SHA3-256 matches this file.");
}

TEST(ClipboardCheckStatus, SameLengthWithoutMatchNamesTheCandidates) {
    const HashResults r = fakeResults();
    const StatusMessage m64 = clipboardCheckStatus(r, std::string(64, 'f'));
    EXPECT_EQ(m64.text, "\xE2\x9C\x98 NO MATCH  64-char hash (SHA-256 / SHA3-256 / BLAKE2s), "
                        "but it does not match this file.");
    EXPECT_EQ(m64.kind, StatusKind::Failure);
    const StatusMessage m128 = clipboardCheckStatus(r, std::string(128, 'e'));
    EXPECT_EQ(m128.text, "\xE2\x9C\x98 NO MATCH  128-char hash (SHA-512 / SHA3-512 / BLAKE2b), "
                         "but it does not match this file.");
    const StatusMessage m8 = clipboardCheckStatus(r, "deadbeef");
    EXPECT_EQ(m8.text,
              "\xE2\x9C\x98 NO MATCH  8-char hash (CRC32), but it does not match this file.");
}

TEST(ClipboardCheckStatus, TextsThatAreNoHashOfThisFile) {
    const HashResults r = fakeResults();
    const std::string nbsp = "\xC2\xA0";
    const char* const notAHash = "Clipboard doesn't look like a hash for this file.";
    for (const std::string& clipboard :
         {std::string(), std::string("   "), std::string("0x"), std::string("1234567"),
          std::string("123456789"), std::string(63, 'a'), "SHA256 " + r.at("SHA-256"),
          r.at("MD5").substr(0, 10) + nbsp + r.at("MD5").substr(10), std::string("xyz"),
          std::string("\t\n")}) {
        const StatusMessage m = clipboardCheckStatus(r, clipboard);
        EXPECT_EQ(m.text, notAHash) << clipboard;
        EXPECT_EQ(m.kind, StatusKind::Warning) << clipboard;
    }
    EXPECT_EQ(clipboardCheckStatus(HashResults{}, std::string(64, 'a')).text, notAHash);
}

TEST(ClipboardCheckStatus, CheckWithoutDigestsNeverNeedsTheClipboard) {
    const auto computing = checkStatusWithoutDigests(false, false, "");
    ASSERT_TRUE(computing.has_value());
    EXPECT_EQ(computing->text, "Still computing hashes...");
    EXPECT_EQ(computing->kind, StatusKind::Warning);

    const auto failed = checkStatusWithoutDigests(false, true, "cannot open file");
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->text, "Could not read file: cannot open file");
    EXPECT_EQ(failed->kind, StatusKind::Failure);

    EXPECT_FALSE(checkStatusWithoutDigests(true, false, "").has_value());
}

TEST(StatusTexts, CopyAndStartUpMessages) {
    EXPECT_EQ(copiedStatus("SHA-256").text, "Copied SHA-256 to clipboard.");
    EXPECT_EQ(copiedStatus("SHA-256").kind, StatusKind::Success);
    EXPECT_EQ(hashFailureStatus("read error").text, "Could not read file: read error");
    EXPECT_EQ(notRegularFileText("C:\\x\\y"), "Not a regular file:\nC:\\x\\y");
}

} // namespace
} // namespace velk
