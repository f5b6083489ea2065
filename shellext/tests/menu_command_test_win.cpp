// InvokeCommand and GetCommandString through the registered object: the clipboard, the
// stand-in viewer beside the DLL, and the message boxes of the clipboard check.

#include "shell_data_object.h"
#include "shell_menu_fixture.h"
#include "test_files.h"

#include <algorithm>
#include <chrono>
#include <set>

namespace {

const long long MiB = 1024 * 1024;
const std::string kSample = "Five boxing wizards jump quickly\n";

std::wstring w(const std::string& text) {
    return narrowToWide(text);
}

// Offsets in the one-file menu when only the label digest is known.
const UINT kCopy = 0;
const UINT kCheck = 12;
const UINT kOpen = 13;
UINT moreOffset(const std::string& name) {
    const auto& names = velk::kAlgorithmNames;
    return 1 + static_cast<UINT>(std::find(names.begin(), names.end(), name) - names.begin());
}

std::set<std::wstring> argumentsOf(const std::vector<ViewerStart>& starts) {
    std::set<std::wstring> arguments;
    for (const ViewerStart& start : starts) {
        EXPECT_EQ(start.arguments.size(), 1u) << wideToNarrow(start.commandLine);
        if (!start.arguments.empty())
            arguments.insert(start.arguments[0]);
    }
    return arguments;
}

using ShellCommand = ShellMenuTest;

TEST_F(ShellCommand, CopyPutsExactlyTheDigestOnTheClipboard) {
    writeConfig(R"({"compute_all_menus":1})");
    const std::wstring path = file(L"copy me.txt", kSample);
    const velk::HashResults d = digestsOf(path);
    const BuiltMenu built = build({path});
    const auto& more = built.ours().children.at(1).children;

    ASSERT_TRUE(putClipboardTextAndPrivateFormat(L"something else"));
    EXPECT_EQ(built.invoke(kCopy), S_OK);
    bool present = false;
    EXPECT_EQ(clipboardText(&present), w(d.at("MD5")));
    EXPECT_TRUE(present);
    EXPECT_FALSE(clipboardHasPrivateFormat()) << "the copy replaces the clipboard content";

    // Every "Copy More" line, wrapped ones included, copies its algorithm's whole digest.
    const std::wstring continuation = L"   \x21B3 ";
    std::string owner;
    for (std::size_t i = 0; i < more.size(); ++i) {
        if (more[i].text.compare(0, continuation.size(), continuation) != 0)
            owner = wideToNarrow(more[i].text.substr(0, more[i].text.find(L' ')));
        ASSERT_TRUE(putClipboardText(L"old"));
        EXPECT_EQ(built.invoke(static_cast<UINT>(1 + i)), S_OK);
        EXPECT_EQ(clipboardText(), w(d.at(owner))) << wideToNarrow(more[i].text);
    }
}

TEST_F(ShellCommand, ComputeAndCopyComputesOrOpensTheViewerAbove512MiB) {
    const std::wstring path = file(L"compute on demand.bin", kSample);
    const velk::HashResults d = digestsOf(path);
    const BuiltMenu built = build({path});
    for (const char* name : {"SHA-384", "CRC32", "BLAKE2s"}) {
        ASSERT_TRUE(putClipboardText(L"old"));
        EXPECT_EQ(built.invoke(moreOffset(name)), S_OK);
        EXPECT_EQ(clipboardText(), w(d.at(name))) << name;
    }
    EXPECT_TRUE(starts().waitFor(0, 0).empty());

    // Grown past the limit after the menu was built: the viewer gets the file instead.
    ASSERT_TRUE(makeSizedFile(path, 600 * MiB));
    ASSERT_TRUE(putClipboardText(L"old"));
    EXPECT_EQ(built.invoke(moreOffset("SHA-384")), S_OK);
    EXPECT_EQ(clipboardText(), L"old");
    const auto launched = starts().waitFor(1);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(argumentsOf(launched), std::set<std::wstring>{path});
}

TEST_F(ShellCommand, OpenStartsTheViewerBesideTheDllWithThePathAsOneArgument) {
    const std::wstring path = file(L"open me with spaces.txt", kSample);
    const BuiltMenu built = build({path});
    EXPECT_EQ(built.invoke(kOpen), S_OK);
    const auto launched = starts().waitFor(1);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].program, dllFolder() + L"\\velkscope.exe");
    EXPECT_EQ(launched[0].arguments, std::vector<std::wstring>{path});
    EXPECT_NE(launched[0].commandLine.find(L"\"" + path + L"\""), std::wstring::npos)
        << wideToNarrow(launched[0].commandLine);
}

