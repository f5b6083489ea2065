#pragma once
// The one state record of a check window (velkscope --check LIST) or of a window making a
// list (velkscope --create FILE...), and the messages its worker posts to it.

#ifdef _WIN32
#include "checksum/checksum_reader.h"
#include "engine/progress/progress_controls.h"
#include "engine/progress/progress_text.h"
#include "engine/unique_handle.h"
#include "viewer/check_window/check_text.h"
#include "viewer/theme_palette.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velk {

struct CheckRow {
    std::string shownName;  // as the list shows and the report writes it
    std::string path;       // the file to read; empty for an entry outside the folder
    std::string algorithms; // what the row shows in its algorithm column
    ChecksumEntry entry;    // checking only
    RowState state = RowState::Waiting;
    std::string digest;     // making only: the digest once hashed
    std::string reportLine; // checking only: the line velksum -c prints for it
};

// What the worker shares with the window; kept alive by both.
struct CheckJob {
    std::atomic<bool> cancel{false};
    // Set while a progress message is on its way: the worker posts no other before the
    // window has read it.
    std::atomic<bool> progressPending{false};
};

struct CheckWindowState {
    bool making = false;
    std::string title;      // list name (checking) or folder (making)
    std::string listFolder; // where a made list goes; checking: the list's folder
    std::string algorithm;  // making: the catalogue name the list is made with
    std::vector<CheckRow> rows;
    std::string refusal; // checking: why the list cannot be checked; empty when it can

    std::shared_ptr<CheckJob> job;
    std::size_t doneFiles = 0;
    std::uint64_t doneBytes = 0;    // of the finished files
    std::uint64_t totalBytes = 0;   // of every file, measured by the worker
    std::uint64_t currentBytes = 0; // read so far of the file being read
    bool finished = false;
    ProgressControls bar; // the bar and its line, while the files are read
    ThroughputEstimate estimate;
    ULONGLONG passStart = 0; // GetTickCount64 when the pass began
    bool savedOnce = false;  // making: the Save dialog came up once on its own

    HWND window = nullptr;
    HWND header = nullptr;
    HWND list = nullptr;
    HWND progress = nullptr;
    HWND status = nullptr;
    HWND algoCombo = nullptr;
    HWND saveButton = nullptr;
    HWND reportButton = nullptr;
    UniqueGdiObject uiFont;
    UniqueGdiObject boldFont;
    UniqueGdiObject backgroundBrush;
    bool dark = false;
    ThemePalette palette = themePalette(false);
    StatusMessage statusMessage;
    double scale = 1.0;
    bool isFirstViewerWindow = true;
};

// From the worker: wParam is the row, lParam its new state (RowState) packed with nothing
// else; a finished row's texts are in the row itself, written before the post and read after.
inline constexpr UINT WM_CHECK_ROW = WM_APP + 10;
// wParam: bytes read so far of the file being read.
inline constexpr UINT WM_CHECK_PROGRESS = WM_APP + 11;
// wParam: the total size of every listed file that exists.
inline constexpr UINT WM_CHECK_TOTAL = WM_APP + 12;
// The last row is done.
inline constexpr UINT WM_CHECK_DONE = WM_APP + 13;

// Runs the window to its end; the process's exit code.
int runCheckWindow(HINSTANCE instance, const std::wstring& listPath);
int runMakeWindow(HINSTANCE instance, const std::vector<std::wstring>& paths);

} // namespace velk
#endif
