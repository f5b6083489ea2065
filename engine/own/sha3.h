#pragma once
// SHA3-256 and SHA3-512 of FIPS 202: one sponge, the output length decides the rate.

#include <cstdint>
#include <string>

namespace velk {

class Sha3 {
  public:
    // outputLength 32 (rate 136) or 64 (rate 72).
    void init(std::uint64_t outputLength);
    void update(const std::uint8_t* data, std::uint64_t length);
    std::string finalHex();

  private:
    void xorByte(std::uint64_t index, std::uint8_t value);

    // Byte k of the state is byte k mod 8 of lane k / 8, least significant first.
    std::uint64_t lanes_[25] = {};
    std::uint64_t rate_ = 136;
    std::uint64_t outputLength_ = 32;
    std::uint64_t position_ = 0;
};

// The 24-round Keccak-f[1600] permutation; lane x + 5y holds coordinate (x, y).
void keccakF1600(std::uint64_t lanes[25]);

} // namespace velk
