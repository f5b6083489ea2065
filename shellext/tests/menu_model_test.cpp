// The context menu as data: hashing choice, item lines and wrapping with a fake measure,
// the one-file tree, and ids within the shell's range.

#include "shellext/menu/menu_model.h"

#include <gtest/gtest.h>

#include <climits>

namespace velk {
namespace {

// 6 pixels per character (code point), so the continuation arrow counts as one.
long fakeMeasure(const std::string& text) {
    long characters = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++characters;
    return characters * 6;
}

std::string hexRun(std::size_t length, char seed) {
    const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text.push_back(digits[(static_cast<std::size_t>(seed) + i * 7) % 16]);
    return text;
}

HashResults fullResults() {
    HashResults results;
    char seed = 0;
    for (const std::string& name : kAlgorithmNames)
        results[name] = hexRun(digestHexLength(name), seed++);
    return results;
}

TEST(ShellMenuHashing, FollowsTheSettingAndTheTwoLimits) {
    struct Case {
        bool computeAll;
        long long size;
        MenuHashing expected;
    };
    const long long MiB = 1024 * 1024;
    const Case cases[] = {
        {false, 0, MenuHashing::LabelDigest},
        {false, 512 * MiB, MenuHashing::LabelDigest},
        {false, 512 * MiB + 1, MenuHashing::None},
        {true, 0, MenuHashing::AllDigests},
        {true, 128 * MiB, MenuHashing::AllDigests},
        {true, 128 * MiB + 1, MenuHashing::LabelDigest},
        {true, 200 * MiB, MenuHashing::LabelDigest},
        {true, 512 * MiB + 1, MenuHashing::None},
        {false, LLONG_MAX, MenuHashing::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chooseMenuHashing(c.computeAll, c.size), c.expected)
            << c.computeAll << " " << c.size;
}

TEST(ShellMenuWidth, IsSixTenthsOfTheScreenTruncated) {
    EXPECT_EQ(maxItemWidth(1000), 600);
    EXPECT_EQ(maxItemWidth(1366), 819);
    EXPECT_EQ(maxItemWidth(1), 0);
    EXPECT_EQ(maxItemWidth(0), 0);
}

TEST(ShellItemLines, PadTheNameColumnAndMarkTheLabelAlgorithm) {
    const std::string md5 = hexRun(32, 1);
    EXPECT_EQ(buildItemLines("MD5", md5, false, fakeMeasure, 10000),
              std::vector<std::string>{"MD5       " + md5});
    EXPECT_EQ(buildItemLines("SHA-256", md5, true, fakeMeasure, 10000),
              std::vector<std::string>{"SHA-256 (default) " + md5});
    EXPECT_EQ(buildItemLines("SHA3-512", "ab", false, fakeMeasure, 10000),
              std::vector<std::string>{"SHA3-512  ab"});
    // Exactly nine characters get no padding, only the separating space.
    EXPECT_EQ(buildItemLines("ABCDEFGHI", "ab", false, fakeMeasure, 10000),
              std::vector<std::string>{"ABCDEFGHI ab"});
}

TEST(ShellItemLines, NoLimitOrAFittingLineStaysWhole) {
    const std::string sha512 = hexRun(128, 3);
    const std::string whole = "SHA-512   " + sha512;
    EXPECT_EQ(buildItemLines("SHA-512", sha512, false, fakeMeasure, 0).size(), 1u);
    EXPECT_EQ(buildItemLines("SHA-512", sha512, false, fakeMeasure, -5).size(), 1u);
    const long exact = fakeMeasure(whole);
    EXPECT_EQ(buildItemLines("SHA-512", sha512, false, fakeMeasure, exact),
              std::vector<std::string>{whole});
    EXPECT_GT(buildItemLines("SHA-512", sha512, false, fakeMeasure, exact - 1).size(), 1u);
}

TEST(ShellItemLines, WideDigestWrapsIntoLinesAsLongAsFit) {
    // A 1000-pixel screen: 600 pixels, 100 characters of the fake font.
    const std::string sha512 = hexRun(128, 5);
    const auto lines = buildItemLines("SHA-512", sha512, false, fakeMeasure, maxItemWidth(1000));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "SHA-512   " + sha512.substr(0, 90));
    EXPECT_EQ(lines[1], std::string(kContinuationPrefix) + sha512.substr(90));
    EXPECT_EQ(std::string(kContinuationPrefix).size(), 7u);
}

TEST(ShellItemLines, WrappedPiecesCoverTheDigestInOrder) {
    const std::string digest = hexRun(128, 9);
    for (long width : {60L, 66L, 100L, 233L, 400L}) {
        const auto lines = buildItemLines("BLAKE2b", digest, true, fakeMeasure, width);
        std::string joined;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string prefix = i == 0 ? "BLAKE2b (default) " : kContinuationPrefix;
            ASSERT_EQ(lines[i].compare(0, prefix.size(), prefix), 0) << lines[i];
            const std::string piece = lines[i].substr(prefix.size());
            ASSERT_FALSE(piece.empty());
            joined += piece;
            // Each line is as long as fits: one more character would pass the width.
            if (fakeMeasure(lines[i]) > width) {
                EXPECT_EQ(piece.size(), 1u);
            }
            if (i + 1 < lines.size()) {
                EXPECT_GT(fakeMeasure(lines[i]) + 6, width);
            }
        }
        EXPECT_EQ(joined, digest) << width;
    }
}

TEST(ShellItemLines, TooNarrowForAnythingStillEndsWithOneCharacterPerLine) {
    const std::string digest = hexRun(8, 2);
    const auto lines = buildItemLines("CRC32", digest, false, fakeMeasure, 1);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "CRC32     " + digest.substr(0, 1));
    EXPECT_EQ(lines[7], std::string(kContinuationPrefix) + digest.substr(7));
}

