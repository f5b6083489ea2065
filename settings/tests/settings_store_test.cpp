#include "settings/settings.h"

#include "settings/file_replace.h"

#include "app_data_folder.h"
#include "settings_equal.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "engine/utf16.h"
#include <windows.h>
#endif

namespace velk {
namespace {

using test::kSeparator;

const std::string kDefaultText =
    R"({"label_algo":"MD5","label_format":"4","theme":"system","compute_all_menus":0})";

class settings_store : public ::testing::Test {
  protected:
    test::ScopedAppData appData;
    std::string folder() const { return appData.path() + kSeparator + "velkscope"; }
    std::string file() const { return folder() + kSeparator + "config.json"; }
};

TEST_F(settings_store, PathsFollowAppData) {
    EXPECT_EQ(settingsFolderPath(), folder());
    EXPECT_EQ(settingsFilePath(), file());
}

TEST_F(settings_store, MissingOrEmptyAppDataMeansTheCurrentFolder) {
    const std::string expected = std::string(".") + kSeparator + "velkscope";
    test::setEnvironment("APPDATA", nullptr);
    EXPECT_EQ(settingsFolderPath(), expected);
    EXPECT_EQ(settingsFilePath(), expected + kSeparator + "config.json");
    test::setEnvironment("APPDATA", "");
    EXPECT_EQ(settingsFolderPath(), expected);
}

TEST_F(settings_store, NoFolderGivesDefaults) {
    test::expectSameSettings(loadSettings(), Settings{});
}

TEST_F(settings_store, EmptyOrUnreadableFileGivesDefaults) {
    std::filesystem::create_directory(test::fsPath(folder()));
    test::writeBytes(file(), "");
    test::expectSameSettings(loadSettings(), Settings{});

    // A folder in the file's place cannot be read as a file.
    std::filesystem::remove(test::fsPath(file()));
    std::filesystem::create_directory(test::fsPath(file()));
    test::expectSameSettings(loadSettings(), Settings{});
}

TEST_F(settings_store, SaveCreatesTheFolderAndWritesTheExactLine) {
    ASSERT_FALSE(test::exists(folder()));
    saveSettings(Settings{});
    EXPECT_TRUE(std::filesystem::is_directory(test::fsPath(folder())));
    EXPECT_EQ(test::readBytes(file()), kDefaultText);
    EXPECT_FALSE(test::exists(file() + ".tmp"));
}

TEST_F(settings_store, LoadChangeSaveKeepsOtherWritersFields) {
    std::filesystem::create_directory(test::fsPath(folder()));
    test::writeBytes(file(), R"({"label_algo":"SHA-256","label_format":"2m","theme":"dark",)"
                             R"("font_px":16,"compute_all_menus":1,"win_x":-8,"win_y":4,)"
                             R"("win_w":900,"win_h":700,"monitor":"\\\\.\\DISPLAY2"})");

    // The placement store owns the window fields and the monitor.
    Settings placement = loadSettings();
    placement.win_x = 100;
    placement.has_win_w = false;
    placement.monitor = "\\\\.\\DISPLAY1";
    saveSettings(placement);

    EXPECT_EQ(test::readBytes(file()),
              R"({"label_algo":"SHA-256","label_format":"2m","theme":"dark","font_px":16,)"
              R"("compute_all_menus":1,"win_x":100,"win_y":4,"win_h":700,)"
              R"("monitor":"\\\\.\\DISPLAY1"})");

    // The property page owns one label field per change.
    Settings page = loadSettings();
    page.label_format = "full";
    saveSettings(page);
    Settings expected = placement;
    expected.win_w = 0; // no longer present, so not stored either
    expected.label_format = "full";
    test::expectSameSettings(loadSettings(), expected);
}

TEST_F(settings_store, AwkwardValuesSurviveTheFile) {
    Settings s;
    s.label_algo = "q\"b\\l\nt\tcr\r";
    s.theme = "\xD1\x82\xD0\xB5\xD0\xBC\xD0\xB0"; // Cyrillic, as UTF-8
    s.has_monitor = true;
    s.monitor = "\\\\.\\DISPLAY1\\";
    saveSettings(s);
    test::expectSameSettings(loadSettings(), s);
}

TEST_F(settings_store, FileBytesAreNotTranslated) {
    std::filesystem::create_directory(test::fsPath(folder()));
    // Line ends and a Ctrl-Z must come back as they are, in a file longer than one block.
    std::string bytes = "{\"theme\":\"a\r\nb\x1A\"}\r\n";
    bytes += std::string(5000, 'x');
    bytes += std::string("\0\r\n", 3);
    test::writeBytes(file(), bytes);
    EXPECT_EQ(readWholeFile(file()), bytes);
    EXPECT_EQ(loadSettings().theme, "a\r\nb\x1A");
}

// Profile folders named outside the ANSI code page (non-Latin user names).
TEST(settings_store_unicode, FolderOutsideTheAnsiCodePageRoundTrips) {
    const std::string leaf = "\xD0\x9F\xD1\x80\xD0\xBE\xD1\x84\xD0\xB8\xD0\xBB\xD1\x8C-"
                             "\xE7\x94\xA8\xE6\x88\xB7"; // "Профиль-用户"
    test::ScopedAppData appData(leaf);
#ifdef _WIN32
    BOOL lossy = FALSE;
    const std::wstring wide = toUtf16(leaf);
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr,
                        &lossy);
    std::cout << "ANSI code page " << GetACP()
              << (lossy ? ": the folder name is outside it\n" : ": the name fits it\n");
#endif
    const std::string file = appData.path() + kSeparator + "velkscope" + kSeparator + "config.json";
    ASSERT_EQ(settingsFilePath(), file);

    Settings s;
    s.label_algo = "BLAKE2s";
    s.has_win_x = true;
    s.win_x = 42;
    saveSettings(s);
    EXPECT_EQ(test::readBytes(file), settingsToText(s));
    test::expectSameSettings(loadSettings(), s);
    EXPECT_FALSE(test::exists(file + ".tmp"));
}

} // namespace
} // namespace velk
