#pragma once
// Where every control of the "Hashes" page goes: plain rectangle arithmetic in client pixels.
// The dialog procedure only moves the windows to the rectangles computed here. Every length is
// given for 96 DPI and multiplied by the page's scale (its DPI / 96); controls with a caption
// grow further when their text, measured in their font, needs more room.

#include <cstddef>
#include <functional>
#include <vector>

namespace velk {

struct PageRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

inline bool operator==(const PageRect& a, const PageRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// Widths in pixels of the captions as the page's UI font draws them; 0 for a text not measured.
struct PageTextWidths {
    int settingsLabel = 0;
    int copyButton = 0;
    int checkButton = 0;
    int openButton = 0;
    int computeButton = 0;
    int longestName = 0;       // the widest algorithm name of the rows
    int longestAlgoItem = 0;   // the widest entry of the algorithm combo box
    int longestFormatItem = 0; // the widest entry of the format combo box
    int comboChrome = 0;       // a combo box's drop button, frame and text margins
};

struct PageLayoutInput {
    double scale = 1.0; // the page's DPI / 96
    PageTextWidths text;
    int clientWidth = 0;
    int scrollPos = 0;
    bool hasHeader = false;        // the header label holds text
    bool hasOpenButton = false;    // the file is too large to hash here
    bool hasComputeButton = false; // the file is elsewhere: rows only once the user asks
    std::size_t rowCount = 0;
    int lineHeight = 0;       // monospace font: tmHeight + tmExternalLeading
    int averageCharWidth = 0; // monospace font: tmAveCharWidth
};

struct PageLayout {
    PageRect header;        // all zero when the header is empty
    PageRect openButton;    // all zero when there is no Open button
    PageRect computeButton; // where the rows start; all zero when there is no Compute button
    PageRect settingsLabel, algoCombo, formatCombo, preview;
    std::vector<PageRect> copyButtons, nameLabels, digestEdits;
    PageRect checkButton, checkResult;
    int editWidth = 0;
    int contentHeight = 0; // scroll range maximum, in unscrolled content pixels
};

// What the edit of one row shows at a trial width: its line count and its text length.
struct RowTextMeasure {
    int lines = 0;
    int chars = 0;
};

// Measures row `row` after its edit was placed at `probe` (the trial width and one line).
using RowMeasureFn = std::function<RowTextMeasure(std::size_t row, const PageRect& probe)>;

// The page's DPI as a scale factor; 1 for a DPI the platform does not report.
double pageScale(int dpi);

// `pixels96` at the page's scale, rounded to the nearest pixel.
int pageScaled(int pixels96, double scale);

// The digest font's height for CreateFontW: -12 pixels at 96 DPI, scaled.
int pageMonoFontHeight(double scale);

// A push button's width for a caption: the frame and focus gap (6 px a side at 96 DPI) around
// the text, never below the button's usual width.
int pageButtonWidth(int usualWidth96, int textWidth, double scale);

// The character width used for wrapping: the font's average, or 7 when the font gives none.
int pageCharWidth(int averageCharWidth);

// Height of a digest edit: enough lines for the reported line count and for the text
// wrapped at `editWidth`, plus 4, never below 22 (both scaled).
int pageRowHeight(const RowTextMeasure& measure, int charWidth, int editWidth, int lineHeight,
                  double scale = 1.0);

// The whole page. Row heights are measured (through `measure`) only when the edit width
// differs from `cachedEditWidth`; afterwards `rowHeights` and `cachedEditWidth` describe the
// new width. A cached row without a height counts as 22 (scaled). The two combo boxes share the
// settings row while their longest entries fit side by side; otherwise the format box takes a
// line of its own under the algorithm box.
PageLayout layoutPropertyPage(const PageLayoutInput& input, std::vector<int>& rowHeights,
                              int& cachedEditWidth, const RowMeasureFn& measure);

// Scroll bar actions the page understands; every other action keeps the position.
enum class PageScrollAction { LineUp, LineDown, PageUp, PageDown, ThumbTrack, Other };

// New scroll position after a scroll bar action, clamped to 0 .. max(0, maximum - page).
// A line step is 24 pixels at 96 DPI, scaled.
int pageScrollPosition(PageScrollAction action, int position, int page, int maximum,
                       int trackPosition, double scale = 1.0);

// New scroll position after a wheel turn: 40 pixels (at 96 DPI, scaled) up for a positive
// delta, 40 down otherwise, whatever the magnitude; clamped to 0 .. max(0, contentHeight -
// clientHeight).
int pageWheelPosition(int wheelDelta, int position, int contentHeight, int clientHeight,
                      double scale = 1.0);

} // namespace velk
