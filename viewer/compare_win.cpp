// Comparing the viewer's file with a second one: the second worker, the size said as soon as
// it is known, the marked rows, and a file dropped on the window.

#include "engine/long_path.h"
#include "engine/utf16.h"
#include "viewer/file_facts.h"
#include "viewer/viewer_state.h"

#include <memory>
#include <new>
#include <system_error>
#include <thread>

namespace velk {
namespace {

// What the second worker needs; it touches nothing of the viewer's state.
struct CompareJob {
    std::string path;
    HWND window = nullptr;
    WPARAM generation = 0;
    std::shared_ptr<std::atomic<bool>> cancel;
};

void compareWorker(const CompareJob& job) {
    // The size first, so that files of different sizes are told apart before any reading.
    std::uint64_t size = 0;
    if (readFileSize(job.path, size))
        PostMessageW(job.window, WM_COMPARE_SIZE, job.generation, static_cast<LPARAM>(size));
    PassOptions options;
    options.cancel = job.cancel.get();
    std::unique_ptr<HashJobResult> block = hashForWindow(job.path, options);
    // From a successful post on the window owns the block; a failed one means the window is
    // gone and the process is ending.
    if (block && PostMessageW(job.window, WM_COMPARE_RESULT, job.generation,
                              reinterpret_cast<LPARAM>(block.get())))
        block.release();
}

void setRowMark(HashRow& row, RowMark mark) {
    if (row.mark == mark)
        return;
    row.mark = mark;
    setWindowTextUtf8(row.nameLabel, markedRowName(row.algorithmName, mark));
    // The colour comes from the colour message, so the whole label must repaint.
    InvalidateRect(row.nameLabel, nullptr, TRUE);
}

} // namespace

void startCompare(ViewerState& s, const std::string& otherPath) {
    if (s.compareCancel)
        *s.compareCancel = true;
    s.comparing = true;
    ++s.compareGeneration;
    s.compare = CompareProgress{};
    s.compare.otherName = fileNameOf(otherPath);
    s.compare.thisSize = s.fileSize;
    s.compareCancel = std::make_shared<std::atomic<bool>>(false);
    try {
        std::thread(compareWorker,
                    CompareJob{otherPath, s.mainWindow, s.compareGeneration, s.compareCancel})
            .detach();
    } catch (const std::system_error&) {
        s.compare.otherDone = true;
        s.compare.otherError = "cannot start hashing";
    }
    showCompare(s);
}

void showCompare(ViewerState& s) {
    const OwnPass own{s.results, s.hashesReady, s.hashFailed, s.hashError};
    for (HashRow& row : s.rows)
        setRowMark(row, rowMark(s.results, s.compare, row.algorithmName));
    setStatus(s, compareStatus(s.compare, own));
}

void handleCompareSize(ViewerState& s, WPARAM generation, LPARAM size) {
    if (!s.comparing || generation != s.compareGeneration)
        return;
    s.compare.otherSize = static_cast<std::uint64_t>(size);
    showCompare(s);
}

void handleCompareResult(ViewerState& s, WPARAM generation, LPARAM blockAddress) {
    const std::unique_ptr<HashJobResult> block(reinterpret_cast<HashJobResult*>(blockAddress));
    if (!block || !s.comparing || generation != s.compareGeneration)
        return; // an earlier comparison's, overtaken by a drop
    s.compare.otherDone = true;
    s.compare.otherOk = block->ok;
    s.compare.otherError = block->error;
    s.compare.otherResults = std::move(block->results);
    showCompare(s);
}

void handleDrop(ViewerState& s, HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::wstring path;
    if (count == 1) {
        const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
        path.resize(length + 1);
        path.resize(DragQueryFileW(drop, 0, &path[0], length + 1));
    }
    DragFinish(drop);
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES
                                          : GetFileAttributesW(extendedLengthPath(path).c_str());
    if (path.empty() ||
        (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) {
        setStatus(s, dropOneFileStatus());
        return;
    }
    // A path that cannot be examined is compared all the same: its pass says why it fails.
    startCompare(s, toUtf8(path));
}

} // namespace velk
