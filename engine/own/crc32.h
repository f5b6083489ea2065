#pragma once
// CRC-32 of ISO-HDLC / IEEE 802.3 (reflected polynomial 0xEDB88320).

#include <cstdint>
#include <string>

namespace velk {

struct Crc32 {
    // The owning pass sets the register to 0xFFFFFFFF before the first byte.
    std::uint32_t reg = 0xFFFFFFFF;

    void update(const std::uint8_t* data, std::uint64_t length);
    // Eight lowercase hex digits of NOT reg, most significant first.
    std::string finalHex() const;
};

} // namespace velk
