// QueryContextMenu through the registered object and a real shell data object, read back
// from a real popup menu.

#include "shell_data_object.h"
#include "shell_menu_fixture.h"

#include "engine/unique_handle.h"
#include "shellext/menu/shell_read.h"

#include <chrono>
#include <cstdio>

namespace {

const long long MiB = 1024 * 1024;
const std::string kSample = "The quick brown fox jumps over the lazy dog\n";

std::wstring w(const std::string& text) {
    return narrowToWide(text);
}

std::string shortLabel(const std::string& digest) {
    return digest.substr(0, 4) + "-" + digest.substr(digest.size() - 4);
}

// No separators, check marks, disabled or default items, bitmaps or owner drawing.
void expectPlainEntries(const std::vector<MenuEntryView>& entries) {
    for (const MenuEntryView& entry : entries) {
        EXPECT_EQ(entry.type, static_cast<UINT>(MFT_STRING)) << wideToNarrow(entry.text);
        EXPECT_EQ(entry.state, 0u) << wideToNarrow(entry.text);
        EXPECT_FALSE(entry.hasBitmap) << wideToNarrow(entry.text);
        expectPlainEntries(entry.children);
    }
}

// The host's own two items stay around ours.
void expectHostAround(const BuiltMenu& built, std::size_t ourCount) {
    ASSERT_EQ(built.entries.size(), 2 + ourCount);
    EXPECT_EQ(built.entries.front().text, L"Open");
    EXPECT_EQ(built.entries.back().text, L"Properties");
}

class ShellMenu : public ShellMenuTest {
  protected:
    // QueryContextMenu alone, timed, on an object already initialised for the path.
    static BuiltMenu timedBuild(const std::wstring& path, double* milliseconds) {
        BuiltMenu built = build({path}, 100, 0x7FFF, CMF_DEFAULTONLY);
        const auto start = std::chrono::steady_clock::now();
        rebuild(built);
        *milliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        return built;
    }
};

TEST_F(ShellMenu, OneFileGetsTheHashesSubmenuWithConsecutiveIds) {
    const std::wstring path = file(L"sample one.txt", kSample);
    const velk::HashResults digests = digestsOf(path);
    const BuiltMenu built = build({path});

    EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 14));
    expectHostAround(built, 1);
    const MenuEntryView& hashes = built.ours();
    EXPECT_TRUE(hashes.popup);
    EXPECT_EQ(hashes.text, w("Hashes " + shortLabel(digests.at("MD5"))));
    expectPlainEntries(built.entries);

    ASSERT_EQ(hashes.children.size(), 4u);
    EXPECT_EQ(hashes.children[0].text, L"Copy");
    EXPECT_EQ(hashes.children[0].id, 100u);
    const MenuEntryView& more = hashes.children[1];
    EXPECT_EQ(more.text, L"Copy More");
    EXPECT_TRUE(more.popup);
    const std::vector<std::string> expected = {"CRC32",    "MD5 (default) " + digests.at("MD5"),
                                               "SHA-1",    "SHA-224",
                                               "SHA-256",  "SHA-384",
                                               "SHA-512",  "SHA3-256",
                                               "SHA3-512", "BLAKE2b",
                                               "BLAKE2s"};
    ASSERT_EQ(more.children.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(more.children[i].text, w(expected[i]));
        EXPECT_EQ(more.children[i].id, 101u + i);
        EXPECT_FALSE(more.children[i].popup);
    }
    EXPECT_EQ(hashes.children[2].text, L"Clipboard Check");
    EXPECT_EQ(hashes.children[2].id, 112u);
    EXPECT_EQ(hashes.children[3].text, L"Open Velkscope...");
    EXPECT_EQ(hashes.children[3].id, 113u);
}

