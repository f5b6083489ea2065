#pragma once
// The context menu as plain data: limits, the item tree for one file, several files or the
// fallback, the "Copy More" lines, and the placing of command ids within the shell's range.

#include "engine/algorithms.h"
#include "shellext/menu/menu_command.h"

#include <functional>
#include <string>
#include <vector>

namespace velk {

// Largest file whose eleven digests are computed while the menu opens.
inline constexpr long long kMenuComputeAllLimit = 134217728; // 128 MiB
// Largest file whose label digest is computed while the menu opens; also the largest
// file "Copy More" computes a digest for on demand.
inline constexpr long long kMenuSingleDigestLimit = 536870912; // 512 MiB

inline constexpr std::size_t kNameColumnWidth = 9;
inline constexpr const char* kDefaultSuffix = " (default)";
inline constexpr const char* kContinuationPrefix = "   \xE2\x86\xB3 "; // "   ↳ "
inline constexpr double kMaxItemWidthFraction = 0.6;

// How much of the file the menu hashes before it is shown.
enum class MenuHashing {
    AllDigests,  // compute_all_menus on and within kMenuComputeAllLimit
    LabelDigest, // within kMenuSingleDigestLimit
    None,        // too large: the fallback item only
};
MenuHashing chooseMenuHashing(bool computeAllMenus, long long size);

// Pixel width of a UTF-8 text in the menu's font.
using TextMeasure = std::function<long(const std::string&)>;

// Widest item in pixels: the screen width times kMaxItemWidthFraction, truncated.
long maxItemWidth(long screenWidth);

// The "Copy More" lines of one algorithm: name (with kDefaultSuffix for the label
// algorithm) padded to kNameColumnWidth plus one space, then the digest; wrapped when
// wider than maxWidth (maxWidth <= 0: never), continuation lines starting with
// kContinuationPrefix, each line as long as fits and holding at least one digest character.
std::vector<std::string> buildItemLines(const std::string& name, const std::string& digest,
                                        bool isLabel, const TextMeasure& measure, long maxWidth);

// One menu entry: a popup with children, or a command item.
struct MenuNode {
    std::string text; // UTF-8
    bool popup = false;
    std::vector<MenuNode> children; // popups only
    MenuCommand command;            // items only
    unsigned id = 0;                // items only, set by placeMenu
};

// What a selected path is, as far as the menu needs to know.
enum class SelectedKind { File, Folder, Unknown };

// True for exactly two selected paths that are both files (not folders, not unexaminable).
bool offersCompare(const std::vector<SelectedKind>& selection);

// True when every selected path is a file: the selection can become one checksum list.
bool offersList(const std::vector<SelectedKind>& selection);

// "Hashes" with the item "Open Velkscope" (OpenSelected), followed by "Compare the Two
// Files" (CompareTwo) and "Create Checksum File..." (CreateChecksumFile, last) when offered.
MenuNode selectionMenu(bool offerCompare, bool offerList);
// The single item "Velkscope" (OpenViewer) for a file that is not hashed.
MenuNode fallbackItem();

// What the one-file menu shows.
struct FileMenuInput {
    std::string labelAlgorithm; // normalised
    std::string labelFormat;    // normalised
    std::string labelDigest;
    const HashResults* allDigests = nullptr; // set only when all eleven were computed
    bool checksumFile = false;               // the file's name marks it as a checksum file
};
// "Hashes " + label, holding "Copy", "Copy More" (one entry or several lines per algorithm
// in catalogue order), "Clipboard Check" and "Open Velkscope...", then "Check Listed
// Files..." for a checksum file.
MenuNode fileMenu(const FileMenuInput& input, const TextMeasure& measure, long maxWidth);

// The entries to insert at the menu position, with ids given in tree order from
// idCmdFirst; items whose id would pass idCmdLast are dropped (popups stay, even empty).
// commands[i] is the item with id idCmdFirst + i.
struct PlacedMenu {
    std::vector<MenuNode> entries; // zero or one top-level entry
    std::vector<MenuCommand> commands;
};
PlacedMenu placeMenu(MenuNode top, unsigned idCmdFirst, unsigned idCmdLast);

} // namespace velk
