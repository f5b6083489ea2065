#pragma once
// windows.txt, the list of running viewers: one "<process id> <stamp>\n" line per viewer.

#include <cstdint>
#include <string>
#include <vector>

namespace velk {

struct ViewerWindowEntry {
    std::uint32_t processId = 0;
    std::string stamp; // registration time in seconds since 1970; carried, never read
};

// The process id of a line's first field: optional leading white space and sign, then the
// digits up to the first non-digit. Anything that does not parse, or lies outside the
// unsigned 32-bit range, is 0.
std::uint32_t parseProcessIdField(const std::string& field);

// Lenient: empty lines are skipped, the last line needs no line feed, everything after the
// first space is the stamp verbatim, and a line without a space gets the stamp "0".
// Entries with process id 0 are returned too; the caller drops them.
std::vector<ViewerWindowEntry> parseViewerWindowList(const std::string& text);

// Each entry as "<id> <stamp>\n"; an empty list is an empty text.
std::string formatViewerWindowList(const std::vector<ViewerWindowEntry>& entries);

} // namespace velk
