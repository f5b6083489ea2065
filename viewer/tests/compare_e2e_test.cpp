// Comparing two files in the viewer: from the command line and by a drop on the window.

#include "viewer_test_support.h"

#include <shlobj.h>

namespace velk::test {
namespace {

// Generous bounds: on a loaded machine a viewer under Wine can take seconds to show up.
constexpr DWORD kStartMs = 30000;
constexpr DWORD kResultMs = 30000;

const std::wstring kAgrees = L"\u2714 ";
const std::wstring kDiffers = L"\u2718 ";

std::wstring statusOf(Viewer& viewer) {
    return textOf(viewer.control(kStatus));
}

bool statusBecomes(Viewer& viewer, const std::wstring& text, DWORD timeoutMs = kResultMs) {
    return waitUntil([&] { return statusOf(viewer) == text; }, timeoutMs);
}

HWND nameLabel(Viewer& viewer, std::size_t row) {
    return viewer.control(7 + 3 * row + 1);
}

// Every row's name carries the mark (empty: none).
void expectRowMarks(Viewer& viewer, const std::wstring& mark) {
    for (std::size_t row = 0; row < kAlgorithmNames.size(); ++row) {
        EXPECT_EQ(textOf(nameLabel(viewer, row)), mark + wide(kAlgorithmNames[row])) << row;
    }
}

// The rows still show this file's own digests.
void expectOwnDigests(Viewer& viewer, const HashResults& expected) {
    for (std::size_t row = 0; row < kAlgorithmNames.size(); ++row) {
        EXPECT_EQ(narrow(textOf(viewer.valueBox(row))), expected.at(kAlgorithmNames[row])) << row;
    }
}

std::wstring identical(const std::wstring& name) {
    return kAgrees + L"IDENTICAL  all eleven digests match " + name + L".";
}

std::wstring different(const std::wstring& name) {
    return kDiffers + L"DIFFERENT  " + name + L" has other digests.";
}

// A drop of the paths on the viewer's window. Wine does not carry a drop handle from another
// process, so the DROPFILES block is written into the viewer's own memory; the message is
// sent, so the block is freed only after the viewer has read it.
void dropOn(Viewer& viewer, const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths)
        list += path + L'\0';
    list += L'\0'; // the list ends with an empty entry
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.pt = {40, 40};
    header.fWide = TRUE;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(list.data()), list.size() * sizeof(wchar_t));
    RemoteBlock block(viewer.process(), bytes.size());
    ASSERT_TRUE(block.ok());
    ASSERT_TRUE(block.write(bytes.data(), bytes.size()));
    DWORD_PTR ignored = 0;
    ASSERT_NE(SendMessageTimeoutW(viewer.window(), WM_DROPFILES,
                                  reinterpret_cast<WPARAM>(block.at<void>()), 0, SMTO_ABORTIFHUNG,
                                  kResultMs, &ignored),
              0);
}

class ViewerCompare : public ViewerTest {
  protected:
    // A 3 MiB file, its copy, the same with its last byte changed, and one byte shorter.
    void SetUp() override {
        const std::string bytes = randomBytes(3 << 20, 21);
        original = files.write(L"original.iso", bytes);
        copy = files.write(L"copy of original.iso", bytes);
        std::string changedBytes = bytes;
        changedBytes.back() = static_cast<char>(changedBytes.back() ^ 0x01);
        changed = files.write(L"changed.iso", changedBytes);
        shorter = files.write(L"shorter.iso", bytes.substr(0, bytes.size() - 1));
        std::string error;
        ASSERT_TRUE(computeAllHashes(narrow(original), expected, &error)) << error;
    }

    // A viewer comparing the original with the other file.
    std::unique_ptr<Viewer> comparing(const std::wstring& other) {
        auto viewer = std::make_unique<Viewer>(L"--compare " + test::quoted(original) + L" " +
                                                   test::quoted(other),
                                               appData.folder.path());
        EXPECT_NE(viewer->window(kStartMs), nullptr);
        return viewer;
    }

    std::wstring original, copy, changed, shorter;
};

TEST_F(ViewerCompare, IdenticalCopiesAgreeOnEveryRow) {
    auto viewer = comparing(copy);
    ASSERT_TRUE(statusBecomes(*viewer, identical(L"copy of original.iso")))
        << narrow(statusOf(*viewer));
    EXPECT_EQ(textOf(viewer->control(kFileName)), L"original.iso");
    expectRowMarks(*viewer, kAgrees);
    expectOwnDigests(*viewer, expected);
    viewer->close();
    EXPECT_EQ(viewer->waitForExit(5000), 0u);
}

TEST_F(ViewerCompare, OneByteChangedAtTheEndDiffersOnEveryRow) {
    auto viewer = comparing(changed);
    ASSERT_TRUE(statusBecomes(*viewer, different(L"changed.iso"))) << narrow(statusOf(*viewer));
    expectRowMarks(*viewer, kDiffers);
    expectOwnDigests(*viewer, expected);
}

