#include "settings/file_replace.h"

#include "app_data_folder.h"
#include "save_result_print.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#ifdef _WIN32
#include "engine/utf16.h"
#include <windows.h>
#else
#include "engine/unique_handle.h"

#include <cerrno>
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
    EXPECT_EQ(writeFileReplacing(target, newText), SaveResult::Saved);
    EXPECT_EQ(test::readBytes(target), newText);
    EXPECT_FALSE(test::exists(temp));

    // An empty file is a valid replacement too.
    EXPECT_EQ(writeFileReplacing(target, ""), SaveResult::Saved);
    EXPECT_TRUE(test::exists(target));
    EXPECT_EQ(test::readBytes(target), "");
}

TEST_F(settings_replace, OverwritesAStaleTemporaryFile) {
    // Left behind by a save whose rename was refused; longer than the new text.
    test::writeBytes(temp, std::string(4096, 'z'));
    EXPECT_EQ(writeFileReplacing(target, newText), SaveResult::Saved);
    EXPECT_EQ(test::readBytes(target), newText);
    EXPECT_FALSE(test::exists(temp));
}

TEST_F(settings_replace, WritesAnyFileInTheFolder) {
    const std::string list = settingsFolderPath() + test::kSeparator + "windows.txt";
    EXPECT_EQ(writeFileReplacing(list, "1234\n5678\n"), SaveResult::Saved);
    EXPECT_EQ(test::readBytes(list), "1234\n5678\n");
    EXPECT_EQ(test::readBytes(target), oldText);
}

