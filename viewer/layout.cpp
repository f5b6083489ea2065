#include "viewer/layout.h"

#include "engine/progress/progress_row.h"

#include <algorithm>

namespace velk {
namespace {

int fontButtonsWidth(int F) {
    return 7 * F + 52;
}

} // namespace

int valueBoxWidth(int fontPx, int clientWidth) {
    return std::max(80, clientWidth - 12 * fontPx - 62);
}

int measuredRowHeight(int fontPx, int valueWidth, int lineHeight, int charWidth, int editLines,
                      int textLength) {
    int inner = valueWidth - 6;
    if (inner <= 0)
        inner = 1;
    // The box's own line count can lag behind a text set before the box had its width, so
    // the characters that must fit decide as well.
    const int byWidth = (textLength * charWidth + inner - 1) / inner;
    const int lines = std::max({editLines, byWidth, 1});
    return std::max(lineControlHeight(fontPx), lines * lineHeight + 6);
}

ViewerLayout computeLayout(int fontPx, int scrollPos, int clientWidth, std::size_t rowCount,
                           const RowHeightSource& rowHeight) {
    const int F = fontPx;
    const int S = scrollPos;
    const int W = clientWidth;
    const int ch = lineControlHeight(F);
    ViewerLayout out;

    out.fileNameLabel = {10, 10 - S, W - 6 * F - 48, ch};
    out.themeButton = {W - 6 * F - 30, 10 - S, 6 * F + 20, ch};
    out.sizeLabel = {10, F + 26 - S, W - 20, ch};

    int y1 = 2 * F + 48 - S;
    out.menuLabelCaption = {10, y1, 20 * F, ch};
    const int comboWidth = 10 * F + 40;
    int comboX = 20 * F + 16;
    if (40 * F + 108 > W - 10) { // no room beside the caption: the combo boxes get a line
        y1 += ch + 4;
        comboX = 10;
    }
    out.algoCombo = {comboX, y1, comboWidth, 200};
    out.formatCombo = {comboX + 10 * F + 46, y1, comboWidth, 200};
    out.previewLabel = {10, y1 + F + 18, W - 20, ch};
    // The preview is empty until the digests arrive: its line holds the progress until then.
    const ProgressRowParts progress = splitProgressRow({10, y1 + F + 18, W - 20, ch}, F + 4, F);
    out.progressBar = {progress.bar.x, progress.bar.y, progress.bar.width, progress.bar.height};
    out.progressLine = {progress.line.x, progress.line.y, progress.line.width,
                        progress.line.height};

    const int b = 5 * F + 20;
    const int n = 7 * F + 10;
    const int v = 12 * F + 52;
    const int vw = valueBoxWidth(F, W);
    int y = y1 + 2 * F + 42;
    out.rows.reserve(rowCount);
    for (std::size_t i = 0; i < rowCount; ++i) {
        const int rh = rowHeight(i, v, y, vw);
        out.rows.push_back({{10, y, b, ch}, {5 * F + 36, y, n, ch}, {v, y, vw, rh}});
        y += rh + 6;
    }

    const int y3 = y + 4;
    // The font buttons, 7F + 52 wide together, never come closer than 10 pixels to the right
    // edge; the first term alone would push them past it from F = 25 on.
    const int m = std::min(W - 80 - 2 * (b / 2), W - 10 - fontButtonsWidth(F));
    out.checkButton = {10, y3, b, ch};
    out.statusLabel = {b + 18, y3, m - b - 26, 2 * ch};
    out.fontSmallerButton = {m, y3, 2 * F + 16, ch};
    out.fontResetButton = {m + 2 * F + 18, y3, 3 * F + 16, ch};
    out.fontLargerButton = {m + 5 * F + 36, y3, 2 * F + 16, ch};

    const int y4 = y3 + 2 * F + 38;
    out.linkLabel = {10, y4, 13 * F + 10, ch};
    out.computeAllCheckBox = {W - 16 * F - 40, y4, 16 * F + 30, ch};
    out.contentHeight = y4 + S + ch + 10;
    return out;
}

ClientSize minimumClientSize(int fontPx, int statusWidth) {
    const int F = fontPx;
    const int b = 5 * F + 20;
    const int ch = lineControlHeight(F);
    // Link (13F + 10 wide from x 10; its text is far shorter) and check box (from W - 16F - 40).
    const int footer = (13 * F + 20) + (16 * F + 40);
    // Both combo boxes on their own line from x 10, 10 pixels short of the edge.
    const int combos = 10 + (10 * F + 46) + (10 * F + 40) + 10;
    // The status line from b + 18 to 8 pixels short of the font buttons, which start at m.
    const int status = (b + 18) + std::max(statusWidth, 0) + 8 +
                       std::max(80 + 2 * (b / 2), 10 + fontButtonsWidth(F));
    // Value boxes no narrower than their 80-pixel floor.
    const int values = 12 * F + 62 + 80;
    ClientSize size;
    size.width = std::max({footer, combos, status, values});
    // Wrapped combo boxes: the rows start at 5F + 110; the first row and its gap below.
    size.height = 2 * F + 48 + ch + 4 + 2 * F + 42 + ch + 6;
    return size;
}

} // namespace velk
