#include "shellext/page/page_dialog.h"

#include "engine/clipboard_token.h"
#include "engine/pass/hash_file.h"
#include "engine/utf16.h"
#include "settings/label_format.h"
#include "settings/settings.h"
#include "shellext/com/module.h"
#include "shellext/menu/shell_commands.h"
#include "shellext/page/page_controls.h"
#include "shellext/page/page_layout.h"
#include "shellext/page/page_progress.h"
#include "shellext/page/page_worker.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <memory>

namespace velk {

static_assert(page_style::kChild == WS_CHILD && page_style::kVisible == WS_VISIBLE &&
                  page_style::kDisabled == WS_DISABLED && page_style::kVScroll == WS_VSCROLL &&
                  page_style::kTabStop == WS_TABSTOP,
              "window styles");
static_assert(page_style::kPushButton == BS_PUSHBUTTON &&
                  page_style::kDropDownList == CBS_DROPDOWNLIST &&
                  page_style::kLeftNoWordWrap == SS_LEFTNOWORDWRAP &&
                  page_style::kCenterImage == SS_CENTERIMAGE &&
                  page_style::kMultiLine == ES_MULTILINE && page_style::kReadOnly == ES_READONLY,
              "control styles");
static_assert(kPageHashesDoneMessage == WM_PAGE_HASHES_DONE, "one message number");

namespace {

#ifndef WM_DPICHANGED_AFTERPARENT
constexpr UINT WM_DPICHANGED_AFTERPARENT = 0x02E3;
#endif

PropertyPageState* stateOf(HWND window) {
    return reinterpret_cast<PropertyPageState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// A window's DC with one font selected, both given back on scope exit.
class FontDc {
  public:
    FontDc(HWND window, HGDIOBJ font) : window_(window), dc_(GetDC(window)) {
        if (dc_ != nullptr && font != nullptr)
            previous_ = SelectObject(dc_, font);
    }
    ~FontDc() {
        if (dc_ == nullptr)
            return;
        if (previous_ != nullptr)
            SelectObject(dc_, previous_);
        ReleaseDC(window_, dc_);
    }
    FontDc(const FontDc&) = delete;
    FontDc& operator=(const FontDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};

void place(HWND control, const PageRect& r) {
    if (control != nullptr) {
        SetWindowPos(control, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND createControl(HWND page, const PageControlSpec& entry, HFONT font) {
    const DWORD style = WS_CHILD | WS_VISIBLE | entry.style;
    HWND control = CreateWindowExW(
        0, toUtf16(entry.className).c_str(), toUtf16(entry.text).c_str(), style, 0, 0, 0, 0, page,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), moduleHandle, nullptr);
    if (control != nullptr)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return control;
}

// The DPI the page is shown at: the window's own where the system reports one per window,
// otherwise the screen's.
int pageDpi(HWND window) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (dpiForWindow != nullptr) {
        const UINT dpi = dpiForWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    HDC dc = GetDC(window);
    const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc != nullptr)
        ReleaseDC(window, dc);
    return dpi;
}

// Width of a caption as a control draws it (an "&" marks the access key and takes no room).
int captionWidth(HDC dc, const std::string& text) {
    const std::wstring wide = toUtf16(text);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right - r.left;
}

int widestCaption(HDC dc, const std::vector<std::string>& texts) {
    int widest = 0;
    for (const std::string& text : texts)
        widest = std::max(widest, captionWidth(dc, text));
    return widest;
}

std::vector<std::string> formatDescriptions() {
    std::vector<std::string> texts;
    for (const LabelFormat& format : kLabelFormats)
        texts.push_back(format.description);
    return texts;
}

// The captions of the page's controls in its UI font, taken from the control table itself.
PageTextWidths measureCaptions(HWND window, const PropertyPageState& state) {
    PageTextWidths widths;
    FontDc dc(window, state.uiFont);
    if (dc.get() == nullptr)
        return widths;
    // The too-large table has the Open button, the one of a file elsewhere the Compute button.
    std::vector<PageControlSpec> captions = pageControlTable("", true, false);
    for (const PageControlSpec& entry : pageControlTable("", false, false, true))
        captions.push_back(entry);
    for (const PageControlSpec& entry : captions) {
        const int width = captionWidth(dc.get(), entry.text);
        switch (entry.role) {
        case PageControlRole::SettingsLabel:
            widths.settingsLabel = width;
            break;
        case PageControlRole::OpenViewer:
            widths.openButton = width;
            break;
        case PageControlRole::ComputeButton:
            widths.computeButton = width;
            break;
        case PageControlRole::CheckButton:
            widths.checkButton = width;
            break;
        default:
            break;
        }
    }
    for (const PageControlSpec& entry : pageRowControls()) {
        if (entry.role == PageControlRole::CopyButton)
            widths.copyButton = std::max(widths.copyButton, captionWidth(dc.get(), entry.text));
    }
    widths.longestName = widestCaption(dc.get(), kAlgorithmNames);
    widths.longestAlgoItem = widths.longestName;
    widths.longestFormatItem = widestCaption(dc.get(), formatDescriptions());
    // The drop button, the frame on both sides and the text's own margins.
    widths.comboChrome = GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE) +
                         pageScaled(8, state.scale);
    return widths;
}

// Scale, digest font and caption widths for the DPI the page is shown at now.
void applyPageDpi(HWND window, PropertyPageState& state) {
    state.scale = pageScale(pageDpi(window));
    state.monoFont.reset(CreateFontW(
        pageMonoFontHeight(state.scale), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Consolas"));
    state.textWidths = measureCaptions(window, state);
    state.cachedEditWidth = -1;
}

// Drop lists as wide as their longest entry, even where the closed box is narrower.
void widenDropLists(const PropertyPageState& state) {
    const int chrome = state.textWidths.comboChrome;
    SendMessageW(state.algoCombo, CB_SETDROPPEDWIDTH, state.textWidths.longestAlgoItem + chrome, 0);
    SendMessageW(state.formatCombo, CB_SETDROPPEDWIDTH, state.textWidths.longestFormatItem + chrome,
                 0);
}

// A digest box is read-only text: Tab, Enter and Esc work the dialog as they do from any other
// control, Ctrl+A selects the whole digest and Ctrl+C (the edit's own) copies the selection.
LRESULT CALLBACK digestEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR) {
    switch (message) {
    case WM_GETDLGCODE:
        return DefSubclassProc(edit, message, wParam, lParam) & ~DLGC_WANTALLKEYS;
    case WM_CHAR:
        if (wParam == 1) { // Ctrl+A
            SendMessageW(edit, EM_SETSEL, 0, -1);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, digestEditProc, id);
        break;
    default:
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

void fillCombos(PropertyPageState& state) {
    const std::vector<std::string>& names = kAlgorithmNames;
    for (const std::string& name : names) {
        SendMessageW(state.algoCombo, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(toUtf16(name).c_str()));
    }
    const auto algo = std::find(names.begin(), names.end(), state.labelAlgo);
    if (algo != names.end())
        SendMessageW(state.algoCombo, CB_SETCURSEL, algo - names.begin(), 0);

    state.formatKeys.clear();
    for (const LabelFormat& format : kLabelFormats) {
        SendMessageW(state.formatCombo, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(toUtf16(format.description).c_str()));
        state.formatKeys.push_back(format.key);
    }
    const auto key = std::find(state.formatKeys.begin(), state.formatKeys.end(), state.labelFormat);
    if (key != state.formatKeys.end()) {
        SendMessageW(state.formatCombo, CB_SETCURSEL, key - state.formatKeys.begin(), 0);
    }
}

void recordControl(PropertyPageState& state, const PageControlSpec& entry, HWND control) {
    switch (entry.role) {
    case PageControlRole::Header:
        state.headerLabel = control;
        break;
    case PageControlRole::OpenViewer:
        state.openViewerButton = control;
        break;
    case PageControlRole::SettingsLabel:
        state.settingsLabel = control;
        break;
    case PageControlRole::AlgoCombo:
        state.algoCombo = control;
        break;
    case PageControlRole::FormatCombo:
        state.formatCombo = control;
        break;
    case PageControlRole::Preview:
        state.previewLabel = control;
        break;
    case PageControlRole::CopyButton:
        state.copyButtons.push_back(control);
        state.rowAlgorithms.push_back(kAlgorithmNames[static_cast<std::size_t>(entry.row)]);
        break;
    case PageControlRole::NameLabel:
        state.nameLabels.push_back(control);
        break;
    case PageControlRole::DigestEdit:
        state.digestEdits.push_back(control);
        if (control != nullptr)
            SetWindowSubclass(control, digestEditProc, 1, 0);
        break;
    case PageControlRole::ComputeButton:
        state.computeButton = control;
        break;
    case PageControlRole::CheckButton:
        state.checkButton = control;
        break;
    case PageControlRole::CheckResult:
        state.checkResultLabel = control;
        break;
    }
}

// Starts the worker on the file as it is now: it reads no more than the size measured here and
// stops when the page goes away. Without a thread the page computes by itself.
void startComputing(HWND window, PropertyPageState& state) {
    state.computing = true;
    const long long size = fileSizeOf(state.targetPath);
    state.workerLink = std::make_shared<PageWorkerLink>();
    const PageHashRequest request{toUtf8(state.targetPath), size, state.workerLink};
    if (startPageHashWorker(window, request)) {
        startPageProgressWatch(window, state, size > 0 ? static_cast<std::uint64_t>(size) : 0);
        return;
    }
    PassOptions options;
    if (size >= 0)
        options.byteCap = static_cast<std::uint64_t>(size);
    state.resultsReady = computeAllHashes(request.utf8Path, state.results, nullptr, options);
    state.computing = false;
    showPageResults(state);
}

BOOL onInitDialog(HWND window, const PROPSHEETPAGEW* sheetPage) {
    PropertyPageState* state = reinterpret_cast<PropertyPageState*>(sheetPage->lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    if (state == nullptr)
        return TRUE;

    state->uiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    applyPageDpi(window, *state);

    const long long size = std::max(0LL, fileSizeOf(state->targetPath));
    const bool tooLarge = pageFileTooLarge(size);
    // A file whose content is elsewhere is read only when the user asks for it.
    const bool onRequest = !tooLarge && contentIsRemote(filePlaceOf(state->targetPath));
    const std::string header = pageHeaderText(state->targetPath != state->selectedPath, tooLarge,
                                              toUtf8(state->targetPath));

    Settings settings = loadSettings();
    normalizeLabelSettings(settings);
    state->labelAlgo = settings.label_algo;
    state->labelFormat = settings.label_format;

    for (const PageControlSpec& entry :
         pageControlTable(header, tooLarge, state->resultsReady, onRequest)) {
        HFONT font = entry.font == PageFont::Mono ? static_cast<HFONT>(state->monoFont.get())
                                                  : state->uiFont;
        HWND control = createControl(window, entry, font);
        recordControl(*state, entry, control);
        if (entry.role == PageControlRole::FormatCombo)
            fillCombos(*state);
    }
    widenDropLists(*state);

    if (!tooLarge && !onRequest)
        startComputing(window, *state);
    updatePagePreview(*state);
    layoutPropertyPage(window, *state);
    return TRUE;
}

void onHashesDone(HWND window, PropertyPageState& state, std::unique_ptr<PageHashMessage> message) {
    endPageProgress(window, state);
    if (message && message->ok) {
        state.results = std::move(message->results);
        state.resultsReady = true;
    }
    state.computing = false;
    message.reset();
    showPageResults(state);
    updatePagePreview(state);
    layoutPropertyPage(window, state);
    RedrawWindow(window, nullptr, nullptr, RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
}

// Writes the label fields this page has picked and not yet seen in force.
void savePageSettings(PropertyPageState& state, int limitMs) {
    if (!state.labelAlgoPending && !state.labelFormatPending)
        return;
    const SaveResult result = updateSettings(
        [&state](Settings& settings) {
            if (state.labelAlgoPending)
                settings.label_algo = state.labelAlgo;
            if (state.labelFormatPending)
                settings.label_format = state.labelFormat;
        },
        limitMs);
    if (result == SaveResult::Saved)
        state.labelAlgoPending = state.labelFormatPending = false;
}

int comboSelection(HWND combo) {
    return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

BOOL onCommand(HWND window, PropertyPageState& state, int id, int notification) {
    const int row = pageCopyRow(id, state.rowAlgorithms.size());
    if (row >= 0) {
        const auto found = state.results.find(state.rowAlgorithms[static_cast<std::size_t>(row)]);
        if (found != state.results.end())
            copyTextToClipboard(found->second);
        return TRUE;
    }
    switch (id) {
    case ID_PAGE_CHECK:
        checkClipboardOnPage(window, state);
        return TRUE;
    case ID_PAGE_ALGO: {
        if (notification != CBN_SELCHANGE)
            return FALSE;
        const int index = comboSelection(state.algoCombo);
        if (index >= 0 && static_cast<std::size_t>(index) < kAlgorithmNames.size()) {
            state.labelAlgo = kAlgorithmNames[static_cast<std::size_t>(index)];
        }
        state.labelAlgoPending = true;
        savePageSettings(state, kSettingsSaveRetryLimitMs);
        updatePagePreview(state);
        return TRUE;
    }
    case ID_PAGE_FORMAT: {
        if (notification != CBN_SELCHANGE)
            return FALSE;
        const int index = comboSelection(state.formatCombo);
        if (index >= 0 && static_cast<std::size_t>(index) < state.formatKeys.size()) {
            state.labelFormat = state.formatKeys[static_cast<std::size_t>(index)];
        }
        state.labelFormatPending = true;
        savePageSettings(state, kSettingsSaveRetryLimitMs);
        updatePagePreview(state);
        return TRUE;
    }
    case ID_PAGE_OPEN_VIEWER:
        launchViewer(state.targetPath);
        return TRUE;
    case ID_PAGE_COMPUTE: {
        if (state.computeButton == nullptr || state.computing)
            return TRUE;
        // The rows take the button's place, in the Tab order too, then the worker starts as
        // for a local file.
        const bool hadFocus = GetFocus() == state.computeButton;
        DestroyWindow(state.computeButton);
        state.computeButton = nullptr;
        HWND previous = state.previewLabel;
        for (const PageControlSpec& entry : pageRowControls()) {
            HFONT font = entry.font == PageFont::Mono ? static_cast<HFONT>(state.monoFont.get())
                                                      : state.uiFont;
            HWND control = createControl(window, entry, font);
            if (control != nullptr && previous != nullptr) {
                SetWindowPos(control, previous, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
            if (control != nullptr)
                previous = control;
            recordControl(state, entry, control);
        }
        if (hadFocus && !state.digestEdits.empty()) {
            SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(state.digestEdits[0]),
                         TRUE);
        }
        state.cachedEditWidth = -1;
        startComputing(window, state);
        layoutPropertyPage(window, state);
        InvalidateRect(window, nullptr, TRUE);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

int clientHeight(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.bottom - client.top;
}

void scrollTo(HWND window, PropertyPageState& state, int position) {
    state.scrollPos = position;
    layoutPropertyPage(window, state);
    InvalidateRect(window, nullptr, TRUE);
}

PageScrollAction scrollActionOf(int code) {
    switch (code) {
    case SB_LINEUP:
        return PageScrollAction::LineUp;
    case SB_LINEDOWN:
        return PageScrollAction::LineDown;
    case SB_PAGEUP:
        return PageScrollAction::PageUp;
    case SB_PAGEDOWN:
        return PageScrollAction::PageDown;
    case SB_THUMBTRACK:
        return PageScrollAction::ThumbTrack;
    default:
        return PageScrollAction::Other;
    }
}

void onVScroll(HWND window, PropertyPageState& state, int code) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, SB_VERT, &info);
    scrollTo(window, state,
             pageScrollPosition(scrollActionOf(code), state.scrollPos, static_cast<int>(info.nPage),
                                info.nMax, info.nTrackPos, state.scale));
}

INT_PTR onCtlColorStatic(HWND window, PropertyPageState& state, HDC dc, HWND control, WPARAM wParam,
                         LPARAM lParam) {
    RgbColour colour{};
    if (control != state.checkResultLabel || !checkResultColour(state.checkResultKind, colour)) {
        return FALSE;
    }
    // The dialog's own handling gives the page's background (the sheet's themed one where
    // there is a theme) and the default colours; it runs first, asking this procedure once
    // more, and the result colour is applied on top of it.
    state.askingDefaultColours = true;
    const LRESULT brush = DefDlgProcW(window, WM_CTLCOLORSTATIC, wParam, lParam);
    state.askingDefaultColours = false;
    SetTextColor(dc, RGB(colour.red, colour.green, colour.blue));
    SetBkMode(dc, TRANSPARENT);
    return static_cast<INT_PTR>(brush);
}

// The page moved to a screen of another DPI: new digest font, captions and places.
void onDpiChanged(HWND window, PropertyPageState& state) {
    applyPageDpi(window, state);
    for (HWND edit : state.digestEdits)
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(state.monoFont.get()), TRUE);
    widenDropLists(state);
    layoutPropertyPage(window, state);
    InvalidateRect(window, nullptr, TRUE);
}

INT_PTR handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return onInitDialog(window, reinterpret_cast<const PROPSHEETPAGEW*>(lParam));
    }
    PropertyPageState* state = stateOf(window);
    if (message == WM_PAGE_HASHES_DONE) {
        std::unique_ptr<PageHashMessage> owned(reinterpret_cast<PageHashMessage*>(lParam));
        if (state != nullptr)
            onHashesDone(window, *state, std::move(owned));
        return TRUE;
    }
    if (state == nullptr)
        return FALSE;
    switch (message) {
    case WM_PAGE_HASH_PROGRESS:
        takePageProgress(*state, wParam, lParam);
        return TRUE;
    case WM_TIMER:
        if (wParam != kPageProgressTimerId)
            return FALSE;
        showPageProgress(window, *state);
        return TRUE;
    case WM_COMMAND:
        return onCommand(window, *state, LOWORD(wParam), HIWORD(wParam));
    case WM_SIZE:
        layoutPropertyPage(window, *state);
        InvalidateRect(window, nullptr, TRUE);
        return TRUE;
    case WM_VSCROLL:
        onVScroll(window, *state, LOWORD(wParam));
        return TRUE;
    case WM_MOUSEWHEEL:
        scrollTo(window, *state,
                 pageWheelPosition(GET_WHEEL_DELTA_WPARAM(wParam), state->scrollPos,
                                   state->contentHeight, clientHeight(window), state->scale));
        return TRUE;
    case WM_DPICHANGED_AFTERPARENT:
        onDpiChanged(window, *state);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (state->askingDefaultColours)
            return FALSE;
        return onCtlColorStatic(window, *state, reinterpret_cast<HDC>(wParam),
                                reinterpret_cast<HWND>(lParam), wParam, lParam);
    case WM_DESTROY:
        // The worker stops between chunks and closes the file; the module stays loaded
        // until its thread has ended.
        if (state->workerLink)
            stopPageHashWorker(*state->workerLink);
        savePageSettings(*state, kSettingsFinalSaveLimitMs);
        state->monoFont.reset();
        // A worker may have posted just before the window went away; its message would
        // otherwise never be read.
        discardQueuedPageHashMessages(window);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK pageDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return handle(window, message, wParam, lParam);
    } catch (...) {
        // Out of memory inside a window message: the page stays as it was.
        return FALSE;
    }
}

void showPageResults(PropertyPageState& state) {
    for (std::size_t i = 0; i < state.digestEdits.size() && i < state.rowAlgorithms.size(); ++i) {
        const auto found = state.results.find(state.rowAlgorithms[i]);
        if (!state.resultsReady || found == state.results.end()) {
            SetWindowTextW(state.digestEdits[i], L"(unreadable)");
            continue;
        }
        SetWindowTextW(state.digestEdits[i], toUtf16(found->second).c_str());
        if (i < state.copyButtons.size())
            EnableWindow(state.copyButtons[i], TRUE);
    }
    if (state.resultsReady && state.checkButton != nullptr)
        EnableWindow(state.checkButton, TRUE);
    state.cachedEditWidth = -1;
}

void updatePagePreview(PropertyPageState& state) {
    if (state.previewLabel == nullptr)
        return;
    SetWindowTextW(
        state.previewLabel,
        toUtf16(formatMenuPreview(state.results, state.labelAlgo, state.labelFormat)).c_str());
}

void layoutPropertyPage(HWND window, PropertyPageState& state) {
    RECT client{};
    GetClientRect(window, &client);

    PageLayoutInput input;
    input.scale = state.scale;
    input.text = state.textWidths;
    input.clientWidth = client.right - client.left;
    input.scrollPos = state.scrollPos;
    input.hasHeader = state.headerLabel != nullptr && GetWindowTextLengthW(state.headerLabel) > 0;
    input.hasOpenButton = state.openViewerButton != nullptr;
    input.hasComputeButton = state.computeButton != nullptr;
    input.rowCount = state.digestEdits.size();
    {
        TEXTMETRICW metrics{};
        FontDc dc(window, state.monoFont.get());
        if (dc.get() != nullptr && GetTextMetricsW(dc.get(), &metrics)) {
            input.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
            input.averageCharWidth = metrics.tmAveCharWidth;
        }
    }

    const RowMeasureFn measure = [&state](std::size_t row, const PageRect& probe) {
        HWND edit = state.digestEdits[row];
        place(edit, probe);
        RowTextMeasure m;
        m.lines = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
        wchar_t text[300];
        m.chars = GetWindowTextW(edit, text, 300);
        return m;
    };
    const PageLayout l =
        layoutPropertyPage(input, state.rowHeights, state.cachedEditWidth, measure);

    if (input.hasHeader)
        place(state.headerLabel, l.header);
    place(state.openViewerButton, l.openButton);
    place(state.computeButton, l.computeButton);
    place(state.settingsLabel, l.settingsLabel);
    place(state.algoCombo, l.algoCombo);
    place(state.formatCombo, l.formatCombo);
    place(state.previewLabel, l.preview);
    placePageProgress(state, l.preview);
    for (std::size_t i = 0; i < state.digestEdits.size(); ++i) {
        if (i < state.copyButtons.size())
            place(state.copyButtons[i], l.copyButtons[i]);
        if (i < state.nameLabels.size())
            place(state.nameLabels[i], l.nameLabels[i]);
        place(state.digestEdits[i], l.digestEdits[i]);
    }
    place(state.checkButton, l.checkButton);
    place(state.checkResultLabel, l.checkResult);

    state.contentHeight = l.contentHeight;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = state.contentHeight;
    info.nPage = static_cast<UINT>(client.bottom - client.top);
    info.nPos = state.scrollPos;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
}

void checkClipboardOnPage(HWND, PropertyPageState& state) {
    const PageCheckOutcome outcome = checkClipboardTextOnPage(readClipboardText(), state.results);
    state.checkResultKind = outcome.kind;
    if (state.checkResultLabel == nullptr)
        return;
    SetWindowTextW(state.checkResultLabel, toUtf16(outcome.text).c_str());
    InvalidateRect(state.checkResultLabel, nullptr, TRUE);
}

} // namespace velk
