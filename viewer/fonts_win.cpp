// The four fonts, all derived from the one pixel size fontPx.

#include "viewer/gdi_scope_win.h"
#include "viewer/viewer_state.h"

#include <algorithm>
#include <cwchar>
#include <string>

namespace velk {
namespace {

LOGFONTW logicalFont(int px, const wchar_t* face, int weight, bool underline) {
    LOGFONTW lf{};
    lf.lfHeight = -px; // character height, not cell height
    lf.lfWeight = weight;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

void sendFont(HWND control, const UniqueGdiObject& font) {
    if (control != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
}

// The open list as wide as its longest entry (never narrower than the box itself).
void fitDropDownWidth(HWND combo, HGDIOBJ font) {
    const WindowDc dc(combo);
    if (combo == nullptr || dc.get() == nullptr)
        return;
    const SelectedObject selected(dc.get(), font);
    int widest = 0;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        if (length == CB_ERR)
            continue;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(length), &extent);
        widest = std::max(widest, static_cast<int>(extent.cx));
    }
    // Item padding, the list's border, and its scroll bar when the entries do not all fit.
    const int extra = 2 * GetSystemMetrics(SM_CXEDGE) + 2 * GetSystemMetrics(SM_CXBORDER) + 8 +
                      GetSystemMetrics(SM_CXVSCROLL);
    SendMessageW(combo, CB_SETDROPPEDWIDTH, widest + extra, 0);
}

} // namespace

HFONT createUiFont(int px, bool mono, bool bold) {
    const LOGFONTW lf = logicalFont(px, mono ? L"Consolas" : L"Segoe UI", bold ? 700 : 400, false);
    return CreateFontIndirectW(&lf);
}

void rebuildFonts(ViewerState& s) {
    // The new set is handed to the controls before the old one is deleted, so no control
    // ever paints with a deleted font.
    UniqueGdiObject ui(createUiFont(s.fontPx, false, false));
    UniqueGdiObject mono(createUiFont(s.fontPx, true, false));
    UniqueGdiObject bold(createUiFont(s.fontPx, false, true));

    sendFont(s.fileNameLabel, bold);
    sendFont(s.sizeLabel, ui);
    sendFont(s.themeButton, ui);
    sendFont(s.menuLabelCaption, ui);
    sendFont(s.algoCombo, ui);
    sendFont(s.formatCombo, ui);
    sendFont(s.previewLabel, ui);
    sendFont(s.progress.line, ui);
    for (const HashRow& row : s.rows) {
        sendFont(row.copyButton, ui);
        sendFont(row.nameLabel, ui);
        sendFont(row.valueBox, mono);
    }
    sendFont(s.checkButton, ui);
    sendFont(s.statusLabel, ui);
    sendFont(s.fontSmallerButton, ui);
    sendFont(s.fontResetButton, ui);
    sendFont(s.fontLargerButton, ui);
    sendFont(s.computeAllCheckBox, ui);
    fitDropDownWidth(s.algoCombo, ui.get());
    fitDropDownWidth(s.formatCombo, ui.get());
    s.uiFont = std::move(ui);
    s.monoFont = std::move(mono);
    s.boldFont = std::move(bold);

    const LOGFONTW linkLf = logicalFont(s.fontPx, L"Segoe UI", 700, true);
    UniqueGdiObject link(CreateFontIndirectW(&linkLf));
    sendFont(s.linkLabel, link);
    s.linkFont = std::move(link);
}

} // namespace velk
