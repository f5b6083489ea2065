#pragma once
// CRC-32 of ISO-HDLC / IEEE 802.3 (reflected polynomial 0xEDB88320).

#include <cstdint>
#include <string>

namespace velk {

class Crc32 {
  public:
    // The register starts at 0xFFFFFFFF; the output length is always 4 bytes, taken only so
    // that every digest state starts the same way.
    void init(std::uint64_t outputLength);
    void update(const std::uint8_t* data, std::uint64_t length);
    // Eight lowercase hex digits of NOT the register, most significant first.
    std::string finalHex() const;

  private:
    std::uint32_t reg_ = 0xFFFFFFFF;
};

} // namespace velk
