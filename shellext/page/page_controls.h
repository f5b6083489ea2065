#pragma once
// The controls of the "Hashes" page as plain records, in creation order, and the texts that
// decide what the page shows. The dialog procedure creates one window per record.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velk {

// 512 MiB: a file of exactly this size is hashed on the page, one byte more is not.
inline constexpr long long kPageHashLimit = 536870912;

// Sent by the page's worker with its PageHashMessage (WM_APP + 2).
inline constexpr unsigned kPageHashesDoneMessage = 0x8000 + 2;

inline constexpr int ID_PAGE_COPY_BASE = 2000; // row i has 2000 + i
inline constexpr int ID_PAGE_CHECK = 3000;
inline constexpr int ID_PAGE_CHECK_RESULT = 3001;
inline constexpr int ID_PAGE_ALGO = 3010;
inline constexpr int ID_PAGE_FORMAT = 3011;
inline constexpr int ID_PAGE_OPEN_VIEWER = 3012;
inline constexpr int ID_PAGE_COMPUTE = 3013;

// Window styles as the platform numbers them, so the table can be checked without windows.h
// (the Win32 side asserts that they agree).
namespace page_style {
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kDisabled = 0x08000000;
inline constexpr std::uint32_t kVScroll = 0x00200000;
inline constexpr std::uint32_t kTabStop = 0x00010000;
inline constexpr std::uint32_t kPushButton = 0x0000;
inline constexpr std::uint32_t kDropDownList = 0x0003;
inline constexpr std::uint32_t kLeftNoWordWrap = 0x000C;
inline constexpr std::uint32_t kCenterImage = 0x0200;
inline constexpr std::uint32_t kMultiLine = 0x0004;
inline constexpr std::uint32_t kReadOnly = 0x0800;
} // namespace page_style

// Which field of the page state a created control is recorded in.
enum class PageControlRole {
    Header,
    OpenViewer,
    SettingsLabel,
    AlgoCombo,
    FormatCombo,
    Preview,
    CopyButton,
    NameLabel,
    DigestEdit,
    ComputeButton,
    CheckButton,
    CheckResult,
};

enum class PageFont { Ui, Mono };

struct PageControlSpec {
    PageControlRole role = PageControlRole::Header;
    const char* className = "STATIC";
    std::string text; // UTF-8
    int id = 0;
    std::uint32_t style = 0; // beyond WS_CHILD | WS_VISIBLE
    PageFont font = PageFont::Ui;
    int row = -1; // algorithm row of the per-row controls
};

// Every control in creation order, which is also the visual and the Tab order: the header,
// the Open button (too large only), the settings row, then Copy / name / digest for each
// algorithm (hashable files only), or the "Compute" button in their place when the file is
// elsewhere and is read only on request (`onRequest`), then Check and its result line. Every
// control the user can act on is a tab stop; captions carry their access keys ("&Check"). For a
// file too large to hash, the result line starts with pageTooLargeCheckText.
std::vector<PageControlSpec> pageControlTable(const std::string& headerText, bool tooLarge,
                                              bool resultsReady, bool onRequest = false);

// Copy / name / digest for each algorithm, as the table holds them.
std::vector<PageControlSpec> pageRowControls();

// "Shortcut target: " + target for a resolved shortcut; the too-large notice for a file
// above the limit; otherwise empty. `targetUtf8` is the path the page works on.
std::string pageHeaderText(bool isResolvedShortcut, bool tooLarge, const std::string& targetUtf8);

bool pageFileTooLarge(long long size);

// Beside the disabled Check button of a file too large to hash here: what to do instead.
std::string pageTooLargeCheckText();

// True when the path names a shortcut: more than 3 characters and a last four of ".lnk" in
// any letter case.
bool hasShortcutExtension(const std::wstring& path);

// The row of a Copy button's command identifier, or -1 when `id` is no Copy button.
int pageCopyRow(int id, std::size_t rowCount);

} // namespace velk
