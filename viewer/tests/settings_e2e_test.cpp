// The settings the viewer edits: what changes in the window and what reaches config.json.

#include "viewer_test_support.h"

#include "engine/pass/hash_one.h"
#include "engine/unique_handle.h"
#include "settings/label_format.h"

#include <iostream>

namespace velk::test {
namespace {

using ViewerSettingsPanel = ViewerTest;

// fontPx as the layout shows it: a one-line control is fontPx + 16 high.
::testing::AssertionResult fontBecomes(Viewer& viewer, int px) {
    if (waitUntil([&] { return checkHeight(viewer) == px + 16; }, 2000)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "font is " << checkHeight(viewer) - 16 << ", not " << px;
}

// A viewer whose start-up placement save is behind it, so later writes are the panel's.
class QuietViewer {
  public:
    QuietViewer(const std::wstring& path, const AppData& appData)
        : before(stampOf(configPath(appData))), viewer(quoted(path), appData.folder.path()) {
        ready = viewer.window() != nullptr &&
                waitUntil([&] { return stampOf(configPath(appData)) != before; }, 5000);
        Sleep(200);
    }
    FileStamp before;
    Viewer viewer;
    bool ready = false;
};

// The key goes through the system's input, with Ctrl really held, to the focused window.
void pressWithCtrl(HWND window, WORD key) {
    SetForegroundWindow(window);
    SetFocus(window);
    INPUT input[4]{};
    for (INPUT& i : input)
        i.type = INPUT_KEYBOARD;
    input[0].ki.wVk = VK_CONTROL;
    input[1].ki.wVk = key;
    input[2].ki.wVk = key;
    input[2].ki.dwFlags = KEYEVENTF_KEYUP;
    input[3].ki.wVk = VK_CONTROL;
    input[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, input, sizeof(INPUT));
}

TEST_F(ViewerSettingsPanel, FivePlusPressesWriteTheFileOnceKeepingTheWindowKeys) {
    QuietViewer q(sampleFile(), appData);
    ASSERT_TRUE(q.ready);
    const Settings before = savedSettings();
    ASSERT_TRUE(before.has_win_x && before.has_win_y && before.has_win_h && before.has_monitor);

    WriteWatch watch(configPath(appData));
    for (int i = 0; i < 5; ++i) {
        q.viewer.click(q.viewer.control(kLarger));
        Sleep(40);
    }
    const ULONGLONG lastPress = GetTickCount64();
    EXPECT_TRUE(fontBecomes(q.viewer, 17));
    Sleep(2300);
    watch.stop();
    const std::vector<ULONGLONG> writes = watch.writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_GE(writes[0] - lastPress, 550u);
    EXPECT_LE(writes[0] - lastPress, 2000u); // a loaded machine delays the timer

    const Settings after = savedSettings();
    EXPECT_EQ(after.font_px, 17);
    EXPECT_EQ(after.win_x, before.win_x);
    EXPECT_EQ(after.win_y, before.win_y);
    EXPECT_EQ(after.win_w, before.win_w);
    EXPECT_EQ(after.win_h, before.win_h);
    EXPECT_EQ(after.monitor, before.monitor);
}

TEST_F(ViewerSettingsPanel, SizeLimitsScheduleNoSave) {
    const std::wstring path = sampleFile();
    struct Case {
        int start;
        std::size_t button;
    };
    for (const Case c : {Case{72, kLarger}, Case{7, kSmaller}}) {
        SCOPED_TRACE(c.start);
        appData.writeConfig("{\"font_px\":" + std::to_string(c.start) +
                            ",\"win_w\":900,\"win_h\":700}");
        QuietViewer q(path, appData);
        ASSERT_TRUE(q.ready);
        EXPECT_EQ(checkHeight(q.viewer), c.start + 16);
        WriteWatch watch(configPath(appData));
        q.viewer.click(q.viewer.control(c.button));
        q.viewer.click(q.viewer.control(c.button));
        Sleep(1200);
        watch.stop();
        EXPECT_TRUE(watch.writes().empty());
        EXPECT_EQ(checkHeight(q.viewer), c.start + 16);
    }
}

TEST_F(ViewerSettingsPanel, CtrlKeysAndCtrlWheelChangeTheSize) {
    appData.writeConfig("{\"font_px\":20,\"win_w\":900,\"win_h\":700}");
    Viewer viewer(quoted(sampleFile()), appData.folder.path());
    HWND window = viewer.window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(viewer.waitForResult());
    ASSERT_EQ(checkHeight(viewer), 36);

    pressWithCtrl(window, VK_OEM_PLUS);
    EXPECT_TRUE(fontBecomes(viewer, 21));
    pressWithCtrl(window, VK_ADD);
    EXPECT_TRUE(fontBecomes(viewer, 22));
    pressWithCtrl(window, VK_SUBTRACT);
    EXPECT_TRUE(fontBecomes(viewer, 21));
    pressWithCtrl(window, '0');
    EXPECT_TRUE(fontBecomes(viewer, 12)) << "the DPI default";
    pressWithCtrl(window, VK_OEM_MINUS);
    EXPECT_TRUE(fontBecomes(viewer, 11));
    pressWithCtrl(window, VK_NUMPAD0);
    EXPECT_TRUE(fontBecomes(viewer, 12));

    // Without Ctrl the same key leaves the size alone. It goes through the same input queue
    // as the Ctrl press behind it, so that one is handled after it: 12 - 1, not 13 - 1.
    INPUT plus[2]{};
    for (INPUT& i : plus) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = VK_OEM_PLUS;
    }
    plus[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, plus, sizeof(INPUT));
    pressWithCtrl(window, VK_OEM_MINUS);
    EXPECT_TRUE(fontBecomes(viewer, 11));
    Sleep(200);
    EXPECT_EQ(checkHeight(viewer), 11 + 16);

    // Ctrl with the wheel, over any control: one size step per message, no scrolling.
    SetWindowPos(window, nullptr, 0, 0, 760, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(viewer.valueBox(2), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA * 3), 0);
    EXPECT_TRUE(fontBecomes(viewer, 12));
    PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA), 0);
    PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA), 0);
    EXPECT_TRUE(fontBecomes(viewer, 10));
    EXPECT_EQ(rectInParent(viewer.control(kFileName)).top, 10) << "the page did not scroll";

    viewer.click(viewer.control(kReset));
    EXPECT_TRUE(fontBecomes(viewer, 12));
}

