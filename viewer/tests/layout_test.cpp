#include "viewer/layout.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace velk {
namespace {

struct Probe {
    std::size_t row;
    int x, y, width;
};

// Answers fixed heights and records what the layout asked.
struct RowHeights {
    std::vector<int> heights;
    std::vector<Probe> probes;
    RowHeightSource source() {
        return [this](std::size_t row, int x, int y, int width) {
            probes.push_back({row, x, y, width});
            return heights.at(row);
        };
    }
};

ViewerLayout layoutWithRows(int F, int S, int W, std::vector<int> heights,
                            RowHeights* out = nullptr) {
    RowHeights local;
    RowHeights& rows = out ? *out : local;
    rows.heights = std::move(heights);
    return computeLayout(F, S, W, rows.heights.size(), rows.source());
}

TEST(ViewerLayout, AtFont12AndWidth744EveryControlHasItsPlace) {
    RowHeights rows;
    const ViewerLayout l = layoutWithRows(12, 0, 744, std::vector<int>(11, 28), &rows);

    EXPECT_EQ(l.fileNameLabel, (Rect{10, 10, 624, 28}));
    EXPECT_EQ(l.themeButton, (Rect{642, 10, 92, 28}));
    EXPECT_EQ(l.sizeLabel, (Rect{10, 38, 724, 28}));
    EXPECT_EQ(l.menuLabelCaption, (Rect{10, 72, 240, 28}));
    EXPECT_EQ(l.algoCombo, (Rect{256, 72, 160, 200}));
    EXPECT_EQ(l.formatCombo, (Rect{422, 72, 160, 200}));
    EXPECT_EQ(l.previewLabel, (Rect{10, 102, 724, 28}));

    ASSERT_EQ(l.rows.size(), 11u);
    for (std::size_t i = 0; i < 11; ++i) {
        const int y = 138 + 34 * static_cast<int>(i);
        EXPECT_EQ(l.rows[i].copyButton, (Rect{10, y, 80, 28})) << i;
        EXPECT_EQ(l.rows[i].nameLabel, (Rect{96, y, 94, 28})) << i;
        EXPECT_EQ(l.rows[i].valueBox, (Rect{196, y, 538, 28})) << i;
        EXPECT_EQ(rows.probes[i].row, i);
        EXPECT_EQ(rows.probes[i].x, 196);
        EXPECT_EQ(rows.probes[i].y, y);
        EXPECT_EQ(rows.probes[i].width, 538);
    }

    EXPECT_EQ(l.checkButton, (Rect{10, 516, 80, 28}));
    EXPECT_EQ(l.statusLabel, (Rect{98, 516, 478, 56}));
    EXPECT_EQ(l.fontSmallerButton, (Rect{584, 516, 40, 28}));
    EXPECT_EQ(l.fontResetButton, (Rect{626, 516, 52, 28}));
    EXPECT_EQ(l.fontLargerButton, (Rect{680, 516, 40, 28}));
    EXPECT_EQ(l.linkLabel, (Rect{10, 578, 166, 28}));
    EXPECT_EQ(l.computeAllCheckBox, (Rect{512, 578, 222, 28}));
    EXPECT_EQ(l.contentHeight, 616);
}

TEST(ViewerLayout, ScrollingMovesEverythingUpButKeepsTheContentHeight) {
    const ViewerLayout top = layoutWithRows(12, 0, 744, std::vector<int>(11, 28));
    const ViewerLayout down = layoutWithRows(12, 90, 744, std::vector<int>(11, 28));
    EXPECT_EQ(down.fileNameLabel.y, top.fileNameLabel.y - 90);
    EXPECT_EQ(down.algoCombo.y, top.algoCombo.y - 90);
    EXPECT_EQ(down.rows[10].valueBox.y, top.rows[10].valueBox.y - 90);
    EXPECT_EQ(down.computeAllCheckBox.y, top.computeAllCheckBox.y - 90);
    EXPECT_EQ(down.contentHeight, top.contentHeight);
}

TEST(ViewerLayout, CombosWrapBelowTheCaptionUnder40FPlus118) {
    struct Case {
        int F, W;
        bool wraps;
    };
    for (const Case c : {Case{12, 598, false}, Case{12, 597, true}, Case{20, 918, false},
                         Case{20, 917, true}, Case{7, 100, true}}) {
        const ViewerLayout same = layoutWithRows(c.F, 0, 4000, {});
        const ViewerLayout l = layoutWithRows(c.F, 0, c.W, {});
        const int ch = c.F + 16;
        const int shift = c.wraps ? ch + 4 : 0;
        SCOPED_TRACE(testing::Message() << "F " << c.F << " W " << c.W);
        EXPECT_EQ(l.menuLabelCaption.y, same.menuLabelCaption.y);
        EXPECT_EQ(l.algoCombo.x, c.wraps ? 10 : 20 * c.F + 16);
        EXPECT_EQ(l.algoCombo.y, same.algoCombo.y + shift);
        EXPECT_EQ(l.formatCombo.x, l.algoCombo.x + 10 * c.F + 46);
        EXPECT_EQ(l.formatCombo.y, l.algoCombo.y);
        EXPECT_EQ(l.previewLabel.y, same.previewLabel.y + shift);
        EXPECT_EQ(l.checkButton.y, same.checkButton.y + shift);
    }
}

TEST(ViewerLayout, ValueBoxesKeepAFloorOf80Pixels) {
    EXPECT_EQ(valueBoxWidth(12, 744), 538);
    EXPECT_EQ(valueBoxWidth(12, 286), 80);
    EXPECT_EQ(valueBoxWidth(12, 285), 80);
    EXPECT_EQ(valueBoxWidth(12, 100), 80);
    EXPECT_EQ(valueBoxWidth(72, 300), 80);
    const ViewerLayout l = layoutWithRows(12, 0, 120, {28});
    EXPECT_EQ(l.rows[0].valueBox.width, 80);
    EXPECT_EQ(l.rows[0].valueBox.x, 196);
}

TEST(ViewerLayout, RowHeightFollowsTheLongerOfLineCountAndTextWidth) {
    struct Case {
        int F, vw, lh, cw, editLines, len, expected;
    };
    const Case cases[] = {
        {12, 538, 15, 7, 1, 11, 28},   // "computing...": one line, a control's height
        {12, 538, 15, 7, 1, 128, 36},  // 896 px over 532: two lines
        {12, 80, 15, 7, 1, 128, 201},  // 13 lines in the narrowest box
        {12, 80, 15, 7, 20, 128, 306}, // the box's own count wins when larger
        {12, 538, 15, 7, 0, 0, 28},    // an empty box is still one line
        {12, 6, 15, 7, 1, 2, 216},     // no inner width: one character per pixel
        {40, 538, 48, 22, 1, 64, 150}, // big font: three lines of 48
        {12, 538, 15, 0, 1, 64, 28},   // zero width per character counts only the box's lines
    };
    for (const Case& c : cases) {
        EXPECT_EQ(measuredRowHeight(c.F, c.vw, c.lh, c.cw, c.editLines, c.len), c.expected)
            << "vw " << c.vw << " lines " << c.editLines << " len " << c.len;
    }
}

TEST(ViewerLayout, TallRowsPushTheRestDownWhileButtonAndNameStayOneLine) {
    const ViewerLayout l = layoutWithRows(12, 0, 744, {28, 201, 28});
    EXPECT_EQ(l.rows[1].valueBox.height, 201);
    EXPECT_EQ(l.rows[1].copyButton.height, 28);
    EXPECT_EQ(l.rows[1].nameLabel.height, 28);
    EXPECT_EQ(l.rows[1].copyButton.y, l.rows[1].valueBox.y);
    EXPECT_EQ(l.rows[2].valueBox.y, l.rows[1].valueBox.y + 201 + 6);
    EXPECT_EQ(l.checkButton.y, l.rows[2].valueBox.y + 28 + 6 + 4);
    EXPECT_EQ(l.contentHeight, l.linkLabel.y + 28 + 10);
}

// Every rectangle a user sees, with the combo boxes at their closed height.
std::vector<std::pair<const char*, Rect>> visibleRects(const ViewerLayout& l, int F) {
    const int ch = F + 16;
    std::vector<std::pair<const char*, Rect>> all{
        {"file name", l.fileNameLabel},
        {"theme", l.themeButton},
        {"size", l.sizeLabel},
        {"caption", l.menuLabelCaption},
        {"algorithm", {l.algoCombo.x, l.algoCombo.y, l.algoCombo.width, ch}},
        {"format", {l.formatCombo.x, l.formatCombo.y, l.formatCombo.width, ch}},
        {"preview", l.previewLabel},
        {"check", l.checkButton},
        {"status", l.statusLabel},
        {"smaller", l.fontSmallerButton},
        {"reset", l.fontResetButton},
        {"larger", l.fontLargerButton},
        {"link", l.linkLabel},
        {"compute all", l.computeAllCheckBox},
    };
    for (const RowRects& row : l.rows) {
        all.push_back({"copy", row.copyButton});
        all.push_back({"name", row.nameLabel});
        all.push_back({"value", row.valueBox});
    }
    return all;
}

bool overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

// What goes wrong in this layout at client width W, or "" when nothing does.
std::string layoutFault(const ViewerLayout& l, int F, int W, int statusWidth) {
    const auto rects = visibleRects(l, F);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const Rect& r = rects[i].second;
        if (r.width <= 0 || r.x < 0 || r.x + r.width > W)
            return std::string(rects[i].first) + " outside";
        for (std::size_t j = i + 1; j < rects.size(); ++j) {
            if (overlap(r, rects[j].second))
                return std::string(rects[i].first) + " over " + rects[j].first;
        }
    }
    if (l.statusLabel.width < statusWidth)
        return "status too narrow";
    if (l.rows[0].valueBox.width > valueBoxWidth(F, W) || W - 12 * F - 62 < 80)
        return "value boxes at their floor";
    return "";
}