// A checksum file, known by its name alone, gets one more item that opens the list window on
// it; any other file does not.
TEST_F(ShellCommand, AChecksumFileOpensTheCheckWindow) {
    const std::wstring sums = file(L"SHA256SUMS", std::string(64, 'a') + "  other.iso\n");
    const BuiltMenu built = build({sums});
    ASSERT_EQ(built.ours().children.size(), 5u);
    EXPECT_EQ(built.ours().children[3].text, L"Open Velkscope...");
    EXPECT_EQ(built.ours().children[4].text, L"Check Listed Files...");
    EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, kOpen + 2));
    EXPECT_EQ(built.invoke(kOpen + 1), S_OK);
    const auto launched = starts().waitFor(1);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].program, dllFolder() + L"\\velkscope.exe");
    EXPECT_EQ(launched[0].arguments, (std::vector<std::wstring>{L"--check", sums}));

    for (const wchar_t* other : {L"report.pdf", L"md5.exe"}) {
        const BuiltMenu plain = build({file(other, kSample)});
        EXPECT_EQ(plain.ours().children.size(), 4u) << wideToNarrow(other);
    }
}

// Several files (no folder) can become one list: one viewer starts with every path.
TEST_F(ShellCommand, SeveralFilesMakeOneListInOneWindow) {
    std::vector<std::wstring> three;
    for (int i = 0; i < 3; ++i)
        three.push_back(file(L"listed " + std::to_wstring(i) + L".bin", kSample));
    const BuiltMenu built = build(three);
    ASSERT_EQ(built.ours().children.size(), 2u);
    EXPECT_EQ(built.ours().children[1].text, L"Create Checksum File...");
    EXPECT_EQ(built.invoke(1), S_OK);
    const auto launched = starts().waitFor(1);
    ASSERT_EQ(launched.size(), 1u);
    std::vector<std::wstring> expected = {L"--create"};
    expected.insert(expected.end(), three.begin(), three.end());
    EXPECT_EQ(launched[0].arguments, expected);

    // A folder among them, or a path that is no file: only the viewers can be opened.
    for (const std::wstring& odd :
         {folder(L"a listed folder"), std::wstring(L"C:\\no such file")}) {
        const BuiltMenu mixed = build({three[0], odd}, 100, 0x7FFF, CMF_NORMAL, true);
        EXPECT_EQ(mixed.ours().children.size(), 1u) << wideToNarrow(odd);
    }
}

TEST_F(ShellCommand, FallbackItemOpensTheViewer) {
    const std::wstring path = sizedFile(L"too big for the menu.bin", 512 * MiB + 1);
    const BuiltMenu built = build({path});
    ASSERT_EQ(built.ours().text, L"Velkscope");
    EXPECT_EQ(built.invoke(0), S_OK);
    EXPECT_EQ(argumentsOf(starts().waitFor(1)), std::set<std::wstring>{path});
}

TEST_F(ShellCommand, SeveralFilesStartOneViewerEachUpToTwenty) {
    std::vector<std::wstring> three;
    for (int i = 0; i < 3; ++i)
        three.push_back(file(L"three " + std::to_wstring(i) + L".txt", kSample));
    {
        const BuiltMenu built = build(three);
        MessageBoxWatcher boxes;
        EXPECT_EQ(built.invoke(0), S_OK);
        EXPECT_TRUE(boxes.finish().empty());
        EXPECT_EQ(argumentsOf(starts().waitFor(3)),
                  std::set<std::wstring>(three.begin(), three.end()));
    }
    starts().clear();

    std::vector<std::wstring> many;
    for (int i = 0; i < 25; ++i)
        many.push_back(file(L"many " + std::to_wstring(100 + i) + L".txt", kSample));
    const BuiltMenu built = build(many);
    MessageBoxWatcher boxes;
    EXPECT_EQ(built.invoke(0), S_OK);
    const auto seen = boxes.finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Opened the first 20 of 25 selected files.");
    EXPECT_EQ(seen[0].caption, L"Velkora");
    EXPECT_EQ(seen[0].icon, 'i');
    EXPECT_EQ(argumentsOf(starts().waitFor(20)),
              std::set<std::wstring>(many.begin(), many.begin() + 20));
}

