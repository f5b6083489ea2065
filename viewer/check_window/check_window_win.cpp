// The check window: every entry of a checksum file with its verdict (velkscope --check LIST),
// or every selected file with its digest on the way to a new list (velkscope --create FILE...).

#include "checksum/algorithm_names.h"
#include "checksum/checksum_writer.h"
#include "checksum/common_folder.h"
#include "checksum/listed_check.h"
#include "engine/module_path.h"
#include "engine/progress/progress_row.h"
#include "engine/utf16.h"
#include "settings/file_replace.h"
#include "settings/settings.h"
#include "viewer/check_window/check_layout.h"
#include "viewer/check_window/check_state_win.h"
#include "viewer/check_window/check_worker_win.h"
#include "viewer/font_size.h"
#include "viewer/gdi_scope_win.h"
#include "viewer/theme_win.h"
#include "viewer/viewer_preferences.h"
#include "viewer/viewer_state.h"
#include "viewer/window_placement.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

namespace velk {
namespace {

constexpr wchar_t kListWindowClass[] = L"VelkscopeListWnd";
constexpr int kIconResourceId = 101;

constexpr int kListId = 300;
constexpr int kReportButtonId = 301;
constexpr int kSaveButtonId = 302;
constexpr int kListAlgoComboId = 303;

enum Column { NameColumn = 0, AlgorithmColumn = 1, ResultColumn = 2 };

CheckWindowState* theList = nullptr;

int dpiOfScreen() {
    const WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

SIZE textExtent(HWND control, HGDIOBJ font, const std::wstring& text) {
    SIZE extent{};
    const WindowDc dc(control);
    if (dc.get() == nullptr)
        return extent;
    const SelectedObject selected(dc.get(), font);
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

std::wstring windowText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void place(HWND control, const Rect& r) {
    if (control != nullptr)
        MoveWindow(control, r.x, r.y, r.width, r.height, TRUE);
}

HWND child(CheckWindowState& s, const wchar_t* cls, const std::string& text, DWORD style, int id) {
    HWND control = CreateWindowExW(0, cls, toUtf16(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0,
                                   0, 0, 0, s.window, reinterpret_cast<HMENU>(INT_PTR(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control != nullptr)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(s.uiFont.get()), FALSE);
    return control;
}

// The width a button needs for its caption: the text plus the frame and the focus gap.
int buttonWidth(CheckWindowState& s, HWND button) {
    return textExtent(button, s.uiFont.get(), windowText(button)).cx +
           static_cast<int>(24 * s.scale);
}

CheckLayoutInput layoutInput(CheckWindowState& s) {
    CheckLayoutInput in;
    RECT client{};
    GetClientRect(s.window, &client);
    in.clientWidth = client.right;
    in.clientHeight = client.bottom;
    in.scale = s.scale;
    TEXTMETRICW metrics{};
    {
        const WindowDc dc(s.window);
        const SelectedObject selected(dc.get(), s.uiFont.get());
        GetTextMetricsW(dc.get(), &metrics);
    }
    in.lineHeight = std::max<int>(metrics.tmHeight, 8);
    in.buttonHeight = in.lineHeight + static_cast<int>(10 * s.scale);
    in.reportButtonWidth = buttonWidth(s, s.reportButton);
    if (s.saveButton != nullptr)
        in.saveButtonWidth = buttonWidth(s, s.saveButton);
    if (s.algoCombo != nullptr)
        in.algoComboWidth = static_cast<int>(140 * s.scale);
    return in;
}

void layout(CheckWindowState& s) {
    const CheckLayout l = layoutCheckWindow(layoutInput(s));
    place(s.header, l.header);
    place(s.list, l.list);
    place(s.progress, l.progress);
    if (s.bar.bar != nullptr) {
        const ProgressRowParts parts = splitProgressRow(
            {l.progressRow.x, l.progressRow.y, l.progressRow.width, l.progressRow.height},
            std::max(4, l.progressRow.height - static_cast<int>(4 * s.scale)),
            static_cast<int>(8 * s.scale));
        MoveWindow(s.bar.bar, parts.bar.x, parts.bar.y, parts.bar.width, parts.bar.height, TRUE);
        MoveWindow(s.bar.line, parts.line.x, parts.line.y, parts.line.width, parts.line.height,
                   TRUE);
    }
    place(s.status, l.status);
    place(s.reportButton, l.reportButton);
    place(s.saveButton, l.saveButton);
    if (s.algoCombo != nullptr) {
        Rect open = l.algoCombo;
        open.height *= 10; // the height of a drop-down list box includes its open list
        place(s.algoCombo, open);
    }
    // The name column takes what the others leave.
    RECT inner{};
    GetClientRect(s.list, &inner);
    const int algorithmWidth = static_cast<int>(110 * s.scale);
    const int resultWidth =
        s.making ? std::max(static_cast<int>(inner.right / 2), static_cast<int>(120 * s.scale))
                 : static_cast<int>(100 * s.scale);
    ListView_SetColumnWidth(s.list, AlgorithmColumn, algorithmWidth);
    ListView_SetColumnWidth(s.list, ResultColumn, resultWidth);
    ListView_SetColumnWidth(
        s.list, NameColumn,
        std::max<int>(inner.right - algorithmWidth - resultWidth, static_cast<int>(80 * s.scale)));
}

void setStatusLine(CheckWindowState& s, const StatusMessage& message) {
    s.statusMessage = message;
    setWindowTextUtf8(s.status, message.text);
    InvalidateRect(s.status, nullptr, TRUE);
}

void refreshProgress(CheckWindowState& s) {
    const std::uint64_t done = s.doneBytes + s.currentBytes;
    setWindowTextUtf8(s.progress, fileProgressText(s.doneFiles, s.rows.size(), done, s.totalBytes));
    if (s.bar.bar != nullptr && !s.finished) {
        s.estimate = updateThroughput(s.estimate, done, GetTickCount64() - s.passStart);
        showProgressValues(s.bar, done, s.totalBytes, s.estimate);
    }
}

void applyListTheme(CheckWindowState& s) {
    s.dark = themeIsDark(loadSettings().theme);
    s.palette = themePalette(s.dark);
    s.backgroundBrush.reset(CreateSolidBrush(s.palette.background));
    applyFrameTheme(s.window, s.dark);
    for (HWND control : {s.reportButton, s.saveButton, s.list})
        themeControl(control, s.dark, L"DarkMode_Explorer", L"Explorer");
    themeControl(s.algoCombo, s.dark, L"DarkMode_CFD", L"CFD");
    ListView_SetBkColor(s.list, s.palette.background);
    ListView_SetTextBkColor(s.list, s.palette.background);
    ListView_SetTextColor(s.list, s.palette.text);
}

// The list's text of one cell; the buffer is the list view's.
void cellText(const CheckWindowState& s, NMLVDISPINFOW& info) {
    if ((info.item.mask & LVIF_TEXT) == 0 || info.item.iItem < 0 ||
        static_cast<std::size_t>(info.item.iItem) >= s.rows.size())
        return;
    const CheckRow& row = s.rows[static_cast<std::size_t>(info.item.iItem)];
    std::string text;
    switch (info.item.iSubItem) {
    case NameColumn:
        text = row.shownName;
        break;
    case AlgorithmColumn:
        text = row.algorithms;
        break;
    default:
        text =
            s.making && row.state == RowState::Ok ? row.digest : rowStateText(row.state, s.making);
        break;
    }
    const std::wstring wide = toUtf16(text);
    lstrcpynW(info.item.pszText, wide.c_str(), info.item.cchTextMax);
}

LRESULT customDraw(const CheckWindowState& s, NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const std::size_t index = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
        Colour text = s.palette.text;
        if (draw.iSubItem == ResultColumn && index < s.rows.size()) {
            const CheckRow& row = s.rows[index];
            // A made list's digests are plain text; only the problems stand out.
            const StatusKind kind = s.making && row.state == RowState::Ok ? StatusKind::Neutral
                                                                          : rowStateKind(row.state);
            text = statusColour(kind, s.dark, s.palette.text);
        }
        draw.clrText = text;
        draw.clrTextBk = s.palette.background;
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void openViewerOn(const CheckWindowState& s, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= s.rows.size())
        return;
    const std::string& path = s.rows[static_cast<std::size_t>(index)].path;
    if (path.empty())
        return;
    const std::wstring self = modulePathOf(nullptr);
    const std::wstring argument = L"\"" + toUtf16(path) + L"\"";
    ShellExecuteW(s.window, L"open", self.c_str(), argument.c_str(), nullptr, SW_SHOWNORMAL);
}

std::string reportText(const CheckWindowState& s) {
    std::string text;
    for (const CheckRow& row : s.rows)
        text += row.reportLine;
    return text;
}

// The text of the list being made, its names relative to `folder`; false when a file does
// not lie below it.
bool listText(const CheckWindowState& s, const std::string& savePath, std::string& text,
              std::size_t& files) {
    std::vector<std::string> paths;
    for (const CheckRow& row : s.rows)
        paths.push_back(row.path);
    paths.push_back(savePath);
    ListedFiles listed;
    if (!listedFilesOf(paths, kHostNameRules, listed) ||
        listed.names.back().find('/') != std::string::npos)
        return false;
    text.clear();
    files = 0;
    for (std::size_t i = 0; i < s.rows.size(); ++i) {
        if (s.rows[i].state != RowState::Ok)
            continue;
        text += gnuChecksumLine(s.rows[i].digest, listed.names[i]);
        ++files;
    }
    return true;
}

void saveList(CheckWindowState& s) {
    const std::string proposed = checksumFileNameFor(s.algorithm);
    std::wstring file = toUtf16(proposed);
    file.resize(32768, L'\0');
    const std::wstring folder = toUtf16(s.listFolder);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = s.window;
    dialog.lpstrFilter = L"Checksum files\0*SUMS;*.sha*;*.md5;*.sfv;*.txt\0All files\0*.*\0";
    dialog.lpstrFile = &file[0];
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.c_str();
    dialog.Flags =
        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog))
        return;
    const std::string savePath = toUtf8(std::wstring(file.c_str()));
    const std::string saveName = checksumFileNameOf(savePath);
    std::string text;
    std::size_t files = 0;
    if (!listText(s, savePath, text, files)) {
        setStatusLine(s, {"Save the list in " + s.listFolder +
                              " or a folder above it, so that its names lead to the files.",
                          StatusKind::Failure});
        return;
    }
    setStatusLine(
        s, savedStatus(saveName, files, writeFileReplacing(savePath, text) == SaveResult::Saved));
}

void startPass(CheckWindowState& s) {
    if (s.job)
        s.job->cancel = true;
    s.job = std::make_shared<CheckJob>();
    s.doneFiles = 0;
    s.doneBytes = 0;
    s.currentBytes = 0;
    s.finished = false;
    for (CheckRow& row : s.rows) {
        row.state = RowState::Waiting;
        row.digest.clear();
        row.reportLine.clear();
        if (s.making)
            row.algorithms = s.algorithm;
    }
    if (s.saveButton != nullptr)
        EnableWindow(s.saveButton, FALSE);
    // The same bar and line as the viewer's, for every byte of the listed files.
    destroyProgressControls(s.bar);
    s.estimate = ThroughputEstimate();
    s.passStart = GetTickCount64();
    if (createProgressControls(s.bar, s.window, static_cast<HFONT>(s.uiFont.get()))) {
        themeProgressControls(s.bar, s.dark);
        layout(s);
        showProgressControls(s.bar);
    }
    InvalidateRect(s.list, nullptr, TRUE);
    setStatusLine(s, {});
    refreshProgress(s);
    if (!startCheckWorker(s))
        setStatusLine(s, {"Cannot start reading the files.", StatusKind::Failure});
}

void onRowNews(CheckWindowState& s, std::unique_ptr<CheckRowResult> news) {
    if (!news || news->job != s.job.get() || news->row >= s.rows.size())
        return;
    CheckRow& row = s.rows[news->row];
    row.state = news->state;
    if (news->state == RowState::Working) {
        s.currentBytes = 0;
        ListView_EnsureVisible(s.list, static_cast<int>(news->row), FALSE);
    } else {
        row.digest = std::move(news->digest);
        row.reportLine = std::move(news->reportLine);
        if (!news->algorithm.empty())
            row.algorithms = news->algorithm;
        ++s.doneFiles;
        s.doneBytes += news->bytes;
        s.currentBytes = 0;
    }
    ListView_RedrawItems(s.list, static_cast<int>(news->row), static_cast<int>(news->row));
    refreshProgress(s);
}

void onPassDone(CheckWindowState& s) {
    s.finished = true;
    destroyProgressControls(s.bar);
    refreshProgress(s);
    if (!s.making) {
        CheckTally tally;
        tally.total = s.rows.size();
        for (const CheckRow& row : s.rows)
            countRow(tally, row.state);
        setStatusLine(s, checkSummary(tally));
        return;
    }
    std::size_t unreadable = 0;
    for (const CheckRow& row : s.rows)
        unreadable += row.state == RowState::Ok ? 0 : 1;
    setStatusLine(s, madeSummary(s.rows.size(), unreadable, s.algorithm));
    const bool anyDigest = unreadable < s.rows.size();
    EnableWindow(s.saveButton, anyDigest ? TRUE : FALSE);
    // The Save dialog comes up by itself once; the button brings it back.
    if (anyDigest && !s.savedOnce) {
        s.savedOnce = true;
        PostMessageW(s.window, WM_COMMAND, MAKEWPARAM(kSaveButtonId, BN_CLICKED), 0);
    }
}

void onCommand(CheckWindowState& s, int id, int code) {
    if (id == kReportButtonId && code == BN_CLICKED) {
        std::string text;
        if (s.making) {
            std::size_t files = 0;
            listText(s, s.listFolder + checksumFileNameFor(s.algorithm), text, files);
        } else {
            text = reportText(s);
        }
        const bool copied = !text.empty() && copyToClipboard(text);
        setWindowTextUtf8(s.progress, copied ? (s.making ? "The list is on the clipboard."
                                                         : "The report is on the clipboard.")
                                             : "Nothing was copied.");
    } else if (id == kSaveButtonId && code == BN_CLICKED) {
        if (s.finished)
            saveList(s);
    } else if (id == kListAlgoComboId && code == CBN_SELCHANGE) {
        const LRESULT index = SendMessageW(s.algoCombo, CB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<std::size_t>(index) < kAlgorithmNames.size() &&
            kAlgorithmNames[static_cast<std::size_t>(index)] != s.algorithm) {
            s.algorithm = kAlgorithmNames[static_cast<std::size_t>(index)];
            startPass(s);
        }
    }
}

LRESULT CALLBACK listWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CheckWindowState* state = theList;
    if (state == nullptr || (state->window != nullptr && state->window != window))
        return DefWindowProcW(window, message, wParam, lParam);
    CheckWindowState& s = *state;
    switch (message) {
    case WM_NCCREATE:
        s.window = window;
        break;
    case WM_SIZE:
        layout(s);
        return 0;
    case WM_GETMINMAXINFO: {
        if (s.reportButton == nullptr)
            break;
        int width = 0;
        int height = 0;
        checkWindowMinimumClient(layoutInput(s), width, height);
        RECT outer{0, 0, width, height};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {outer.right - outer.left, outer.bottom - outer.top};
        return 0;
    }
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 static_cast<HBRUSH>(s.backgroundBrush.get()));
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const HWND control = reinterpret_cast<HWND>(lParam);
        Colour text = s.palette.text;
        if (control == s.status)
            text = statusColour(s.statusMessage.kind, s.dark, s.palette.text);
        else if (control == s.progress || control == s.bar.line)
            text = s.palette.secondaryText;
        SetTextColor(dc, text);
        SetBkColor(dc, s.palette.background);
        return reinterpret_cast<LRESULT>(s.backgroundBrush.get());
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom != s.list)
            break;
        if (header->code == LVN_GETDISPINFOW) {
            cellText(s, *reinterpret_cast<NMLVDISPINFOW*>(lParam));
            return 0;
        }
        if (header->code == NM_CUSTOMDRAW)
            return customDraw(s, *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
        if (header->code == NM_DBLCLK) {
            openViewerOn(s, reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem);
            return 0;
        }
        break;
    }
    case WM_COMMAND:
        onCommand(s, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CHECK_ROW:
        onRowNews(s, std::unique_ptr<CheckRowResult>(reinterpret_cast<CheckRowResult*>(lParam)));
        return 0;
    case WM_CHECK_PROGRESS:
        if (reinterpret_cast<const CheckJob*>(lParam) == s.job.get()) {
            s.job->progressPending = false;
            s.currentBytes = static_cast<std::uint64_t>(wParam);
            refreshProgress(s);
        }
        return 0;
    case WM_CHECK_TOTAL:
        if (reinterpret_cast<const CheckJob*>(lParam) == s.job.get()) {
            s.totalBytes = static_cast<std::uint64_t>(wParam);
            refreshProgress(s);
        }
        return 0;
    case WM_CHECK_DONE:
        if (reinterpret_cast<const CheckJob*>(lParam) == s.job.get())
            onPassDone(s);
        return 0;
    case WM_CLOSE:
        // The worker stops between chunks; the process ends with the window in any case.
        if (s.job)
            s.job->cancel = true;
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        unregisterViewerWindow();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void createControls(CheckWindowState& s) {
    s.header = child(s, L"STATIC", "", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 0);
    SendMessageW(s.header, WM_SETFONT, reinterpret_cast<WPARAM>(s.boldFont.get()), FALSE);
    s.list = child(s, WC_LISTVIEWW, "",
                   WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                       LVS_SHOWSELALWAYS,
                   kListId);
    ListView_SetExtendedListViewStyle(s.list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const char* titles[] = {"Name", "Algorithm", s.making ? "Digest" : "Verdict"};
    for (int i = 0; i < 3; ++i) {
        std::wstring title = toUtf16(titles[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = &title[0];
        column.cx = 100;
        column.iSubItem = i;
        ListView_InsertColumn(s.list, i, &column);
    }
    ListView_SetItemCountEx(s.list, static_cast<int>(s.rows.size()), 0);
    s.progress = child(s, L"STATIC", "", SS_LEFT | SS_NOPREFIX, 0);
    s.status = child(s, L"STATIC", "", SS_LEFT | SS_NOPREFIX, 0);
    if (s.making) {
        s.algoCombo =
            child(s, L"COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kListAlgoComboId);
        for (std::size_t i = 0; i < kAlgorithmNames.size(); ++i) {
            SendMessageW(s.algoCombo, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(toUtf16(kAlgorithmNames[i]).c_str()));
            if (kAlgorithmNames[i] == s.algorithm)
                SendMessageW(s.algoCombo, CB_SETCURSEL, i, 0);
        }
        s.saveButton = child(s, L"BUTTON", "&Save...", WS_TABSTOP | BS_PUSHBUTTON, kSaveButtonId);
        EnableWindow(s.saveButton, FALSE);
    }
    s.reportButton = child(s, L"BUTTON", s.making ? "Copy &List" : "Copy &Report",
                           WS_TABSTOP | BS_PUSHBUTTON, kReportButtonId);
}

int runListWindow(HINSTANCE instance, CheckWindowState& s, const std::string& header) {
    const int dpi = dpiOfScreen();
    s.scale = dpi / 96.0;
    const Settings settings = loadSettings();
    const ViewerPreferences preferences =
        preferencesFromSettings(settings, defaultFontPxForDpi(dpi));
    s.uiFont.reset(createUiFont(preferences.fontPx, false, false));
    s.boldFont.reset(createUiFont(preferences.fontPx, false, true));

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = listWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResourceId));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kListWindowClass;
    RegisterClassExW(&windowClass);

    const int others = registerViewerWindow();
    s.isFirstViewerWindow = others == 0;
    const WindowRect place = computeInitialPlacement(settings, others, s.scale);
    const std::string caption = s.making ? "Velkora - new checksum list" : "Velkora - " + s.title;
    HWND window = CreateWindowExW(0, kListWindowClass, toUtf16(caption).c_str(),
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.x, place.y,
                                  place.width, place.height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        unregisterViewerWindow();
        return 3;
    }
    s.window = window;
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    createControls(s);
    applyListTheme(s);
    setWindowTextUtf8(s.header, header);
    ShowWindow(window, SW_SHOW);
    layout(s);

    if (!s.refusal.empty())
        setStatusLine(s, s.making ? refusedFilesStatus(s.refusal)
                                  : refusedListStatus(s.title, s.refusal));
    else
        startPass(s);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(s.window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}

} // namespace

int runCheckWindow(HINSTANCE instance, const std::wstring& listPath) {
    // Never deleted: the detached worker may use it until the process ends.
    CheckWindowState* state = new CheckWindowState;
    theList = state;
    CheckWindowState& s = *state;
    const std::string path = toUtf8(listPath);
    s.title = checksumFileNameOf(path);
    s.listFolder = checksumFolderOf(path);
    ChecksumList list;
    std::string error;
    if (!loadChecksumFile(path, kMaxChecksumFileBytes, list, &error))
        s.refusal = error;
    else if (list.entries.empty())
        s.refusal = "no properly formatted checksum lines found";
    for (ChecksumEntry& entry : list.entries) {
        CheckRow row;
        row.shownName = displayListedName(entry.name);
        if (!listedFilePath(s.listFolder, entry, row.path))
            row.path.clear();
        for (const std::string& algorithm : entry.algorithms)
            row.algorithms += (row.algorithms.empty() ? "" : " / ") + algorithm;
        row.entry = std::move(entry);
        s.rows.push_back(std::move(row));
    }
    return runListWindow(instance, s, checkHeaderText(s.title, s.rows.size()));
}

int runMakeWindow(HINSTANCE instance, const std::vector<std::wstring>& paths) {
    CheckWindowState* state = new CheckWindowState;
    theList = state;
    CheckWindowState& s = *state;
    s.making = true;
    s.algorithm = "SHA-256";
    std::vector<std::string> utf8Paths;
    for (const std::wstring& path : paths)
        utf8Paths.push_back(toUtf8(path));
    ListedFiles listed;
    if (!listedFilesOf(utf8Paths, kHostNameRules, listed)) {
        s.title = "checksum list";
        s.refusal = "the files have no folder in common";
        return runListWindow(instance, s, makeHeaderText(paths.size(), ""));
    }
    s.listFolder = listed.folder;
    s.title = listed.folder;
    for (std::size_t i = 0; i < utf8Paths.size(); ++i) {
        CheckRow row;
        row.shownName = listed.names[i];
        row.path = utf8Paths[i];
        row.algorithms = s.algorithm;
        s.rows.push_back(std::move(row));
    }
    return runListWindow(instance, s, makeHeaderText(s.rows.size(), s.listFolder));
}

} // namespace velk
