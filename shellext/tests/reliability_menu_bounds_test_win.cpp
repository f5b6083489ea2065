// The bounds of a read inside the file manager, through the registered test build of the DLL:
// a read slowed down past the budget, a file growing while the menu reads it, and a selected
// path longer than MAX_PATH.

#include "reliability_menu_support_win.h"
#include "shell_data_object.h"
#include "shell_dll.h"
#include "shell_menu_fixture.h"
#include "test_files.h"

#include "engine/digest.h"
#include "engine/long_path.h"
#include "engine/unique_handle.h"
#include "shellext/com/selection_win.h"
#include "shellext/menu/shell_read.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

const long long MiB = 1024 * 1024;
const double kBudgetMs = static_cast<double>(velk::kShellReadBudget.count());

// Slows every read of the DLL's passes down while it lives, then restores full speed.
struct SlowReads {
    using SetFn = void (*)(unsigned);
    SlowReads(SetFn set, unsigned ms) : set_(set) { set_(ms); }
    ~SlowReads() { set_(0); }
    SetFn set_;
};

UINT moreOffset(const std::string& name) {
    const auto& names = velk::kAlgorithmNames;
    return 1 + static_cast<UINT>(std::find(names.begin(), names.end(), name) - names.begin());
}

std::string digestOfBytes(const std::string& algorithm, const std::string& bytes) {
    velk::Digest digest;
    EXPECT_TRUE(digest.open(*velk::findAlgorithm(algorithm)));
    digest.update(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return digest.finalHex();
}

// What velksum.exe (beside the test program) prints for the arguments, or "" when it cannot run.
std::string velksumOutput(const std::wstring& arguments) {
    const std::wstring outPath = testProgramFolder() + L"velksum-output.txt";
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    std::string output;
    {
        velk::UniqueFile out(CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out)
            return output;
        std::wstring commandLine = L"\"" + testProgramFolder() + L"velksum.exe\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.get();
        startup.hStdError = out.get();
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &process))
            return output;
        velk::UniqueObject processHandle(process.hProcess);
        velk::UniqueObject threadHandle(process.hThread);
        WaitForSingleObject(process.hProcess, 30000);
    }
    output = readFileWide(outPath);
    DeleteFileW(outPath.c_str());
    return output;
}

} // namespace

// Every read waits 60 ms, as on a slow share: the menu gives up at the budget and shows the
// "Velkscope" item; "Copy More" and "Clipboard Check" on a menu built before the slowdown hand
// the file to the viewer instead of keeping the shell waiting.
TEST_F(MenuReliability, SlowedReadStopsAtTheBudgetAndTheViewerTakesOver) {
    writeConfig("{}");
    const std::wstring path = sizedFile(L"slow share file.bin", 64 * MiB);
    {
        BuiltMenu built = idle(path);
        SlowReads slow(&setReadDelay, 60);
        const Clock::time_point start = Clock::now();
        rebuild(built);
        const double took = millisecondsBetween(start, Clock::now());
        std::printf("[ slow ] menu took %.0f ms\n", took);
        ASSERT_EQ(built.entries.size(), 3u);
        EXPECT_FALSE(built.ours().popup);
        EXPECT_EQ(built.ours().text, L"Velkscope");
        EXPECT_GE(took, kBudgetMs - 50);
        // One more slowed chunk at most, with room for a loaded machine.
        EXPECT_LE(took, kBudgetMs + 1000);
        EXPECT_EQ(built.invoke(0), S_OK);
        EXPECT_EQ(starts().waitFor(1).size(), 1u);
    }
    struct Case {
        const char* what;
        UINT offset;
    };
    for (const Case& c :
         {Case{"Copy More SHA-256", moreOffset("SHA-256")}, Case{"Clipboard Check", 12}}) {
        SCOPED_TRACE(c.what);
        starts().clear();
        // The menu is built while the file is small, so that it holds its submenu on a busy
        // machine too; the commands then meet the large file.
        ASSERT_TRUE(makeSizedFile(path, 1024));
        const BuiltMenu built = build({path});
        ASSERT_TRUE(built.ours().popup);
        ASSERT_TRUE(makeSizedFile(path, 64 * MiB));
        ASSERT_TRUE(putClipboardText(L"before"));
        SlowReads slow(&setReadDelay, 60);
        MessageBoxWatcher boxes;
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(built.invoke(c.offset), S_OK);
        const double took = millisecondsBetween(start, Clock::now());
        EXPECT_TRUE(boxes.finish().empty());
        std::printf("[ slow ] %s took %.0f ms\n", c.what, took);
        // The budget, one slowed chunk, and the start of the viewer process.
        EXPECT_LE(took, kBudgetMs + 3000);
        const std::vector<ViewerStart> launched = starts().waitFor(1);
        ASSERT_EQ(launched.size(), 1u);
        ASSERT_EQ(launched[0].arguments.size(), 1u);
        EXPECT_EQ(launched[0].arguments[0], path);
        EXPECT_EQ(clipboardText(), L"before");
    }
    DeleteFileW(path.c_str());
}

