#pragma once
// The one state record of a viewer process, reached from the window procedure through one
// process-wide pointer. It is created before the main window and never destroyed: the
// hashing worker may still read filePath and post to mainWindow after the window is gone.

#ifdef _WIN32
#include "engine/algorithms.h"
#include "engine/pass/pass_options.h"
#include "engine/progress/progress_controls.h"
#include "engine/progress/progress_text.h"
#include "engine/unique_handle.h"
#include "viewer/compare_status.h"
#include "viewer/status_text.h"
#include "viewer/theme_palette.h"
#include "viewer/viewer_preferences.h"

#include <windows.h>

#include <shellapi.h>
#include <shobjidl.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velk {

struct HashRow {
    HWND copyButton = nullptr;
    HWND nameLabel = nullptr;
    HWND valueBox = nullptr;
    std::string algorithmName;
    std::int32_t height = 0;      // last measured height in pixels
    RowMark mark = RowMark::None; // agreement with the compared file
};

struct ViewerState {
    std::string filePath;
    HashResults results;
    bool hashesReady = false;
    std::int32_t fontPx = 12;        // always 7..72
    std::int32_t defaultFontPx = 12; // the DPI default, 7..72
    std::string labelAlgo = "MD5";
    std::string labelFormat = "4";
    std::string themeName = "system";
    bool computeAllMenus = false;
    FontPxSaving fontPxSaving = FontPxSaving::Keep; // what a settings save does with font_px

    HWND mainWindow = nullptr;
    HWND fileNameLabel = nullptr;
    HWND sizeLabel = nullptr;
    HWND themeButton = nullptr;
    HWND menuLabelCaption = nullptr;
    HWND algoCombo = nullptr;
    HWND formatCombo = nullptr;
    HWND previewLabel = nullptr;
    HWND checkButton = nullptr;
    HWND statusLabel = nullptr;
    HWND fontSmallerButton = nullptr;
    HWND fontResetButton = nullptr;
    HWND fontLargerButton = nullptr;
    HWND computeAllCheckBox = nullptr;
    HWND linkLabel = nullptr;
    HWND fileNameTip = nullptr; // tooltip with the whole path, owned by mainWindow

    std::vector<HashRow> rows;
    std::vector<std::string> formatKeys; // in the order of formatCombo
    UniqueGdiObject uiFont;
    UniqueGdiObject monoFont;
    UniqueGdiObject boldFont;
    UniqueGdiObject linkFont;
    std::int32_t scrollPos = 0;
    std::int32_t contentHeight = 0;
    std::int32_t measuredValueWidth = -1; // -1 forces a new measurement
    std::int32_t measuredFontPx = -1;
    UINT_PTR settingsSaveTimer = 0;
    bool dark = false;
    Colour backgroundColor = 0xFFFFFF;
    Colour textColor = 0x000000;
    Colour secondaryTextColor = 0x6E6E6E;
    UniqueGdiObject backgroundBrush;
    StatusKind statusKind = StatusKind::Neutral;
    UINT_PTR placementSaveTimer = 0;
    bool isFirstViewerWindow = true;

    // A failed pass is remembered so that Check keeps showing it.
    bool hashFailed = false;
    std::string hashError;

    // The control that had the focus when the window was last deactivated.
    HWND lastFocus = nullptr;
    // The smallest window size applies from the end of start-up on: a saved size below it
    // is kept until the user resizes.
    bool minimumSizeActive = false;
    int statusWidthFontPx = -1; // font size the cached status width was measured at
    int statusWidth = 0;        // what the longest status text needs on two lines

    std::optional<std::uint64_t> fileSize; // read once at start-up; none when unreadable
    // A comparison with a second file, from the command line or a drop. Each one has its own
    // generation: what an earlier one's worker still posts is dropped.
    bool comparing = false;
    CompareProgress compare;
    WPARAM compareGeneration = 0;
    std::shared_ptr<std::atomic<bool>> compareCancel; // stops the earlier worker

    // The pass's progress. The bar and its line exist only while they are shown: from half a
    // second into the pass until its result arrives.
    std::uint64_t fileBytes = 0; // the size read at start-up
    bool passOver = false;       // the result has arrived
    ProgressControls progress;
    std::uint64_t progressBytes = 0;
    ThroughputEstimate progressEstimate;
    // Set by the worker when it posts a report, cleared here when the report is taken.
    std::atomic<bool> progressPending{false};
    // The taskbar button's progress, once the taskbar has announced the button.
    UINT taskbarButtonCreated = 0;
    bool comReady = false;
    UniqueCom<ITaskbarList3> taskbar;
};

// Set once by start-up, before the main window exists.
inline ViewerState* theViewer = nullptr;

// Private window message of the worker's result; lParam is a HashJobResult*.
inline constexpr UINT WM_HASH_RESULT = WM_APP + 1;

// The status a checksum file beside the file gives it; lParam is a StatusMessage*.
inline constexpr UINT WM_CHECKSUM_VERDICT = WM_APP + 3;

// The compared file's size (wParam the generation, lParam the size) and its pass's outcome
// (wParam the generation, lParam a HashJobResult*).
inline constexpr UINT WM_COMPARE_SIZE = WM_APP + 4;
inline constexpr UINT WM_COMPARE_RESULT = WM_APP + 5;

