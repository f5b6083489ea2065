#include "settings/settings.h"

#include "settings/file_replace.h"

#include "app_data_folder.h"
#include "save_result_print.h"
#include "settings_equal.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "engine/unique_handle.h"
#ifdef _WIN32
#include "engine/utf16.h"
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
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

TEST_F(settings_store, WriterStartsFromDefaultsOnlyWhenThereIsNothingToRead) {
    Settings s;
    s.theme = "stale";
    EXPECT_TRUE(loadSettingsForWrite(s)); // no folder
    test::expectSameSettings(s, Settings{});

    std::filesystem::create_directory(test::fsPath(folder()));
    test::writeBytes(file(), "");
    s.theme = "stale";
    EXPECT_TRUE(loadSettingsForWrite(s));
    test::expectSameSettings(s, Settings{});

    // There is something, and it cannot be read: no load for a write, and no save either.
    std::filesystem::remove(test::fsPath(file()));
    std::filesystem::create_directory(test::fsPath(file()));
    EXPECT_FALSE(loadSettingsForWrite(s));
    int changes = 0;
    EXPECT_EQ(updateSettings([&changes](Settings&) { ++changes; }, 20), SaveResult::Unreadable);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(std::filesystem::is_directory(test::fsPath(file())));
    EXPECT_FALSE(test::exists(file() + ".tmp"));
}

// Holds config.json.tmp as another save in progress does.
class TemporaryFileHeld {
  public:
    explicit TemporaryFileHeld(const std::string& temp) {
#ifdef _WIN32
        file_.reset(CreateFileW(toUtf16(temp).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        held_ = file_.valid();
#else
        file_.reset(::open(temp.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
        held_ = file_ && ::flock(file_.get(), LOCK_EX) == 0;
#endif
    }
    bool held() const {
        return held_;
    }
    void letGo() {
        file_.reset();
    }

  private:
#ifdef _WIN32
    UniqueFile file_;
#else
    UniqueFd file_;
#endif
    bool held_ = false;
};

// A save that finds another save busy with the temporary file does not give up: it waits for
// that save to land, loads again (so the other save's fields stay) and then lands its own.
TEST_F(settings_store, SaveThatFindsAnotherSaveBusyLandsAfterItKeepingItsFields) {
    Settings seed;
    seed.has_font_px = true;
    seed.font_px = 20;
    ASSERT_EQ(saveSettings(seed), SaveResult::Saved);
    TemporaryFileHeld otherSave(file() + ".tmp");
    ASSERT_TRUE(otherSave.held());

    std::atomic<int> loads{0};
    SaveResult result = SaveResult::Busy;
    std::thread writer([&] {
        result = updateSettings(
            [&loads](Settings& s) {
                s.label_format = "2m";
                ++loads;
            },
            60000);
    });
    const auto waitForLoads = [&loads](int count) {
        while (loads < count)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    waitForLoads(2); // the first try found the temporary file busy
    // The other save lands; a load that starts after the count has grown twice more has
    // certainly read it.
    Settings other = seed;
    other.theme = "dark";
    test::writeBytes(file(), settingsToText(other));
    waitForLoads(loads + 2);
    otherSave.letGo();
    writer.join();

    EXPECT_EQ(result, SaveResult::Saved);
    Settings expected = other;
    expected.label_format = "2m";
    test::expectSameSettings(loadSettings(), expected);
    EXPECT_FALSE(test::exists(file() + ".tmp"));
}

#ifdef _WIN32
// Another program opens config.json without sharing while a writer loads it. Starting from
// defaults then would reset every field the writer does not own.
TEST_F(settings_store, WriterNeverSavesOverAFileItCannotRead) {
    Settings seed;
    seed.theme = "dark";
    seed.has_font_px = true;
    seed.font_px = 20;
    seed.has_win_x = true;
    seed.win_x = 300;
    ASSERT_EQ(saveSettings(seed), SaveResult::Saved);
    const std::string seedText = test::readBytes(file());
    const auto holdFile = [this] {
        return UniqueFile(CreateFileW(toUtf16(file()).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    const auto pickFormat = [](Settings& s) { s.label_format = "2m"; };
    Settings expected = seed;
    expected.label_format = "2m";

    UniqueFile other = holdFile();
    ASSERT_TRUE(other);
    Settings loaded;
    EXPECT_FALSE(loadSettingsForWrite(loaded));
    EXPECT_EQ(updateSettings(pickFormat), SaveResult::Unreadable);
    other.reset();
    EXPECT_EQ(test::readBytes(file()), seedText) << "the file was written over";
    EXPECT_EQ(updateSettings(pickFormat), SaveResult::Saved);
    test::expectSameSettings(loadSettings(), expected);

    // Held for a moment only: the writer reads again and lands within one call.
    ASSERT_EQ(saveSettings(seed), SaveResult::Saved);
    other = holdFile();
    ASSERT_TRUE(other);
    std::thread letGo([&other] {
        Sleep(100);
        other.reset();
    });
    EXPECT_EQ(updateSettings(pickFormat, 60000), SaveResult::Saved);
    letGo.join();
    test::expectSameSettings(loadSettings(), expected);
}
#endif

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