TEST_F(ShellMenu, LabelComesFromTheSettingsAndUnknownValuesFallBack) {
    const std::wstring path = file(L"label sample.txt", kSample);
    const velk::HashResults d = digestsOf(path);
    struct Case {
        std::string config;
        std::string caption;
        std::string labelLine; // the "Copy More" line with the suffix
        std::size_t labelIndex;
    };
    const std::string sha256 = d.at("SHA-256");
    const std::string crc = d.at("CRC32");
    const Case cases[] = {
        {R"({"label_algo":"SHA-256","label_format":"2m"})",
         "Hashes " + sha256.substr(0, 2) + "-" + sha256.substr(31, 2) + "-" + sha256.substr(62),
         "SHA-256 (default) " + sha256, 4},
        // Case matters for the algorithm; "7" is no format.
        {R"({"label_algo":"sha-256","label_format":"7"})", "Hashes " + shortLabel(d.at("MD5")),
         "MD5 (default) " + d.at("MD5"), 1},
        {R"({"label_algo":"CRC32","label_format":"4m"})", "Hashes " + crc, "CRC32 (default) " + crc,
         0},
        {R"({"label_algo":"SHA3-256","label_format":"full"})", "Hashes " + d.at("SHA3-256"),
         "SHA3-256 (default) " + d.at("SHA3-256"), 7},
        {"not json at all", "Hashes " + shortLabel(d.at("MD5")), "MD5 (default) " + d.at("MD5"), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config);
        writeConfig(c.config);
        const BuiltMenu built = build({path});
        EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 14));
        EXPECT_EQ(built.ours().text, w(c.caption));
        const MenuEntryView& more = built.ours().children.at(1);
        ASSERT_EQ(more.children.size(), 11u);
        EXPECT_EQ(more.children[c.labelIndex].text, w(c.labelLine));
    }
}

// Width of a menu text in the stock GUI font on the screen, as the extension measures it.
class ScreenFont {
  public:
    ScreenFont() : dc_(GetDC(nullptr)) {
        previous_ = SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
    }
    ~ScreenFont() {
        SelectObject(dc_, previous_);
        ReleaseDC(nullptr, dc_);
    }
    long width(const std::wstring& text) const {
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

TEST_F(ShellMenu, ComputeAllShowsEveryDigestWrappedToTheScreenShare) {
    writeConfig(R"({"compute_all_menus":1})");
    const std::wstring path = file(L"all digests.txt", kSample);
    const velk::HashResults d = digestsOf(path);
    const BuiltMenu built = build({path});
    const MenuEntryView& more = built.ours().children.at(1);
    expectPlainEntries(built.entries);

    const ScreenFont font;
    const long maxWidth = static_cast<long>(GetSystemMetrics(SM_CXSCREEN) * 0.6);
    const std::wstring continuation = L"   \x21B3 ";
    std::size_t line = 0;
    std::size_t wrapped = 0;
    for (const std::string& name : velk::kAlgorithmNames) {
        SCOPED_TRACE(name);
        std::string head = name + (name == "MD5" ? " (default)" : "");
        head.resize(std::max<std::size_t>(head.size(), 9), ' ');
        head += ' ';
        ASSERT_LT(line, more.children.size());
        ASSERT_EQ(more.children[line].text.compare(0, head.size(), w(head)), 0)
            << wideToNarrow(more.children[line].text);
        std::wstring pieces = more.children[line].text.substr(head.size());
        std::size_t lines = 1;
        while (line + lines < more.children.size() &&
               more.children[line + lines].text.compare(0, continuation.size(), continuation) ==
                   0) {
            pieces += more.children[line + lines].text.substr(continuation.size());
            ++lines;
        }
        EXPECT_EQ(pieces, w(d.at(name)));
        for (std::size_t i = 0; i < lines; ++i) {
            const std::wstring& text = more.children[line + i].text;
            EXPECT_LE(font.width(text), maxWidth) << wideToNarrow(text);
            // As long as fits: the next digest character would not.
            if (i + 1 < lines) {
                const std::wstring& next = more.children[line + i + 1].text;
                EXPECT_GT(font.width(text + next.substr(continuation.size(), 1)), maxWidth);
            }
        }
        if (lines > 1)
            ++wrapped;
        line += lines;
    }
    EXPECT_EQ(line, more.children.size());
    // 128-character digests do not fit 60% of the screen in this font.
    EXPECT_GE(wrapped, 1u);
    EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1 + line + 2));
    for (std::size_t i = 0; i < more.children.size(); ++i)
        EXPECT_EQ(more.children[i].id, 101u + i);
}

