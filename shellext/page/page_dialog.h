#pragma once
// The dialog procedure of the "Hashes" page and the steps it is made of.

#include "shellext/page/page_state.h"

#include <windows.h>

namespace velk {

// pfnDlgProc of the page. The state comes with WM_INITDIALOG (the PROPSHEETPAGEW's lParam)
// and is kept in the window's user data.
INT_PTR CALLBACK pageDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Rows: the digests once known, "(unreadable)" when the computation failed.
void showPageResults(PropertyPageState& state);
void updatePagePreview(PropertyPageState& state);
// Moves every control to its place for the current client size and scroll position.
void layoutPropertyPage(HWND window, PropertyPageState& state);
// The Check button: reads the clipboard, sets the result line and its colour state.
void checkClipboardOnPage(HWND window, PropertyPageState& state);

} // namespace velk
