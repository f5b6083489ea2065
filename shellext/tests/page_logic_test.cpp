// The page's pure parts: check outcome and text, layout, scrolling, control table, template.

#include "shellext/page/page_check.h"
#include "shellext/page/page_controls.h"
#include "shellext/page/page_layout.h"
#include "shellext/page/page_template.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velk {
namespace {

// A full set of digests of the catalogue's lengths. SHA3-256 and BLAKE2s deliberately hold
// the same text so that a candidate can match two algorithms at once.
HashResults sampleResults() {
    HashResults r;
    r["CRC32"] = "1c291ca3";
    r["MD5"] = "d41d8cd98f00b204e9800998ecf8427e";
    r["SHA-1"] = "da39a3ee5e6b4b0d3255bfef95601890afd80709";
    r["SHA-224"] = std::string(56, 'c');
    r["SHA-256"] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
    r["SHA-384"] = std::string(96, '3');
    r["SHA-512"] = std::string(128, '5');
    r["SHA3-256"] = std::string(64, 'a');
    r["SHA3-512"] = std::string(128, '6');
    r["BLAKE2b"] = std::string(128, '7');
    r["BLAKE2s"] = std::string(64, 'a');
    return r;
}

struct CheckCase {
    const char* label;
    std::string clipboard;
    CheckResultKind kind;
    std::string text;
};

const char* const kNotAHash = "Clipboard isn't a hash for this file.";

class PageCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(PageCheck, KindAndTextFollowTheClipboardWord) {
    const PageCheckOutcome outcome =
        checkClipboardTextOnPage(GetParam().clipboard, sampleResults());
    EXPECT_EQ(outcome.kind, GetParam().kind);
    EXPECT_EQ(outcome.text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageCheck,
    ::testing::Values(
        CheckCase{"UpperCaseWith0XAndLineBreak",
                  "0XE3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855\r\n",
                  CheckResultKind::Match, "\xE2\x9C\x94 MATCH - SHA-256 matches this file."},
        CheckCase{"Other40CharValue", std::string(40, 'f'), CheckResultKind::Mismatch,
                  "\xE2\x9C\x98 NO MATCH - a 40-char hash, but not this file's."},
        CheckCase{"TwelveHexCharacters", "0123456789ab", CheckResultKind::NotAHash, kNotAHash},
        CheckCase{"ZeroXAlone", "0x", CheckResultKind::NotAHash, kNotAHash},
        CheckCase{"WhiteSpaceOnly", " \t\r\n ", CheckResultKind::NotAHash, kNotAHash},
        CheckCase{"NoText", "", CheckResultKind::NotAHash, kNotAHash},
        CheckCase{"HexWordThenOtherWords", "d41d8cd98f00b204e9800998ecf8427e  report.pdf",
                  CheckResultKind::Match, "\xE2\x9C\x94 MATCH - MD5 matches this file."},
        CheckCase{"AlgorithmNameBeforeTheHash", "MD5: d41d8cd98f00b204e9800998ecf8427e",
                  CheckResultKind::NotAHash, kNotAHash},
        CheckCase{"TwoEqualDigestsBothNamedInCatalogueOrder", std::string(64, 'A'),
                  CheckResultKind::Match,
                  "\xE2\x9C\x94 MATCH - SHA3-256 / BLAKE2s matches this file."},
        CheckCase{"SameLengthAsSeveralButEqualToNone", std::string(128, '8'),
                  CheckResultKind::Mismatch,
                  "\xE2\x9C\x98 NO MATCH - a 128-char hash, but not this file's."},
        CheckCase{"ShortestDigest", "1C291CA3", CheckResultKind::Match,
                  "\xE2\x9C\x94 MATCH - CRC32 matches this file."}),
    [](const ::testing::TestParamInfo<CheckCase>& p) { return std::string(p.param.label); });

TEST(PageCheckResults, WithoutDigestsNoLengthIsACandidate) {
    const PageCheckOutcome outcome =
        checkClipboardTextOnPage("d41d8cd98f00b204e9800998ecf8427e", HashResults{});
    EXPECT_EQ(outcome.kind, CheckResultKind::NotAHash);
    EXPECT_EQ(outcome.text, kNotAHash);
}

TEST(PageCheckResults, ColoursOfTheThreeKinds) {
    struct {
        CheckResultKind kind;
        int r, g, b;
    } const cases[] = {{CheckResultKind::Match, 26, 127, 55},
                       {CheckResultKind::Mismatch, 192, 28, 40},
                       {CheckResultKind::NotAHash, 154, 103, 0}};
    for (const auto& c : cases) {
        RgbColour colour{1, 2, 3};
        ASSERT_TRUE(checkResultColour(c.kind, colour));
        EXPECT_EQ(colour.red, c.r);
        EXPECT_EQ(colour.green, c.g);
        EXPECT_EQ(colour.blue, c.b);
    }
    RgbColour untouched{1, 2, 3};
    EXPECT_FALSE(checkResultColour(CheckResultKind::None, untouched));
    EXPECT_EQ(untouched.red, 1);
}

// A stand-in for the edits: each row holds a digest of the catalogue's length and reports one
// line, as a freshly placed edit may.
struct FakeEdits {
    std::vector<int> lengths{8, 32, 40, 56, 64, 96, 128, 64, 128, 128, 64};
    std::vector<PageRect> probes;
    RowMeasureFn fn() {
        return [this](std::size_t row, const PageRect& probe) {
            probes.push_back(probe);
            return RowTextMeasure{1, lengths[row]};
        };
    }
};

PageLayoutInput hashingPage(int width, int scroll = 0) {
    PageLayoutInput in;
    in.clientWidth = width;
    in.scrollPos = scroll;
    in.rowCount = 11;
    in.lineHeight = 14;
    in.averageCharWidth = 7;
    return in;
}

TEST(PageLayoutTest, RowsWrapAtTheEditWidthAndTheContentHeightFollows) {
    FakeEdits edits;
    std::vector<int> heights;
    int cached = -1;
    const PageLayout l = layoutPropertyPage(hashingPage(400), heights, cached, edits.fn());

    EXPECT_EQ(l.header, (PageRect{}));
    EXPECT_EQ(l.openButton, (PageRect{}));
    EXPECT_EQ(l.settingsLabel, (PageRect{8, 10, 64, 22}));
    EXPECT_EQ(l.algoCombo, (PageRect{76, 8, 155, 220}));
    EXPECT_EQ(l.formatCombo, (PageRect{237, 8, 155, 220}));
    EXPECT_EQ(l.preview, (PageRect{8, 40, 384, 22}));
    EXPECT_EQ(l.editWidth, 238);
    EXPECT_EQ(cached, 238);

    // 238 px hold 34 characters of 7 px: 8 chars -> 1 line (22 px floor), 32 -> 1, 40 -> 2,
    // 56 -> 2, 64 -> 2, 96 -> 3, 128 -> 4 lines of 14 px plus 4.
    const std::vector<int> expected{22, 22, 32, 32, 32, 46, 60, 32, 60, 60, 32};
    EXPECT_EQ(heights, expected);
    ASSERT_EQ(l.digestEdits.size(), 11u);
    ASSERT_EQ(edits.probes.size(), 11u);
    int y = 70;
    for (std::size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(l.copyButtons[i], (PageRect{8, y, 46, 22})) << i;
        EXPECT_EQ(l.nameLabels[i], (PageRect{60, y, 84, 22})) << i;
        EXPECT_EQ(edits.probes[i], (PageRect{150, y, 238, 18})) << i;
        EXPECT_EQ(l.digestEdits[i], (PageRect{150, y, 238, expected[i]})) << i;
        y += expected[i] + 6;
    }
    EXPECT_EQ(l.checkButton, (PageRect{8, y + 4, 56, 22}));
    EXPECT_EQ(l.checkResult, (PageRect{72, y + 4, 320, 44}));
    EXPECT_EQ(l.contentHeight, y + 56);
}

TEST(PageLayoutTest, HeaderAndOpenButtonPushTheSettingsRowDown) {
    PageLayoutInput in;
    in.clientWidth = 500;
    in.hasHeader = true;
    in.hasOpenButton = true;
    in.lineHeight = 14;
    std::vector<int> heights;
    int cached = -1;
    const PageLayout l = layoutPropertyPage(in, heights, cached, FakeEdits().fn());
    EXPECT_EQ(l.header, (PageRect{8, 8, 484, 44}));
    EXPECT_EQ(l.openButton, (PageRect{8, 56, 150, 26}));
    EXPECT_EQ(l.settingsLabel, (PageRect{8, 92, 64, 22}));
    EXPECT_EQ(l.algoCombo, (PageRect{76, 90, 205, 220}));
    EXPECT_EQ(l.formatCombo, (PageRect{287, 90, 205, 220}));
    EXPECT_TRUE(l.digestEdits.empty());
    EXPECT_EQ(l.checkButton, (PageRect{8, 156, 56, 22}));
    EXPECT_EQ(l.contentHeight, 152 + 56);
}

TEST(PageLayoutTest, NarrowPageKeepsMinimumWidthsAndUnknownFontWidthCountsSeven) {
    PageLayoutInput in = hashingPage(100);
    in.averageCharWidth = 0;
    FakeEdits edits;
    std::vector<int> heights;
    int cached = -1;
    const PageLayout l = layoutPropertyPage(in, heights, cached, edits.fn());
    EXPECT_EQ(l.algoCombo.width, 70);
    EXPECT_EQ(l.formatCombo.x, 152);
    EXPECT_EQ(l.editWidth, 60);
    // 60 px at 7 px a character: CRC32's 8 characters need (56 + 59) / 60 = 1 line, MD5's 32
    // need 4 lines.
    EXPECT_EQ(heights[0], 22);
    EXPECT_EQ(heights[1], 4 * 14 + 4);
}

TEST(PageLayoutTest, ScrollingMovesEverythingButNotTheContentHeight) {
    std::vector<int> heights;
    int cached = -1;
    const PageLayout top =
        layoutPropertyPage(hashingPage(400, 0), heights, cached, FakeEdits().fn());
    const PageLayout down =
        layoutPropertyPage(hashingPage(400, 100), heights, cached, FakeEdits().fn());
    EXPECT_EQ(down.contentHeight, top.contentHeight);
    EXPECT_EQ(down.settingsLabel.y, top.settingsLabel.y - 100);
    EXPECT_EQ(down.digestEdits[10].y, top.digestEdits[10].y - 100);
    EXPECT_EQ(down.checkResult.y, top.checkResult.y - 100);
}

TEST(PageLayoutTest, RowsAreMeasuredOnlyWhenTheEditWidthChanges) {
    std::vector<int> heights;
    int cached = -1;
    FakeEdits first;
    layoutPropertyPage(hashingPage(400), heights, cached, first.fn());
    EXPECT_EQ(first.probes.size(), 11u);

    FakeEdits again;
    const PageLayout same = layoutPropertyPage(hashingPage(400, 30), heights, cached, again.fn());
    EXPECT_TRUE(again.probes.empty());
    EXPECT_EQ(same.digestEdits[6].height, 60);

    FakeEdits wider;
    layoutPropertyPage(hashingPage(700), heights, cached, wider.fn());
    EXPECT_EQ(wider.probes.size(), 11u);
    EXPECT_EQ(cached, 538);
    EXPECT_EQ(heights[6], 2 * 14 + 4); // 128 characters in 538 px: 2 lines

    // Forcing a new measurement (new texts) with the width unchanged.
    cached = -1;
    FakeEdits forced;
    layoutPropertyPage(hashingPage(700), heights, cached, forced.fn());
    EXPECT_EQ(forced.probes.size(), 11u);
}

TEST(PageLayoutTest, CachedRowWithoutHeightCountsTwentyTwo) {
    std::vector<int> heights{40};
    int cached = 238;
    FakeEdits none;
    const PageLayout l = layoutPropertyPage(hashingPage(400), heights, cached, none.fn());
    EXPECT_TRUE(none.probes.empty());
    EXPECT_EQ(l.digestEdits[0].height, 40);
    EXPECT_EQ(l.digestEdits[1].height, 22);
    EXPECT_EQ(l.digestEdits[1].y, 70 + 40 + 6);
}

TEST(PageLayoutTest, EditReportingMoreLinesThanTheEstimateWins) {
    EXPECT_EQ(pageRowHeight({5, 8}, 7, 238, 14), 5 * 14 + 4);
    EXPECT_EQ(pageRowHeight({0, 0}, 7, 238, 14), 22);
    EXPECT_EQ(pageRowHeight({1, 0}, 7, 238, 20), 24);
}

TEST(PageScale, DpiGivesTheScaleAndTheDigestFontGrowsWithIt) {
    EXPECT_EQ(pageScale(96), 1.0);
    EXPECT_EQ(pageScale(120), 1.25);
    EXPECT_EQ(pageScale(144), 1.5);
    EXPECT_EQ(pageScale(192), 2.0);
    EXPECT_EQ(pageScale(0), 1.0) << "a DPI the platform does not report";
    EXPECT_EQ(pageMonoFontHeight(1.0), -12);
    EXPECT_EQ(pageMonoFontHeight(1.25), -15);
    EXPECT_EQ(pageMonoFontHeight(1.5), -18);
    EXPECT_EQ(pageMonoFontHeight(2.0), -24);
    EXPECT_EQ(pageScaled(22, 1.25), 28); // 27.5 rounds up
    EXPECT_EQ(pageScaled(6, 1.75), 11);  // 10.5 rounds up
}

// Every rectangle of a page at twice the DPI (twice the width, a font twice as tall) is the
// 96-DPI rectangle doubled: no length is left unscaled.
TEST(PageScale, AtDoubleScaleEveryLengthDoubles) {
    const auto page = [](double scale, int width) {
        PageLayoutInput in = hashingPage(width);
        in.scale = scale;
        in.hasHeader = in.hasOpenButton = in.hasComputeButton = true;
        in.lineHeight = static_cast<int>(14 * scale);
        in.averageCharWidth = static_cast<int>(7 * scale);
        std::vector<int> heights;
        int cached = -1;
        return layoutPropertyPage(in, heights, cached, FakeEdits().fn());
    };
    const PageLayout one = page(1.0, 400);
    const PageLayout two = page(2.0, 800);
    const auto doubled = [](const PageRect& r) {
        return PageRect{2 * r.x, 2 * r.y, 2 * r.width, 2 * r.height};
    };
    const std::pair<const char*, std::pair<PageRect, PageRect>> singles[] = {
        {"header", {one.header, two.header}},
        {"open", {one.openButton, two.openButton}},
        {"compute", {one.computeButton, two.computeButton}},
        {"settings", {one.settingsLabel, two.settingsLabel}},
        {"algo", {one.algoCombo, two.algoCombo}},
        {"format", {one.formatCombo, two.formatCombo}},
        {"preview", {one.preview, two.preview}},
        {"check", {one.checkButton, two.checkButton}},
        {"result", {one.checkResult, two.checkResult}},
    };
    for (const auto& [name, rects] : singles)
        EXPECT_EQ(doubled(rects.first), rects.second) << name;
    ASSERT_EQ(two.digestEdits.size(), 11u);
    for (std::size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(doubled(one.copyButtons[i]), two.copyButtons[i]) << i;
        EXPECT_EQ(doubled(one.nameLabels[i]), two.nameLabels[i]) << i;
        EXPECT_EQ(doubled(one.digestEdits[i]), two.digestEdits[i]) << i;
    }
    EXPECT_EQ(2 * one.contentHeight, two.contentHeight);
    EXPECT_EQ(2 * one.editWidth, two.editWidth);

    // An odd scale rounds each length: 150 % of the 96-DPI settings label (8, 10, 64, 22).
    const PageLayout half = page(1.5, 600);
    EXPECT_EQ(half.header, (PageRect{12, 12, 576, 66}));
    EXPECT_EQ(half.settingsLabel, (PageRect{12, 12 + 72 + 51 + 3, 96, 33}));
}

TEST(PageScale, CaptionsWiderThanTheUsualSizesWidenTheirControls) {
    struct Case {
        double scale;
        int textWidth;                                  // every caption this wide
        int settings, copy, check, open, compute, name; // resulting widths
    };
    const Case cases[] = {
        // Small captions keep the usual sizes.
        {1.0, 20, 64, 46, 56, 150, 90, 84},
        // Wider ones get their text plus 6 px a side (12 for the label's two gaps).
        {1.0, 100, 112, 112, 112, 150, 112, 100},
        {1.0, 200, 212, 212, 212, 212, 212, 200},
        // At 150 % the padding is 9 px a side and the usual sizes grow by half.
        {1.5, 20, 96, 69, 84, 225, 135, 126},
        {1.5, 100, 118, 118, 118, 225, 135, 126},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scale << " " << c.textWidth);
        PageLayoutInput in = hashingPage(static_cast<int>(800 * c.scale));
        in.scale = c.scale;
        in.hasOpenButton = in.hasComputeButton = true;
        in.text.settingsLabel = in.text.copyButton = in.text.checkButton = c.textWidth;
        in.text.openButton = in.text.computeButton = in.text.longestName = c.textWidth;
        std::vector<int> heights;
        int cached = -1;
        const PageLayout l = layoutPropertyPage(in, heights, cached, FakeEdits().fn());
        const int margin = pageScaled(8, c.scale);
        const int gap = pageScaled(6, c.scale);
        EXPECT_EQ(l.settingsLabel.width, c.settings);
        EXPECT_EQ(l.algoCombo.x,
                  std::max(pageScaled(76, c.scale), margin + c.settings + pageScaled(4, c.scale)));
        EXPECT_EQ(l.openButton.width, c.open);
        EXPECT_EQ(l.computeButton.width, c.compute);
        EXPECT_EQ(l.checkButton.width, c.check);
        EXPECT_EQ(l.checkResult.x, margin + c.check + margin);
        EXPECT_EQ(l.checkResult.x + l.checkResult.width, in.clientWidth - margin);
        EXPECT_EQ(l.copyButtons[0].width, c.copy);
        EXPECT_EQ(l.nameLabels[0].x, margin + c.copy + gap);
        EXPECT_EQ(l.nameLabels[0].width, c.name);
        EXPECT_EQ(l.digestEdits[0].x, margin + c.copy + gap + c.name + gap);
        EXPECT_EQ(l.digestEdits[0].x + l.editWidth, in.clientWidth - pageScaled(12, c.scale));
    }
}

TEST(PageScale, ComboBoxesShareTheRowWhileTheirEntriesFitElseTheFormatBoxGetsALine) {
    struct Case {
        int width, algoItem, formatItem;
        PageRect algo, format;
        int previewY;
    };
    // The drop button and frames take 25 px; the row starts at y 8 from x 76.
    const Case cases[] = {
        // Both fit in equal halves: the halves of a page without measured entries.
        {400, 50, 100, {76, 8, 155, 220}, {237, 8, 155, 220}, 40},
        // The format entries need more than half: the algorithm box takes what it needs.
        {400, 50, 160, {76, 8, 75, 220}, {157, 8, 235, 220}, 40},
        // Side by side they do not fit: the format box goes under the algorithm box.
        {300, 50, 160, {76, 8, 216, 220}, {76, 38, 216, 220}, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        PageLayoutInput in = hashingPage(c.width);
        in.text.longestAlgoItem = c.algoItem;
        in.text.longestFormatItem = c.formatItem;
        in.text.comboChrome = 25;
        std::vector<int> heights;
        int cached = -1;
        const PageLayout l = layoutPropertyPage(in, heights, cached, FakeEdits().fn());
        EXPECT_EQ(l.algoCombo, c.algo);
        EXPECT_EQ(l.formatCombo, c.format);
        EXPECT_EQ(l.preview.y, c.previewY);
        EXPECT_EQ(l.copyButtons[0].y, c.previewY + 30);
    }
}

// Pages as a UI font that grows with the DPI measures them, at the common scales and widths:
// no two controls share a pixel (combo boxes counted at their closed height).
TEST(PageScale, NoTwoControlsOverlapAtAnyScale) {
    for (const double scale : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        for (const int width96 : {250, 355, 600}) {
            for (const bool tooLarge : {false, true}) {
                SCOPED_TRACE(testing::Message() << scale << " " << width96 << " " << tooLarge);
                const auto k = [scale](int px) { return pageScaled(px, scale); };
                PageLayoutInput in = hashingPage(k(width96));
                in.scale = scale;
                in.hasHeader = true;
                in.hasOpenButton = tooLarge;
                in.rowCount = tooLarge ? 0 : 11;
                in.lineHeight = k(14);
                in.averageCharWidth = k(7);
                in.text = {k(45), k(26), k(31), k(80), k(44), k(52), k(52), k(190), k(25)};
                std::vector<int> heights;
                int cached = -1;
                const PageLayout l = layoutPropertyPage(in, heights, cached, FakeEdits().fn());
                std::vector<PageRect> all{l.header,      l.openButton,  l.settingsLabel,
                                          l.algoCombo,   l.formatCombo, l.preview,
                                          l.checkButton, l.checkResult};
                all[3].height = all[4].height = k(22);
                for (std::size_t i = 0; i < l.digestEdits.size(); ++i) {
                    all.push_back(l.copyButtons[i]);
                    all.push_back(l.nameLabels[i]);
                    all.push_back(l.digestEdits[i]);
                }
                for (std::size_t a = 0; a < all.size(); ++a) {
                    for (std::size_t b = a + 1; b < all.size(); ++b) {
                        const PageRect& p = all[a];
                        const PageRect& q = all[b];
                        if (p.width <= 0 || p.height <= 0 || q.width <= 0 || q.height <= 0)
                            continue;
                        const bool overlap = p.x < q.x + q.width && q.x < p.x + p.width &&
                                             p.y < q.y + q.height && q.y < p.y + p.height;
                        EXPECT_FALSE(overlap) << a << " and " << b;
                    }
                }
            }
        }
    }
}

TEST(PageScroll, BarActionsAreClampedToTheRange) {
    struct {
        PageScrollAction action;
        int position, page, maximum, track, expected;
    } const cases[] = {
        {PageScrollAction::LineUp, 10, 200, 600, 0, 0},
        {PageScrollAction::LineUp, 100, 200, 600, 0, 76},
        {PageScrollAction::LineDown, 0, 200, 600, 0, 24},
        {PageScrollAction::LineDown, 390, 200, 600, 0, 400},
        {PageScrollAction::PageDown, 100, 200, 600, 0, 300},
        {PageScrollAction::PageDown, 300, 200, 600, 0, 400},
        {PageScrollAction::PageUp, 300, 200, 600, 0, 100},
        {PageScrollAction::ThumbTrack, 0, 200, 600, 250, 250},
        {PageScrollAction::ThumbTrack, 0, 200, 600, 900, 400},
        {PageScrollAction::Other, 123, 200, 600, 0, 123},
        {PageScrollAction::LineDown, 0, 500, 300, 0, 0}, // content shorter than the page
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pageScrollPosition(c.action, c.position, c.page, c.maximum, c.track), c.expected)
            << static_cast<int>(c.action) << " from " << c.position;
    }
}

TEST(PageScroll, WheelStepsFortyPixelsWhateverTheDelta) {
    EXPECT_EQ(pageWheelPosition(120, 100, 800, 300), 60);
    EXPECT_EQ(pageWheelPosition(960, 100, 800, 300), 60);
    EXPECT_EQ(pageWheelPosition(-120, 100, 800, 300), 140);
    EXPECT_EQ(pageWheelPosition(0, 100, 800, 300), 140);
    EXPECT_EQ(pageWheelPosition(120, 20, 800, 300), 0);
    EXPECT_EQ(pageWheelPosition(-120, 480, 800, 300), 500);
    // A page whose content is shorter than its client area never scrolls.
    EXPECT_EQ(pageWheelPosition(-120, 0, 250, 300), 0);
}

TEST(PageScroll, LineAndWheelStepsGrowWithTheScale) {
    EXPECT_EQ(pageScrollPosition(PageScrollAction::LineDown, 0, 200, 600, 0, 1.5), 36);
    EXPECT_EQ(pageScrollPosition(PageScrollAction::LineUp, 100, 200, 600, 0, 2.0), 52);
    EXPECT_EQ(pageScrollPosition(PageScrollAction::PageDown, 0, 200, 600, 0, 2.0), 200)
        << "a page is the client height, already in pixels of the screen";
    EXPECT_EQ(pageWheelPosition(-120, 100, 800, 300, 1.5), 160);
    EXPECT_EQ(pageWheelPosition(120, 100, 800, 300, 2.0), 20);
}

TEST(PageControls, HashablePageHasElevenRowsBetweenSettingsAndCheck) {
    using namespace page_style;
    const std::vector<PageControlSpec> t = pageControlTable("", false, false);
    ASSERT_EQ(t.size(), 1u + 4u + 33u + 2u);
    EXPECT_EQ(t[0].role, PageControlRole::Header);
    EXPECT_STREQ(t[0].className, "STATIC");
    EXPECT_EQ(t[1].role, PageControlRole::SettingsLabel);
    EXPECT_EQ(t[1].text, "&Settings:"); // Alt+S moves to the algorithm box after it
    EXPECT_EQ(t[2].role, PageControlRole::AlgoCombo);
    EXPECT_STREQ(t[2].className, "COMBOBOX");
    EXPECT_EQ(t[2].id, 3010);
    EXPECT_EQ(t[2].style, kVScroll | kDropDownList | kTabStop);
    EXPECT_EQ(t[3].id, 3011);
    EXPECT_EQ(t[3].style, kVScroll | kDropDownList | kTabStop);
    EXPECT_EQ(t[4].role, PageControlRole::Preview);
    for (int i = 0; i < 11; ++i) {
        const PageControlSpec& copy = t[5 + 3 * i];
        const PageControlSpec& name = t[6 + 3 * i];
        const PageControlSpec& edit = t[7 + 3 * i];
        EXPECT_EQ(copy.role, PageControlRole::CopyButton);
        EXPECT_EQ(copy.text, "Copy");
        EXPECT_EQ(copy.id, 2000 + i);
        EXPECT_EQ(copy.style, kDisabled | kTabStop);
        EXPECT_EQ(name.text, kAlgorithmNames[i]);
        EXPECT_EQ(name.style, kLeftNoWordWrap | kCenterImage);
        EXPECT_STREQ(edit.className, "EDIT");
        EXPECT_EQ(edit.text, "computing...");
        EXPECT_EQ(edit.style, kMultiLine | kReadOnly | kTabStop);
        EXPECT_EQ(edit.font, PageFont::Mono);
        EXPECT_EQ(edit.row, i);
    }
    EXPECT_EQ(t[38].role, PageControlRole::CheckButton);
    EXPECT_EQ(t[38].text, "&Check");
    EXPECT_EQ(t[38].id, 3000);
    EXPECT_EQ(t[38].style, kDisabled | kTabStop);
    EXPECT_EQ(t[39].role, PageControlRole::CheckResult);
    EXPECT_EQ(t[39].id, 3001);
    EXPECT_EQ(t[39].text, "");
    // Only what the user acts on is a tab stop: labels, preview and result line are not.
    for (const PageControlSpec& c : t) {
        const bool acts =
            c.role != PageControlRole::Header && c.role != PageControlRole::SettingsLabel &&
            c.role != PageControlRole::Preview && c.role != PageControlRole::NameLabel &&
            c.role != PageControlRole::CheckResult;
        EXPECT_EQ((c.style & kTabStop) != 0, acts) << c.text;
    }

    EXPECT_EQ(pageControlTable("", false, true)[38].style, kPushButton | kTabStop);
}

TEST(PageControls, TooLargePageHasTheOpenButtonAndNoRows) {
    const std::vector<PageControlSpec> t = pageControlTable("x", true, false);
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(t[0].text, "x");
    EXPECT_EQ(t[1].role, PageControlRole::OpenViewer);
    EXPECT_STREQ(t[1].className, "BUTTON");
    EXPECT_EQ(t[1].text, "&Open Velkscope");
    EXPECT_EQ(t[1].id, 3012);
    EXPECT_EQ(t[1].style, page_style::kPushButton | page_style::kTabStop);
    EXPECT_EQ(t[2].role, PageControlRole::SettingsLabel);
    EXPECT_EQ(t[6].role, PageControlRole::CheckButton);
    EXPECT_EQ(t[6].style, page_style::kDisabled | page_style::kTabStop);
    // The disabled Check button says why, and what to do instead.
    EXPECT_EQ(t[7].role, PageControlRole::CheckResult);
    EXPECT_EQ(t[7].text, "Open Velkscope above to check this file: the viewer has no size limit.");
}

// A file elsewhere: the Compute button stands where the rows would be, the rows come from the
// same table once asked for, and the layout puts the button at the rows' place.
TEST(PageControls, FileElsewhereHasTheComputeButtonInPlaceOfTheRows) {
    const std::vector<PageControlSpec> t = pageControlTable("", false, false, true);
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(t[4].role, PageControlRole::Preview);
    EXPECT_EQ(t[5].role, PageControlRole::ComputeButton);
    EXPECT_STREQ(t[5].className, "BUTTON");
    EXPECT_EQ(t[5].text, "Co&mpute");
    EXPECT_EQ(t[5].id, ID_PAGE_COMPUTE);
    EXPECT_EQ(t[5].style, page_style::kPushButton | page_style::kTabStop);
    EXPECT_EQ(t[6].role, PageControlRole::CheckButton);
    // Too large wins: the Open button, no Compute button, no rows.
    EXPECT_EQ(pageControlTable("", true, false, true).size(), 8u);
    EXPECT_EQ(pageControlTable("", true, false, true)[1].role, PageControlRole::OpenViewer);

    const std::vector<PageControlSpec> full = pageControlTable("", false, false);
    const std::vector<PageControlSpec> rows = pageRowControls();
    ASSERT_EQ(rows.size(), 33u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].role, full[5 + i].role);
        EXPECT_EQ(rows[i].text, full[5 + i].text);
        EXPECT_EQ(rows[i].id, full[5 + i].id);
    }

    std::vector<int> heights;
    int cached = -1;
    PageLayoutInput in;
    in.clientWidth = 400;
    in.hasComputeButton = true;
    const PageLayout withButton = layoutPropertyPage(
        in, heights, cached, [](std::size_t, const PageRect&) { return RowTextMeasure{}; });
    EXPECT_EQ(withButton.computeButton, (PageRect{8, 70, 90, 26}));
    EXPECT_EQ(withButton.checkButton.y, 70 + 34 + 4);
    in.hasComputeButton = false;
    EXPECT_EQ(layoutPropertyPage(in, heights, cached,
                                 [](std::size_t, const PageRect&) { return RowTextMeasure{}; })
                  .computeButton,
              PageRect{});
}

