#pragma once
// The viewer's command line: "velkscope FILE" shows one file; "velkscope --compare FILE OTHER"
// shows FILE and compares it with OTHER.

#include <string>
#include <vector>

namespace velk {

inline constexpr const char* kCompareUsageText = "usage: velkscope --compare <file> <other>";

struct ViewerArguments {
    enum class Kind { Show, Compare, Usage };
    Kind kind = Kind::Usage;
    std::wstring file;
    std::wstring other;    // Compare only
    std::string usageText; // Usage only
};

// `args` are the entries after the program name, as the platform's splitter returns them.
// Without any: the usage "usage: velkscope <file>". A first entry "--compare" takes the next
// two as FILE and OTHER (the compare usage when they are missing); any other first entry is
// the file. Entries after those used are ignored.
ViewerArguments parseViewerArguments(const std::vector<std::wstring>& args);

} // namespace velk
