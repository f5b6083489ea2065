// The hash token a clipboard check takes from the clipboard's text.

#include "engine/clipboard_token.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

struct TokenCase {
    const char* text;
    bool ok;
    const char* candidate;
};

TEST(ClipboardToken, Table) {
    const TokenCase cases[] = {
        {"  0XABCDEF01\r\n", true, "abcdef01"},
        {"\t\n d41d8cd98f00b204e9800998ecf8427e", true, "d41d8cd98f00b204e9800998ecf8427e"},
        {"d41d8cd98f00b204e9800998ecf8427e  ubuntu.iso\n", true,
         "d41d8cd98f00b204e9800998ecf8427e"},
        {"ABC", true, "abc"},
        {"0x0", true, "0"},
        {"00", true, "00"},  // a lone zero pair is a digit string, not a prefix
        {"0xx1", false, ""}, // after the prefix an "x" is not a hex digit
        {"SHA256: abcdef", false, ""},
        {"MD5 d41d8cd98f00b204e9800998ecf8427e", false, ""},
        {"0x", false, ""},
        {"0X", false, ""},
        {"   \t\r\n ", false, ""},
        {"", false, ""},
        {"abc\xc2\xa0"
         "def",
         false, ""}, // non-breaking space inside the word
        {"caf\xc3\xa9", false, ""},
        {"abc\x01"
         "zzz",
         true, "abc"}, // control bytes end the word like spaces
        {"12345g", false, ""},
    };
    for (const TokenCase& c : cases) {
        std::string candidate = "unset";
        EXPECT_EQ(parseClipboardHash(c.text, candidate), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(candidate, c.candidate) << c.text;
        }
    }
}

TEST(ClipboardTextLength, StopsAtZeroOrAtTheEndOfTheBlock) {
    const char16_t unterminated[] = {u'a', u'b', u'c', u'd'};
    EXPECT_EQ(clipboardTextLength(unterminated, sizeof unterminated), 4u);
    EXPECT_EQ(clipboardTextLength(unterminated, 5), 2u); // an odd byte count rounds down
    const char16_t early[] = {u'a', 0, u'c', 0};
    EXPECT_EQ(clipboardTextLength(early, sizeof early), 1u);
    EXPECT_EQ(clipboardTextLength(early, 0), 0u);
}

} // namespace
} // namespace velk