// Appends the rest of the content in 1 MiB writes, a little apart, until told to stop or the
// content runs out.
class Grower {
  public:
    Grower(const std::wstring& path, const std::string& content, std::size_t from)
        : path_(path), content_(content), size_(from) {
        thread_ = std::thread([this] { run(); });
    }
    ~Grower() { stop(); }
    std::size_t stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        return size_;
    }
    std::size_t size() const { return size_; }
    bool failed() const { return failed_; }

  private:
    void run() {
        velk::UniqueFile file(CreateFileW(path_.c_str(), FILE_APPEND_DATA,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            failed_ = true;
            return;
        }
        while (!stop_ && size_ < content_.size()) {
            DWORD written = 0;
            if (!WriteFile(file.get(), content_.data() + size_, static_cast<DWORD>(MiB), &written,
                           nullptr) ||
                written != MiB) {
                failed_ = true;
                return;
            }
            size_ += written;
            Sleep(5);
        }
    }
    std::wstring path_;
    const std::string& content_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> failed_{false};
    std::atomic<std::size_t> size_;
    std::thread thread_;
};

// A writer keeps the file growing while the menu and "Copy More" read it: each reads the size
// it measured at its start and no more, so it ends within the budget and shows
// the digest of the bytes the file held then: a prefix no shorter than the file was just
// before the call, and no longer than it was just after it.
TEST_F(MenuReliability, GrowingFileIsReadUpToTheSizeMeasuredAtTheStart) {
    const std::size_t head = 4 * MiB;
    const std::string content = pseudoRandomBytes(head + 300 * MiB, 23);
    const PrefixCrcs prefixes(content, {}, MiB); // the writer appends whole MiB
    const std::wstring path = file(L"growing while hashed.bin", "");
    struct Case {
        const char* what;
        bool menu; // the menu with every digest, or "Copy More" CRC32 on a label-only menu
    };
    for (const Case& c : {Case{"menu, every digest", true}, Case{"compute and copy", false}}) {
        SCOPED_TRACE(c.what);
        writeConfig(c.menu ? R"({"compute_all_menus":1,"label_algo":"CRC32","label_format":"full"})"
                           : R"({"label_algo":"MD5"})");
        ASSERT_TRUE(writeTestFile(path, content.substr(0, head)));
        BuiltMenu built = c.menu ? idle(path) : build({path});
        ASSERT_TRUE(putClipboardText(L"before"));
        Grower grower(path, content, head);
        Sleep(20); // the writer is under way before the menu looks at the file
        const std::size_t before = grower.size();
        const Clock::time_point start = Clock::now();
        if (c.menu)
            rebuild(built);
        else
            EXPECT_EQ(built.invoke(moreOffset("CRC32")), S_OK);
        const double took = millisecondsBetween(start, Clock::now());
        const std::size_t after = grower.stop();
        ASSERT_FALSE(grower.failed());
        std::printf("[ grow ] %s: took %.0f ms, file grew from %zu to %zu MiB meanwhile\n", c.what,
                    took, before / MiB, after / MiB);
        // The menu benchmark holds this to the budget plus 100 ms on a quiet machine; here
        // the margin allows for a busy one, where stopping waits for a slice of the costliest
        // digests still being hashed.
        EXPECT_LE(took, kBudgetMs + 500);
        std::string crc;
        if (c.menu) {
            ASSERT_EQ(built.entries.size(), 3u);
            if (!built.ours().popup) {
                // Hashing even the measured size took the whole budget (a busy machine): the
                // viewer takes over, which is what the budget is for.
                EXPECT_EQ(built.ours().text, L"Velkscope");
                EXPECT_GE(took, kBudgetMs - 50);
                std::printf("[ grow ] the budget ran out: \"Velkscope\"\n");
                continue;
            }
            crc = wideToNarrow(built.ours().text.substr(7));
        } else {
            crc = wideToNarrow(clipboardText());
        }
        const long long length = prefixes.lengthOf(crc);
        std::printf("[ grow ] read %lld MiB\n", length / static_cast<long long>(MiB));
        EXPECT_GE(length, static_cast<long long>(before)) << crc;
        EXPECT_LE(length, static_cast<long long>(after)) << crc;
        if (c.menu && length >= 0)
            expectAllOfPrefix(copyMoreDigests(built.ours()), content, length);
    }
    DeleteFileW(path.c_str());
}

