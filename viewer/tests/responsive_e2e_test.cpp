// A file that takes long to hash: the window works meanwhile and closes at once.

#include "viewer_test_support.h"

#include <algorithm>

namespace velk::test {
namespace {

using ViewerWhileHashing = ViewerTest;

TEST_F(ViewerWhileHashing, WindowAnswersAndClosesAtOnce) {
    const std::wstring path = sparseFile(files, L"huge.img", 6ll << 30);
    Viewer viewer(quoted(path), appData.folder.path());
    HWND window = viewer.window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(textOf(viewer.control(kSize)), L"6442450944 bytes");

    for (std::size_t row = 0; row < 11; ++row) {
        EXPECT_EQ(textOf(viewer.valueBox(row)), L"computing...") << row;
        EXPECT_FALSE(IsWindowEnabled(viewer.copyButton(row))) << row;
    }
    EXPECT_EQ(textOf(viewer.control(kPreview)), L"");

    // Through the first two seconds of the pass, across the moment its progress bar appears.
    AnswerTimes answers;
    for (int i = 0; i < 40; ++i) {
        answers.sample(window);
        Sleep(50);
    }
    EXPECT_LT(answers.percentile95(), 100u) << answers.summary();
    EXPECT_LT(answers.slowest(), 3000u) << "the window hung: " << answers.summary();

    // Moved, resized and scrolled while the pass runs.
    SetWindowPos(window, nullptr, 40, 30, 700, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT moved = windowRect(window);
    EXPECT_EQ(moved.left, 40);
    EXPECT_EQ(moved.right - moved.left, 700);
    const int topBefore = rectInParent(viewer.control(kFileName)).top;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0, SMTO_ABORTIFHUNG,
                        2000, &ignored);
    EXPECT_EQ(rectInParent(viewer.control(kFileName)).top, topBefore - 60);
    EXPECT_EQ(textOf(viewer.valueBox(0)), L"computing...");

    const ULONGLONG closing = GetTickCount64();
    viewer.close();
    EXPECT_EQ(viewer.waitForExit(5000), 0u);
    EXPECT_LT(GetTickCount64() - closing, 2000u) << "closing waited for the pass";
}

} // namespace
} // namespace velk::test
