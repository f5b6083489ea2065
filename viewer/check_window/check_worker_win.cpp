// The check window's one worker: the rows read one after another, each verdict or digest
// posted to the window as it is known, progress at most every 100 ms and one message at a time.

#include "viewer/check_window/check_worker_win.h"

#include "checksum/listed_check.h"
#include "engine/long_path.h"
#include "engine/pass/hash_one.h"
#include "engine/utf16.h"

#include <chrono>
#include <new>
#include <system_error>
#include <thread>

namespace velk {
namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(100);

struct WorkItem {
    std::string path; // empty: outside the list's folder
    ChecksumEntry entry;
};

struct Work {
    HWND window = nullptr;
    std::shared_ptr<CheckJob> job;
    bool making = false;
    std::string algorithm;
    std::vector<WorkItem> items;
};

std::uint64_t sizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(extendedLengthPath(toUtf16(path)).c_str(),
                                              GetFileExInfoStandard, &data))
        return 0;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Hands a block to the window; the window owns it once the post succeeded.
void post(const Work& work, UINT message, WPARAM wParam, std::unique_ptr<CheckRowResult> block) {
    if (PostMessageW(work.window, message, wParam, reinterpret_cast<LPARAM>(block.get())))
        block.release();
}

std::unique_ptr<CheckRowResult> resultBlock(const Work& work, std::size_t row, RowState state) {
    std::unique_ptr<CheckRowResult> block(new (std::nothrow) CheckRowResult);
    if (block) {
        block->job = work.job.get();
        block->row = row;
        block->state = state;
    }
    return block;
}

void runOne(const Work& work, std::size_t index, CheckRowResult& result,
            const PassOptions& options) {
    const WorkItem& item = work.items[index];
    if (work.making) {
        std::string error;
        if (computeHash(item.path, work.algorithm, result.digest, &error, options)) {
            result.state = RowState::Ok;
        } else if (work.job->cancel) {
            result.state = RowState::Working;
        } else {
            result.state = RowState::Unreadable;
            result.error = error;
        }
        return;
    }
    ListedOutcome outcome;
    if (item.path.empty())
        outcome.verdict = ListedVerdict::Skipped;
    else
        outcome = checkListedFileAt(item.path, item.entry, options);
    result.state = rowStateOf(outcome.verdict);
    result.algorithm = outcome.algorithm;
    result.error = outcome.error;
    result.reportLine = listedReportLine(item.entry, outcome);
}

void work(Work w) {
    // Each size is asked once: for the total now, and for the progress of each finished file.
    std::vector<std::uint64_t> sizes;
    std::uint64_t total = 0;
    for (const WorkItem& item : w.items) {
        sizes.push_back(sizeOf(item.path));
        total += sizes.back();
    }
    PostMessageW(w.window, WM_CHECK_TOTAL, static_cast<WPARAM>(total),
                 reinterpret_cast<LPARAM>(w.job.get()));

    auto lastProgress = std::chrono::steady_clock::now();
    PassOptions options;
    options.cancel = &w.job->cancel;
    options.progress = [&](std::uint64_t bytesRead) {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastProgress < kProgressInterval || w.job->progressPending.exchange(true))
            return;
        lastProgress = now;
        if (!PostMessageW(w.window, WM_CHECK_PROGRESS, static_cast<WPARAM>(bytesRead),
                          reinterpret_cast<LPARAM>(w.job.get())))
            w.job->progressPending = false;
    };

    for (std::size_t i = 0; i < w.items.size() && !w.job->cancel; ++i) {
        post(w, WM_CHECK_ROW, 0, resultBlock(w, i, RowState::Working));
        std::unique_ptr<CheckRowResult> result = resultBlock(w, i, RowState::Working);
        if (!result)
            return;
        try {
            runOne(w, i, *result, options);
        } catch (const std::bad_alloc&) {
            result->state = RowState::Unreadable;
            result->error = "out of memory";
        }
        if (w.job->cancel)
            return;
        result->bytes = sizes[i];
        post(w, WM_CHECK_ROW, 0, std::move(result));
    }
    if (!w.job->cancel)
        PostMessageW(w.window, WM_CHECK_DONE, 0, reinterpret_cast<LPARAM>(w.job.get()));
}

} // namespace

bool startCheckWorker(CheckWindowState& state) {
    try {
        Work w;
        w.window = state.window;
        w.job = state.job;
        w.making = state.making;
        w.algorithm = state.algorithm;
        for (const CheckRow& row : state.rows)
            w.items.push_back({row.path, row.entry});
        std::thread(work, std::move(w)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace velk