// Several files get Open; exactly two files also Compare; files only (no folder, nothing
// unexaminable) also Create Checksum File..., last.
TEST_F(ShellMenu, SeveralFilesGetOpenAndExactlyTwoFilesAlsoCompare) {
    const std::wstring a = file(L"one of two.txt", kSample);
    const std::wstring b = file(L"two of two.txt", "something else");
    const std::wstring third = file(L"third.txt", kSample);
    const std::wstring sub = folder(L"a folder");
    const std::vector<std::wstring> open{L"Open Velkscope"};
    const std::vector<std::wstring> openAndList{L"Open Velkscope", L"Create Checksum File..."};
    const std::vector<std::wstring> openCompareAndList{L"Open Velkscope", L"Compare the Two Files",
                                                       L"Create Checksum File..."};
    struct Case {
        std::vector<std::wstring> paths;
        bool handMade;
        std::vector<std::wstring> items;
    };
    const Case cases[] = {
        {{a, b}, false, openCompareAndList},
        {{a, b, third}, false, openAndList},
        {{a, sub}, false, open},
        {{sub, b}, false, open},
        // Paths that do not even exist: nothing is opened for several files, and what cannot
        // be examined is not offered for comparing.
        {{L"C:\\no such\\file one", L"C:\\no such\\file two"}, true, open},
    };
    for (const Case& c : cases) {
        const BuiltMenu built = build(c.paths, 100, 0x7FFF, CMF_NORMAL, c.handMade);
        EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, c.items.size()));
        expectHostAround(built, 1);
        EXPECT_EQ(built.ours().text, L"Hashes");
        ASSERT_EQ(built.ours().children.size(), c.items.size()) << c.paths.size();
        for (std::size_t i = 0; i < c.items.size(); ++i) {
            EXPECT_EQ(built.ours().children[i].text, c.items[i]);
            EXPECT_EQ(built.ours().children[i].id, 100u + i);
        }
        expectPlainEntries(built.entries);
    }
}

TEST_F(ShellMenu, FolderAloneOrDefaultOnlyAddsNothing) {
    const BuiltMenu forFolder = build({folder(L"lonely folder")});
    EXPECT_EQ(forFolder.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0));
    expectHostAround(forFolder, 0);

    const BuiltMenu defaultOnly =
        build({file(L"default only.txt", kSample)}, 100, 0x7FFF, CMF_DEFAULTONLY);
    EXPECT_EQ(defaultOnly.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0));
    expectHostAround(defaultOnly, 0);
}

TEST_F(ShellMenu, UnreadableFileGetsTheViewerItem) {
    const std::wstring path = file(L"locked ten.bin", "0123456789");
    // Held open without sharing: its attributes can be read, its bytes cannot.
    velk::UniqueFile lock(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    for (const bool computeAll : {false, true}) {
        writeConfig(computeAll ? R"({"compute_all_menus":1})" : "{}");
        const BuiltMenu built = build({path}, 300);
        EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
        expectHostAround(built, 1);
        EXPECT_EQ(built.ours().text, L"Velkscope");
        EXPECT_EQ(built.ours().id, 300u);
        EXPECT_FALSE(built.ours().popup);
    }
    // No id left: not even the fallback item.
    const BuiltMenu none = build({path}, 301, 300);
    EXPECT_EQ(none.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0));
    expectHostAround(none, 0);
}

// Within the size limits a file is hashed unless that takes longer than the read budget (a
// large file on a slow or busy machine); the label is then the right one, or the build took
// the whole budget and shows "Velkscope".
bool hashedWithinTheBudget(const BuiltMenu& built, double milliseconds) {
    if (built.ours().popup)
        return true;
    EXPECT_EQ(built.ours().text, L"Velkscope");
    EXPECT_GE(milliseconds, static_cast<double>(velk::kShellReadBudget.count()) - 50);
    std::printf("[ budget ] %.0f ms: the menu handed the file to the viewer\n", milliseconds);
    return false;
}

