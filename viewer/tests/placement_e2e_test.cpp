// Several viewers side by side: the cascade, windows.txt, and the saved window keys.

#include "viewer_test_support.h"

#include "viewer/placement.h"
#include "viewer/window_list.h"

#include <memory>

namespace velk::test {
namespace {

using ViewerPlacement = ViewerTest;

std::vector<DWORD> listedIds(const AppData& appData) {
    std::vector<DWORD> ids;
    for (const ViewerWindowEntry& e : parseViewerWindowList(appData.windowListText())) {
        ids.push_back(e.processId);
    }
    return ids;
}

// A process id that surely belongs to no running process: one that has just ended.
DWORD endedProcessId(const std::wstring& appData) {
    Viewer ended(L"", appData);
    if (HWND box = ended.messageBox())
        dismissMessageBox(box);
    ended.waitForExit(5000);
    return ended.processId();
}

// Waits until config.json holds a saved width, the first save of a viewer's placement.
bool waitForPlacementSave(const AppData& appData, DWORD timeoutMs = 5000) {
    return waitUntil([&] { return settingsFromText(appData.configText()).has_win_w; }, timeoutMs);
}

TEST_F(ViewerPlacement, ThreeViewersCascadeAndLeaveTheListEmpty) {
    const std::wstring path = sampleFile();
    const DWORD stale = endedProcessId(appData.folder.path());
    appData.writeWindowList(std::to_string(stale) + " 1700000000\n");

    std::vector<std::unique_ptr<Viewer>> viewers;
    std::vector<RECT> rects;
    for (int i = 0; i < 3; ++i) {
        viewers.push_back(std::make_unique<Viewer>(quoted(path), appData.folder.path()));
        HWND window = viewers.back()->window();
        ASSERT_NE(window, nullptr);
        rects.push_back(windowRect(window));
    }
    const std::vector<DWORD> listed = listedIds(appData);
    EXPECT_EQ(listed, (std::vector<DWORD>{viewers[0]->processId(), viewers[1]->processId(),
                                          viewers[2]->processId()}))
        << "the stale id " << stale << " is dropped\n"
        << appData.windowListText();

    // Centred, then the cascade as the work area allows it (a small one wraps the third).
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const WorkArea area{work.left, work.top, work.right, work.bottom};
    for (int i = 0; i < 3; ++i) {
        const WindowRect want = placeInWorkArea(Settings{}, i, WindowSize{760, 560}, area);
        EXPECT_EQ(rects[i].left, want.x) << i << " " << rectText(rects[i]);
        EXPECT_EQ(rects[i].top, want.y) << i << " " << rectText(rects[i]);
        EXPECT_EQ(rects[i].right - rects[i].left, want.width);
        EXPECT_EQ(rects[i].bottom - rects[i].top, want.height);
    }
    EXPECT_EQ(rects[1].left, rects[0].left + 32);
    EXPECT_EQ(rects[1].top, rects[0].top + 32);

    viewers[1]->close();
    EXPECT_EQ(viewers[1]->waitForExit(5000), 0u);
    EXPECT_EQ(listedIds(appData),
              (std::vector<DWORD>{viewers[0]->processId(), viewers[2]->processId()}));
    viewers[0]->close();
    EXPECT_EQ(viewers[0]->waitForExit(5000), 0u);
    EXPECT_EQ(listedIds(appData), (std::vector<DWORD>{viewers[2]->processId()}));
    viewers[2]->close();
    EXPECT_EQ(viewers[2]->waitForExit(5000), 0u);
    EXPECT_EQ(appData.windowListText(), "");
    EXPECT_NE(GetFileAttributesW((appData.settingsFolder() + L"\\windows.txt").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << "an empty list is an empty file";
}

TEST_F(ViewerPlacement, SmallerWindowsCascadeBy32PixelsEach) {
    const std::wstring path = sampleFile();
    appData.writeConfig("{\"win_w\":500,\"win_h\":360}");
    std::vector<std::unique_ptr<Viewer>> viewers;
    for (int i = 0; i < 3; ++i) {
        viewers.push_back(std::make_unique<Viewer>(quoted(path), appData.folder.path()));
        ASSERT_NE(viewers.back()->window(), nullptr);
    }
    const RECT first = windowRect(viewers[0]->window());
    for (int i = 1; i < 3; ++i) {
        const RECT r = windowRect(viewers[i]->window());
        EXPECT_EQ(r.left, first.left + 32 * i) << rectText(r);
        EXPECT_EQ(r.top, first.top + 32 * i) << rectText(r);
        EXPECT_EQ(r.right - r.left, 500);
        EXPECT_EQ(r.bottom - r.top, 360);
    }
}

TEST_F(ViewerPlacement, OnlyTheFirstViewerSavesItsPosition) {
    const std::wstring path = sampleFile();
    Viewer first(quoted(path), appData.folder.path());
    ASSERT_NE(first.window(), nullptr);
    Viewer second(quoted(path), appData.folder.path());
    HWND secondWindow = second.window();
    ASSERT_NE(secondWindow, nullptr);
    ASSERT_TRUE(waitForPlacementSave(appData));
    Sleep(800); // both start-up saves are done

    SetWindowPos(first.window(), nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] { return savedSettings().win_x == 50; }, 3000))
        << appData.configText();
    Settings s = savedSettings();
    EXPECT_EQ(s.win_y, 60);
    EXPECT_TRUE(s.has_monitor);
    EXPECT_FALSE(s.monitor.empty());

    SetWindowPos(secondWindow, nullptr, 300, 200, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] { return savedSettings().win_w == 700; }, 3000))
        << appData.configText();
    s = savedSettings();
    EXPECT_EQ(s.win_h, 500);
    EXPECT_EQ(s.win_x, 50) << "the second viewer leaves the position alone";
    EXPECT_EQ(s.win_y, 60);

