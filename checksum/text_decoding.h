#pragma once
// The bytes of a checksum file as UTF-8 text, whatever encoding it was saved in.

#include <string>

namespace velk {

// UTF-8 with or without a byte-order mark, or UTF-16 LE or BE with one. Text without a mark
// is taken as UTF-8 and kept byte for byte (names are bytes on most systems). In UTF-16,
// unpaired surrogates and a dangling last byte become U+FFFD.
std::string decodeChecksumText(const std::string& bytes);

} // namespace velk
