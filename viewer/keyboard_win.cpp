// The keys that act whichever control has the focus: font size, Tab through the controls in
// the order they are seen, Ctrl+A in a digest box, Enter on a button or the link.

#include "viewer/keyboard.h"
#include "viewer/scrolling.h"
#include "viewer/viewer_state.h"

#include <windows.h>

#include <vector>

namespace velk {
namespace {

bool isPushButton(HWND window) {
    wchar_t name[16];
    if (GetClassNameW(window, name, 16) == 0 || lstrcmpiW(name, L"Button") != 0)
        return false;
    const LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool isValueBox(const ViewerState& s, HWND window) {
    for (const HashRow& row : s.rows) {
        if (row.valueBox == window)
            return true;
    }
    return false;
}

KeyTarget targetOf(const ViewerState& s, HWND window) {
    if (window == s.mainWindow)
        return KeyTarget::MainWindow;
    if (window == s.linkLabel)
        return KeyTarget::Link;
    if (isValueBox(s, window))
        return KeyTarget::ValueBox;
    if (isPushButton(window))
        return KeyTarget::PushButton;
    return KeyTarget::Other;
}

// Every control a user can act on, in reading order: top to bottom, left to right.
std::vector<HWND> tabStops(const ViewerState& s) {
    std::vector<HWND> stops{s.themeButton, s.algoCombo, s.formatCombo};
    for (const HashRow& row : s.rows) {
        stops.push_back(row.copyButton);
        stops.push_back(row.valueBox);
    }
    for (HWND c : {s.checkButton, s.fontSmallerButton, s.fontResetButton, s.fontLargerButton,
                   s.linkLabel, s.computeAllCheckBox}) {
        stops.push_back(c);
    }
    return stops;
}

// Scrolls the page so that the control is in view.
void reveal(ViewerState& s, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, s.mainWindow, reinterpret_cast<POINT*>(&r), 2);
    RECT client{};
    GetClientRect(s.mainWindow, &client);
    const int position =
        revealScrollPosition(s.scrollPos, r.top, r.bottom, s.contentHeight, client.bottom);
    if (position != s.scrollPos) {
        s.scrollPos = position;
        layoutViewer(s);
        redrawViewer(s);
    }
}

void moveFocus(ViewerState& s, HWND from, bool backwards) {
    const std::vector<HWND> stops = tabStops(s);
    std::optional<std::size_t> current;
    for (std::size_t i = 0; i < stops.size(); ++i) {
        if (stops[i] == from || IsChild(stops[i], from))
            current = i;
    }
    const std::optional<std::size_t> next =
        nextTabStop(stops.size(), current, backwards, [&](std::size_t i) {
            return stops[i] != nullptr && IsWindowVisible(stops[i]) && IsWindowEnabled(stops[i]);
        });
    if (!next)
        return;
    // The keyboard is in use: focus rectangles are shown from now on.
    SendMessageW(s.mainWindow, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    HWND target = stops[*next];
    reveal(s, target);
    SetFocus(target);
    if (isValueBox(s, target))
        SendMessageW(target, EM_SETSEL, 0, -1);
}

} // namespace

bool handleViewerKey(ViewerState& s, HWND target, WPARAM virtualKey) {
    KeyPress key;
    key.virtualKey = static_cast<unsigned>(virtualKey);
    key.ctrl = GetKeyState(VK_CONTROL) < 0;
    key.shift = GetKeyState(VK_SHIFT) < 0;
    key.alt = GetKeyState(VK_MENU) < 0;
    // Only the focused control answers Enter or Ctrl+A; a key merely posted to another one
    // does not press it.
    key.target = target == GetFocus() ? targetOf(s, target) : KeyTarget::Other;
    const KeyAction action = keyAction(key, s.fontPx);
    switch (action.command) {
    case KeyCommand::None:
        return false;
    case KeyCommand::FontSize:
        setFontSize(s, action.fontPx);
        return true;
    case KeyCommand::FontReset:
        resetFontSize(s);
        return true;
    case KeyCommand::NextControl:
    case KeyCommand::PreviousControl:
        moveFocus(s, target, action.command == KeyCommand::PreviousControl);
        return true;
    case KeyCommand::SelectAll:
        SendMessageW(target, EM_SETSEL, 0, -1);
        return true;
    case KeyCommand::Press:
        if (target == s.linkLabel) {
            SendMessageW(s.mainWindow, WM_COMMAND, MAKEWPARAM(kLinkId, STN_CLICKED),
                         reinterpret_cast<LPARAM>(target));
        } else {
            SendMessageW(target, BM_CLICK, 0, 0);
        }
        return true;
    }
    return false;
}

} // namespace velk
