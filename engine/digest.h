#pragma once
// One running digest of any catalogue algorithm, the platform's or the engine's own, behind the
// shape every digest state has: start, feed any number of pieces, finish once.

#include "engine/algorithms.h"
#include "engine/own/blake2.h"
#include "engine/own/crc32.h"
#include "engine/own/sha224.h"
#include "engine/own/sha3.h"
#include "engine/platform/cng_hash.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

namespace velk {

class Digest {
  public:
    Digest() = default;
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    // Starts the algorithm as its catalogue entry says. False only when a platform digest cannot
    // be created (the passes report "CNG init failed"); the state then holds nothing.
    bool open(const Algorithm& algorithm);
    // Any length, 0 included.
    void update(const std::uint8_t* data, std::size_t length);
    // Lowercase hex of 2 x digestBytes characters; called once, after open succeeded.
    std::string finalHex();

  private:
    template <class State> bool start(std::uint64_t outputLength);

    std::variant<std::monostate, Crc32, Sha224, Sha3, Blake2b, Blake2s, CngHash> state_;
};

} // namespace velk
