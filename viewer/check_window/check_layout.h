#pragma once
// Where the check window's controls go: the header line, the list filling the middle, the
// progress and status lines, and the button row at the bottom.

#include "viewer/layout.h"

namespace velk {

struct CheckLayoutInput {
    int clientWidth = 0;
    int clientHeight = 0;
    double scale = 1.0;    // DPI / 96
    int lineHeight = 16;   // one line of the UI font, in pixels
    int buttonHeight = 26; // in pixels
    int reportButtonWidth = 100;
    int saveButtonWidth = 0; // 0: no Save button (checking)
    int algoComboWidth = 0;  // 0: no algorithm choice (checking)
};

struct CheckLayout {
    Rect header;
    Rect list;
    Rect progressRow; // the bar and its line while the files are read
    Rect progress;
    Rect status;
    Rect algoCombo;
    Rect saveButton;
    Rect reportButton;
};

// Margins and gaps are 10 and 6 pixels at 96 DPI, scaled. Below the list: the row of the
// progress bar, the line of files done, the status (two lines) and the buttons. The list takes what
// the other rows leave, never less than three lines; the algorithm choice sits at the left of the
// button row, the buttons at its right, Copy Report last.
CheckLayout layoutCheckWindow(const CheckLayoutInput& in);

// The smallest client size at which nothing overlaps.
void checkWindowMinimumClient(const CheckLayoutInput& in, int& width, int& height);

} // namespace velk