const MenuNode& child(const MenuNode& node, std::size_t index) {
    EXPECT_LT(index, node.children.size());
    return node.children.at(index);
}

TEST(ShellFileMenu, LabelOnlyShowsTheLabelDigestAndBareNames) {
    const std::string md5 = "0123456789abcdef0123456789abcdef";
    const MenuNode menu = fileMenu({"MD5", "4", md5, nullptr}, fakeMeasure, 600);
    EXPECT_TRUE(menu.popup);
    EXPECT_EQ(menu.text, "Hashes 0123-cdef");
    ASSERT_EQ(menu.children.size(), 4u);

    EXPECT_EQ(child(menu, 0).text, "Copy");
    EXPECT_EQ(child(menu, 0).command, (MenuCommand{MenuCommandKind::CopyDigest, md5, "MD5"}));

    const MenuNode& more = child(menu, 1);
    EXPECT_TRUE(more.popup);
    EXPECT_EQ(more.text, "Copy More");
    ASSERT_EQ(more.children.size(), 11u);
    for (std::size_t i = 0; i < kAlgorithmNames.size(); ++i) {
        const MenuNode& entry = child(more, i);
        EXPECT_FALSE(entry.popup);
        if (kAlgorithmNames[i] == "MD5") {
            EXPECT_EQ(entry.text, "MD5 (default) " + md5);
            EXPECT_EQ(entry.command, (MenuCommand{MenuCommandKind::CopyDigest, md5, "MD5"}));
        } else {
            EXPECT_EQ(entry.text, kAlgorithmNames[i]);
            EXPECT_EQ(entry.command,
                      (MenuCommand{MenuCommandKind::ComputeAndCopy, "", kAlgorithmNames[i]}));
        }
    }

    EXPECT_EQ(child(menu, 2).text, "Clipboard Check");
    EXPECT_EQ(child(menu, 2).command, (MenuCommand{MenuCommandKind::ClipboardCheck, "", ""}));
    EXPECT_EQ(child(menu, 3).text, "Open Velkscope...");
    EXPECT_EQ(child(menu, 3).command, (MenuCommand{MenuCommandKind::OpenViewer, "", ""}));
}

TEST(ShellFileMenu, AChecksumFileCanBeCheckedAfterOpening) {
    FileMenuInput input{"MD5", "4", hexRun(32, 0), nullptr, true};
    const MenuNode menu = fileMenu(input, fakeMeasure, 600);
    ASSERT_EQ(menu.children.size(), 5u);
    EXPECT_EQ(child(menu, 3).text, "Open Velkscope...");
    EXPECT_EQ(child(menu, 4).text, "Check Listed Files...");
    EXPECT_EQ(child(menu, 4).command, (MenuCommand{MenuCommandKind::CheckListedFiles, "", ""}));
    input.checksumFile = false;
    EXPECT_EQ(fileMenu(input, fakeMeasure, 600).children.size(), 4u);
}

