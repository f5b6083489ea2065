#pragma once
// Where the page scrolls to. Scrolling moves the controls (the layout runs again with the new
// offset), so only the offset is computed here.

namespace velk {

// Scroll-bar request codes, numbered as the window system numbers them.
enum ScrollCode : int {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbTrack = 5,
};

// A scroll-bar request: lines of 30 pixels, pages of the bar's page, the thumb's track
// position; other codes stay put. Kept within 0..max - page.
int scrollBarPosition(int code, int position, int page, int trackPosition, int maximum);

// One wheel message moves 60 pixels, up for a positive delta; kept within
// 0..contentHeight - clientHeight.
int wheelScrollPosition(int scrollPos, int wheelDelta, int contentHeight, int clientHeight);

// The offset that brings a control (its top and bottom in client coordinates at the current
// offset) into view with 10 pixels to spare, moving as little as possible; a control taller
// than the window shows its top. Kept within 0..contentHeight - clientHeight.
int revealScrollPosition(int scrollPos, int top, int bottom, int contentHeight, int clientHeight);

} // namespace velk
