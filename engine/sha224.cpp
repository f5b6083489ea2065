#include "sha224.h"

#include "bytes.h"
#include "hex.h"

#include <cstring>

namespace velk {
namespace {

using bytes::rotr32;

constexpr std::uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4,
    0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe,
    0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f,
    0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7,
    0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc,
    0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
    0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116,
    0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
    0xc67178f2,
};

constexpr std::uint32_t kSha224Init[8] = {0xc1059ed8, 0x367cd507, 0x3070dd17, 0xf70e5939,
                                          0xffc00b31, 0x68581511, 0x64f98fa7, 0xbefa4fa4};
constexpr std::uint32_t kSha256Init[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                          0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

} // namespace

void Sha224::init(std::uint64_t outputLength) {
    std::memcpy(state_, outputLength == 28 ? kSha224Init : kSha256Init, sizeof state_);
    total_ = 0;
    fill_ = 0;
    outputLength_ = outputLength;
}

void Sha224::update(const std::uint8_t* data, std::uint64_t length) {
    total_ += length;
    if (fill_ > 0) {
        const std::uint64_t take = length < 64 - fill_ ? length : 64 - fill_;
        std::memcpy(block_ + fill_, data, take);
        fill_ += take;
        data += take;
        length -= take;
        if (fill_ < 64) return;
        compress(block_);
        fill_ = 0;
    }
    // Whole blocks straight from the caller's buffer: the same blocks, in the same order,
    // that copying byte by byte would have compressed.
    for (; length >= 64; data += 64, length -= 64) compress(data);
    std::memcpy(block_, data, length);
    fill_ = length;
}

std::string Sha224::finalHex() {
    const std::uint64_t bits = total_ * 8;
    block_[fill_++] = 0x80;
    if (fill_ > 56) {
        std::memset(block_ + fill_, 0, 64 - fill_);
        compress(block_);
        fill_ = 0;
    }
    std::memset(block_ + fill_, 0, 56 - fill_);
    bytes::store64be(block_ + 56, bits);
    compress(block_);
    fill_ = 0;

    std::uint8_t out[32];
    for (int i = 0; i < 8; ++i) bytes::store32be(out + 4 * i, state_[i]);
    const std::uint64_t n = outputLength_ < 32 ? outputLength_ : 32;
    return toHex(out, static_cast<std::size_t>(n));
}

void Sha224::compress(const std::uint8_t* block) {
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i) w[i] = bytes::load32be(block + 4 * i);
    for (int i = 16; i < 64; ++i) {
        const std::uint32_t s0 = rotr32(w[i - 15], 7) ^ rotr32(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 = rotr32(w[i - 2], 17) ^ rotr32(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    std::uint32_t e = state_[4], f = state_[5], g = state_[6], h = state_[7];
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t t1 = h + (rotr32(e, 6) ^ rotr32(e, 11) ^ rotr32(e, 25)) +
                                 ((e & f) ^ (~e & g)) + kRoundConstants[i] + w[i];
        const std::uint32_t t2 =
            (rotr32(a, 2) ^ rotr32(a, 13) ^ rotr32(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
    state_[4] += e;
    state_[5] += f;
    state_[6] += g;
    state_[7] += h;
}

} // namespace velk
