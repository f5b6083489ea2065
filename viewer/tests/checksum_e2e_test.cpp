// The viewer checks its file against a checksum file beside it by itself, and copies a digest
// as a checksum line on a right-click.

#include "viewer_test_support.h"

namespace velk::test {
namespace {

using ViewerChecksumFile = ViewerTest;

// Generous bounds: on a loaded machine a viewer under Wine can take seconds to show up.
constexpr DWORD kStartMs = 30000;
constexpr DWORD kResultMs = 30000;

std::wstring statusOf(Viewer& viewer) {
    return textOf(viewer.control(kStatus));
}

bool statusBecomes(Viewer& viewer, const std::wstring& text) {
    return waitUntil([&] { return statusOf(viewer) == text; }, kResultMs);
}

// What the status line shows a while after the digests arrived; the search for a checksum
// file follows the digests within milliseconds, so two seconds of silence mean none.
std::wstring statusAfterTheDigests(const std::wstring& path, const std::wstring& appData) {
    Viewer viewer(quoted(path), appData);
    EXPECT_NE(viewer.window(kStartMs), nullptr);
    EXPECT_TRUE(viewer.waitForResult(kResultMs));
    Sleep(2000);
    return statusOf(viewer);
}

// Opens a viewer on the file and expects its status line to become `text` by itself.
void expectStatusByItself(const std::wstring& path, const std::wstring& appData,
                          const std::wstring& text) {
    Viewer viewer(quoted(path), appData);
    ASSERT_NE(viewer.window(kStartMs), nullptr);
    ASSERT_TRUE(viewer.waitForResult(kResultMs));
    EXPECT_TRUE(statusBecomes(viewer, text)) << narrow(statusOf(viewer));
}

TEST_F(ViewerChecksumFile, AListBesideTheFileShowsMatchOrNoMatchByItself) {
    const std::wstring path = sampleFile(L"disc.iso");
    files.write(L"SHA256SUMS",
                std::string(64, '0') + "  other.iso\n" + expected.at("SHA-256") + "  disc.iso\n");
    {
        Viewer viewer(quoted(path), appData.folder.path());
        ASSERT_NE(viewer.window(kStartMs), nullptr);
        ASSERT_TRUE(viewer.waitForResult(kResultMs));
        EXPECT_TRUE(statusBecomes(viewer, L"\u2714 MATCH  SHA-256 matches SHA256SUMS."))
            << narrow(statusOf(viewer));
        // A later Check replaces the line as before.
        ASSERT_TRUE(setClipboardText(wide(expected.at("MD5"))));
        viewer.click(viewer.control(kCheck));
        EXPECT_EQ(statusOf(viewer), L"\u2714 MATCH  MD5 matches this file.");
    }
    files.write(L"SHA256SUMS", std::string(64, 'f') + " *disc.iso\n");
    expectStatusByItself(path, appData.folder.path(),
                         L"\u2718 NO MATCH  SHA-256 differs from SHA256SUMS.");
}

TEST_F(ViewerChecksumFile, NoListOrOnlyHostileOnesChangeNothing) {
    const std::wstring path = sampleFile(L"disc.iso");
    EXPECT_EQ(statusAfterTheDigests(path, appData.folder.path()), L"");
    // Too large, garbage, a line over the bound, and a list that names only other files.
    files.write(L"SHA256SUMS",
                expected.at("SHA-256") + "  disc.iso\n" + std::string(20u << 20, '#'));
    files.write(L"disc.iso.sha256", randomBytes(50000, 9));
    files.write(L"MD5SUMS", std::string(70000, 'x') + "\n" + expected.at("MD5") + "  disc.iso\n");
    files.write(L"other.md5", expected.at("MD5") + "  other.iso\n");
    EXPECT_EQ(statusAfterTheDigests(path, appData.folder.path()), L"");
    // Past them, a good list still speaks.
    files.write(L"release.sfv", "; made by hand\r\ndisc.iso " + expected.at("CRC32") + "\r\n");
    expectStatusByItself(path, appData.folder.path(), L"\u2714 MATCH  CRC32 matches release.sfv.");
}

TEST_F(ViewerChecksumFile, RightClickOnCopyCopiesAChecksumLine) {
    const std::wstring path = sampleFile(L"disc 1.iso");
    Viewer viewer(quoted(path), appData.folder.path());
    ASSERT_NE(viewer.window(kStartMs), nullptr);
    ASSERT_TRUE(viewer.waitForResult(kResultMs));
    const std::size_t sha256Row = 4;
    HWND button = viewer.copyButton(sha256Row);
    // A right-click on a button: the button's default handling turns the release into a
    // context-menu request, which goes on to the button's parent.
    RECT r{};
    GetClientRect(button, &r);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(button, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(r.right / 2, r.bottom / 2),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    SendMessageTimeoutW(button, WM_RBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom / 2),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    std::wstring copied;
    EXPECT_TRUE(waitUntil(
        [&] {
            return clipboardText(copied) &&
                   copied == wide(expected.at("SHA-256")) + L"  disc 1.iso";
        },
        5000))
        << narrow(copied);
    EXPECT_EQ(statusOf(viewer), L"Copied SHA-256 checksum line to clipboard.");
    // A left click still copies the bare digest.
    viewer.click(button);
    ASSERT_TRUE(clipboardText(copied));
    EXPECT_EQ(copied, wide(expected.at("SHA-256")));
}

} // namespace
} // namespace velk::test
