// velkscope --check LIST and --create FILE...: the real program's window, its list, its
// summary, its report against velksum -c, the list it writes, and how fast it goes away.

#include "viewer_test_support.h"

#include "engine/pass/hash_one.h"
#include "engine/unique_handle.h"

#include <commctrl.h>

#include <map>

namespace velk::test {
namespace {

// Generous bounds: on a loaded machine a program under Wine can take seconds to show up.
constexpr DWORD kStartMs = 30000;
constexpr DWORD kCheckMs = 60000;
// Room beyond the second a close may take, for a process's teardown under Wine on a loaded
// machine; the figure itself is printed.
constexpr ULONGLONG kSlackMs = 2000;

struct ListWindow {
    HWND window = nullptr;
    HWND header = nullptr;
    HWND list = nullptr;
    HWND progress = nullptr;
    HWND status = nullptr;
    HWND report = nullptr;
    HWND save = nullptr;
    HWND algorithm = nullptr;
};

// The window and its controls in creation order: header, list, progress, status, then the
// algorithm choice and Save when making a list, and Copy Report last.
ListWindow findListWindow(Viewer& program) {
    ListWindow w;
    waitUntil([&] { return (w.window = topWindowOf(program.processId(), L"VelkscopeListWnd")); },
              kStartMs);
    if (w.window == nullptr)
        return w;
    std::vector<Child> controls;
    waitUntil(
        [&] {
            controls = childrenOf(w.window);
            for (const Child& c : controls) {
                if (c.className == L"Button" && c.text.find(L"Copy") != std::wstring::npos)
                    return true;
            }
            return false;
        },
        kStartMs);
    std::vector<HWND> statics;
    for (const Child& c : controls) {
        if (c.className == L"Static")
            statics.push_back(c.window);
        else if (c.className == L"ComboBox")
            w.algorithm = c.window;
        else if (c.className == L"SysListView32")
            w.list = c.window;
        else if (c.className == L"Button" && c.text.find(L"Copy") != std::wstring::npos)
            w.report = c.window;
        else if (c.className == L"Button")
            w.save = c.window;
    }
    // While the files are read the progress bar's own line follows them.
    if (statics.size() >= 3) {
        w.header = statics[0];
        w.progress = statics[1];
        w.status = statics[2];
    }
    return w;
}

std::wstring finalStatus(const ListWindow& w) {
    std::wstring text;
    waitUntil(
        [&] {
            text = textOf(w.status);
            return !text.empty() &&
                   (text[0] == L'\u2714' || text[0] == L'\u2718' || text.rfind(L"Cannot", 0) == 0);
        },
        kCheckMs);
    return text;
}

int rowCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// Verdict column -> rows that show it.
std::map<std::wstring, int> verdicts(HWND list) {
    std::map<std::wstring, int> counts;
    for (int i = 0; i < rowCount(list); ++i)
        ++counts[listViewText(list, i, 2)];
    return counts;
}

// What velksum.exe -c prints on standard output for the list.
std::string velksumCheckOutput(const std::wstring& listPath, const ScratchFolder& scratch) {
    const std::wstring outPath = scratch.file(L"velksum-stdout.txt");
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    {
        UniqueFile out(CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        UniqueFile nul(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                   0, nullptr));
        if (!out || !nul)
            return {};
        std::wstring commandLine = L"\"" + binFolder() + L"\\velksum.exe\" -c " + quoted(listPath);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.get();
        startup.hStdError = nul.get();
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &process))
            return {};
        UniqueObject processHandle(process.hProcess);
        UniqueObject threadHandle(process.hThread);
        WaitForSingleObject(process.hProcess, kCheckMs);
    }
    return readFile(outPath);
}

std::string copiedReport(Viewer& program, const ListWindow& w) {
    emptyClipboard();
    program.click(w.report);
    std::wstring text;
    waitUntil([&] { return clipboardText(text) && !text.empty(); }, kLoadedMs);
    return narrow(text);
}