TEST_F(ViewerSettingsPanel, ThemeButtonStoresDarkThenLight) {
    QuietViewer q(sampleFile(), appData);
    ASSERT_TRUE(q.ready);
    Viewer& viewer = q.viewer;
    const bool startsDark = textOf(viewer.control(kTheme)) == L"\u2600 Light";
    viewer.click(viewer.control(kTheme));
    const std::string first = startsDark ? "light" : "dark";
    EXPECT_TRUE(waitUntil([&] { return savedSettings().theme == first; }, 3000))
        << appData.configText();
    EXPECT_EQ(textOf(viewer.control(kTheme)), startsDark ? L"\u263E Dark" : L"\u2600 Light");
    viewer.click(viewer.control(kTheme));
    const std::string second = startsDark ? "dark" : "light";
    EXPECT_TRUE(waitUntil([&] { return savedSettings().theme == second; }, 3000))
        << appData.configText();
    EXPECT_EQ(textOf(viewer.control(kTheme)), startsDark ? L"\u2600 Light" : L"\u263E Dark");
    EXPECT_TRUE(savedSettings().has_win_x) << "the window keys stay";
}

void choose(Viewer& viewer, std::size_t combo, int position, int id) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(viewer.control(combo), CB_SETCURSEL, position, 0, SMTO_ABORTIFHUNG, 2000,
                        &ignored);
    SendMessageTimeoutW(viewer.window(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(viewer.control(combo)), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
}

TEST_F(ViewerSettingsPanel, PreviewWaitsForTheDigestsThenFollowsTheChoices) {
    // Long enough to hash that the choice is made before the digests arrive.
    const std::wstring path = sparseFile(files, L"slow.bin", 96ll << 20);
    std::string sha1;
    std::string error;
    ASSERT_TRUE(computeHash(narrow(path), "SHA-1", sha1, &error)) << error;

    Viewer viewer(quoted(path), appData.folder.path());
    ASSERT_NE(viewer.window(), nullptr);
    choose(viewer, kAlgo, 2, 101); // SHA-1
    ASSERT_EQ(textOf(viewer.valueBox(2)), L"computing...")
        << "the pass ended too soon for this test";
    EXPECT_EQ(textOf(viewer.control(kAlgo)), L"SHA-1");
    EXPECT_EQ(textOf(viewer.control(kPreview)), L"");

    ASSERT_TRUE(viewer.waitForResult(60000));
    EXPECT_EQ(narrow(textOf(viewer.control(kPreview))),
              "menu shows:  Hashes " + formatMenuLabel(sha1, "4"));
    choose(viewer, kFormat, 2, 102); // "2m"
    EXPECT_EQ(narrow(textOf(viewer.control(kPreview))),
              "menu shows:  Hashes " + formatMenuLabel(sha1, "2m"));
    choose(viewer, kFormat, 4, 102); // "full"
    EXPECT_EQ(narrow(textOf(viewer.control(kPreview))), "menu shows:  Hashes " + sha1);

    // No selection changes no setting; the preview stays.
    choose(viewer, kAlgo, -1, 101);
    EXPECT_EQ(narrow(textOf(viewer.control(kPreview))), "menu shows:  Hashes " + sha1);
    EXPECT_TRUE(waitUntil([&] { return savedSettings().label_format == "full"; }, 3000));
    EXPECT_EQ(savedSettings().label_algo, "SHA-1");
}

TEST_F(ViewerSettingsPanel, ClosingRightAfterAChangeStillWritesIt) {
    QuietViewer q(sampleFile(), appData);
    ASSERT_TRUE(q.ready);
    choose(q.viewer, kFormat, 0, 102); // "2"
    choose(q.viewer, kAlgo, 10, 101);  // BLAKE2s
    Sleep(100);
    q.viewer.close();
    EXPECT_EQ(q.viewer.waitForExit(5000), 0u);
    const Settings s = savedSettings();
    EXPECT_EQ(s.label_format, "2");
    EXPECT_EQ(s.label_algo, "BLAKE2s");
    EXPECT_TRUE(s.has_win_x && s.has_win_w);
}

// config.json as another program holds it open.
UniqueFile holdConfig(const AppData& appData, DWORD share) {
    return UniqueFile(CreateFileW(configPath(appData).c_str(), GENERIC_READ, share, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool sameWindowKeys(const Settings& a, const Settings& b) {
    return a.has_win_x == b.has_win_x && a.win_x == b.win_x && a.has_win_y == b.has_win_y &&
           a.win_y == b.win_y && a.has_win_w == b.has_win_w && a.win_w == b.win_w &&
           a.has_win_h == b.has_win_h && a.win_h == b.win_h && a.monitor == b.monitor;
}

// Another program holds config.json for two seconds just as the viewer's save falls due. The
// change stays pending and lands after the file is free again, with nothing more from the
// user; no field of the file is lost on the way.
TEST_F(ViewerSettingsPanel, ChangeLandsAfterAnotherProgramLetsGoOfTheFile) {
    struct Case {
        const char* holder;
        DWORD share;
        bool blocksEverySave; // a reader sharing delete blocks only a rename by name
    };
    const Case cases[] = {
        {"a reader sharing delete", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, false},
        {"a reader not sharing delete", FILE_SHARE_READ, true},
        {"a program sharing nothing", 0, true},
    };
    const std::wstring path = sampleFile();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.holder);
        appData.writeConfig("{\"theme\":\"dark\",\"font_px\":20,\"win_w\":900,\"win_h\":700}");
        QuietViewer q(path, appData);
        ASSERT_TRUE(q.ready);
        const Settings before = savedSettings();
        ASSERT_TRUE(before.has_win_x && before.has_monitor);

        UniqueFile holder = holdConfig(appData, c.share);
        ASSERT_TRUE(holder);
        const FileStamp held = stampOf(configPath(appData));
        ASSERT_TRUE(held.exists);
        q.viewer.click(q.viewer.control(kComputeAll));
        Sleep(2000);
        const bool writtenWhileHeld = stampOf(configPath(appData)) != held;
        holder.reset();
        if (c.blocksEverySave)
            EXPECT_FALSE(writtenWhileHeld) << "the file was written while it was held";
        std::cout << c.holder << ": the save " << (writtenWhileHeld ? "landed" : "waited")
                  << " while the file was held\n";

        EXPECT_TRUE(waitUntil([&] { return savedSettings().compute_all_menus; }, 3000))
            << appData.configText();
        const Settings after = savedSettings();
        EXPECT_EQ(after.theme, "dark");
        EXPECT_EQ(after.font_px, 20);
        EXPECT_TRUE(sameWindowKeys(after, before)) << appData.configText();
        q.viewer.close();
        EXPECT_EQ(q.viewer.waitForExit(5000), 0u);
    }
}

// The window closes while nothing can read the file: the close keeps trying for a bounded
// while, and the change lands when the file comes free within it.
TEST_F(ViewerSettingsPanel, ClosingWhileTheFileIsHeldWritesTheChangeOnceItIsFree) {
    QuietViewer q(sampleFile(), appData);
    ASSERT_TRUE(q.ready);
    const Settings before = savedSettings();
    UniqueFile holder = holdConfig(appData, 0);
    ASSERT_TRUE(holder);
    choose(q.viewer, kAlgo, 10, 101); // BLAKE2s
    q.viewer.close();
    Sleep(300);
    holder.reset();
    EXPECT_EQ(q.viewer.waitForExit(5000), 0u);
    const Settings after = savedSettings();
    EXPECT_EQ(after.label_algo, "BLAKE2s");
    EXPECT_TRUE(sameWindowKeys(after, before)) << appData.configText();
}

TEST_F(ViewerSettingsPanel, ComputeAllCheckBoxIsStored) {
    QuietViewer q(sampleFile(), appData);
    ASSERT_TRUE(q.ready);
    ASSERT_FALSE(savedSettings().compute_all_menus);
    q.viewer.click(q.viewer.control(kComputeAll));
    EXPECT_EQ(SendMessageW(q.viewer.control(kComputeAll), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(waitUntil([&] { return savedSettings().compute_all_menus; }, 3000))
        << appData.configText();
    EXPECT_EQ(textOf(q.viewer.control(kStatus)), L"");
    q.viewer.close();
    EXPECT_EQ(q.viewer.waitForExit(5000), 0u);

    // The next viewer starts with the box ticked.
    Viewer next(quoted(files.file(L"sample.bin")), appData.folder.path());
    ASSERT_NE(next.window(), nullptr);
    EXPECT_EQ(SendMessageW(next.control(kComputeAll), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ViewerSettingsPanel, StartsFromTheSavedSettings) {
    const std::wstring path = sampleFile();
    struct Case {
        const char* config;
        const wchar_t* algo;
        const wchar_t* format;
        int fontPx;
    };
    const Case cases[] = {
        {"{\"label_algo\":\"SHA3-512\",\"label_format\":\"2m\",\"font_px\":20,\"win_w\":900}",
         L"SHA3-512", L"First/middle/last 2  (##-##-##)", 20},
        // A stored size counts without window keys too; without one, the DPI default.
        {"{\"label_algo\":\"sha-256\",\"label_format\":\"8\",\"font_px\":20}", L"MD5",
         L"First/last 4  (####-####)", 20},
        {"{\"win_w\":900,\"win_h\":700}", L"MD5", L"First/last 4  (####-####)", 12},
        {"{\"font_px\":3,\"win_w\":900}", L"MD5", L"First/last 4  (####-####)", 7},
        {"{\"font_px\":100,\"win_w\":900}", L"MD5", L"First/last 4  (####-####)", 72},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config);
        appData.writeConfig(c.config);
        Viewer viewer(quoted(path), appData.folder.path());
        ASSERT_NE(viewer.window(), nullptr);
        EXPECT_EQ(textOf(viewer.control(kAlgo)), c.algo);
        EXPECT_EQ(textOf(viewer.control(kFormat)), c.format);
        EXPECT_EQ(checkHeight(viewer), c.fontPx + 16);
    }
}

} // namespace
} // namespace velk::test
