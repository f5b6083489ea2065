// The viewer's command line, its controls and the background pass, seen from outside.

#include "viewer_test_support.h"

#include "viewer/layout.h"

#include <commctrl.h>

#include <algorithm>

namespace velk::test {
namespace {

using ViewerStartup = ViewerTest;

TEST_F(ViewerStartup, WithoutArgumentsShowsUsageAndExitsWith2) {
    Viewer viewer(L"", appData.folder.path());
    ASSERT_TRUE(viewer.started());
    HWND box = viewer.messageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(textOf(box), L"Velkora");
    EXPECT_EQ(messageBoxText(box), L"usage: velkscope <file>");
    EXPECT_EQ(viewer.window(0), nullptr);
    dismissMessageBox(box);
    EXPECT_EQ(viewer.waitForExit(5000), 2u);
    EXPECT_EQ(GetFileAttributesW(appData.settingsFolder().c_str()), INVALID_FILE_ATTRIBUTES)
        << "nothing is registered or saved";
}

TEST_F(ViewerStartup, FolderOrMissingPathIsNotARegularFileAndExitsWith1) {
    const std::wstring missing = files.file(L"no such file.bin");
    for (const std::wstring& path : {files.path(), missing}) {
        Viewer viewer(quoted(path), appData.folder.path());
        HWND box = viewer.messageBox();
        ASSERT_NE(box, nullptr) << narrow(path);
        EXPECT_EQ(textOf(box), L"Velkora");
        EXPECT_EQ(messageBoxText(box), L"Not a regular file:\n" + path);
        EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & WS_VISIBLE, WS_VISIBLE);
        dismissMessageBox(box);
        EXPECT_EQ(viewer.waitForExit(5000), 1u) << narrow(path);
    }
    EXPECT_EQ(GetFileAttributesW(appData.settingsFolder().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ViewerStartup, ArgumentsAfterTheFirstAreIgnored) {
    const std::wstring path = sampleFile(L"first file.bin");
    Viewer viewer(quoted(path) + L" " + quoted(files.path()) + L" --other", appData.folder.path());
    ASSERT_NE(viewer.window(), nullptr);
    EXPECT_EQ(textOf(viewer.control(kFileName)), L"first file.bin");
    ASSERT_TRUE(viewer.waitForResult());
    EXPECT_EQ(narrow(textOf(viewer.valueBox(4))), expected.at("SHA-256"));
    viewer.close();
    EXPECT_EQ(viewer.waitForExit(5000), 0u);
}

struct Expected {
    const wchar_t* className;
    std::wstring text;
    LONG style; // besides WS_CHILD | WS_VISIBLE; WS_TABSTOP exactly where a user can act
    int id;
};

std::vector<Expected> expectedControls(const std::wstring& fileName) {
    constexpr LONG tab = WS_TABSTOP;
    std::vector<Expected> all = {
        {L"Static", fileName, SS_NOPREFIX | SS_NOTIFY, 0},
        {L"Static", L"1048576 bytes", 0, 0},
        {L"Button", L"\u263E Dark", tab, 100},
        {L"Static", L"Menu label (\u201CHashes ##-##\u201D) uses:", 0, 0},
        {L"ComboBox", L"MD5", tab | WS_VSCROLL | CBS_DROPDOWNLIST, 101},
        {L"ComboBox", L"First/last 4  (####-####)", tab | WS_VSCROLL | CBS_DROPDOWNLIST, 102},
        {L"Static", L"", 0, 0}, // the preview; its text is checked on its own
    };
    int index = 0;
    for (const std::string& name : kAlgorithmNames) {
        all.push_back({L"Button", L"Copy", tab, 200 + index++});
        all.push_back({L"Static", wide(name), 0, 0});
        all.push_back({L"Edit", L"", tab | ES_MULTILINE | ES_READONLY, 0});
    }
    all.push_back({L"Button", L"Check", tab, 103});
    all.push_back({L"Static", L"", 0, 0});
    all.push_back({L"Button", L"\u2212", tab, 104});
    all.push_back({L"Button", L"Reset", tab, 105});
    all.push_back({L"Button", L"+", tab, 106});
    all.push_back({L"Button", L"Compute All Hashes in Menus", tab | BS_AUTOCHECKBOX, 107});
    all.push_back({L"Static", L"velkora.example", tab | SS_NOTIFY | SS_CENTERIMAGE, 108});
    return all;
}

bool sameClass(const std::wstring& a, const wchar_t* b) {
    return _wcsicmp(a.c_str(), b) == 0;
}

TEST_F(ViewerStartup, ShowsEveryControlThenTheEnginesDigests) {
    const std::wstring path = sampleFile(L"sample.bin");
    Viewer viewer(quoted(path), appData.folder.path());
    HWND window = viewer.window();
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(textOf(window), L"Velkora");
    wchar_t className[64];
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"VelkscopeWnd");
    const LONG mainStyle = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(mainStyle & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(mainStyle & WS_CLIPCHILDREN, WS_CLIPCHILDREN);

    ASSERT_TRUE(viewer.waitForResult());
    const std::vector<Child> controls = viewer.controls();
    const std::vector<Expected> want = expectedControls(L"sample.bin");
    ASSERT_EQ(controls.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        const Child& c = controls[i];
        SCOPED_TRACE(testing::Message() << "control " << i << " " << narrow(want[i].text));
        EXPECT_TRUE(sameClass(c.className, want[i].className)) << narrow(c.className);
        if (!sameClass(c.className, L"Edit") && i != kPreview) {
            EXPECT_EQ(c.text, want[i].text);
        }
        // A combo box hands WS_VSCROLL on to its drop-down list and drops it from itself.
        const LONG dropped = sameClass(c.className, L"ComboBox") ? WS_VSCROLL : 0;
        const LONG required = (WS_CHILD | WS_VISIBLE | want[i].style) & ~dropped;
        EXPECT_EQ(c.style & required, required);
        EXPECT_EQ(c.style & WS_TABSTOP, want[i].style & WS_TABSTOP);
        EXPECT_EQ(c.style & WS_BORDER, 0);
        EXPECT_EQ(c.style & WS_DISABLED, 0) << "every Copy button is enabled after the result";
        EXPECT_EQ(c.exStyle & ~WS_EX_NOPARENTNOTIFY, 0);
        EXPECT_EQ(c.id, want[i].id);
        if (sameClass(c.className, L"Static")) {
            EXPECT_EQ(c.style & SS_TYPEMASK, 0) << "left-aligned plain text";
        }
    }
    for (std::size_t row = 0; row < 11; ++row) {
        EXPECT_EQ(narrow(textOf(viewer.valueBox(row))), expected.at(kAlgorithmNames[row]))
            << kAlgorithmNames[row];
    }
    EXPECT_EQ(narrow(textOf(viewer.control(kPreview))), "menu shows:  Hashes " +
                                                            expected.at("MD5").substr(0, 4) + "-" +
                                                            expected.at("MD5").substr(28));
    EXPECT_EQ(textOf(viewer.control(kStatus)), L"");
    viewer.close();
    EXPECT_EQ(viewer.waitForExit(5000), 0u);
}

// velkscope.exe loaded as data, for its resources.
class ProgramFile {
  public:
    ProgramFile()
        : module_(LoadLibraryExW((binFolder() + L"\\velkscope.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ProgramFile() {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }
    ProgramFile(const ProgramFile&) = delete;
    ProgramFile& operator=(const ProgramFile&) = delete;

    HMODULE get() const { return module_; }
    // The bytes of one resource; empty when there is none.
    std::string resource(WORD id, WORD type) const {
        HRSRC found = module_ ? FindResourceW(module_, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type))
                              : nullptr;
        const void* bytes = found ? LockResource(LoadResource(module_, found)) : nullptr;
        return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module_, found))
                     : std::string();
    }

  private:
    HMODULE module_;
};

// Wine does not carry WM_GETICON between processes, so the icon group is read from the
// program file itself.
TEST(ViewerIcon, GroupHoldsTheFiveSizes) {
    const ProgramFile program;
    ASSERT_NE(program.get(), nullptr);
    const std::string group = program.resource(101, 14);
    ASSERT_GE(group.size(), 6u);
    const auto* bytes = reinterpret_cast<const BYTE*>(group.data());
    const WORD count = *reinterpret_cast<const WORD*>(bytes + 4);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = bytes + 6 + 14 * i;
        sizes.push_back(entry[0] == 0 ? 256 : entry[0]);
        EXPECT_EQ(entry[0], entry[1]) << "square";
        EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32) << "32-bit colour";
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 64, 256}));
    ASSERT_EQ(group.size(), 6u + 14u * count);
    const HANDLE large =
        LoadImageW(program.get(), MAKEINTRESOURCEW(101), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
    const HANDLE small = LoadImageW(program.get(), MAKEINTRESOURCEW(101), IMAGE_ICON, 16, 16, 0);
    EXPECT_NE(large, nullptr);
    EXPECT_NE(small, nullptr);
    DestroyIcon(static_cast<HICON>(large));
    DestroyIcon(static_cast<HICON>(small));
}

