// The comparison's status line, row marks and command line.

#include "viewer/compare_status.h"
#include "viewer/theme_palette.h"
#include "viewer/viewer_arguments.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

const std::string kCheck = "\xE2\x9C\x94 ";
const std::string kCross = "\xE2\x9C\x98 ";

HashResults digestsOf(char digit) {
    HashResults r;
    for (const std::string& name : kAlgorithmNames)
        r[name] = std::string(digestHexLength(name), digit);
    return r;
}

// The other file's pass finished with these digests.
CompareProgress finished(const HashResults& other, std::uint64_t thisSize,
                         std::uint64_t otherSize) {
    CompareProgress p;
    p.otherName = "copy of disc.iso";
    p.thisSize = thisSize;
    p.otherSize = otherSize;
    p.otherDone = true;
    p.otherOk = true;
    p.otherResults = other;
    return p;
}

struct Own {
    HashResults results;
    bool ready = false;
    bool failed = false;
    std::string error;
    OwnPass pass() const { return {results, ready, failed, error}; }
};

Own stillRunning() {
    return Own{};
}

Own readyWith(const HashResults& results) {
    Own own;
    own.results = results;
    own.ready = true;
    return own;
}

Own failedWith(const std::string& error) {
    Own own;
    own.failed = true;
    own.error = error;
    return own;
}

TEST(CompareStatus, VerdictOnceBothPassesAreDone) {
    const HashResults mine = digestsOf('a');
    HashResults lastByteChanged = mine;
    lastByteChanged["BLAKE2s"].back() = 'b';
    const Own own = readyWith(mine);
    struct Case {
        HashResults other;
        std::string text;
        StatusKind kind;
    };
    const Case cases[] = {
        {mine, kCheck + "IDENTICAL  all eleven digests match copy of disc.iso.",
         StatusKind::Success},
        {lastByteChanged, kCross + "DIFFERENT  copy of disc.iso has other digests.",
         StatusKind::Failure},
        {digestsOf('c'), kCross + "DIFFERENT  copy of disc.iso has other digests.",
         StatusKind::Failure},
    };
    for (const Case& c : cases) {
        const StatusMessage m = compareStatus(finished(c.other, 10, 10), own.pass());
        EXPECT_EQ(m.text, c.text);
        EXPECT_EQ(m.kind, c.kind);
    }
}

TEST(CompareStatus, WaitsForBothPassesWithoutClaimingAnything) {
    const Own waiting = stillRunning();
    CompareProgress p = finished(digestsOf('a'), 10, 10);
    // This file's digests are still coming.
    EXPECT_EQ(compareStatus(p, waiting.pass()).text, "Comparing with copy of disc.iso...");
    EXPECT_EQ(compareStatus(p, waiting.pass()).kind, StatusKind::Neutral);
    // The other's are still coming (and its size is not even known).
    p.otherDone = false;
    p.otherOk = false;
    p.otherSize.reset();
    const Own ready = readyWith(digestsOf('a'));
    EXPECT_EQ(compareStatus(p, ready.pass()).text, "Comparing with copy of disc.iso...");
}

TEST(CompareStatus, DifferentSizesAreSaidAtOnceAndStay) {
    CompareProgress p;
    p.otherName = "b.bin";
    p.thisSize = 3145728;
    p.otherSize = 3145727;
    const std::string sizeText =
        kCross + "DIFFERENT  b.bin is 3145727 bytes, this file is 3145728 bytes.";
    const Own waiting = stillRunning();
    EXPECT_EQ(compareStatus(p, waiting.pass()).text, sizeText);
    EXPECT_EQ(compareStatus(p, waiting.pass()).kind, StatusKind::Failure);
    // The digests that follow do not replace it.
    p.otherDone = p.otherOk = true;
    p.otherResults = digestsOf('b');
    const Own ready = readyWith(digestsOf('a'));
    EXPECT_EQ(compareStatus(p, ready.pass()).text, sizeText);
    // A size that could not be read claims nothing.
    p.thisSize.reset();
    EXPECT_EQ(compareStatus(p, ready.pass()).text, kCross + "DIFFERENT  b.bin has other digests.");
}

TEST(CompareStatus, ReadFailuresComeFirstThisFileBeforeTheOther) {
    CompareProgress p;
    p.otherName = "gone.bin";
    p.thisSize = 5;
    p.otherSize = 6;
    p.otherDone = true;
    p.otherError = "cannot open file";
    const Own ready = readyWith(digestsOf('a'));
    EXPECT_EQ(compareStatus(p, ready.pass()).text, "Could not read gone.bin: cannot open file");
    EXPECT_EQ(compareStatus(p, ready.pass()).kind, StatusKind::Failure);
    const Own failed = failedWith("read error");
    EXPECT_EQ(compareStatus(p, failed.pass()).text, "Could not read file: read error");
    EXPECT_EQ(compareStatus(p, failed.pass()).kind, StatusKind::Failure);
}