class CheckWindow : public ViewerTest {
  protected:
    // The file's SHA-256, by the engine.
    std::string sha256(const std::wstring& path) {
        std::string digest, error;
        EXPECT_TRUE(computeHash(narrow(path), "SHA-256", digest, &error)) << error;
        return digest;
    }
    std::string digestOf(const std::wstring& path, const char* algorithm) {
        HashResults all;
        EXPECT_TRUE(computeAllHashes(narrow(path), all, nullptr));
        return all[algorithm];
    }
};

TEST_F(CheckWindow, EveryEntryGetsItsVerdictAndTheReportIsVelksums) {
    // 28 files listed (one with a wrong digest), one that does not exist, one outside.
    std::string list;
    for (int i = 1; i <= 28; ++i) {
        const std::wstring name = L"part " + std::to_wstring(i) + L".bin";
        const std::wstring path = files.write(name, randomBytes(3000 * i, i));
        const std::string digest = i == 7 ? std::string(64, 'a') : sha256(path);
        list += digest + "  " + narrow(name) + "\n";
    }
    list += std::string(64, 'b') + "  gone.bin\n";
    list += std::string(64, 'c') + "  ../outside.bin\n";
    const std::wstring listPath = files.write(L"SHA256SUMS", list);

    Viewer program(L"--check " + quoted(listPath), appData.folder.path());
    const ListWindow w = findListWindow(program);
    ASSERT_NE(w.window, nullptr);
    ASSERT_NE(w.list, nullptr);
    EXPECT_EQ(textOf(w.header), L"SHA256SUMS: 30 entries");
    EXPECT_EQ(finalStatus(w), L"\u2718 1 of 30 files failed, 1 missing, 1 skipped.");
    ASSERT_EQ(rowCount(w.list), 30);
    const std::map<std::wstring, int> counts = {
        {L"OK", 27}, {L"FAILED", 1}, {L"MISSING", 1}, {L"SKIPPED", 1}};
    EXPECT_EQ(verdicts(w.list), counts);
    EXPECT_EQ(listViewText(w.list, 6, 0), L"part 7.bin");
    EXPECT_EQ(listViewText(w.list, 6, 2), L"FAILED");
    EXPECT_EQ(listViewText(w.list, 29, 2), L"SKIPPED");

    const std::string velksum = velksumCheckOutput(listPath, files);
    ASSERT_FALSE(velksum.empty());
    EXPECT_EQ(copiedReport(program, w), velksum);
}

TEST_F(CheckWindow, EveryFormatOfListIsCheckedTheSameWay) {
    const std::wstring a = files.write(L"alpha.txt", randomBytes(5000, 1));
    const std::wstring b = files.write(L"beta gamma.iso", randomBytes(70000, 2));
    const std::string gnuLf = sha256(a) + "  alpha.txt\n" + sha256(b) + " *beta gamma.iso\n";
    std::string gnuCrLf = sha256(a) + "  alpha.txt\r\n" + sha256(b) + " *beta gamma.iso\r\n";
    // UTF-16 little-endian with its byte-order mark.
    std::string utf16 = "\xFF\xFE";
    for (char c : gnuCrLf) {
        utf16.push_back(c);
        utf16.push_back('\0');
    }
    const std::string bsd = "SHA256 (alpha.txt) = " + sha256(a) +
                            "\nMD5 (beta gamma.iso) = " + digestOf(b, "MD5") + "\n";
    const std::string sfv = "; made by hand\nalpha.txt " + digestOf(a, "CRC32") +
                            "\nbeta gamma.iso " + digestOf(b, "CRC32") + "\n";
    struct Case {
        const wchar_t* name;
        std::string content;
    };
    const Case cases[] = {{L"lf.sha256", gnuLf},
                          {L"crlf.sha256", gnuCrLf},
                          {L"utf16.sha256", utf16},
                          {L"CHECKSUMS.txt", bsd},
                          {L"both.sfv", sfv}};
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.name));
        const std::wstring listPath = files.write(c.name, c.content);
        Viewer program(L"--check " + quoted(listPath), appData.folder.path());
        const ListWindow w = findListWindow(program);
        ASSERT_NE(w.window, nullptr);
        EXPECT_EQ(finalStatus(w), L"\u2714 All 2 files match.");
        EXPECT_EQ(verdicts(w.list), (std::map<std::wstring, int>{{L"OK", 2}}));
        EXPECT_EQ(listViewText(w.list, 1, 0), L"beta gamma.iso");
        EXPECT_EQ(copiedReport(program, w), velksumCheckOutput(listPath, files));
    }
}

