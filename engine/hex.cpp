#include "engine/hex.h"

namespace velk {

const char kHexDigits[17] = "0123456789abcdef";

std::string toHex(const std::uint8_t* bytes, std::size_t count) {
    std::string text(count * 2, '0');
    for (std::size_t i = 0; i < count; ++i) {
        text[2 * i] = kHexDigits[bytes[i] >> 4];
        text[2 * i + 1] = kHexDigits[bytes[i] & 0x0F];
    }
    return text;
}

} // namespace velk
