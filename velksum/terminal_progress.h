#pragma once
// velksum's progress line on a terminal: one line, rewritten in place with a carriage return,
// and wiped once the file is done, so that nothing of it stays between the output lines.

#include <cstddef>
#include <string>

namespace velk {

// The line's longest width: one column short of a classic terminal, so that it never wraps.
inline constexpr std::size_t kTerminalProgressColumns = 79;

// "\r" + "NAME: LINE", with spaces over what the previous line showed beyond it; a long name
// is shortened from its left ("...ong/name.iso"). `shownColumns` is the width now on screen.
std::string terminalProgressLine(const std::string& name, const std::string& line,
                                 std::size_t& shownColumns);

// Wipes the line ("\r", spaces, "\r"); nothing when none is shown.
std::string clearTerminalProgress(std::size_t& shownColumns);

} // namespace velk