TEST(ShellFileMenu, CaptionFollowsTheLabelFormat) {
    const std::string digest = "0123456789abcdef";
    EXPECT_EQ(fileMenu({"CRC32", "2", digest, nullptr}, fakeMeasure, 0).text, "Hashes 01-ef");
    EXPECT_EQ(fileMenu({"CRC32", "4m", digest, nullptr}, fakeMeasure, 0).text,
              "Hashes 0123-6789-cdef");
    EXPECT_EQ(fileMenu({"CRC32", "full", digest, nullptr}, fakeMeasure, 0).text,
              "Hashes " + digest);
}

TEST(ShellFileMenu, AllComputedListsEveryDigestAndEveryLineCopiesItWhole) {
    const HashResults all = fullResults();
    const MenuNode menu = fileMenu({"SHA-256", "4", all.at("SHA-256"), &all}, fakeMeasure, 600);
    const MenuNode& more = child(menu, 1);
    // At 100 characters SHA-384 (10 + 96), SHA-512, SHA3-512 and BLAKE2b (10 + 128) wrap
    // onto two lines; the label line of SHA-256 (18 + 64) still fits.
    std::vector<std::string> owners;
    for (const MenuNode& line : more.children) {
        EXPECT_EQ(line.command.kind, MenuCommandKind::CopyDigest);
        EXPECT_EQ(line.command.digest, all.at(line.command.algorithm));
        owners.push_back(line.command.algorithm);
    }
    const std::vector<std::string> expected = {
        "CRC32",   "MD5",      "SHA-1",    "SHA-224",  "SHA-256", "SHA-384", "SHA-384", "SHA-512",
        "SHA-512", "SHA3-256", "SHA3-512", "SHA3-512", "BLAKE2b", "BLAKE2b", "BLAKE2s"};
    EXPECT_EQ(owners, expected);
    EXPECT_EQ(more.children[4].text, "SHA-256 (default) " + all.at("SHA-256"));
    EXPECT_EQ(more.children[0].text, "CRC32     " + all.at("CRC32"));
    EXPECT_EQ(more.children[7].text.compare(0, 10, "SHA-512   "), 0);
    EXPECT_EQ(more.children[8].text.compare(0, 7, kContinuationPrefix), 0);
}

TEST(ShellSelectionAndFallback, AreSingleCommands) {
    const MenuNode selection = selectionMenu(false, false);
    EXPECT_TRUE(selection.popup);
    EXPECT_EQ(selection.text, "Hashes");
    ASSERT_EQ(selection.children.size(), 1u);
    EXPECT_EQ(selection.children[0].text, "Open Velkscope");
    EXPECT_EQ(selection.children[0].command.kind, MenuCommandKind::OpenSelected);

    // Files that can go in one list: making one comes last, after comparing two.
    const MenuNode listable = selectionMenu(false, true);
    ASSERT_EQ(listable.children.size(), 2u);
    EXPECT_EQ(listable.children[0].text, "Open Velkscope");
    EXPECT_EQ(listable.children[1].text, "Create Checksum File...");
    EXPECT_EQ(listable.children[1].command.kind, MenuCommandKind::CreateChecksumFile);

    const PlacedMenu two = placeMenu(selectionMenu(true, true), 40, 100);
    const MenuNode& compare = two.entries.at(0);
    ASSERT_EQ(compare.children.size(), 3u);
    EXPECT_EQ(compare.children[2].text, "Create Checksum File...");
    EXPECT_EQ(compare.children[0].text, "Open Velkscope");
    EXPECT_EQ(compare.children[1].text, "Compare the Two Files");
    EXPECT_EQ(compare.children[1].id, 41u);
    ASSERT_EQ(two.commands.size(), 3u);
    EXPECT_EQ(two.commands[0].kind, MenuCommandKind::OpenSelected);
    EXPECT_EQ(two.commands[1].kind, MenuCommandKind::CompareTwo);

    const MenuNode fallback = fallbackItem();
    EXPECT_FALSE(fallback.popup);
    EXPECT_EQ(fallback.text, "Velkscope");
    EXPECT_EQ(fallback.command.kind, MenuCommandKind::OpenViewer);
}

