#include "settings/settings.h"

#include "settings_equal.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace velk {
namespace {

using test::expectSameSettings;

const std::string kDefaultText =
    R"({"label_algo":"MD5","label_format":"4","theme":"system","compute_all_menus":0})";

TEST(settings_text, DefaultsGiveThe78ByteLine) {
    EXPECT_EQ(settingsToText(Settings{}), kDefaultText);
    EXPECT_EQ(kDefaultText.size(), 78u);
}

TEST(settings_text, WritesEveryOptionalFragmentInOrder) {
    Settings s;
    s.label_algo = "SHA3-512";
    s.label_format = "full";
    s.theme = "dark";
    s.has_font_px = true;
    s.font_px = -3;
    s.compute_all_menus = true;
    s.has_win_x = true;
    s.win_x = -1920;
    s.has_win_y = true;
    s.win_y = 0;
    s.has_win_w = true;
    s.win_w = 2147483647;
    s.has_win_h = true;
    s.win_h = -2147483647;
    s.has_win_max = true;
    s.win_max = true;
    s.has_monitor = true;
    s.monitor = "\\\\.\\DISPLAY2";
    EXPECT_EQ(settingsToText(s),
              R"({"label_algo":"SHA3-512","label_format":"full","theme":"dark","font_px":-3,)"
              R"("compute_all_menus":1,"win_x":-1920,"win_y":0,"win_w":2147483647,)"
              R"("win_h":-2147483647,"win_max":1,"monitor":"\\\\.\\DISPLAY2"})");
}

TEST(settings_text, WritesOnlyPresentFontSizeAndWindowFields) {
    Settings s;
    s.font_px = 30; // not present: must not be written
    s.win_x = 10;
    s.has_win_y = true;
    s.win_y = 20;
    s.win_w = 500; // not present: must not be written
    s.has_win_h = true;
    s.win_h = 400;
    s.win_max = true;
    s.monitor = "ignored";
    EXPECT_EQ(settingsToText(s), R"({"label_algo":"MD5","label_format":"4","theme":"system",)"
                                 R"("compute_all_menus":0,"win_y":20,"win_h":400})");
    // A window that is not maximised is still a stored fact.
    s.has_win_max = true;
    s.win_max = false;
    s.has_font_px = true;
    EXPECT_EQ(settingsToText(s),
              R"({"label_algo":"MD5","label_format":"4","theme":"system","font_px":30,)"
              R"("compute_all_menus":0,"win_y":20,"win_h":400,"win_max":0})");
}

TEST(settings_text, EscapesValuesAndWritesTabsRaw) {
    Settings s;
    s.label_algo = "a\"b";
    s.label_format = "c\\d";
    s.theme = "e\nf\tg";
    s.has_monitor = true;
    s.monitor = "\xE2\x80\x94\r";
    EXPECT_EQ(settingsToText(s),
              "{\"label_algo\":\"a\\\"b\",\"label_format\":\"c\\\\d\",\"theme\":\"e\\nf\tg\","
              "\"compute_all_menus\":0,\"monitor\":\"\xE2\x80\x94\r\"}");
}

TEST(settings_text, AwkwardValuesSurviveARoundTrip) {
    Settings s;
    s.label_algo = "quote\" backslash\\ linefeed\n tab\t end\\";
    s.label_format = "\\t and \\n as typed";
    s.theme = "\"\"\\\\\n\n";
    s.has_font_px = true;
    s.font_px = -2147483647;
    s.has_win_w = true;
    s.win_w = -1;
    s.has_monitor = true;
    s.monitor = "";
    expectSameSettings(settingsFromText(settingsToText(s)), s);
}

// What a text editor writes when told to save ASCII text as "Unicode".
std::string utf16LittleEndianWithMark(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

struct LoadCase {
    const char* what;
    std::string text;
    std::function<void(Settings&)> expect; // turns the defaults into the expected record
};

TEST(settings_text, ReadsTolerantly) {
    const std::vector<LoadCase> cases = {
        {"empty text", "", [](Settings&) {}},
        {"not JSON at all", "font_px=18", [](Settings&) {}},
        {"one key", R"({"font_px": 18})",
         [](Settings& s) {
             s.has_font_px = true;
             s.font_px = 18;
         }},
        {"line feed before the number", "{\"font_px\":\n18}", [](Settings&) {}},
        {"theme kept as found", R"({"theme":"neon"})", [](Settings& s) { s.theme = "neon"; }},
        {"label fields kept as found", R"({"label_algo":"sha-256","label_format":"4M"})",
         [](Settings& s) {
             s.label_algo = "sha-256";
             s.label_format = "4M";
         }},
        {"true is not a number", R"({"compute_all_menus":true})", [](Settings&) {}},
        {"any non-zero number turns it on", R"({"compute_all_menus":2})",
         [](Settings& s) { s.compute_all_menus = true; }},
        {"zero keeps it off", R"({"compute_all_menus":0})", [](Settings&) {}},
        {"negative window value", R"({"win_x":-20})",
         [](Settings& s) {
             s.has_win_x = true;
             s.win_x = -20;
         }},
        {"eleven nines", R"({"win_y":99999999999,"win_h":-99999999999})",
         [](Settings& s) {
             s.has_win_y = true;
             s.win_y = 2147483647;
             s.has_win_h = true;
             s.win_h = -2147483647;
         }},
        {"window value of the wrong shape stays absent", R"({"win_w":"800","win_h":+5})",
         [](Settings&) {}},
        {"monitor present", R"({"monitor":"\\\\.\\DISPLAY1"})",
         [](Settings& s) {
             s.has_monitor = true;
             s.monitor = "\\\\.\\DISPLAY1";
         }},
        {"empty monitor is still present", R"({"monitor":""})",
         [](Settings& s) { s.has_monitor = true; }},
        {"escaped t reads as the letter", R"({"theme":"da\tk"})",
         [](Settings& s) { s.theme = "datk"; }},
        {"needle inside an earlier value",
         R"({"theme":"x "label_algo":"SHA-1" y","label_algo":"SHA-256"})",
         [](Settings& s) {
             s.theme = "x ";
             s.label_algo = "SHA-1";
         }},
        {"font size of the wrong shape stays absent", R"({"font_px":"18"})", [](Settings&) {}},
        {"maximised", R"({"win_max":1})", [](Settings& s) { s.has_win_max = s.win_max = true; }},
        {"not maximised is present too", R"({"win_max":0})",
         [](Settings& s) { s.has_win_max = true; }},
        {"maximised of the wrong shape stays absent", R"({"win_max":true})", [](Settings&) {}},
        {"duplicate keys: first wins", R"({"font_px":20,"theme":"dark","font_px":30})",
         [](Settings& s) {
             s.has_font_px = true;
             s.font_px = 20;
             s.theme = "dark";
         }},
        {"unterminated final string", R"({"font_px":14,"theme":"dark)",
         [](Settings& s) {
             s.has_font_px = true;
             s.font_px = 14;
             s.theme = "dark";
         }},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF{\"label_algo\":\"SHA-1\"}",
         [](Settings& s) { s.label_algo = "SHA-1"; }},
        {"UTF-16 file matches nothing",
         utf16LittleEndianWithMark(R"({"font_px":18,"theme":"dark"})"), [](Settings&) {}},
        {"foreign keys and whitespace ignored",
         "{\n  \"version\": 3,\n  \"font_px\": 16,\n  \"extra\": {\"win_x\": 5}\n}\n",
         [](Settings& s) {
             s.has_font_px = true;
             s.font_px = 16;
             s.has_win_x = true;
             s.win_x = 5;
         }},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        Settings expected;
        c.expect(expected);
        expectSameSettings(settingsFromText(c.text), expected);
    }
}

} // namespace
} // namespace velk