TEST_F(ShellMenu, LabelDigestUpTo512MiBAndTheViewerItemBeyond) {
    const std::wstring exact = sizedFile(L"exactly 512 MiB.bin", 512 * MiB);
    double took = 0;
    const BuiltMenu hashed = timedBuild(exact, &took);
    if (hashedWithinTheBudget(hashed, took)) {
        EXPECT_EQ(hashed.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 14));
        // MD5 of 536,870,912 zero bytes.
        EXPECT_EQ(hashed.ours().text, L"Hashes aa55-58f2");
    }

    // Beyond the limit the file is not read at all: the item comes at once.
    const std::wstring over = sizedFile(L"512 MiB and one.bin", 512 * MiB + 1);
    const BuiltMenu fallback = timedBuild(over, &took);
    EXPECT_EQ(fallback.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    EXPECT_EQ(fallback.ours().text, L"Velkscope");
    EXPECT_LT(took, static_cast<double>(velk::kShellReadBudget.count()) / 2);
}

TEST_F(ShellMenu, ComputeAllAbove128MiBComputesTheLabelDigestOnly) {
    writeConfig(R"({"compute_all_menus":1})");
    const std::wstring path = sizedFile(L"200 MiB.bin", 200 * MiB);
    double took = 0;
    const BuiltMenu built = timedBuild(path, &took);
    if (!hashedWithinTheBudget(built, took))
        return;
    EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 14));
    // MD5 of 209,715,200 zero bytes.
    EXPECT_EQ(built.ours().text, L"Hashes 3566-ae9b");
    const MenuEntryView& more = built.ours().children.at(1);
    ASSERT_EQ(more.children.size(), 11u);
    for (std::size_t i = 0; i < more.children.size(); ++i) {
        if (velk::kAlgorithmNames[i] == "MD5")
            EXPECT_EQ(more.children[i].text, L"MD5 (default) 3566de3a97906edb98d004d6b947ae9b");
        else
            EXPECT_EQ(more.children[i].text, w(velk::kAlgorithmNames[i]));
    }
}

TEST_F(ShellMenu, RangeOfOneIdHoldsOnlyCopy) {
    const BuiltMenu built = build({file(L"one id.txt", kSample)}, 500, 500);
    EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    expectHostAround(built, 1);
    const MenuEntryView& hashes = built.ours();
    ASSERT_EQ(hashes.children.size(), 2u);
    EXPECT_EQ(hashes.children[0].text, L"Copy");
    EXPECT_EQ(hashes.children[0].id, 500u);
    EXPECT_EQ(hashes.children[1].text, L"Copy More");
    EXPECT_TRUE(hashes.children[1].popup);
    EXPECT_TRUE(hashes.children[1].children.empty());
}

TEST_F(ShellMenu, SecondInitializeReplacesTheSelection) {
    const std::wstring first = file(L"first pick.txt", "first");
    const std::wstring second = file(L"second pick.txt", "second");
    const std::wstring third = file(L"third pick.txt", "third");
    BuiltMenu built = build({first, second, third});
    EXPECT_EQ(built.ours().text, L"Hashes");

    // The same object now gets one file: its own menu, not the three-file one.
    ComRef<IDataObject> data = shellDataObject({second});
    ASSERT_EQ(built.init->Initialize(nullptr, data.get(), nullptr), S_OK);
    // What the last menu recorded belongs to the old selection.
    EXPECT_EQ(built.invoke(0), E_FAIL);
    rebuild(built);
    EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 14));
    EXPECT_EQ(built.ours().text, w("Hashes " + shortLabel(digestsOf(second).at("MD5"))));

    // A failed Initialize leaves no selection behind.
    ASSERT_EQ(built.init->Initialize(nullptr, nullptr, nullptr), E_FAIL);
    rebuild(built);
    EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0));
    EXPECT_EQ(built.entries.size(), 2u);
}

} // namespace