TEST_F(ShellCommand, CompareStartsOneViewerWithBothPathsAndReadsNeither) {
    // Reading either file on the shell's thread would take far longer than the bound below
    // (under Wine even the fastest digest takes seconds per GiB).
    const std::wstring a = sizedFile(L"compare big a.bin", 4096 * MiB);
    const std::wstring b = sizedFile(L"compare big b.bin", 4096 * MiB);
    const auto start = std::chrono::steady_clock::now();
    const BuiltMenu built = build({a, b});
    ASSERT_EQ(built.ours().children.size(), 3u);
    ASSERT_EQ(built.ours().children[1].text, L"Compare the Two Files");
    MessageBoxWatcher boxes;
    EXPECT_EQ(built.invoke(1), S_OK);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(8)) << "the shell's thread waited for a read";
    EXPECT_TRUE(boxes.finish().empty());

    const auto launched = starts().waitFor(1);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].program, dllFolder() + L"\\velkscope.exe");
    EXPECT_EQ(launched[0].arguments, (std::vector<std::wstring>{L"--compare", a, b}));
    EXPECT_NE(launched[0].commandLine.find(L"--compare \"" + a + L"\" \"" + b + L"\""),
              std::wstring::npos)
        << wideToNarrow(launched[0].commandLine);
}

TEST_F(ShellCommand, LongSelectedPathReachesTheViewerWhole) {
    const std::wstring longPath = L"C:\\" + std::wstring(296, L'q') + L".txt"; // 300
    const std::wstring other = file(L"beside a long one.txt", kSample);
    const BuiltMenu built = build({longPath, other}, 100, 0x7FFF, CMF_NORMAL, true);
    ASSERT_EQ(built.ours().text, L"Hashes");
    EXPECT_EQ(built.invoke(0), S_OK);
    EXPECT_EQ(argumentsOf(starts().waitFor(2)), (std::set<std::wstring>{longPath, other}));
}

TEST_F(ShellCommand, AfterASecondInitializeTheViewerOpensTheNewFile) {
    const std::wstring a = file(L"order a.txt", "a");
    const std::wstring b = file(L"order b.txt", "b");
    BuiltMenu built = build({b});
    ComRef<IDataObject> data = shellDataObject({a});
    ASSERT_EQ(built.init->Initialize(nullptr, data.get(), nullptr), S_OK);
    rebuild(built);
    EXPECT_EQ(built.invoke(kOpen), S_OK);
    EXPECT_EQ(argumentsOf(starts().waitFor(1)), std::set<std::wstring>{a});
}

TEST_F(ShellCommand, VerbStringsAndOffsetsOutsideTheTableFail) {
    const std::wstring path = file(L"bad offsets.txt", kSample);
    const BuiltMenu built = build({path});
    ASSERT_TRUE(putClipboardText(L"untouched"));
    EXPECT_EQ(built.invokeVerb("open"), E_FAIL);
    EXPECT_EQ(built.invoke(14), E_FAIL); // the number of commands
    EXPECT_EQ(built.invoke(0xFFFF), E_FAIL);
    EXPECT_EQ(clipboardText(), L"untouched");
    EXPECT_TRUE(starts().waitFor(0, 0).empty());
}