TEST(PageControls, HeaderTextShortcutFirstThenTooLarge) {
    EXPECT_EQ(pageHeaderText(true, true, "C:\\big.iso"), "Shortcut target: C:\\big.iso");
    EXPECT_EQ(pageHeaderText(true, false, "C:\\a b.txt"), "Shortcut target: C:\\a b.txt");
    EXPECT_EQ(pageHeaderText(false, true, "C:\\big.iso"),
              "File too large to hash here - open the Velkscope.");
    EXPECT_EQ(pageHeaderText(false, false, "C:\\a.txt"), "");
}

TEST(PageControls, SizeLimitAndCopyIdentifiers) {
    EXPECT_FALSE(pageFileTooLarge(536870912));
    EXPECT_TRUE(pageFileTooLarge(536870913));
    EXPECT_FALSE(pageFileTooLarge(0));
    EXPECT_EQ(pageCopyRow(1999, 11), -1);
    EXPECT_EQ(pageCopyRow(2000, 11), 0);
    EXPECT_EQ(pageCopyRow(2010, 11), 10);
    EXPECT_EQ(pageCopyRow(2011, 11), -1);
    EXPECT_EQ(pageCopyRow(2000, 0), -1);
    EXPECT_EQ(pageCopyRow(3000, 11), -1);
}

TEST(PageControls, ShortcutExtensionInAnyCase) {
    struct {
        const wchar_t* path;
        bool shortcut;
    } const cases[] = {{L"C:\\a\\link.lnk", true},
                       {L"C:\\a\\LINK.LNK", true},
                       {L"x.LnK", true},
                       {L".lnk", true},
                       {L"lnk", false},
                       {L"", false},
                       {L"C:\\a.lnkx", false},
                       {L"C:\\a.txt", false},
                       {L"C:\\alnk", false}};
    for (const auto& c : cases)
        EXPECT_EQ(hasShortcutExtension(c.path), c.shortcut);
}

TEST(PageTemplate, BytesAreAnEmptyDialogOf248By218Units) {
    // style (LE), extended style, item count, x, y, cx = 248, cy = 218, menu, class, title.
    const unsigned char expected[24] = {0x04, 0x04, 0x20, 0x50, 0,    0, 0, 0, 0, 0, 0, 0,
                                        0,    0,    0xF8, 0,    0xDA, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(&kPageDialogTemplate, expected, sizeof expected), 0);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(&kPageDialogTemplate) % 4, 0u);
}

} // namespace
} // namespace velk
