#include "engine/progress/progress_row.h"

#include <algorithm>

namespace velk {

ProgressRowParts splitProgressRow(const ProgressRect& row, int barHeight, int gap) {
    ProgressRowParts parts;
    const int width = std::max(0, row.width);
    const int barWidth = width * 2 / 5;
    const int height = std::clamp(barHeight, 0, std::max(0, row.height));
    parts.bar = {row.x, row.y + (row.height - height) / 2, barWidth, height};
    parts.line = {row.x + barWidth + gap, row.y, std::max(0, width - barWidth - gap), row.height};
    return parts;
}

} // namespace velk