TEST(ShellSelectionCompare, OnlyForExactlyTwoFiles) {
    using K = SelectedKind;
    struct Case {
        std::vector<K> selection;
        bool offered;
    };
    const Case cases[] = {
        {{K::File, K::File}, true},
        {{K::File, K::Folder}, false},
        {{K::Folder, K::File}, false},
        {{K::Folder, K::Folder}, false},
        {{K::File, K::Unknown}, false}, // a path whose attributes cannot be read
        {{K::File, K::File, K::File}, false},
        {{K::File}, false},
        {{}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(offersCompare(c.selection), c.offered) << c.selection.size();
}

// Ids of the items in tree order.
void collectIds(const MenuNode& node, std::vector<unsigned>& ids) {
    if (!node.popup)
        ids.push_back(node.id);
    for (const MenuNode& c : node.children)
        collectIds(c, ids);
}

TEST(ShellPlaceMenu, IdsRunFromTheFirstInTreeOrderAndMatchTheCommandTable) {
    const MenuNode menu = fileMenu({"MD5", "4", hexRun(32, 0), nullptr}, fakeMeasure, 600);
    const PlacedMenu placed = placeMenu(menu, 100, 1000);
    ASSERT_EQ(placed.entries.size(), 1u);
    std::vector<unsigned> ids;
    collectIds(placed.entries[0], ids);
    ASSERT_EQ(ids.size(), 14u); // Copy, 11 entries, Clipboard Check, Open
    ASSERT_EQ(placed.commands.size(), 14u);
    for (unsigned i = 0; i < ids.size(); ++i)
        EXPECT_EQ(ids[i], 100 + i);
    EXPECT_EQ(placed.commands[0].kind, MenuCommandKind::CopyDigest);
    EXPECT_EQ(placed.commands[2], (MenuCommand{MenuCommandKind::CopyDigest, hexRun(32, 0), "MD5"}));
    EXPECT_EQ(placed.commands[12].kind, MenuCommandKind::ClipboardCheck);
    EXPECT_EQ(placed.commands[13].kind, MenuCommandKind::OpenViewer);
}

TEST(ShellPlaceMenu, ShortRangeDropsLaterItemsButKeepsThePopups) {
    const MenuNode menu = fileMenu({"MD5", "4", hexRun(32, 0), nullptr}, fakeMeasure, 600);

    PlacedMenu one = placeMenu(menu, 7, 7);
    ASSERT_EQ(one.commands.size(), 1u);
    EXPECT_EQ(one.commands[0].kind, MenuCommandKind::CopyDigest);
    const MenuNode& top = one.entries.at(0);
    ASSERT_EQ(top.children.size(), 2u); // "Copy" and the emptied "Copy More"
    EXPECT_EQ(top.children[0].id, 7u);
    EXPECT_TRUE(top.children[1].popup);
    EXPECT_TRUE(top.children[1].children.empty());

    PlacedMenu none = placeMenu(menu, 8, 7);
    EXPECT_TRUE(none.commands.empty());
    ASSERT_EQ(none.entries.size(), 1u);
    ASSERT_EQ(none.entries[0].children.size(), 1u);
    EXPECT_TRUE(none.entries[0].children[0].popup);

    EXPECT_TRUE(placeMenu(fallbackItem(), 8, 7).entries.empty());
    EXPECT_EQ(placeMenu(fallbackItem(), 8, 8).entries.at(0).id, 8u);
    PlacedMenu emptySelection = placeMenu(selectionMenu(true, true), 8, 7);
    ASSERT_EQ(emptySelection.entries.size(), 1u);
    EXPECT_TRUE(emptySelection.entries[0].children.empty());
}

TEST(ShellPlaceMenu, RangeAtTheTopOfTheIdSpaceDoesNotWrap) {
    const MenuNode menu = fileMenu({"MD5", "4", hexRun(32, 0), nullptr}, fakeMeasure, 600);
    const PlacedMenu placed = placeMenu(menu, UINT_MAX - 1, UINT_MAX);
    std::vector<unsigned> ids;
    collectIds(placed.entries.at(0), ids);
    EXPECT_EQ(ids, (std::vector<unsigned>{UINT_MAX - 1, UINT_MAX}));
    EXPECT_EQ(placed.commands.size(), 2u);
}

} // namespace
} // namespace velk
