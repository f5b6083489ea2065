#pragma once
// SHA-224 of FIPS 180-4 (the SHA-256 block function with the SHA-224 initial values).

#include <cstdint>
#include <string>

namespace velk {

class Sha224 {
  public:
    // 28 loads the SHA-224 initial words; any other length the SHA-256 ones.
    void init(std::uint64_t outputLength);
    void update(const std::uint8_t* data, std::uint64_t length);
    std::string finalHex();

  private:
    void compress(const std::uint8_t* block);
    // `blocks` consecutive 64-byte blocks, on the SHA extensions where the processor has them.
    void compressBlocks(const std::uint8_t* data, std::uint64_t blocks);

    std::uint32_t state_[8] = {};
    std::uint64_t total_ = 0;
    std::uint8_t block_[64] = {};
    std::uint64_t fill_ = 0;
    std::uint64_t outputLength_ = 28;
};

} // namespace velk
