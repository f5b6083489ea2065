#include "settings/json_scan.h"

#include <gtest/gtest.h>

#include <vector>

namespace velk {
namespace {

struct StringCase {
    const char* what;
    std::string text;
    std::string key;
    bool found;
    std::string value;
};

TEST(settings_scan, FindsStringValues) {
    const std::vector<StringCase> cases = {
        {"plain", R"({"a":"x"})", "a", true, "x"},
        {"blanks around the colon", "{\"a\" :  \t\"x\"}", "a", true, "x"},
        {"line feed after the colon", "{\"a\":\n\"x\"}", "a", false, ""},
        {"carriage return after the colon", "{\"a\":\r\"x\"}", "a", false, ""},
        {"empty value", R"({"a":""})", "a", true, ""},
        {"escaped quote does not end the value", R"({"a":"x\"y"})", "a", true, "x\"y"},
        {"two backslashes give one", R"({"a":"x\\y"})", "a", true, "x\\y"},
        {"backslash n is a line feed", R"({"a":"x\ny"})", "a", true, "x\ny"},
        {"backslash t is the letter t", R"({"a":"x\ty"})", "a", true, "xty"},
        {"raw tab and UTF-8 kept", "{\"a\":\"x\ty\xC3\xA9\"}", "a", true, "x\ty\xC3\xA9"},
        {"unterminated final value", R"({"theme":"dark)", "theme", true, "dark"},
        {"backslash as the last byte stays", R"({"a":"ab\)", "a", true, "ab\\"},
        {"escaped quote as the last bytes", R"({"a":"ab\")", "a", true, "ab\""},
        {"number is not a string", R"({"a":5})", "a", false, ""},
        {"case-sensitive key", R"({"A":"x"})", "a", false, ""},
        {"needle without colon", R"({"a"})", "a", false, ""},
        {"nothing after the blanks", "{\"a\": \t", "a", false, ""},
        {"needle longer than the text", R"("a)", "a", false, ""},
        {"key inside an earlier value wins",
         R"({"theme":"my "label_algo":"SHA-1" x","label_algo":"MD5"})", "label_algo", true,
         "SHA-1"},
        {"key inside a nested object", R"({"o":{"theme":"dark"},"theme":"light"})", "theme", true,
         "dark"},
        {"duplicate keys: first wins", R"({"theme":"dark","theme":"light"})", "theme", true,
         "dark"},
        {"first colon anywhere after the needle", R"({"a","b":"x"})", "a", true, "x"},
        {"key is not a prefix match", R"({"label_algo_old":"x","label_algo":"y"})", "label_algo",
         true, "y"},
    };
    for (const StringCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::string out = "untouched";
        EXPECT_EQ(findJsonString(c.text, c.key, out), c.found);
        EXPECT_EQ(out, c.found ? c.value : "untouched");
    }
}

struct IntCase {
    const char* what;
    std::string text;
    bool found;
    int value;
};

TEST(settings_scan, FindsIntValues) {
    const std::vector<IntCase> cases = {
        {"plain", R"({"n":18})", true, 18},
        {"space after the colon", R"({"n": 18})", true, 18},
        {"line feed after the colon", "{\"n\":\n18}", false, 0},
        {"zero", R"({"n":0})", true, 0},
        {"negative", R"({"n":-20})", true, -20},
        {"leading zeros", R"({"n":007})", true, 7},
        {"largest value", R"({"n":2147483647})", true, 2147483647},
        {"one above is capped", R"({"n":2147483648})", true, 2147483647},
        {"eleven nines are capped", R"({"n":99999999999})", true, 2147483647},
        {"negated cap", R"({"n":-99999999999})", true, -2147483647},
        {"most negative int is not reached", R"({"n":-2147483648})", true, -2147483647},
        {"forty nines do not overflow", "{\"n\":" + std::string(40, '9') + "}", true, 2147483647},
        {"18 digits count", "{\"n\":" + std::string(17, '0') + "1}", true, 1},
        {"a 19th digit is ignored", "{\"n\":" + std::string(18, '0') + "1}", true, 0},
        {"digits past 18 consumed, not counted", "{\"n\":" + std::string(18, '0') + "99,}", true,
         0},
        {"fraction ignored", R"({"n":12.75})", true, 12},
        {"exponent ignored", R"({"n":1e5})", true, 1},
        {"value at the very end", R"({"n":42)", true, 42},
        {"true is not a number", R"({"n":true})", false, 0},
        {"quoted number", R"({"n":"5"})", false, 0},
        {"plus sign", R"({"n":+5})", false, 0},
        {"space after the minus", R"({"n":- 5})", false, 0},
        {"minus at the end", R"({"n":-)", false, 0},
        {"duplicate keys: first wins", R"({"n":1,"n":2})", true, 1},
        {"absent", R"({"m":1})", false, 0},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(c.what);
        int out = 12345;
        EXPECT_EQ(findJsonInt(c.text, "n", out), c.found);
        EXPECT_EQ(out, c.found ? c.value : 12345);
    }
}

TEST(settings_scan, EscapesOnlyQuoteBackslashAndLineFeed) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"plain", "plain"},
        {"a\"b", "a\\\"b"},
        {"a\\b", "a\\\\b"},
        {"a\nb", "a\\nb"},
        {"\\n", "\\\\n"},
        {"tab\tcr\rbell\x07", "tab\tcr\rbell\x07"},
        {"\xE2\x80\x94", "\xE2\x80\x94"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(escapeJsonText(c.first), c.second) << "input: " << c.first;
    }
}

} // namespace
} // namespace velk