TEST(CompareRows, MarkedOnlyWhenBothDigestsAreThere) {
    const HashResults mine = digestsOf('a');
    HashResults other = mine;
    other["SHA-1"] = std::string(40, 'f');
    CompareProgress p = finished(other, 1, 1);
    for (const std::string& name : kAlgorithmNames) {
        const RowMark expected = name == "SHA-1" ? RowMark::Differs : RowMark::Agrees;
        EXPECT_EQ(rowMark(mine, p, name), expected) << name;
        // Before this file's digests arrive nothing is marked.
        EXPECT_EQ(rowMark({}, p, name), RowMark::None) << name;
    }
    p.otherDone = false;
    EXPECT_EQ(rowMark(mine, p, "MD5"), RowMark::None);
    p.otherDone = true;
    p.otherOk = false;
    EXPECT_EQ(rowMark(mine, p, "MD5"), RowMark::None);
}

TEST(CompareRows, MarksAreReadableInBothThemes) {
    EXPECT_EQ(markedRowName("SHA3-512", RowMark::Agrees), kCheck + "SHA3-512");
    EXPECT_EQ(markedRowName("SHA3-512", RowMark::Differs), kCross + "SHA3-512");
    EXPECT_EQ(markedRowName("SHA3-512", RowMark::None), "SHA3-512");
    EXPECT_EQ(rowMarkKind(RowMark::None), StatusKind::Neutral);
    for (const bool dark : {false, true}) {
        const ThemePalette palette = themePalette(dark);
        const Colour agrees = statusColour(rowMarkKind(RowMark::Agrees), dark, palette.text);
        const Colour differs = statusColour(rowMarkKind(RowMark::Differs), dark, palette.text);
        EXPECT_NE(agrees, differs);
        EXPECT_GE(contrastRatio(agrees, palette.background), 4.5) << dark;
        EXPECT_GE(contrastRatio(differs, palette.background), 4.5) << dark;
    }
}

TEST(ViewerArguments, OneFileOrCompareOrUsage) {
    using Kind = ViewerArguments::Kind;
    struct Case {
        std::vector<std::wstring> args;
        Kind kind;
        std::wstring file;
        std::wstring other;
        std::string usage;
    };
    const Case cases[] = {
        {{}, Kind::Usage, L"", L"", "usage: velkscope <file>"},
        {{L"C:\\a b\\x.iso"}, Kind::Show, L"C:\\a b\\x.iso", L"", ""},
        {{L"x.iso", L"y.iso"}, Kind::Show, L"x.iso", L"", ""}, // further entries are ignored
        {{L"--compare", L"x.iso", L"y.iso"}, Kind::Compare, L"x.iso", L"y.iso", ""},
        {{L"--compare", L"x.iso", L"y.iso", L"z"}, Kind::Compare, L"x.iso", L"y.iso", ""},
        {{L"--compare", L"x.iso"}, Kind::Usage, L"", L"", kCompareUsageText},
        {{L"--compare"}, Kind::Usage, L"", L"", kCompareUsageText},
        // Only the first entry is an option: a file may follow under that name.
        {{L"x.iso", L"--compare", L"y"}, Kind::Show, L"x.iso", L"", ""},
        {{L"--COMPARE", L"x", L"y"}, Kind::Show, L"--COMPARE", L"", ""},
        {{L"--check", L"C:\\d\\SHA256SUMS"}, Kind::Check, L"C:\\d\\SHA256SUMS", L"", ""},
        {{L"--check"}, Kind::Usage, L"", L"", kCheckUsageText},
        {{L"--check", L"a", L"b"}, Kind::Usage, L"", L"", kCheckUsageText},
        {{L"--create", L"a", L"b"}, Kind::Create, L"", L"", ""},
        {{L"--create"}, Kind::Usage, L"", L"", kCreateUsageText},
    };
    for (const Case& c : cases) {
        const ViewerArguments a = parseViewerArguments(c.args);
        EXPECT_EQ(a.kind, c.kind) << c.args.size();
        EXPECT_EQ(a.file, c.file);
        EXPECT_EQ(a.other, c.other);
        EXPECT_EQ(a.usageText, c.usage);
        if (c.kind == Kind::Create)
            EXPECT_EQ(a.files, std::vector<std::wstring>(c.args.begin() + 1, c.args.end()));
    }
}

} // namespace
} // namespace velk
