#include "shellext/page/page_layout.h"

#include <algorithm>
#include <cmath>

namespace velk {
namespace {

constexpr int kMargin = 8;
constexpr int kMinRowHeight = 22;
constexpr int kButtonPadding = 6; // a push button's frame and focus gap, each side

int clampScroll(int position, int limit) {
    return std::clamp(position, 0, std::max(0, limit));
}

} // namespace

double pageScale(int dpi) {
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

int pageScaled(int pixels96, double scale) {
    return static_cast<int>(std::lround(pixels96 * scale));
}

int pageMonoFontHeight(double scale) {
    return -pageScaled(12, scale);
}

int pageButtonWidth(int usualWidth96, int textWidth, double scale) {
    const int needed = textWidth > 0 ? textWidth + 2 * pageScaled(kButtonPadding, scale) : 0;
    return std::max(pageScaled(usualWidth96, scale), needed);
}

int pageCharWidth(int averageCharWidth) {
    return averageCharWidth < 1 ? 7 : averageCharWidth;
}

int pageRowHeight(const RowTextMeasure& measure, int charWidth, int editWidth, int lineHeight,
                  double scale) {
    // The edit's own line count follows its real glyph widths, the estimate from the text
    // length follows the average width; the taller of the two never cuts a digest short.
    const int wrapped = (measure.chars * charWidth + editWidth - 1) / editWidth;
    const int lines = std::max({measure.lines, wrapped, 1});
    return std::max(lines * lineHeight + pageScaled(4, scale), pageScaled(kMinRowHeight, scale));
}

PageLayout layoutPropertyPage(const PageLayoutInput& input, std::vector<int>& rowHeights,
                              int& cachedEditWidth, const RowMeasureFn& measure) {
    const double k = input.scale;
    const auto s = [k](int pixels96) { return pageScaled(pixels96, k); };
    const PageTextWidths& text = input.text;
    const int w = input.clientWidth;
    const int margin = s(kMargin);
    const int gap = s(6);
    const int fullWidth = w - 2 * margin;
    PageLayout out;
    int y = margin - input.scrollPos;

    if (input.hasHeader) {
        out.header = {margin, y, fullWidth, s(44)};
        y += s(48);
    }
    if (input.hasOpenButton) {
        out.openButton = {margin, y, pageButtonWidth(150, text.openButton, k), s(26)};
        y += s(34);
    }

    // Settings row: the label, then the two combo boxes in equal halves of what is left, each
    // at least wide enough for its longest entry.
    const int labelWidth =
        std::max(s(64), text.settingsLabel > 0 ? text.settingsLabel + 2 * gap : 0);
    out.settingsLabel = {margin, y + s(2), labelWidth, s(22)};
    const int comboX = std::max(s(76), margin + labelWidth + s(4));
    const int comboRoom = w - comboX - margin;
    const int algoNeeds = text.longestAlgoItem > 0 ? text.longestAlgoItem + text.comboChrome : 0;
    const int formatNeeds =
        text.longestFormatItem > 0 ? text.longestFormatItem + text.comboChrome : 0;
    const int halfWidth = std::max(s(70), (comboRoom - gap) / 2);
    int settingsExtra = 0;
    if (halfWidth >= algoNeeds && halfWidth >= formatNeeds) {
        out.algoCombo = {comboX, y, halfWidth, s(220)};
        out.formatCombo = {comboX + halfWidth + gap, y, halfWidth, s(220)};
    } else if (algoNeeds + gap + formatNeeds <= comboRoom) {
        out.algoCombo = {comboX, y, algoNeeds, s(220)};
        out.formatCombo = {comboX + algoNeeds + gap, y, comboRoom - algoNeeds - gap, s(220)};
    } else {
        const int width = std::max({algoNeeds, s(70), comboRoom});
        out.algoCombo = {comboX, y, width, s(220)};
        settingsExtra = s(30);
        out.formatCombo = {comboX, y + settingsExtra, width, s(220)};
    }
    y += settingsExtra;
    out.preview = {margin, y + s(32), fullWidth, s(22)};
    y += s(62);

    if (input.hasComputeButton) {
        out.computeButton = {margin, y, pageButtonWidth(90, text.computeButton, k), s(26)};
        y += s(34);
    }

    // Rows: Copy, the algorithm's name, then its digest in the rest of the width.
    const int copyWidth = pageButtonWidth(46, text.copyButton, k);
    const int nameX = margin + copyWidth + gap;
    const int nameWidth = std::max(s(84), text.longestName);
    const int editX = nameX + nameWidth + gap;
    const int charWidth = pageCharWidth(input.averageCharWidth);
    const int editWidth = std::max(s(60), w - editX - s(12));
    const int minRowHeight = s(kMinRowHeight);
    out.editWidth = editWidth;
    const bool remeasure = editWidth != cachedEditWidth;
    if (remeasure)
        rowHeights.assign(input.rowCount, minRowHeight);

    for (std::size_t i = 0; i < input.rowCount; ++i) {
        out.copyButtons.push_back({margin, y, copyWidth, s(22)});
        out.nameLabels.push_back({nameX, y, nameWidth, s(22)});
        int h = i < rowHeights.size() ? rowHeights[i] : minRowHeight;
        if (remeasure) {
            const PageRect probe{editX, y, editWidth, input.lineHeight + s(4)};
            h = pageRowHeight(measure(i, probe), charWidth, editWidth, input.lineHeight, k);
            rowHeights[i] = h;
        }
        out.digestEdits.push_back({editX, y, editWidth, h});
        y += h + gap;
    }
    if (remeasure)
        cachedEditWidth = editWidth;

    out.checkButton = {margin, y + s(4), pageButtonWidth(56, text.checkButton, k), s(22)};
    const int resultX = margin + out.checkButton.width + margin;
    out.checkResult = {resultX, y + s(4), w - resultX - margin, s(44)};
    out.contentHeight = input.scrollPos + y + s(56);
    return out;
}

int pageScrollPosition(PageScrollAction action, int position, int page, int maximum,
                       int trackPosition, double scale) {
    const int line = pageScaled(24, scale);
    int next = position;
    switch (action) {
    case PageScrollAction::LineUp:
        next = position - line;
        break;
    case PageScrollAction::LineDown:
        next = position + line;
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

int pageWheelPosition(int wheelDelta, int position, int contentHeight, int clientHeight,
                      double scale) {
    const int step = pageScaled(40, scale);
    const int next = wheelDelta > 0 ? position - step : position + step;
    return clampScroll(next, contentHeight - clientHeight);
}

} // namespace velk
