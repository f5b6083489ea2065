// The main window's controls, created once in z-order: header, menu-label line, one row
// per algorithm, footer.

#include "engine/algorithms.h"
#include "engine/long_path.h"
#include "engine/unique_handle.h"
#include "engine/utf16.h"
#include "viewer/file_facts.h"
#include "viewer/gdi_scope_win.h"
#include "viewer/viewer_state.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

namespace velk {
namespace {

void drawLinkFocus(HWND link) {
    const WindowDc dc(link);
    if (dc.get() == nullptr)
        return;
    const SelectedObject font(dc.get(),
                              reinterpret_cast<HGDIOBJ>(SendMessageW(link, WM_GETFONT, 0, 0)));
    wchar_t text[128];
    const int length = GetWindowTextW(link, text, 128);
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), text, length, &extent);
    RECT client{};
    GetClientRect(link, &client);
    // The text stands at the left, centred vertically.
    const LONG top = (client.bottom - extent.cy) / 2;
    RECT frame{0, std::max(0L, top - 1), std::min(client.right, extent.cx + 2),
               std::min(client.bottom, top + extent.cy + 1)};
    DrawFocusRect(dc.get(), &frame);
}

// A multiline edit under dialog-style keyboard handling asks for every key and answers Esc
// by posting WM_CLOSE to its parent: Esc in a digest box would close the viewer. Declining
// Esc lets the dialog handling turn it into command id 2, which does nothing.
LRESULT CALLBACK valueBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    LRESULT result = DefSubclassProc(box, message, wParam, lParam);
    if (message == WM_GETDLGCODE && lParam != 0) {
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        if (key->message == WM_KEYDOWN && key->wParam == VK_ESCAPE) {
            result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
        }
    }
    return result;
}

// The link is a static text: it shows the keyboard focus with a dotted frame round its text
// once the keyboard is in use, as buttons do.
LRESULT CALLBACK linkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR) {
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
        InvalidateRect(link, nullptr, TRUE);
        break;
    case WM_PAINT: {
        const LRESULT result = DefSubclassProc(link, message, wParam, lParam);
        const bool cuesHidden = (SendMessageW(link, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
        if (GetFocus() == link && !cuesHidden)
            drawLinkFocus(link);
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(link, message, wParam, lParam);
}

struct ControlRecipe {
    const wchar_t* className;
    std::string text; // UTF-8
    DWORD style = 0;  // besides WS_CHILD | WS_VISIBLE
    int id = 0;
};

HWND createControl(const ViewerState& state, const ControlRecipe& recipe) {
    return CreateWindowExW(0, recipe.className, toUtf16(recipe.text).c_str(),
                           WS_CHILD | WS_VISIBLE | recipe.style, 0, 0, 0, 0, state.mainWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(recipe.id)),
                           GetModuleHandleW(nullptr), nullptr);
}

// The whole path, shown while the pointer rests on the file name.
HWND createPathTip(const ViewerState& s) {
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, s.mainWindow, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (tip == nullptr)
        return nullptr;
    std::wstring path = toUtf16(s.filePath);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = s.mainWindow;
    tool.uId = reinterpret_cast<UINT_PTR>(s.fileNameLabel);
    tool.lpszText = &path[0];
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // Long paths are wrapped at their spaces rather than run off the screen.
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
    return tip;
}

} // namespace

bool readFileSize(const std::string& path, std::uint64_t& bytes) {
    // No access rights: the size is asked of a file that others may hold open.
    UniqueFile file(CreateFileW(extendedLengthPath(toUtf16(path)).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0)
        return false;
    bytes = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

void createControls(ViewerState& s) {
    // Every control a user acts on is a tab stop; the keyboard walks them in reading order.
    constexpr DWORD tab = WS_TABSTOP;
    // SS_NOTIFY lets the file name see the pointer, for its tooltip.
    s.fileNameLabel =
        createControl(s, {L"STATIC", fileNameOf(s.filePath), SS_NOPREFIX | SS_NOTIFY});
    // Read once at start-up; a file whose size cannot be read shows 0.
    std::uint64_t size = 0;
    if (readFileSize(s.filePath, size))
        s.fileSize = size;
    s.sizeLabel = createControl(s, {L"STATIC", sizeLineText(s.fileSize.value_or(0))});
    s.fileBytes = s.fileSize.value_or(0);
    s.themeButton = createControl(s, {L"BUTTON", "", tab | BS_PUSHBUTTON, kThemeButtonId});
    s.menuLabelCaption =
        createControl(s, {L"STATIC", "Menu label (\xE2\x80\x9CHashes ##-##\xE2\x80\x9D) uses:"});
    s.algoCombo =
        createControl(s, {L"COMBOBOX", "", tab | WS_VSCROLL | CBS_DROPDOWNLIST, kAlgoComboId});
    s.formatCombo =
        createControl(s, {L"COMBOBOX", "", tab | WS_VSCROLL | CBS_DROPDOWNLIST, kFormatComboId});
    s.previewLabel = createControl(s, {L"STATIC", ""});

    int index = 0;
    for (const std::string& name : kAlgorithmNames) {
        HashRow row;
        row.algorithmName = name;
        row.copyButton =
            createControl(s, {L"BUTTON", "Copy", tab | WS_DISABLED, kFirstCopyButtonId + index});
        row.nameLabel = createControl(s, {L"STATIC", name});
        row.valueBox =
            createControl(s, {L"EDIT", "computing...", tab | ES_MULTILINE | ES_READONLY});
        SetWindowSubclass(row.valueBox, valueBoxProc, 1, 0);
        s.rows.push_back(std::move(row));
        ++index;
    }

    s.checkButton = createControl(s, {L"BUTTON", "Check", tab | BS_PUSHBUTTON, kCheckButtonId});
    s.statusLabel = createControl(s, {L"STATIC", ""});
    s.fontSmallerButton =
        createControl(s, {L"BUTTON", "\xE2\x88\x92", tab | BS_PUSHBUTTON, kFontSmallerId});
    s.fontResetButton = createControl(s, {L"BUTTON", "Reset", tab | BS_PUSHBUTTON, kFontResetId});
    s.fontLargerButton = createControl(s, {L"BUTTON", "+", tab | BS_PUSHBUTTON, kFontLargerId});
    s.computeAllCheckBox = createControl(
        s, {L"BUTTON", "Compute All Hashes in Menus", tab | BS_AUTOCHECKBOX, kComputeAllId});
    s.linkLabel =
        createControl(s, {L"STATIC", kMakerSiteShort, tab | SS_NOTIFY | SS_CENTERIMAGE, kLinkId});
    SetWindowSubclass(s.linkLabel, linkProc, 1, 0);
    s.fileNameTip = createPathTip(s);

    fillSettingsControls(s);
}

} // namespace velk
