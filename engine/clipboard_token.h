#pragma once
// Reading the clipboard's text and the one word in it that may be a digest.

#include <string>

namespace velk {

// The first word of the text (words end at bytes of value 32 or less), ASCII-lowered and
// without a leading "0x", when it is non-empty and made only of 0-9 and a-f. The length is
// not checked here: each check compares against the digests of the candidate's length.
bool parseClipboardHash(const std::string& text, std::string& candidate);

// Characters of a clipboard text block: up to its first zero, never past the block's
// size (a block need not hold a terminating zero).
std::size_t clipboardTextLength(const char16_t* text, std::size_t blockBytes);

#ifdef _WIN32
// The clipboard's CF_UNICODETEXT as UTF-8, or empty when the clipboard is unavailable or
// holds no text. Never changes the clipboard.
std::string readClipboardText();
#endif

} // namespace velk
