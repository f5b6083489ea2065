#pragma once
// The main window's layout: every control's rectangle from the font size, the scroll offset
// and the client width. All sizes scale with the font size F; a one-line control is F + 16
// high.

#include <cstddef>
#include <functional>
#include <vector>

namespace velk {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

inline bool operator==(const Rect& a, const Rect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

struct RowRects {
    Rect copyButton;
    Rect nameLabel;
    Rect valueBox;
};

struct ViewerLayout {
    Rect fileNameLabel;
    Rect themeButton;
    Rect sizeLabel;
    Rect menuLabelCaption;
    Rect algoCombo; // height includes the drop-down list
    Rect formatCombo;
    Rect previewLabel;
    Rect progressBar; // in the preview's place while the pass shows its progress
    Rect progressLine;
    std::vector<RowRects> rows;
    Rect checkButton;
    Rect statusLabel; // two lines tall
    Rect fontSmallerButton;
    Rect fontResetButton;
    Rect fontLargerButton;
    Rect linkLabel;
    Rect computeAllCheckBox;
    int contentHeight = 0; // from the unscrolled top to 10 below the last line
};

inline int lineControlHeight(int fontPx) {
    return fontPx + 16;
}

// Never narrower than 80 pixels.
int valueBoxWidth(int fontPx, int clientWidth);

// The height of a row whose value box is `valueWidth` wide and holds `textLength` characters
// (of the mono font's line height and average width) shown by the box over `editLines` lines.
// A row is never lower than a one-line control.
int measuredRowHeight(int fontPx, int valueWidth, int lineHeight, int charWidth, int editLines,
                      int textLength);

// Asked once per row, top to bottom, with the value box's left, top and width; answers the
// row's height (measured anew or remembered).
using RowHeightSource = std::function<int(std::size_t row, int x, int y, int width)>;

ViewerLayout computeLayout(int fontPx, int scrollPos, int clientWidth, std::size_t rowCount,
                           const RowHeightSource& rowHeight);

struct ClientSize {
    int width = 0;
    int height = 0;
};

// The smallest client area the window may be given at this font size: no two controls
// overlap, none reaches past the right edge, the status line is at least `statusWidth` wide
// (what its longest text needs on two lines), and the header, the menu-label line and the
// first digest stay in view.
ClientSize minimumClientSize(int fontPx, int statusWidth);

} // namespace velk
