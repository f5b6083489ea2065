#pragma once
// The one text form of every digest: lowercase hex, two characters a byte.

#include <cstddef>
#include <cstdint>
#include <string>

namespace velk {

extern const char kHexDigits[17];

std::string toHex(const std::uint8_t* bytes, std::size_t count);

} // namespace velk
