// The four fonts, all derived from the one pixel size fontPx.

#include "viewer/viewer_state.h"

#include <cwchar>

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
    s.uiFont = std::move(ui);
    s.monoFont = std::move(mono);
    s.boldFont = std::move(bold);

    const LOGFONTW linkLf = logicalFont(s.fontPx, L"Segoe UI", 700, true);
    UniqueGdiObject link(CreateFontIndirectW(&linkLf));
    sendFont(s.linkLabel, link);
    s.linkFont = std::move(link);
}

} // namespace velk