// One pass's outcome, handed from a worker to the window in one posted message.
struct HashJobResult {
    bool ok = false;
    HashResults results;
    std::string error;
};

// A report of the worker: wParam the bytes read, lParam the milliseconds since the pass began.
inline constexpr UINT WM_HASH_PROGRESS = WM_APP + 6;

// Command ids of the controls.
inline constexpr int kThemeButtonId = 100;
inline constexpr int kAlgoComboId = 101;
inline constexpr int kFormatComboId = 102;
inline constexpr int kCheckButtonId = 103;
inline constexpr int kFontSmallerId = 104;
inline constexpr int kFontResetId = 105;
inline constexpr int kFontLargerId = 106;
inline constexpr int kComputeAllId = 107;
inline constexpr int kLinkId = 108;
inline constexpr int kFirstCopyButtonId = 200;
inline constexpr int kLastCopyButtonId = 299;

inline constexpr UINT_PTR kPlacementTimerId = 1;
inline constexpr UINT kPlacementSaveDelayMs = 700;
inline constexpr UINT_PTR kSettingsTimerId = 2;
inline constexpr UINT kSettingsSaveDelayMs = 600;
inline constexpr UINT_PTR kProgressTimerId = 3;     // shows the bar once the pass runs long
inline constexpr UINT_PTR kTaskbarErrorTimerId = 4; // ends the taskbar's failure mark
inline constexpr UINT kTaskbarErrorMs = 2000;

// Window glue, one file each.
void createControls(ViewerState& state);                       // controls_win.cpp
LRESULT CALLBACK viewerWindowProc(HWND, UINT, WPARAM, LPARAM); // window_proc_win.cpp
void layoutViewer(ViewerState& state);                         // layout_win.cpp
void placeProgress(ViewerState& state);                        // the progress bar and line alone
bool minimumTrackSize(ViewerState& state, POINT& outerSize);
bool growToMinimumSize(ViewerState& state); // true when the window was resized
void redrawViewer(ViewerState& state, UINT extraFlags = 0);
void scrollByBar(ViewerState& state, int code);
void scrollByWheel(ViewerState& state, int wheelDelta);
void setStatus(ViewerState& state, const std::string& text, StatusKind kind); // status_win.cpp
void setStatus(ViewerState& state, const StatusMessage& message);
void setWindowTextUtf8(HWND window, const std::string& text);
void copyDigest(ViewerState& state, std::size_t rowIndex); // copy_digest_win.cpp
// Puts the text on the clipboard; false when the clipboard is held by another program.
bool copyToClipboard(const std::string& utf8);
void hashWorker(ViewerState* state); // hash_worker_win.cpp
void handleHashResult(ViewerState& state, LPARAM block);
// All eleven digests of a file; null only without memory for the block.
std::unique_ptr<HashJobResult> hashForWindow(const std::string& path, const PassOptions& options);
// The size of the file at the UTF-8 path, without reading it; false when it cannot be asked.
bool readFileSize(const std::string& path, std::uint64_t& size); // controls_win.cpp
// compare_win.cpp
void startCompare(ViewerState& state, const std::string& otherPath);
void showCompare(ViewerState& state); // status line and row marks from what has arrived
void handleCompareSize(ViewerState& state, WPARAM generation, LPARAM size);
void handleCompareResult(ViewerState& state, WPARAM generation, LPARAM block);
void handleDrop(ViewerState& state, HDROP drop);
// checksum_lookup_win.cpp
void lookForChecksumFile(const ViewerState* state, const HashResults& digests);
void handleChecksumVerdict(ViewerState& state, LPARAM block);
void copyChecksumLine(ViewerState& state, std::size_t rowIndex); // copy_digest_win.cpp
HFONT createUiFont(int px, bool mono, bool bold);                // fonts_win.cpp
void rebuildFonts(ViewerState& state);
bool isDarkTheme(const ViewerState& state); // theme_win.cpp
void applyTheme(ViewerState& state);
LRESULT controlColour(ViewerState& state, HDC dc, HWND control);
void themeProgress(ViewerState& state);        // the progress bar and line, when they exist
void fillSettingsControls(ViewerState& state); // settings_panel_win.cpp
void toggleTheme(ViewerState& state);
void changeLabelAlgorithm(ViewerState& state);
void changeLabelFormat(ViewerState& state);
void changeComputeAll(ViewerState& state);
void setFontSize(ViewerState& state, int px); // a size the user chose: stored
void resetFontSize(ViewerState& state);       // back to the DPI default: unstored
void restartSettingsSave(ViewerState& state);
// False when the change did not land within `limitMs` (see updateSettings): still pending.
bool saveViewerSettings(const ViewerState& state, int limitMs);
void refreshPreview(ViewerState& state);
void checkClipboard(ViewerState& state); // clipboard_check_win.cpp
// progress_win.cpp
void startProgressWatch(ViewerState& state);
void showProgress(ViewerState& state); // the progress timer
void handleHashProgress(ViewerState& state, WPARAM bytesRead, LPARAM elapsedMs);
void endProgress(ViewerState& state, bool passSucceeded); // the result has arrived
void attachTaskbar(ViewerState& state); // the taskbar has announced the window's button
void clearTaskbarProgress(ViewerState& state);
// Keys that act whatever has the focus; true when the key was used.
bool handleViewerKey(ViewerState& state, HWND target, WPARAM virtualKey); // keyboard_win.cpp

} // namespace velk
#endif
