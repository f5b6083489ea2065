#include "settings/label_format.h"

#include "settings/settings.h"
#include "settings_equal.h"

#include <gtest/gtest.h>

#include <vector>

namespace velk {
namespace {

TEST(settings_labels, FormatTableIsExact) {
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"2", "First/last 2  (##-##)"},
        {"4", "First/last 4  (####-####)"},
        {"2m", "First/middle/last 2  (##-##-##)"},
        {"4m", "First/middle/last 4  (####-####-####)"},
        {"full", "Whole hash  (full digest \xE2\x80\x94 long menu)"},
    };
    ASSERT_EQ(kLabelFormats.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(kLabelFormats[i].key, expected[i].first) << i;
        EXPECT_EQ(kLabelFormats[i].description, expected[i].second) << i;
    }
    // The em dash is the three bytes E2 80 94, not a hyphen or an en dash.
    const std::string whole = kLabelFormats[4].description;
    EXPECT_NE(whole.find("digest \xE2\x80\x94 long"), std::string::npos);
}

struct LabelCase {
    std::string digest;
    std::string key;
    std::string label;
};

TEST(settings_labels, ShortensByFormat) {
    const std::vector<LabelCase> cases = {
        // The 16-character worked example.
        {"0123456789abcdef", "2", "01-ef"},
        {"0123456789abcdef", "4", "0123-cdef"},
        {"0123456789abcdef", "2m", "01-78-ef"},
        {"0123456789abcdef", "4m", "0123-6789-cdef"},
        {"0123456789abcdef", "full", "0123456789abcdef"},
        // Every threshold, one below and at it.
        {"", "full", ""},
        {"abc", "2", "abc"},
        {"abcd", "2", "ab-cd"},
        {"abcde", "2m", "abcde"},
        {"abcdef", "2m", "ab-cd-ef"},
        {"abcdefg", "2m", "ab-cd-fg"},
        {"0123456", "4", "0123456"},
        {"01234567", "4", "0123-4567"},
        {"0123456789a", "4m", "0123456789a"},
        {"0123456789ab", "4m", "0123-4567-89ab"},
        {"", "4", ""},
        // Keys that are not formats behave as "4".
        {"0123456", "FULL", "0123456"},
        {"01234567", "FULL", "0123-4567"},
        {"0123456789abcdef", "8", "0123-cdef"},
        {"0123456789abcdef", "", "0123-cdef"},
        {"0123456789abcdef", "4 ", "0123-cdef"},
        {"0123456789abcdef", "2M", "0123-cdef"},
        // Real digest lengths: CRC32 (8), MD5 (32), 64 characters.
        {"0123abcd", "4m", "0123abcd"},
        {"0123abcd", "2m", "01-3a-cd"},
        {"00000000000000xy"
         "z0000000000000ab",
         "2m", "00-yz-ab"},
        {"00000000000000wxyz00000000000000", "4m", "0000-wxyz-0000"},
        {std::string(31, '0') + "pq" + std::string(31, '0'), "2m", "00-pq-00"},
        {std::string(30, '0') + "pqrs" + std::string(30, '0'), "4m", "0000-pqrs-0000"},
        // The digest is used exactly as received.
        {"ABCDEF12", "4", "ABCD-EF12"},
    };
    for (const LabelCase& c : cases) {
        EXPECT_EQ(formatMenuLabel(c.digest, c.key), c.label)
            << "digest \"" << c.digest << "\" key \"" << c.key << "\"";
    }
}

TEST(settings_labels, NormalisesOnlyUnknownLabelSettings) {
    for (const std::string& name : kAlgorithmNames) {
        for (const LabelFormat& format : kLabelFormats) {
            Settings s;
            s.label_algo = name;
            s.label_format = format.key;
            normalizeLabelSettings(s);
            EXPECT_EQ(s.label_algo, name);
            EXPECT_EQ(s.label_format, format.key);
        }
    }

    const std::vector<std::pair<std::string, std::string>> unknown = {
        {"sha-256", "4M"}, {"md5", "FULL"}, {"SHA-256 ", " 4"}, {"", ""}, {"SHA256", "8"},
    };
    for (const auto& c : unknown) {
        Settings s;
        s.label_algo = c.first;
        s.label_format = c.second;
        s.theme = "dark";
        s.font_px = 30;
        s.has_win_x = true;
        s.win_x = -5;
        s.has_monitor = true;
        s.monitor = "m";
        Settings expected = s;
        expected.label_algo = "MD5";
        expected.label_format = "4";
        normalizeLabelSettings(s);
        SCOPED_TRACE(c.first + " / " + c.second);
        test::expectSameSettings(s, expected);
    }
}

TEST(settings_labels, PreviewNeedsTheChosenDigest) {
    const HashResults results = {
        {"MD5", "0123456789abcdef0123456789abcdef"},
        {"CRC32", "0123abcd"},
    };
    EXPECT_EQ(formatMenuPreview(results, "MD5", "4"), "menu shows:  Hashes 0123-cdef");
    EXPECT_EQ(formatMenuPreview(results, "CRC32", "2m"), "menu shows:  Hashes 01-3a-cd");
    EXPECT_EQ(formatMenuPreview(results, "CRC32", "full"), "menu shows:  Hashes 0123abcd");
    EXPECT_EQ(formatMenuPreview(results, "SHA-256", "4"), "");
    EXPECT_EQ(formatMenuPreview(results, "md5", "4"), "");
    EXPECT_EQ(formatMenuPreview(HashResults{}, "MD5", "4"), "");
}

} // namespace
} // namespace velk
