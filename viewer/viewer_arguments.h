#pragma once
// The viewer's command line: "velkscope FILE" shows one file; "velkscope --compare FILE OTHER"
// shows FILE and compares it with OTHER; "velkscope --check LIST" checks the files a checksum
// file lists; "velkscope --create FILE..." makes a checksum file of the files.

#include <string>
#include <vector>

namespace velk {

inline constexpr const char* kCompareUsageText = "usage: velkscope --compare <file> <other>";
inline constexpr const char* kCheckUsageText = "usage: velkscope --check <checksum file>";
inline constexpr const char* kCreateUsageText = "usage: velkscope --create <file>...";

struct ViewerArguments {
    enum class Kind { Show, Compare, Check, Create, Usage };
    Kind kind = Kind::Usage;
    std::wstring file;               // Show, Compare; Check: the checksum file
    std::wstring other;              // Compare only
    std::vector<std::wstring> files; // Create only
    std::string usageText;           // Usage only
};

// `args` are the entries after the program name, as the platform's splitter returns them.
// Without any: the usage "usage: velkscope <file>". A first entry "--compare" takes the next
// two as FILE and OTHER (the compare usage when they are missing); "--check" takes exactly one
// checksum file and "--create" one file or more (else their usage); any other first entry is
// the file. Entries after those used are ignored.
ViewerArguments parseViewerArguments(const std::vector<std::wstring>& args);

} // namespace velk
