#pragma once
// One entry of an object's command table: what the item at that offset does.

#include <cstdint>
#include <string>

namespace velk {

enum class MenuCommandKind : std::int32_t {
    CopyDigest = 0,
    ComputeAndCopy = 1,
    ClipboardCheck = 2,
    OpenViewer = 3,
    OpenSelected = 4,
    CompareTwo = 5,         // one viewer comparing the two selected files
    CheckListedFiles = 6,   // velkscope --check on the one (checksum) file
    CreateChecksumFile = 7, // velkscope --create on every selected file
};

struct MenuCommand {
    MenuCommandKind kind = MenuCommandKind::CopyDigest;
    std::string digest;    // the text to copy, where the kind copies one
    std::string algorithm; // catalogue name, where the kind needs one
};

inline bool operator==(const MenuCommand& a, const MenuCommand& b) {
    return a.kind == b.kind && a.digest == b.digest && a.algorithm == b.algorithm;
}

} // namespace velk