TEST_F(CheckWindow, AListItCannotReadSaysWhyAndShowsNoRows) {
    struct Case {
        const wchar_t* name;
        std::string content;
        const wchar_t* status;
    };
    const Case cases[] = {
        {L"empty.sha256", "",
         L"Cannot check empty.sha256: no properly formatted checksum lines found."},
        {L"binary.md5",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0\0\0",
                     12) +
             randomBytes(4000),
         L"Cannot check binary.md5: no properly formatted checksum lines found."},
        {L"long.sha1", std::string(70000, 'a') + "  x\n",
         L"Cannot check long.sha1: line 1 is longer than 64 KiB."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.name));
        const std::wstring listPath = files.write(c.name, c.content);
        Viewer program(L"--check " + quoted(listPath), appData.folder.path());
        const ListWindow w = findListWindow(program);
        ASSERT_NE(w.window, nullptr);
        EXPECT_EQ(finalStatus(w), c.status);
        EXPECT_EQ(rowCount(w.list), 0);
    }
}

// A 2 GiB file takes seconds to read: the progress line moves, and closing the window ends
// the process at once rather than after the read.
TEST_F(CheckWindow, ProgressMovesAndClosingStopsALongRead) {
    const std::wstring big = files.file(L"big.img");
    {
        UniqueFile file(CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER size;
        size.QuadPart = 2LL << 30;
        ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    const std::wstring listPath = files.write(L"big.sha256", std::string(64, '0') + "  big.img\n");
    Viewer program(L"--check " + quoted(listPath), appData.folder.path());
    const ListWindow w = findListWindow(program);
    ASSERT_NE(w.window, nullptr);

    // Three different texts on the progress line, and three positions of the progress bar,
    // while the file is read.
    HWND bar = nullptr;
    for (const Child& c : childrenOf(w.window)) {
        if (c.className == L"msctls_progress32")
            bar = c.window;
    }
    ASSERT_NE(bar, nullptr) << "no progress bar while the files are read";
    std::vector<std::wstring> seen;
    std::vector<LRESULT> positions;
    waitUntil(
        [&] {
            const std::wstring text = textOf(w.progress);
            if (text.find(L"GiB") != std::wstring::npos && (seen.empty() || seen.back() != text))
                seen.push_back(text);
            const LRESULT position = SendMessageW(bar, PBM_GETPOS, 0, 0);
            if (position > 0 && (positions.empty() || positions.back() < position))
                positions.push_back(position);
            return seen.size() >= 3 && positions.size() >= 3;
        },
        kCheckMs, 20);
    ASSERT_GE(seen.size(), 3u) << "the progress line did not move";
    ASSERT_GE(positions.size(), 3u) << "the progress bar did not move";
    EXPECT_EQ(seen.front().rfind(L"0 of 1 file, ", 0), 0u) << narrow(seen.front());
    EXPECT_EQ(textOf(w.status), L"");

    const ULONGLONG closed = GetTickCount64();
    PostMessageW(w.window, WM_CLOSE, 0, 0);
    ASSERT_EQ(program.waitForExit(10000), 0u);
    const ULONGLONG took = GetTickCount64() - closed;
    std::printf("[ close ] the process ended %llu ms after WM_CLOSE\n", took);
    EXPECT_LT(took, 1000u + kSlackMs);
}

// Accepts the name the Save dialog proposes, and waits for the window to say it saved.
std::wstring acceptProposedName(Viewer& program, const ListWindow& w) {
    HWND dialog = program.messageBox(kCheckMs);
    if (dialog == nullptr)
        return L"no Save dialog";
    dismissMessageBox(dialog);
    std::wstring status;
    waitUntil(
        [&] {
            status = textOf(w.status);
            return status.rfind(L"Saved", 0) == 0 || status.rfind(L"Could not", 0) == 0;
        },
        kCheckMs);
    return status;
}

// Five files, two of them in a folder below the others, become a list in their common folder
// that names each by its relative path; another algorithm makes another list. With
// VELK_MADE_LIST_FOLDER set the files go there, for a native check of the list afterwards.
TEST_F(CheckWindow, MakesAListOfTheSelectedFilesInTheirFolder) {
    wchar_t given[MAX_PATH] = L"";
    const bool kept = GetEnvironmentVariableW(L"VELK_MADE_LIST_FOLDER", given, MAX_PATH) > 0;
    const std::wstring folder = kept ? std::wstring(given) : files.path();
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\sub dir").c_str(), nullptr);
    const std::vector<std::wstring> names = {L"one.iso", L"two words.txt", L"sub dir\\three.bin",
                                             L"sub dir\\four.bin", L"five"};
    std::wstring arguments = L"--create";
    std::string sha256Lines, md5Lines;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::wstring path = folder + L"\\" + names[i];
        writeFile(path, randomBytes(10000 * (i + 1), static_cast<unsigned>(i)));
        arguments += L" " + quoted(path);
        std::string listed = narrow(names[i]);
        for (char& c : listed)
            c = c == '\\' ? '/' : c;
        sha256Lines += sha256(path) + "  " + listed + "\n";
        md5Lines += digestOf(path, "MD5") + "  " + listed + "\n";
    }
    DeleteFileW((folder + L"\\SHA256SUMS").c_str());
    DeleteFileW((folder + L"\\MD5SUMS").c_str());

    Viewer program(arguments, appData.folder.path());
    const ListWindow w = findListWindow(program);
    ASSERT_NE(w.window, nullptr);
    ASSERT_NE(w.save, nullptr);
    ASSERT_NE(w.algorithm, nullptr);
    EXPECT_EQ(textOf(w.header), L"5 files in " + folder + L"\\");
    // The Save dialog comes up by itself once every file is hashed.
    EXPECT_EQ(acceptProposedName(program, w), L"Saved SHA256SUMS with 5 files.");
    EXPECT_EQ(readFile(folder + L"\\SHA256SUMS"), sha256Lines);
    EXPECT_EQ(listViewText(w.list, 2, 0), L"sub dir/three.bin");
    EXPECT_EQ(listViewText(w.list, 2, 1), L"SHA-256");

    // Another algorithm: every file is hashed again, and Save proposes that algorithm's name.
    const LRESULT md5 = SendMessageW(w.algorithm, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(L"MD5"));
    ASSERT_NE(md5, CB_ERR);
    SendMessageW(w.algorithm, CB_SETCURSEL, static_cast<WPARAM>(md5), 0);
    PostMessageW(w.window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w.algorithm), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(w.algorithm));
    ASSERT_TRUE(
        waitUntil([&] { return textOf(w.status) == L"\u2714 5 files hashed with MD5."; }, kCheckMs))
        << narrow(textOf(w.status));
    EXPECT_EQ(listViewText(w.list, 0, 1), L"MD5");
    PostMessageW(w.save, BM_CLICK, 0, 0);
    EXPECT_EQ(acceptProposedName(program, w), L"Saved MD5SUMS with 5 files.");
    EXPECT_EQ(readFile(folder + L"\\MD5SUMS"), md5Lines);
    DeleteFileW((folder + L"\\MD5SUMS").c_str());
}

} // namespace
} // namespace velk::test
