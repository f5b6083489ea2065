// The own digests against libcrypto (and a bitwise CRC-32) on arbitrary messages fed in
// arbitrary pieces; the piece sizes come from the input itself.

#include "engine/hex.h"
#include "engine/own/blake2.h"
#include "engine/own/crc32.h"
#include "engine/own/sha224.h"
#include "engine/own/sha3.h"

#include <openssl/evp.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string reference(const EVP_MD* md, const std::uint8_t* data, std::size_t size) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(data, size, out, &length, md, nullptr);
    return velk::toHex(out, length);
}

std::string bitwiseCrc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t c = 0xFFFFFFFF;
    for (std::size_t i = 0; i < size; ++i) {
        c ^= data[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    c = ~c;
    const std::uint8_t be[4] = {std::uint8_t(c >> 24), std::uint8_t(c >> 16), std::uint8_t(c >> 8),
                                std::uint8_t(c)};
    return velk::toHex(be, 4);
}

template <class State, class Init>
std::string pieces(Init init, const std::vector<std::size_t>& cuts, const std::uint8_t* data,
                   std::size_t size) {
    State s;
    init(s);
    std::size_t at = 0;
    for (std::size_t cut : cuts) {
        const std::size_t n = cut < size - at ? cut : size - at;
        s.update(data + at, n);
        at += n;
    }
    s.update(data + at, size - at);
    return s.finalHex();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    if (size < 2)
        return 0;
    // The first bytes choose up to eight piece sizes (0..510), the rest is the message.
    const std::size_t count = input[0] % 9;
    if (size < 1 + 2 * count)
        return 0;
    std::vector<std::size_t> cuts;
    for (std::size_t i = 0; i < count; ++i)
        cuts.push_back(input[1 + 2 * i] + input[2 + 2 * i]);
    const std::uint8_t* m = input + 1 + 2 * count;
    const std::size_t n = size - 1 - 2 * count;

    auto init = [](std::uint64_t len) { return [len](auto& s) { s.init(len); }; };
    if (pieces<velk::Sha224>(init(28), cuts, m, n) != reference(EVP_sha224(), m, n))
        std::abort();
    if (pieces<velk::Sha3>(init(32), cuts, m, n) != reference(EVP_sha3_256(), m, n))
        std::abort();
    if (pieces<velk::Sha3>(init(64), cuts, m, n) != reference(EVP_sha3_512(), m, n))
        std::abort();
    if (pieces<velk::Blake2b>(init(64), cuts, m, n) != reference(EVP_blake2b512(), m, n)) {
        std::abort();
    }
    if (pieces<velk::Blake2s>(init(32), cuts, m, n) != reference(EVP_blake2s256(), m, n)) {
        std::abort();
    }
    if (pieces<velk::Crc32>(init(4), cuts, m, n) != bitwiseCrc32(m, n))
        std::abort();
    return 0;
}
