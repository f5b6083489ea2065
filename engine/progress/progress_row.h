#pragma once
// Where a progress bar and its line go in a row of the window: the bar on the left, two
// fifths of the row and a little lower than a line, centred on it; the line beside it.

namespace velk {

struct ProgressRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ProgressRowParts {
    ProgressRect bar;
    ProgressRect line;
};

ProgressRowParts splitProgressRow(const ProgressRect& row, int barHeight, int gap);

} // namespace velk
