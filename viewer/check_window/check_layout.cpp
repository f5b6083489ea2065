#include "viewer/check_window/check_layout.h"

#include <algorithm>
#include <cmath>

namespace velk {
namespace {

int scaled(int px, double scale) {
    return static_cast<int>(std::lround(px * scale));
}

} // namespace

CheckLayout layoutCheckWindow(const CheckLayoutInput& in) {
    const int margin = scaled(10, in.scale);
    const int gap = scaled(6, in.scale);
    const int width = std::max(0, in.clientWidth - 2 * margin);
    CheckLayout out;
    out.header = {margin, margin, width, in.lineHeight};

    const int buttonsTop = std::max(in.clientHeight - margin - in.buttonHeight, 0);
    int right = margin + width;
    out.reportButton = {right - in.reportButtonWidth, buttonsTop, in.reportButtonWidth,
                        in.buttonHeight};
    right = out.reportButton.x - gap;
    if (in.saveButtonWidth > 0) {
        out.saveButton = {right - in.saveButtonWidth, buttonsTop, in.saveButtonWidth,
                          in.buttonHeight};
    }
    if (in.algoComboWidth > 0)
        out.algoCombo = {margin, buttonsTop, in.algoComboWidth, in.buttonHeight};

    // Two lines of status: a summary may wrap in a narrow window.
    const int statusHeight = 2 * in.lineHeight;
    out.status = {margin, buttonsTop - gap - statusHeight, width, statusHeight};
    out.progress = {margin, out.status.y - in.lineHeight, width, in.lineHeight};
    out.progressRow = {margin, out.progress.y - in.lineHeight, width, in.lineHeight};
    const int listTop = out.header.y + out.header.height + gap;
    const int listBottom = out.progressRow.y - gap;
    out.list = {margin, listTop, width, std::max(listBottom - listTop, 3 * in.lineHeight)};
    return out;
}

void checkWindowMinimumClient(const CheckLayoutInput& in, int& width, int& height) {
    const int margin = scaled(10, in.scale);
    const int gap = scaled(6, in.scale);
    int buttons = in.reportButtonWidth;
    if (in.saveButtonWidth > 0)
        buttons += gap + in.saveButtonWidth;
    if (in.algoComboWidth > 0)
        buttons += gap + in.algoComboWidth;
    width = std::max(2 * margin + buttons, scaled(360, in.scale));
    // Header, gap, three list lines, gap, bar row, progress, two status lines, gap, buttons.
    height = 2 * margin + in.lineHeight + gap + 3 * in.lineHeight + gap + 2 * in.lineHeight +
             2 * in.lineHeight + gap + in.buttonHeight;
}

} // namespace velk