// A writer may start from defaults only when there is nothing to read; a file that exists
// but cannot be read must not look like a missing one.
TEST_F(settings_replace, ReadTellsAMissingFileFromAnUnreadableOne) {
    const std::string folder = settingsFolderPath() + test::kSeparator;
    test::writeBytes(folder + "empty.json", "");
    std::filesystem::create_directory(test::fsPath(folder + "folder.json"));
    struct Case {
        std::string path;
        FileRead expected;
        std::string bytes;
    };
    const Case cases[] = {
        {target, FileRead::Read, oldText},
        {folder + "empty.json", FileRead::Read, ""},
        {folder + "absent.json", FileRead::Missing, ""},
        {folder + "no-folder" + test::kSeparator + "config.json", FileRead::Missing, ""},
        {folder + "folder.json", FileRead::Unreadable, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string bytes = "left over";
        EXPECT_EQ(readFileBytes(c.path, bytes), c.expected);
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(readWholeFile(c.path), c.bytes);
    }
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

TEST_F(settings_replace, BusyWhileAnotherSaveHoldsTheTemporaryFile) {
    test::writeBytes(temp, "half-written by another save");
    // Held as a save holds it, from its creation until it carries the target's name.
    OpenFile otherSave(temp, GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                       OPEN_EXISTING);
    ASSERT_TRUE(otherSave.valid());
    EXPECT_EQ(writeFileReplacing(target, newText), SaveResult::Busy);
    otherSave.close();
    EXPECT_EQ(test::readBytes(target), oldText);
    EXPECT_EQ(test::readBytes(temp), "half-written by another save");

    EXPECT_EQ(writeFileReplacing(target, newText), SaveResult::Saved);
    EXPECT_EQ(test::readBytes(target), newText);
}

// Whether this system renames an open file over another with POSIX semantics, tried on a
// pair of scratch files.
bool systemRenamesOverOpenFiles(const std::string& folder) {
    const std::string from = folder + "\\probe-from";
    const std::wstring to = toUtf16(folder + "\\probe-to");
    test::writeBytes(from, "a");
    HANDLE file = CreateFileW(toUtf16(from).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string block(sizeof(FILE_RENAME_INFO) + to.size() * sizeof(wchar_t), '\0');
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(&block[0]);
    info->Flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS;
    info->FileNameLength = static_cast<DWORD>(to.size() * sizeof(wchar_t));
    std::memcpy(info->FileName, to.data(), info->FileNameLength);
    const bool renamed =
        SetFileInformationByHandle(file, static_cast<FILE_INFO_BY_HANDLE_CLASS>(22), info,
                                   static_cast<DWORD>(block.size())) != 0;
    CloseHandle(file);
    DeleteFileW(toUtf16(from).c_str());
    DeleteFileW(to.c_str());
    return renamed;
}

// A context menu or property page loading the settings holds the file for a moment, with
// delete sharing. A POSIX rename replaces the file under it; a move by name is refused
// meanwhile, is tried again, and must still land once the reader lets go.
TEST_F(settings_replace, SaveLandsWhenAReaderLetsGoOfTheTargetAMomentLater) {
    OpenFile reader(target, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    OPEN_EXISTING);
    ASSERT_TRUE(reader.valid());
    std::thread letGo([&reader] {
        Sleep(10);
        reader.close();
    });
    EXPECT_EQ(writeFileReplacing(target, newText), SaveResult::Saved);
    letGo.join();
    EXPECT_EQ(test::readBytes(target), newText);
    EXPECT_FALSE(test::exists(temp));
}

// The same reader, holding on past every retry: with a POSIX rename the save lands under it;
// without one the save reports the refusal and the new text waits in the temporary file.
TEST_F(settings_replace, ReaderWithDeleteSharingThatHoldsOn) {
    const bool posixRename = systemRenamesOverOpenFiles(settingsFolderPath());
    std::cout << (posixRename ? "this system renames over open files (POSIX semantics)\n"
                              : "no POSIX rename here: saves move the file by name\n");
    OpenFile reader(target, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    OPEN_EXISTING);
    ASSERT_TRUE(reader.valid());
    const SaveResult result = writeFileReplacing(target, newText);
    reader.close();
    if (posixRename) {
        EXPECT_EQ(result, SaveResult::Saved);
        EXPECT_EQ(test::readBytes(target), newText);
        EXPECT_FALSE(test::exists(temp));
    } else {
        EXPECT_EQ(result, SaveResult::RenameRefused);
        EXPECT_EQ(test::readBytes(target), oldText);
        EXPECT_EQ(test::readBytes(temp), newText);
    }
}

TEST_F(settings_replace, TargetHeldWithoutDeleteSharingKeepsOldFileAndNewTextInTemporary) {
    OpenFile reader(target, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_TRUE(reader.valid());
    EXPECT_EQ(writeFileReplacing(target, newText), SaveResult::RenameRefused);
    reader.close();
    EXPECT_EQ(test::readBytes(target), oldText);
    EXPECT_EQ(test::readBytes(temp), newText);

    // Once the other program lets go, the next save goes through and tidies up.
    EXPECT_EQ(writeFileReplacing(target, newText + " "), SaveResult::Saved);
    EXPECT_EQ(test::readBytes(target), newText + " ");
    EXPECT_FALSE(test::exists(temp));
}

#else

TEST_F(settings_replace, BusyWhileAnotherSaveHoldsTheTemporaryFile) {
    test::writeBytes(temp, "half-written by another save");
    {
        UniqueFd otherSave(::open(temp.c_str(), O_WRONLY));
        ASSERT_TRUE(otherSave);
        ASSERT_EQ(::flock(otherSave.get(), LOCK_EX), 0);
        EXPECT_EQ(writeFileReplacing(target, newText), SaveResult::Busy);
    }
    EXPECT_EQ(test::readBytes(target), oldText);
    EXPECT_EQ(test::readBytes(temp), "half-written by another save");

    EXPECT_EQ(writeFileReplacing(target, newText), SaveResult::Saved);
    EXPECT_EQ(test::readBytes(target), newText);
}

TEST(unique_fd, ClosesTheDescriptorOnce) {
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    {
        UniqueFd owner(fd);
        UniqueFd moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(::fcntl(moved.get(), F_GETFD), FD_CLOEXEC);
    }
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1);
    EXPECT_EQ(errno, EBADF);
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
        ::_exit(writeFileReplacing(target, longText) == SaveResult::WriteFailed ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "4: the save did not report WriteFailed";
    EXPECT_EQ(test::readBytes(target), oldText);
    EXPECT_FALSE(test::exists(temp));

    // The same text without the limit goes through, so the limit was what stopped it.
    EXPECT_EQ(writeFileReplacing(target, longText), SaveResult::Saved);
    EXPECT_EQ(test::readBytes(target), longText);
}

#endif

} // namespace
} // namespace velk