// A 300-character path, handed over whole in a data object of our own (the platform's shell
// cuts paths to 259 characters before a handler sees them): the label is the digest of that
// file, not of another file living at the path's first 259 characters, and the viewer starts
// on the whole path.
TEST_F(MenuReliability, PathOf300CharactersIsReadWhole) {
    writeConfig(R"({"label_format":"full"})");
    const std::wstring probe = file(L"p", "");
    DeleteFileW(probe.c_str());
    const std::size_t folderLength = probe.size() - 1;
    const std::wstring longPath = probe.substr(0, folderLength) + L"whole " +
                                  std::wstring(300 - folderLength - 10, L'y') + L".txt";
    ASSERT_EQ(longPath.size(), 300u);
    const std::string content = "the long path's own bytes";
    ASSERT_TRUE(writeTestFile(velk::extendedLengthPath(longPath), content));
    const std::wstring cutPath = longPath.substr(0, 259);
    const std::wstring other = file(cutPath.substr(folderLength), "another file's bytes");
    ASSERT_EQ(other, cutPath);

    {
        ComRef<IDataObject> data = handMadeDataObject({cutPath, longPath, L"C:\\a.txt"});
        std::vector<std::wstring> paths;
        EXPECT_EQ(velk::readDropList(data.get(), paths), S_OK);
        EXPECT_EQ(paths, (std::vector<std::wstring>{cutPath, longPath, L"C:\\a.txt"}));
    }
    for (const char* config :
         {R"({"label_format":"full"})", R"({"label_format":"full","compute_all_menus":1})"}) {
        SCOPED_TRACE(config);
        writeConfig(config);
        starts().clear();
        const BuiltMenu built = build({longPath}, 100, 0x7FFF, CMF_NORMAL, true);
        ASSERT_EQ(built.entries.size(), 3u);
        EXPECT_EQ(built.ours().text, L"Hashes " + narrowToWide(digestOfBytes("MD5", content)));
        const int open = childOffset(built.ours(), L"Open Velkscope...");
        ASSERT_GE(open, 0);
        EXPECT_EQ(built.invoke(static_cast<UINT>(open)), S_OK);
        const std::vector<ViewerStart> launched = starts().waitFor(1);
        ASSERT_EQ(launched.size(), 1u);
        ASSERT_EQ(launched[0].arguments.size(), 1u);
        EXPECT_EQ(launched[0].arguments[0], longPath);
    }
    // The command-line tool reads the whole path too.
    const std::string printed = velksumOutput(L"-a MD5 \"" + longPath + L"\"");
    EXPECT_EQ(printed.substr(0, 32), digestOfBytes("MD5", content)) << printed;
    DeleteFileW(velk::extendedLengthPath(longPath).c_str());
    DeleteFileW(other.c_str());
}
