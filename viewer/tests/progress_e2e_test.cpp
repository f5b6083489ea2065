// The progress of a long pass, as another process sees the viewer: the bar appears after half
// a second, rises, and goes with the digests; a short pass never shows it; the window keeps
// answering; the worker's reports stay at about ten a second.

#include "progress_reports.h"
#include "viewer_test_support.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <regex>

namespace velk::test {
namespace {

// The line beside the bar: the static created right after it.
HWND progressLineOf(HWND window, HWND bar) {
    const std::vector<Child> children = childrenOf(window);
    for (std::size_t i = 0; i + 1 < children.size(); ++i) {
        if (children[i].window == bar)
            return children[i + 1].window;
    }
    return nullptr;
}

int barPosition(HWND bar) {
    DWORD_PTR position = 0;
    if (!SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 3000, &position))
        return -1;
    return static_cast<int>(position);
}

// Counts the reports the viewer takes from its queue, through a hook the window system loads
// into the viewer's process.
class ReportCounter {
  public:
    explicit ReportCounter(HWND window) {
        mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(ProgressReports), kProgressReportsMapping);
        if (mapping_ != nullptr) {
            reports_ = static_cast<ProgressReports*>(
                MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(ProgressReports)));
        }
        module_ = LoadLibraryW((binFolder() + L"\\velk_progress_hook.dll").c_str());
        const auto proc = module_ ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                        GetProcAddress(module_, "countProgressReports")))
                                  : nullptr;
        if (proc != nullptr && reports_ != nullptr) {
            hook_ = SetWindowsHookExW(WH_GETMESSAGE, proc, module_,
                                      GetWindowThreadProcessId(window, nullptr));
        }
    }
    ~ReportCounter() {
        if (hook_ != nullptr)
            UnhookWindowsHookEx(hook_);
        if (reports_ != nullptr)
            UnmapViewOfFile(reports_);
        if (mapping_ != nullptr)
            CloseHandle(mapping_);
        if (module_ != nullptr)
            FreeLibrary(module_);
    }
    bool ok() const { return hook_ != nullptr; }
    std::vector<DWORD> times() const {
        const LONG count = reports_->count;
        const LONG n = std::min<LONG>(count, 4096);
        return std::vector<DWORD>(reports_->takenAt, reports_->takenAt + n);
    }

  private:
    HANDLE mapping_ = nullptr;
    ProgressReports* reports_ = nullptr;
    HMODULE module_ = nullptr;
    HHOOK hook_ = nullptr;
};

// The most reports taken within any one second.
std::size_t mostInOneSecond(const std::vector<DWORD>& times) {
    std::size_t most = 0;
    for (std::size_t first = 0, last = 0; first < times.size(); ++first) {
        while (last < times.size() && times[last] - times[first] < 1000)
            ++last;
        most = std::max(most, last - first);
    }
    return most;
}

using ViewerProgress = ViewerTest;

TEST_F(ViewerProgress, LargeFileShowsARisingBarThatGoesWithTheDigests) {
    const std::wstring path = sparseFile(files, L"image.bin", 2ll << 30);
    const ULONGLONG started = GetTickCount64();
    Viewer viewer(quoted(path), appData.folder.path());
    HWND window = viewer.window();
    ASSERT_NE(window, nullptr);
    ReportCounter counter(window);
    ASSERT_TRUE(counter.ok()) << "the report-counting hook could not be set";
    // The taskbar announces the button: the viewer takes the taskbar's interface, or goes on
    // without it where the system has none.
    PostMessageW(window, RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);

    AnswerTimes answers;
    HWND bar = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] {
            answers.sample(window);
            return (bar = progressBarOf(window)) != nullptr;
        },
        kLoadedMs, 20));
    EXPECT_GE(GetTickCount64() - started, 500u) << "the bar came before the pass ran long";
    for (std::size_t row = 0; row < 11; ++row)
        EXPECT_EQ(textOf(viewer.valueBox(row)), L"computing...") << row;
    EXPECT_FALSE(IsWindowVisible(viewer.control(kPreview))) << "the bar takes the preview's place";
    const RECT barRect = rectInParent(bar);
    EXPECT_LT(barRect.bottom, rectInParent(viewer.copyButton(0)).top) << "above the rows";
    EXPECT_GT(barRect.top, rectInParent(viewer.control(kAlgo)).top) << "below the settings";

    int rises = 0;
    int last = barPosition(bar);
    std::wstring line;
    waitUntil(
        [&] {
            answers.sample(window);
            const int now = barPosition(bar);
            if (now > last)
                ++rises;
            EXPECT_GE(now, last) << "the bar went back";
            last = now;
            line = textOf(progressLineOf(window, bar));
            return rises >= 3;
        },
        60000, 50);
    EXPECT_GE(rises, 3) << "position stayed at " << last;
    // "12% · 0.2 of 2.0 GiB · 412 MB/s, about 40 s left"
    EXPECT_TRUE(std::regex_match(
        narrow(line),
        std::regex(
            "[0-9]{1,3}% \xC2\xB7 [0-9]+(\\.[0-9])?( bytes| KiB| MiB)? of 2\\.0 GiB( \xC2\xB7 "
            "[0-9.]+ [KMG]B/s, about [0-9]+ (s|min|h)( [0-9]+ min)? left)?")))
        << narrow(line);

    // To the end of the pass: the window answers all along, and the bar goes with the digests.
    // (An answer that waited for the digests to be laid out is the result's, not the pass's.)
    ASSERT_TRUE(waitUntil(
        [&] {
            const DWORD answer = answerTime(window);
            const bool over = textOf(viewer.valueBox(10)) != L"computing...";
            if (!over)
                answers.samples.push_back(answer);
            return over;
        },
        600000, 50));
    EXPECT_EQ(progressBarOf(window), nullptr);
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_TRUE(IsWindowVisible(viewer.control(kPreview)));
    EXPECT_NE(textOf(viewer.control(kPreview)), L"");
    EXPECT_LT(answers.percentile95(), 100u) << answers.summary();
    EXPECT_LT(answers.slowest(), 3000u) << "the window hung: " << answers.summary();
    std::printf("%s; reports: %zu, at most %zu in a second\n", answers.summary().c_str(),
                counter.times().size(), mostInOneSecond(counter.times()));

    const std::vector<DWORD> reports = counter.times();
    EXPECT_GE(reports.size(), 5u) << "the hook saw too few reports to judge";
    EXPECT_LE(mostInOneSecond(reports), 11u) << "reports flooded the window";
}

TEST_F(ViewerProgress, ShortPassNeverShowsIt) {
    const std::wstring path = sampleFile();
    Viewer viewer(quoted(path), appData.folder.path());
    HWND window = viewer.window();
    ASSERT_NE(window, nullptr);
    bool seen = false;
    ASSERT_TRUE(waitUntil(
        [&] {
            seen = seen || progressBarOf(window) != nullptr;
            return textOf(viewer.valueBox(10)) != L"computing...";
        },
        kLoadedMs, 5));
    EXPECT_FALSE(seen);
    // Past the moment a long pass would show it.
    Sleep(700);
    EXPECT_EQ(progressBarOf(window), nullptr);
    EXPECT_TRUE(IsWindowVisible(viewer.control(kPreview)));
}

} // namespace
} // namespace velk::test
