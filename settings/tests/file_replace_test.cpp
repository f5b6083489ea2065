#include "settings/file_replace.h"

#include "app_data_folder.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <thread>

#ifdef _WIN32
#include "engine/utf16.h"
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace velk {
namespace {

class settings_replace : public ::testing::Test {
  protected:
    void SetUp() override {
        target = settingsFilePath();
        temp = target + ".tmp";
        std::filesystem::create_directory(test::fsPath(settingsFolderPath()));
        test::writeBytes(target, oldText);
    }

    test::ScopedAppData appData;
    std::string target;
    std::string temp;
    const std::string oldText = R"({"label_algo":"SHA-1","theme":"dark"})";
    const std::string newText = R"({"label_algo":"SHA-512","theme":"light"})";
};

TEST_F(settings_replace, ReplacesAndLeavesNoTemporaryFile) {
    writeFileReplacing(target, newText);
    EXPECT_EQ(test::readBytes(target), newText);
    EXPECT_FALSE(test::exists(temp));

    writeFileReplacing(target, ""); // an empty file is a valid replacement too
    EXPECT_TRUE(test::exists(target));
    EXPECT_EQ(test::readBytes(target), "");
}

TEST_F(settings_replace, OverwritesAStaleTemporaryFile) {
    // Left behind by a save whose rename was refused; longer than the new text.
    test::writeBytes(temp, std::string(4096, 'z'));
    writeFileReplacing(target, newText);
    EXPECT_EQ(test::readBytes(target), newText);
    EXPECT_FALSE(test::exists(temp));
}

TEST_F(settings_replace, WritesAnyFileInTheFolder) {
    const std::string list = settingsFolderPath() + test::kSeparator + "windows.txt";
    writeFileReplacing(list, "1234\n5678\n");
    EXPECT_EQ(test::readBytes(list), "1234\n5678\n");
    EXPECT_EQ(test::readBytes(target), oldText);
}

TEST_F(settings_replace, MissingFileReadsEmpty) {
    EXPECT_EQ(readWholeFile(settingsFolderPath() + test::kSeparator + "absent.json"), "");
}

#ifdef _WIN32

class OpenFile {
  public:
    OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition)
        : handle_(CreateFileW(toUtf16(path).c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { close(); }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void close() {
        if (valid())
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE handle_;
};

TEST_F(settings_replace, SkipsWhileAnotherSaveHoldsTheTemporaryFile) {
    test::writeBytes(temp, "half-written by another save");
    OpenFile otherSave(temp, GENERIC_WRITE | DELETE, 0, OPEN_EXISTING);
    ASSERT_TRUE(otherSave.valid());
    writeFileReplacing(target, newText);
    // What keeps a save from installing a temporary file that another save reopened after
    // the first one closed it: the move by name is refused while that save holds it.
    EXPECT_FALSE(
        MoveFileExW(toUtf16(temp).c_str(), toUtf16(target).c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    otherSave.close();
    EXPECT_EQ(test::readBytes(target), oldText);
    EXPECT_EQ(test::readBytes(temp), "half-written by another save");

    writeFileReplacing(target, newText);
    EXPECT_EQ(test::readBytes(target), newText);
}

// A context menu or property page loading the settings holds the file for a moment, with
// delete sharing; the move onto it is refused meanwhile, and the save must still land.
TEST_F(settings_replace, SaveLandsWhenAReaderLetsGoOfTheTargetAMomentLater) {
    OpenFile reader(target, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    OPEN_EXISTING);
    ASSERT_TRUE(reader.valid());
    test::writeBytes(temp, "probe");
    ASSERT_FALSE(
        MoveFileExW(toUtf16(temp).c_str(), toUtf16(target).c_str(), MOVEFILE_REPLACE_EXISTING))
        << "the platform now lets a rename replace an open file; this case tests nothing";
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    std::thread letGo([&reader] {
        Sleep(10);
        reader.close();
    });
    writeFileReplacing(target, newText);
    letGo.join();
    EXPECT_EQ(test::readBytes(target), newText);
    EXPECT_FALSE(test::exists(temp));
}

TEST_F(settings_replace, TargetHeldWithoutDeleteSharingKeepsOldFileAndNewTextInTemporary) {
    OpenFile reader(target, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_TRUE(reader.valid());
    writeFileReplacing(target, newText);
    reader.close();
    EXPECT_EQ(test::readBytes(target), oldText);
    EXPECT_EQ(test::readBytes(temp), newText);

    // Once the other program lets go, the next save goes through and tidies up.
    writeFileReplacing(target, newText + " ");
    EXPECT_EQ(test::readBytes(target), newText + " ");
    EXPECT_FALSE(test::exists(temp));
}

#else

TEST_F(settings_replace, SkipsWhileAnotherSaveHoldsTheTemporaryFile) {
    test::writeBytes(temp, "half-written by another save");
    const int otherSave = ::open(temp.c_str(), O_WRONLY);
    ASSERT_GE(otherSave, 0);
    ASSERT_EQ(::flock(otherSave, LOCK_EX), 0);
    writeFileReplacing(target, newText);
    ::close(otherSave);
    EXPECT_EQ(test::readBytes(target), oldText);
    EXPECT_EQ(test::readBytes(temp), "half-written by another save");

    writeFileReplacing(target, newText);
    EXPECT_EQ(test::readBytes(target), newText);
}

// A save that hits the file-size limit (as a full disk or a quota would stop it) must not
// install the truncated text. The limit is set in a child so that this process keeps none.
TEST_F(settings_replace, FailedWriteKeepsTheOldFileByteForByte) {
    const std::string longText = "{\"monitor\":\"" + std::string(64 * 1024, 'm') + "\"}";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead
        const struct rlimit limit = {4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(3);
        writeFileReplacing(target, longText);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(test::readBytes(target), oldText);
    EXPECT_FALSE(test::exists(temp));

    // The same text without the limit goes through, so the limit was what stopped it.
    writeFileReplacing(target, longText);
    EXPECT_EQ(test::readBytes(target), longText);
}

#endif

} // namespace
} // namespace velk
