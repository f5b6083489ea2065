// The main window's controls, created once in z-order: header, menu-label line, one row
// per algorithm, footer.

#include "engine/algorithms.h"
#include "engine/long_path.h"
#include "engine/unique_handle.h"
#include "engine/utf16.h"
#include "viewer/file_facts.h"
#include "viewer/viewer_state.h"

#include <windows.h>

#include <commctrl.h>

namespace velk {
namespace {

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

// Read once at start-up; a file whose size cannot be read shows 0.
std::uint64_t fileSize(const std::string& path) {
    UniqueFile file(CreateFileW(extendedLengthPath(toUtf16(path)).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0)
        return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

} // namespace

void createControls(ViewerState& s) {
    s.fileNameLabel = createControl(s, {L"STATIC", fileNameOf(s.filePath), SS_NOPREFIX});
    s.sizeLabel = createControl(s, {L"STATIC", sizeLineText(fileSize(s.filePath))});
    s.themeButton = createControl(s, {L"BUTTON", "", BS_PUSHBUTTON, kThemeButtonId});
    s.menuLabelCaption =
        createControl(s, {L"STATIC", "Menu label (\xE2\x80\x9CHashes ##-##\xE2\x80\x9D) uses:"});
    s.algoCombo = createControl(s, {L"COMBOBOX", "", WS_VSCROLL | CBS_DROPDOWNLIST, kAlgoComboId});
    s.formatCombo =
        createControl(s, {L"COMBOBOX", "", WS_VSCROLL | CBS_DROPDOWNLIST, kFormatComboId});
    s.previewLabel = createControl(s, {L"STATIC", ""});

    int index = 0;
    for (const std::string& name : kAlgorithmNames) {
        HashRow row;
        row.algorithmName = name;
        row.copyButton =
            createControl(s, {L"BUTTON", "Copy", WS_DISABLED, kFirstCopyButtonId + index});
        row.nameLabel = createControl(s, {L"STATIC", name});
        row.valueBox = createControl(s, {L"EDIT", "computing...", ES_MULTILINE | ES_READONLY});
        SetWindowSubclass(row.valueBox, valueBoxProc, 1, 0);
        s.rows.push_back(std::move(row));
        ++index;
    }

    s.checkButton = createControl(s, {L"BUTTON", "Check", BS_PUSHBUTTON, kCheckButtonId});
    s.statusLabel = createControl(s, {L"STATIC", ""});
    s.fontSmallerButton =
        createControl(s, {L"BUTTON", "\xE2\x88\x92", BS_PUSHBUTTON, kFontSmallerId});
    s.fontResetButton = createControl(s, {L"BUTTON", "Reset", BS_PUSHBUTTON, kFontResetId});
    s.fontLargerButton = createControl(s, {L"BUTTON", "+", BS_PUSHBUTTON, kFontLargerId});
    s.computeAllCheckBox = createControl(
        s, {L"BUTTON", "Compute All Hashes in Menus", BS_AUTOCHECKBOX, kComputeAllId});
    s.linkLabel =
        createControl(s, {L"STATIC", kMakerSiteShort, SS_NOTIFY | SS_CENTERIMAGE, kLinkId});

    fillSettingsControls(s);
}

} // namespace velk