TEST_F(ShellCommand, HelpTextForEveryItemAndNoVerbs) {
    const BuiltMenu built = build({file(L"help text.txt", kSample)});
    wchar_t wide[64];
    std::fill(std::begin(wide), std::end(wide), L'#');
    EXPECT_EQ(
        built.menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(wide), 5),
        S_OK);
    EXPECT_EQ(std::wstring(wide), L"Hash");
    EXPECT_EQ(wide[5], L'#');
    EXPECT_EQ(
        built.menu->GetCommandString(7, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(wide), 64),
        S_OK);
    EXPECT_EQ(std::wstring(wide), L"Hash tools for this file");
    char narrow[64] = {};
    EXPECT_EQ(built.menu->GetCommandString(13, GCS_HELPTEXTA, nullptr, narrow, 64), S_OK);
    EXPECT_EQ(std::string(narrow), "Hash tools for this file");
    for (UINT type : {GCS_VERBW, GCS_VERBA, GCS_VALIDATEW, GCS_VALIDATEA})
        EXPECT_EQ(built.menu->GetCommandString(0, type, nullptr, narrow, 64), E_NOTIMPL) << type;
}

// The six answers of "Clipboard Check".
struct CheckCase {
    const char* what;
    std::string content;
    bool computeAll;
    std::wstring clipboard;
    enum Change { None, Grow300MiB, Delete } change;
    std::wstring text;
    std::wstring caption;
    char icon;
};

TEST_F(ShellCommand, ClipboardCheckAnswersWithItsSixMessages) {
    const std::wstring sampleMd5 = w(digestsOf(file(L"check probe.txt", kSample)).at("MD5"));
    const std::wstring sampleSha256 = w(digestsOf(file(L"check probe.txt", kSample)).at("SHA-256"));
    const std::wstring check = L"Clipboard Check";
    const CheckCase cases[] = {
        {"match after normalising", "", false, L"  0XD41D8CD98F00B204E9800998ECF8427E\r\n",
         CheckCase::None, L"\x2714 MATCH\n\nThe clipboard matches this file's MD5 hash.", check,
         'i'},
        {"match of one 64-character digest", kSample, false, sampleSha256, CheckCase::None,
         L"\x2714 MATCH\n\nThe clipboard matches this file's SHA-256 hash.", check, 'i'},
        {"no match", kSample, false, std::wstring(64, L'a'), CheckCase::None,
         L"\x2718 NO MATCH\n\nThe clipboard is a 64-character hash (SHA-256 / SHA3-256 / BLAKE2s "
         L"length) but does not match this file.",
         check, 'x'},
        {"wrong length", kSample, false, L"abc xyz", CheckCase::None,
         L"The clipboard hash length doesn't match any of this file's hashes.", check, '!'},
        {"not a hash", kSample, false, L"0x", CheckCase::None,
         L"The clipboard is empty or not a hexadecimal hash.", check, '!'},
        {"large file", kSample, false, sampleMd5, CheckCase::Grow300MiB,
         L"This file is large. Open the Velkscope to compute its hashes, then compare.", L"Velkora",
         'i'},
        {"unreadable file", kSample, false, sampleMd5, CheckCase::Delete, L"Could not read file.",
         check, 'x'},
        {"deleted but computed by the menu", kSample, true, sampleMd5, CheckCase::Delete,
         L"\x2714 MATCH\n\nThe clipboard matches this file's MD5 hash.", check, 'i'},
        {"large but computed by the menu", kSample, true, sampleMd5, CheckCase::Grow300MiB,
         L"\x2714 MATCH\n\nThe clipboard matches this file's MD5 hash.", check, 'i'},
    };
    int n = 0;
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.what);
        writeConfig(c.computeAll ? R"({"compute_all_menus":1})" : "{}");
        const std::wstring path = file(L"check " + std::to_wstring(n++) + L".txt", c.content);
        const BuiltMenu built = build({path});
        ASSERT_EQ(built.ours().children.size(), 4u);
        const UINT offset = built.ours().children[2].id - 100;
        if (c.change == CheckCase::Grow300MiB) {
            ASSERT_TRUE(makeSizedFile(path, 300 * MiB));
        }
        if (c.change == CheckCase::Delete) {
            ASSERT_TRUE(DeleteFileW(path.c_str()));
        }
        ASSERT_TRUE(putClipboardText(c.clipboard));
        MessageBoxWatcher boxes;
        EXPECT_EQ(built.invoke(offset), S_OK);
        const auto seen = boxes.finish();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, c.text);
        EXPECT_EQ(seen[0].caption, c.caption);
        EXPECT_EQ(seen[0].icon, c.icon);
        EXPECT_EQ(clipboardText(), c.clipboard) << "the check only reads the clipboard";
    }
}

} // namespace
