#include "shellext/page/page_layout.h"

#include <algorithm>

namespace velk {
namespace {

constexpr int kMargin = 8;
constexpr int kMinRowHeight = 22;

int clampScroll(int position, int limit) {
    return std::clamp(position, 0, std::max(0, limit));
}

} // namespace

int pageCharWidth(int averageCharWidth) {
    return averageCharWidth < 1 ? 7 : averageCharWidth;
}

int pageRowHeight(const RowTextMeasure& measure, int charWidth, int editWidth, int lineHeight) {
    // The edit's own line count follows its real glyph widths, the estimate from the text
    // length follows the average width; the taller of the two never cuts a digest short.
    const int wrapped = (measure.chars * charWidth + editWidth - 1) / editWidth;
    const int lines = std::max({measure.lines, wrapped, 1});
    return std::max(lines * lineHeight + 4, kMinRowHeight);
}

PageLayout layoutPropertyPage(const PageLayoutInput& input, std::vector<int>& rowHeights,
                              int& cachedEditWidth, const RowMeasureFn& measure) {
    const int w = input.clientWidth;
    PageLayout out;
    int y = kMargin - input.scrollPos;

    if (input.hasHeader) {
        out.header = {kMargin, y, w - 16, 44};
        y += 48;
    }
    if (input.hasOpenButton) {
        out.openButton = {kMargin, y, 150, 26};
        y += 34;
    }

    out.settingsLabel = {kMargin, y + 2, 64, 22};
    const int comboWidth = std::max(70, (w - 90) / 2);
    out.algoCombo = {76, y, comboWidth, 220};
    out.formatCombo = {comboWidth + 82, y, comboWidth, 220};
    out.preview = {kMargin, y + 32, w - 16, 22};
    y += 62;

    if (input.hasComputeButton) {
        out.computeButton = {kMargin, y, 90, 26};
        y += 34;
    }

    const int charWidth = pageCharWidth(input.averageCharWidth);
    const int editWidth = std::max(60, w - 162);
    out.editWidth = editWidth;
    const bool remeasure = editWidth != cachedEditWidth;
    if (remeasure)
        rowHeights.assign(input.rowCount, kMinRowHeight);

    for (std::size_t i = 0; i < input.rowCount; ++i) {
        out.copyButtons.push_back({kMargin, y, 46, 22});
        out.nameLabels.push_back({60, y, 84, 22});
        int h = i < rowHeights.size() ? rowHeights[i] : kMinRowHeight;
        if (remeasure) {
            const PageRect probe{150, y, editWidth, input.lineHeight + 4};
            h = pageRowHeight(measure(i, probe), charWidth, editWidth, input.lineHeight);
            rowHeights[i] = h;
        }
        out.digestEdits.push_back({150, y, editWidth, h});
        y += h + 6;
    }
    if (remeasure)
        cachedEditWidth = editWidth;

    out.checkButton = {kMargin, y + 4, 56, 22};
    out.checkResult = {72, y + 4, w - 80, 44};
    out.contentHeight = input.scrollPos + y + 56;
    return out;
}

int pageScrollPosition(PageScrollAction action, int position, int page, int maximum,
                       int trackPosition) {
    int next = position;
    switch (action) {
    case PageScrollAction::LineUp:
        next = position - 24;
        break;
    case PageScrollAction::LineDown:
        next = position + 24;
        break;
    case PageScrollAction::PageUp:
        next = position - page;
        break;
    case PageScrollAction::PageDown:
        next = position + page;
        break;
    case PageScrollAction::ThumbTrack:
        next = trackPosition;
        break;
    case PageScrollAction::Other:
        break;
    }
    return clampScroll(next, maximum - page);
}

int pageWheelPosition(int wheelDelta, int position, int contentHeight, int clientHeight) {
    const int next = wheelDelta > 0 ? position - 40 : position + 40;
    return clampScroll(next, contentHeight - clientHeight);
}

} // namespace velk