// The program's manifest selects version 6 of the common controls and lists the systems it
// supports, and leaves the DPI to the program's own call.
TEST(ViewerManifest, AsksForCommonControls6AndDeclaresNoDpiAwareness) {
    const std::string manifest = ProgramFile().resource(1, 24);
    ASSERT_FALSE(manifest.empty());
    for (const char* part :
         {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
          "publicKeyToken=\"6595b64144ccf1df\"",
          "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>", "level=\"asInvoker\""}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    for (const char* absent : {"dpiAware", "dpiAwareness"})
        EXPECT_EQ(manifest.find(absent), std::string::npos) << absent;
}

// Only the controls of version 6 answer BCM_GETIDEALSIZE: the manifest took effect.
TEST_F(ViewerStartup, ButtonsAreThoseOfCommonControls6) {
    Viewer viewer(quoted(sampleFile()), appData.folder.path());
    ASSERT_NE(viewer.window(kLoadedMs), nullptr);
    RemoteBlock size(viewer.process(), sizeof(SIZE));
    ASSERT_TRUE(size.ok());
    const SIZE zero{0, 0};
    ASSERT_TRUE(size.write(&zero, sizeof zero));
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(viewer.control(kCheck), BCM_GETIDEALSIZE, 0,
                        reinterpret_cast<LPARAM>(size.at<SIZE>()), SMTO_ABORTIFHUNG, 2000, &answer);
    SIZE ideal{};
    ASSERT_TRUE(size.read(&ideal, sizeof ideal));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    EXPECT_GT(ideal.cx, 0);
    EXPECT_GT(ideal.cy, 0);
}

// For one test, web addresses open with velkscope_probe, which records what it was given.
class RecordedBrowser {
  public:
    explicit RecordedBrowser(const std::wstring& record) {
        const wchar_t* key = L"Software\\Classes\\https\\shell\\open\\command";
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_READ | KEY_SET_VALUE,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        wchar_t previous[1024];
        DWORD size = sizeof previous;
        if (RegQueryValueExW(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(previous),
                             &size) == ERROR_SUCCESS) {
            previous_.assign(previous, wcsnlen(previous, size / sizeof(wchar_t)));
        }
        set(L"\"" + binFolder() + L"\\velkscope_probe.exe\" record \"" + record + L"\" \"%1\"");
    }
    ~RecordedBrowser() {
        if (key_ == nullptr)
            return;
        set(previous_);
        RegCloseKey(key_);
    }
    bool ok() const { return key_ != nullptr; }

  private:
    void set(const std::wstring& command) {
        RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    HKEY key_ = nullptr;
    std::wstring previous_;
};

TEST_F(ViewerStartup, TheLinkOpensTheSiteOncePerClickAndNotForADoubleClick) {
    const std::wstring record = files.file(L"opened.txt");
    RecordedBrowser browser(record);
    ASSERT_TRUE(browser.ok());
    Viewer viewer(quoted(sampleFile()), appData.folder.path());
    ASSERT_NE(viewer.window(kLoadedMs), nullptr);
    HWND link = viewer.control(kLink);
    const auto opened = [&] {
        const std::string text = readFile(record);
        return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    };

    // A double-click, as the mouse gives it: down, up, double-click, up.
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        PostMessageW(link, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(4, 4));
    ASSERT_TRUE(waitUntil([&] { return opened() >= 1; }, kLoadedMs)) << "the first click opens";
    EXPECT_EQ(readFile(record), "https://velkora.example/\n");
    Sleep(2000);
    EXPECT_EQ(opened(), 1u) << "the second click of a double-click does not";

    // Enter on the link, once it has the focus from the keyboard.
    HWND focus = focusForKeys(viewer.window());
    focus = pressTab(viewer.window(), focus, true); // the check box, the last stop
    focus = pressTab(viewer.window(), focus, true);
    ASSERT_EQ(focus, link);
    pressKeys(viewer.window(), {VK_RETURN});
    EXPECT_TRUE(waitUntil([&] { return opened() == 2; }, kLoadedMs)) << opened();
}

TEST_F(ViewerStartup, CopyPutsExactlyTheDigestOnTheClipboard) {
    const std::wstring path = sampleFile();
    Viewer viewer(quoted(path), appData.folder.path());
    ASSERT_NE(viewer.window(), nullptr);
    ASSERT_TRUE(viewer.waitForResult());
    for (std::size_t row = 0; row < 11; ++row)
        EXPECT_TRUE(IsWindowEnabled(viewer.copyButton(row)));

    ASSERT_TRUE(setClipboardText(L"something else"));
    viewer.click(viewer.copyButton(4));
    std::wstring copied;
    ASSERT_TRUE(clipboardText(copied));
    EXPECT_EQ(narrow(copied), expected.at("SHA-256"));
    EXPECT_EQ(textOf(viewer.control(kStatus)), L"Copied SHA-256 to clipboard.");

    viewer.click(viewer.copyButton(10));
    ASSERT_TRUE(clipboardText(copied));
    EXPECT_EQ(narrow(copied), expected.at("BLAKE2s"));
    EXPECT_EQ(textOf(viewer.control(kStatus)), L"Copied BLAKE2s to clipboard.");

    // Ids past the rows copy nothing and leave the status alone.
    ASSERT_TRUE(setClipboardText(L"kept"));
    viewer.command(211);
    viewer.command(299);
    ASSERT_TRUE(clipboardText(copied));
    EXPECT_EQ(copied, L"kept");
    EXPECT_EQ(textOf(viewer.control(kStatus)), L"Copied BLAKE2s to clipboard.");
}

TEST_F(ViewerStartup, FileHeldOpenExclusivelyShowsTheErrorEverywhere) {
    const std::wstring path = files.write(L"locked.bin", randomBytes(4096));
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    Viewer viewer(quoted(path), appData.folder.path());
    ASSERT_NE(viewer.window(), nullptr);
    ASSERT_TRUE(viewer.waitForResult());
    for (std::size_t row = 0; row < 11; ++row) {
        EXPECT_EQ(textOf(viewer.valueBox(row)), L"error: cannot open file") << row;
        EXPECT_FALSE(IsWindowEnabled(viewer.copyButton(row))) << row;
    }
    EXPECT_EQ(textOf(viewer.control(kStatus)), L"Could not read file: cannot open file");
    EXPECT_EQ(textOf(viewer.control(kPreview)), L"");
    const std::wstring size = textOf(viewer.control(kSize));
    EXPECT_TRUE(size == L"4096 bytes" || size == L"0 bytes") << narrow(size);

    ASSERT_TRUE(setClipboardText(L"kept"));
    viewer.click(viewer.copyButton(0)); // disabled: a click does nothing
    std::wstring clip;
    ASSERT_TRUE(clipboardText(clip));
    EXPECT_EQ(clip, L"kept");
    CloseHandle(held);
}

TEST_F(ViewerStartup, EmptyFileShowsTheDigestsOfEmptyInput) {
    const std::wstring path = files.write(L"empty.bin", "");
    Viewer viewer(quoted(path), appData.folder.path());
    ASSERT_NE(viewer.window(), nullptr);
    ASSERT_TRUE(viewer.waitForResult());
    EXPECT_EQ(textOf(viewer.control(kSize)), L"0 bytes");
    EXPECT_EQ(textOf(viewer.valueBox(0)), L"00000000");
    EXPECT_EQ(textOf(viewer.valueBox(1)), L"d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(textOf(viewer.valueBox(4)),
              L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

} // namespace
} // namespace velk::test
