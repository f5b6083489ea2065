#pragma once
// The record of one "Hashes" page, created by addHashPages and destroyed when the property
// sheet releases the page. Only the page's window thread touches it.

#include "engine/algorithms.h"
#include "engine/progress/progress_controls.h"
#include "engine/progress/progress_text.h"
#include "engine/unique_handle.h"
#include "shellext/page/page_check.h"
#include "shellext/page/page_layout.h"
#include "shellext/page/page_worker.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace velk {

struct PropertyPageState {
    std::wstring selectedPath;
    std::wstring targetPath; // the shortcut's target, else selectedPath; the page works on this
    HashResults results;
    bool resultsReady = false;
    bool computing = false;
    std::vector<HWND> copyButtons, nameLabels, digestEdits; // kAlgorithmNames order
    std::vector<std::string> rowAlgorithms;
    HWND headerLabel = nullptr;
    HWND checkButton = nullptr;
    HWND checkResultLabel = nullptr;
    HWND openViewerButton = nullptr;
    HWND computeButton = nullptr; // a file elsewhere, until the user asks for its digests
    HWND settingsLabel = nullptr;
    HWND algoCombo = nullptr;
    HWND formatCombo = nullptr;
    HWND previewLabel = nullptr;
    std::vector<std::string> formatKeys; // kLabelFormats order
    std::string labelAlgo = "MD5";
    std::string labelFormat = "4";
    // Picked here but not yet in force in config.json: written again with the next pick and
    // when the page closes.
    bool labelAlgoPending = false;
    bool labelFormatPending = false;
    UniqueGdiObject monoFont;  // its height follows `scale`
    HFONT uiFont = nullptr;    // the stock font, not owned
    double scale = 1.0;        // the page's DPI / 96
    PageTextWidths textWidths; // captions measured in uiFont, for the layout
    // Set while the dialog's default handling answers WM_CTLCOLORSTATIC for the result line.
    bool askingDefaultColours = false;
    int scrollPos = 0;
    int contentHeight = 0;
    CheckResultKind checkResultKind = CheckResultKind::None;
    std::vector<int> rowHeights;
    int cachedEditWidth = -1;
    // Set when the page goes away, so that its worker stops reading and closes the file.
    std::shared_ptr<PageWorkerLink> workerLink;
    // The worker's progress, shown from half a second into the pass until the digests arrive.
    ProgressControls progress;
    std::uint64_t progressBytes = 0;
    std::uint64_t progressBytesTotal = 0;
    ThroughputEstimate progressEstimate;
};

} // namespace velk