TEST_F(ViewerCompare, DifferentSizesAreSaidThenTheDigestsStillFinish) {
    auto viewer = comparing(shorter);
    const std::wstring sizes =
        kDiffers + L"DIFFERENT  shorter.iso is 3145727 bytes, this file is 3145728 bytes.";
    ASSERT_TRUE(statusBecomes(*viewer, sizes)) << narrow(statusOf(*viewer));
    // The rows are marked once both passes are done; the size line stays.
    EXPECT_TRUE(waitUntil([&] { return textOf(nameLabel(*viewer, 10)) == kDiffers + L"BLAKE2s"; },
                          kResultMs));
    expectRowMarks(*viewer, kDiffers);
    expectOwnDigests(*viewer, expected);
    EXPECT_EQ(statusOf(*viewer), sizes);
}

TEST_F(ViewerCompare, SizesComeAtOnceAndClosingDoesNotWaitForEitherPass) {
    // Passes over sparse files this large take minutes under Wine: both are still running.
    const std::wstring big = sparseFile(files, L"big.img", 2ll << 30);
    const std::wstring bigger = sparseFile(files, L"bigger.img", (2ll << 30) + 1);
    Viewer viewer(L"--compare " + test::quoted(big) + L" " + test::quoted(bigger),
                  appData.folder.path());
    ASSERT_NE(viewer.window(kStartMs), nullptr);
    EXPECT_TRUE(
        statusBecomes(viewer, kDiffers + L"DIFFERENT  bigger.img is 2147483649 bytes, this file is "
                                         L"2147483648 bytes."))
        << narrow(statusOf(viewer));
    EXPECT_EQ(textOf(viewer.valueBox(0)), L"computing...");
    expectRowMarks(viewer, L"");

    const ULONGLONG closing = GetTickCount64();
    viewer.close();
    EXPECT_EQ(viewer.waitForExit(5000), 0u);
    EXPECT_LT(GetTickCount64() - closing, 2000u) << "closing waited for a pass";
}

TEST_F(ViewerCompare, AnUnreadableOtherFileIsNamedWithTheEnginesMessage) {
    auto viewer = comparing(files.file(L"gone.iso"));
    ASSERT_TRUE(statusBecomes(*viewer, L"Could not read gone.iso: cannot open file"))
        << narrow(statusOf(*viewer));
    ASSERT_TRUE(viewer->waitForResult(kResultMs));
    expectOwnDigests(*viewer, expected);
    expectRowMarks(*viewer, L"");
    EXPECT_EQ(statusOf(*viewer), L"Could not read gone.iso: cannot open file");
}

TEST_F(ViewerCompare, ADroppedFileIsComparedAndAFolderOrSeveralFilesAreNot) {
    Viewer viewer(test::quoted(original), appData.folder.path());
    ASSERT_NE(viewer.window(kStartMs), nullptr);
    EXPECT_NE(GetWindowLongW(viewer.window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    ASSERT_TRUE(viewer.waitForResult(kResultMs));
    expectRowMarks(viewer, L"");

    dropOn(viewer, {copy});
    ASSERT_TRUE(statusBecomes(viewer, identical(L"copy of original.iso")))
        << narrow(statusOf(viewer));
    expectRowMarks(viewer, kAgrees);

    dropOn(viewer, {changed});
    ASSERT_TRUE(statusBecomes(viewer, different(L"changed.iso"))) << narrow(statusOf(viewer));
    expectRowMarks(viewer, kDiffers);

    const std::wstring oneFile =
        L"Only one file can be dropped here: it is compared with this file.";
    for (const std::vector<std::wstring>& drop :
         {std::vector<std::wstring>{files.path()}, std::vector<std::wstring>{copy, changed}}) {
        dropOn(viewer, drop);
        EXPECT_EQ(statusOf(viewer), oneFile) << drop.size();
    }

    dropOn(viewer, {shorter});
    EXPECT_TRUE(statusBecomes(
        viewer, kDiffers + L"DIFFERENT  shorter.iso is 3145727 bytes, this file is 3145728 bytes."))
        << narrow(statusOf(viewer));
    EXPECT_TRUE(
        waitUntil([&] { return textOf(nameLabel(viewer, 0)) == kDiffers + L"CRC32"; }, kResultMs));
    expectRowMarks(viewer, kDiffers);
    expectOwnDigests(viewer, expected);
}

TEST_F(ViewerCompare, CompareWithoutTwoPathsOrWithoutTheFileExits) {
    {
        Viewer viewer(L"--compare " + test::quoted(original), appData.folder.path());
        HWND box = viewer.messageBox();
        ASSERT_NE(box, nullptr);
        // The box exists a moment before its text does.
        EXPECT_TRUE(waitUntil(
            [&] { return messageBoxText(box) == L"usage: velkscope --compare <file> <other>"; },
            kStartMs))
            << narrow(messageBoxText(box));
        dismissMessageBox(box);
        EXPECT_EQ(viewer.waitForExit(5000), 2u);
    }
    const std::wstring missing = files.file(L"no such file.iso");
    Viewer viewer(L"--compare " + test::quoted(missing) + L" " + test::quoted(copy),
                  appData.folder.path());
    HWND box = viewer.messageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(waitUntil([&] { return messageBoxText(box) == L"Not a regular file:\n" + missing; },
                          kStartMs))
        << narrow(messageBoxText(box));
    dismissMessageBox(box);
    EXPECT_EQ(viewer.waitForExit(5000), 1u);
}

} // namespace
} // namespace velk::test