    // Closing saves too: the first viewer's last position.
    SetWindowPos(first.window(), nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    first.close();
    EXPECT_EQ(first.waitForExit(5000), 0u);
    s = savedSettings();
    EXPECT_EQ(s.win_x, 70);
    EXPECT_EQ(s.win_y, 80);
}

TEST_F(ViewerPlacement, MovesWriteTheSettingsOnceAfterTheLastMove) {
    const std::wstring path = sampleFile();
    Viewer viewer(quoted(path), appData.folder.path());
    HWND window = viewer.window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(waitForPlacementSave(appData));
    Sleep(300);

    WriteWatch watch(configPath(appData));
    ULONGLONG lastMove = 0;
    for (int i = 0; i < 5; ++i) {
        SetWindowPos(window, nullptr, 100 + 20 * i, 90 + 10 * i, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        lastMove = GetTickCount64();
        Sleep(150);
    }
    Sleep(2500);
    watch.stop();
    const std::vector<ULONGLONG> writes = watch.writes();
    ASSERT_EQ(writes.size(), 1u) << "one write after the moves";
    const ULONGLONG delay = writes[0] - lastMove;
    EXPECT_GE(delay, 650u);
    EXPECT_LE(delay, 2000u); // a loaded machine delays the timer
    const Settings s = savedSettings();
    EXPECT_EQ(s.win_x, 180);
    EXPECT_EQ(s.win_y, 130);
}

TEST_F(ViewerPlacement, SavedRectangleIsWhereTheNextViewerOpens) {
    const std::wstring path = sampleFile();
    appData.writeConfig("{\"win_x\":120,\"win_y\":110,\"win_w\":640,\"win_h\":480}");
    {
        Viewer viewer(quoted(path), appData.folder.path());
        HWND window = viewer.window();
        ASSERT_NE(window, nullptr);
        const RECT r = windowRect(window);
        EXPECT_EQ(r.left, 120);
        EXPECT_EQ(r.top, 110);
        EXPECT_EQ(r.right - r.left, 640);
        EXPECT_EQ(r.bottom - r.top, 480);
    }
    // A window saved while minimized: default size, pulled onto the work area.
    appData.writeConfig("{\"win_x\":-32000,\"win_y\":-32000,\"win_w\":160,\"win_h\":28}");
    Viewer viewer(quoted(path), appData.folder.path());
    HWND window = viewer.window();
    ASSERT_NE(window, nullptr);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT r = windowRect(window);
    EXPECT_EQ(r.left, work.left);
    EXPECT_EQ(r.top, work.top);
    EXPECT_EQ(r.right - r.left, std::min<LONG>(760, work.right - work.left));
}

// Through the window menu's commands, as the caption buttons give them.
bool showAs(HWND window, WPARAM command) {
    PostMessageW(window, WM_SYSCOMMAND, command, 0);
    return waitUntil(
        [&] {
            switch (command) {
            case SC_MAXIMIZE:
                return IsZoomed(window) != FALSE;
            case SC_MINIMIZE:
                return IsIconic(window) != FALSE;
            default:
                return !IsZoomed(window) && !IsIconic(window);
            }
        },
        kLoadedMs);
}

::testing::AssertionResult isAt(HWND window, const RECT& want) {
    const RECT r = windowRect(window);
    if (EqualRect(&r, &want))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << rectText(r) << ", not " << rectText(want);
}

TEST_F(ViewerPlacement, MaximisedOrMinimisedAtCloseComesBackAsTheUserLeftIt) {
    const std::wstring path = sampleFile();
    appData.writeConfig("{\"win_x\":100,\"win_y\":90,\"win_w\":640,\"win_h\":480}");
    const RECT normal{100, 90, 740, 570};
    struct Case {
        const char* what;
        std::vector<WPARAM> commands; // given before closing
        bool maximisedAfter;
    };
    for (const Case& c : {
             Case{"maximised", {SC_MAXIMIZE}, true},
             Case{"then restored", {SC_RESTORE}, false},
             Case{"minimised", {SC_MINIMIZE}, false},
             Case{"maximised, then minimised", {SC_MAXIMIZE, SC_MINIMIZE}, true},
             Case{"minimised from maximised", {SC_MINIMIZE}, true},
         }) {
        SCOPED_TRACE(c.what);
        Viewer viewer(quoted(path), appData.folder.path());
        HWND window = viewer.window(kLoadedMs);
        ASSERT_NE(window, nullptr);
        // Each start shows what the last close left.
        const Settings before = savedSettings();
        EXPECT_EQ(IsZoomed(window) != FALSE, before.has_win_max && before.win_max);
        EXPECT_FALSE(IsIconic(window));
        for (const WPARAM command : c.commands)
            ASSERT_TRUE(showAs(window, command)) << command;
        viewer.close();
        // Closing writes two files; a loaded machine may take its time.
        ASSERT_EQ(viewer.waitForExit(20000), 0u);

        const Settings s = savedSettings();
        EXPECT_EQ(s.win_max, c.maximisedAfter) << appData.configText();
        EXPECT_TRUE(s.has_win_max);
        EXPECT_EQ(s.win_x, 100) << "the restored rectangle, not the shown one";
        EXPECT_EQ(s.win_y, 90);
        EXPECT_EQ(s.win_w, 640);
        EXPECT_EQ(s.win_h, 480);
        EXPECT_FALSE(s.has_font_px) << "the placement store leaves the font size alone";
    }

    // Maximised at the start, and restoring gives the earlier rectangle.
    Viewer viewer(quoted(path), appData.folder.path());
    HWND window = viewer.window(kLoadedMs);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsZoomed(window));
    ASSERT_TRUE(showAs(window, SC_RESTORE));
    // The state changes before the window has moved: wait for the rectangle too.
    waitUntil([&] { return static_cast<bool>(isAt(window, normal)); }, kLoadedMs);
    EXPECT_TRUE(isAt(window, normal));
}

} // namespace
} // namespace velk::test
