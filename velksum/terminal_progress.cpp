#include "velksum/terminal_progress.h"

namespace velk {
namespace {

// Columns of UTF-8 text: one per character (the line holds no wide characters but what a
// name may bring, which at worst shortens it a little more than needed).
std::size_t columnsOf(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text)
        n += (c & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

// The last `columns` characters of the text, never starting inside a character.
std::string lastColumns(const std::string& text, std::size_t columns) {
    std::size_t start = text.size();
    std::size_t taken = 0;
    while (start > 0 && taken < columns) {
        --start;
        if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80)
            ++taken;
    }
    return text.substr(start);
}

} // namespace

std::string terminalProgressLine(const std::string& name, const std::string& line,
                                 std::size_t& shownColumns) {
    const std::size_t lineColumns = columnsOf(line) + 2; // ": "
    std::string shownName = name;
    if (lineColumns + columnsOf(name) > kTerminalProgressColumns) {
        const std::size_t room = kTerminalProgressColumns > lineColumns + 3
                                     ? kTerminalProgressColumns - lineColumns - 3
                                     : 0;
        shownName = "..." + lastColumns(name, room);
    }
    std::string text = shownName + ": " + line;
    if (columnsOf(text) > kTerminalProgressColumns)
        text = lastColumns(text, kTerminalProgressColumns);
    const std::size_t columns = columnsOf(text);
    const std::size_t wipe = shownColumns > columns ? shownColumns - columns : 0;
    shownColumns = columns;
    return "\r" + text + std::string(wipe, ' ');
}

std::string clearTerminalProgress(std::size_t& shownColumns) {
    if (shownColumns == 0)
        return {};
    const std::string wipe = "\r" + std::string(shownColumns, ' ') + "\r";
    shownColumns = 0;
    return wipe;
}

} // namespace velk
