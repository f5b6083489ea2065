// The check window's texts and layout.

#include "viewer/check_window/check_layout.h"
#include "viewer/check_window/check_text.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(CheckWindowText, RowsReadTheirVerdictInItsColour) {
    struct Case {
        RowState state;
        const char* checking;
        const char* making;
        StatusKind kind;
    };
    const Case cases[] = {
        {RowState::Waiting, "waiting", "waiting", StatusKind::Neutral},
        {RowState::Working, "checking", "hashing", StatusKind::Neutral},
        {RowState::Ok, "OK", "OK", StatusKind::Success},
        {RowState::Failed, "FAILED", "FAILED", StatusKind::Failure},
        {RowState::Missing, "MISSING", "MISSING", StatusKind::Failure},
        {RowState::Unreadable, "UNREADABLE", "UNREADABLE", StatusKind::Failure},
        {RowState::Skipped, "SKIPPED", "SKIPPED", StatusKind::Warning},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rowStateText(c.state, false), c.checking);
        EXPECT_EQ(rowStateText(c.state, true), c.making);
        EXPECT_EQ(rowStateKind(c.state), c.kind) << c.checking;
    }
    EXPECT_EQ(rowStateOf(ListedVerdict::Missing), RowState::Missing);
    EXPECT_EQ(rowStateOf(ListedVerdict::Cancelled), RowState::Working);
}

TEST(CheckWindowText, ProgressInTheTotalsUnit) {
    const std::uint64_t GiB = 1ull << 30, MiB = 1ull << 20;
    EXPECT_EQ(fileProgressText(12, 40, GiB + GiB / 4, 3 * GiB + GiB / 2),
              "12 of 40 files, 1.2 of 3.5 GiB");
    EXPECT_EQ(fileProgressText(0, 1, 0, 500), "0 of 1 file, 0 of 500 bytes");
    EXPECT_EQ(fileProgressText(3, 4, 2 * MiB, 3 * MiB), "3 of 4 files, 2.0 of 3.0 MiB");
}

TEST(CheckWindowText, SummaryCountsEachKindOfProblem) {
    struct Case {
        CheckTally tally;
        const char* text;
        StatusKind kind;
    };
    const Case cases[] = {
        {{40, 40, 0, 0, 0, 0}, "\xE2\x9C\x94 All 40 files match.", StatusKind::Success},
        {{1, 1, 0, 0, 0, 0}, "\xE2\x9C\x94 The listed file matches.", StatusKind::Success},
        {{40, 37, 2, 1, 0, 0},
         "\xE2\x9C\x98 2 of 40 files failed, 1 missing.",
         StatusKind::Failure},
        {{30, 27, 1, 1, 0, 1},
         "\xE2\x9C\x98 1 of 30 files failed, 1 missing, 1 skipped.",
         StatusKind::Failure},
        {{5, 4, 0, 0, 1, 0}, "\xE2\x9C\x98 1 of 5 files unreadable.", StatusKind::Failure},
        {{1, 0, 0, 0, 0, 1}, "\xE2\x9C\x98 1 of 1 file skipped.", StatusKind::Failure},
    };
    for (const Case& c : cases) {
        const StatusMessage m = checkSummary(c.tally);
        EXPECT_EQ(m.text, c.text);
        EXPECT_EQ(m.kind, c.kind) << c.text;
    }
    CheckTally counted;
    counted.total = 4;
    for (RowState s : {RowState::Ok, RowState::Failed, RowState::Missing, RowState::Working})
        countRow(counted, s);
    EXPECT_EQ(checkSummary(counted).text, "\xE2\x9C\x98 1 of 4 files failed, 1 missing.");
}

TEST(CheckWindowText, HeadersAndMadeListTexts) {
    EXPECT_EQ(checkHeaderText("SHA256SUMS", 40), "SHA256SUMS: 40 entries");
    EXPECT_EQ(checkHeaderText("a.md5", 1), "a.md5: 1 entry");
    EXPECT_EQ(refusedListStatus("x.sha256", "no properly formatted checksum lines found").text,
              "Cannot check x.sha256: no properly formatted checksum lines found.");
    EXPECT_EQ(makeHeaderText(5, "C:\\Downloads\\"), "5 files in C:\\Downloads\\");
    EXPECT_EQ(madeSummary(5, 0, "SHA-256").text, "\xE2\x9C\x94 5 files hashed with SHA-256.");
    const StatusMessage partly = madeSummary(5, 2, "MD5");
    EXPECT_EQ(partly.text,
              "\xE2\x9C\x98 2 of 5 files could not be read; the list leaves them out.");
    EXPECT_EQ(partly.kind, StatusKind::Failure);
    EXPECT_EQ(savedStatus("SHA256SUMS", 1, true).text, "Saved SHA256SUMS with 1 file.");
    EXPECT_EQ(savedStatus("SHA256SUMS", 1, false).kind, StatusKind::Failure);
}

bool overlaps(const Rect& a, const Rect& b) {
    return a.width > 0 && b.width > 0 && a.x < b.x + b.width && b.x < a.x + a.width &&
           a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(CheckWindowLayout, NothingOverlapsDownToTheMinimumAtEachScale) {
    for (double scale : {1.0, 1.5, 2.0}) {
        for (bool making : {false, true}) {
            CheckLayoutInput in;
            in.scale = scale;
            in.lineHeight = static_cast<int>(16 * scale);
            in.buttonHeight = static_cast<int>(26 * scale);
            in.reportButtonWidth = static_cast<int>(90 * scale);
            in.saveButtonWidth = making ? static_cast<int>(70 * scale) : 0;
            in.algoComboWidth = making ? static_cast<int>(140 * scale) : 0;
            int minWidth = 0, minHeight = 0;
            checkWindowMinimumClient(in, minWidth, minHeight);
            for (int grow : {0, 37, 400}) {
                in.clientWidth = minWidth + grow;
                in.clientHeight = minHeight + grow;
                const CheckLayout l = layoutCheckWindow(in);
                const Rect all[] = {l.header, l.list,      l.progressRow, l.progress,
                                    l.status, l.algoCombo, l.saveButton,  l.reportButton};
                for (const Rect& a : all) {
                    if (a.width == 0)
                        continue;
                    EXPECT_GE(a.x, 0);
                    EXPECT_LE(a.x + a.width, in.clientWidth);
                    EXPECT_LE(a.y + a.height, in.clientHeight);
                    for (const Rect& b : all)
                        EXPECT_TRUE(&a == &b || !overlaps(a, b))
                            << scale << " " << making << " " << grow;
                }
                EXPECT_GE(l.list.height, 3 * in.lineHeight);
                EXPECT_EQ(l.saveButton.width > 0, making);
            }
        }
    }
}

} // namespace
} // namespace velk