TEST(ViewerLayout, AtTheMinimumSizeNothingOverlapsAndOnePixelLessSomethingDoes) {
    for (const int F : {7, 12, 18, 24, 30, 48, 72}) {
        for (const int statusWidth : {0, 25 * F, 40 * F}) {
            SCOPED_TRACE(testing::Message() << "F " << F << " status " << statusWidth);
            const ClientSize min = minimumClientSize(F, statusWidth);
            const std::vector<int> rows(11, F + 16);
            EXPECT_EQ(layoutFault(layoutWithRows(F, 0, min.width, rows), F, min.width, statusWidth),
                      "");
            EXPECT_NE(layoutFault(layoutWithRows(F, 0, min.width - 1, rows), F, min.width - 1,
                                  statusWidth),
                      "");
            // Header, menu-label line (wrapped at the narrowest) and the first digest in view.
            const ViewerLayout l = layoutWithRows(F, 0, min.width, rows);
            const bool wrapped = l.algoCombo.y > l.menuLabelCaption.y;
            EXPECT_EQ(l.rows[1].valueBox.y + (wrapped ? 0 : F + 20), min.height);
        }
    }
    // 12 pixels and a status line of 290: the link and check box are not what limits.
    EXPECT_EQ(minimumClientSize(12, 290).width, 98 + 290 + 8 + 160);
    EXPECT_EQ(minimumClientSize(12, 0).width, 29 * 12 + 60);
}

TEST(ViewerLayout, FontButtonsStayInsideTheWindowAtEverySize) {
    for (int F = 7; F <= 72; ++F) {
        const int W = minimumClientSize(F, 0).width + 40;
        const ViewerLayout l = layoutWithRows(F, 0, W, std::vector<int>(11, F + 16));
        const Rect& larger = l.fontLargerButton;
        EXPECT_LE(larger.x + larger.width, W - 10) << F;
        EXPECT_EQ(l.fontResetButton.x, l.fontSmallerButton.x + 2 * F + 18) << F;
        if (F <= 18) {
            EXPECT_EQ(l.fontSmallerButton.x, W - 80 - 2 * ((5 * F + 20) / 2)) << F;
        }
    }
}

} // namespace
} // namespace velk
