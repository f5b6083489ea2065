#include "engine/own/sha224.h"

#include "engine/hex.h"
#include "engine/own/bytes.h"
#include "engine/own/cpu_features.h"
#include "engine/own/x86_kernels.h"

#include <cstring>

namespace velk {
namespace x86 {

// The 64 round constants of SHA-256, shared with the SHA-extensions kernel.
alignas(16) const std::uint32_t kSha256RoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

} // namespace x86

namespace {

using bytes::rotr32;

constexpr std::uint32_t kSha224Init[8] = {0xc1059ed8, 0x367cd507, 0x3070dd17, 0xf70e5939,
                                          0xffc00b31, 0x68581511, 0x64f98fa7, 0xbefa4fa4};
constexpr std::uint32_t kSha256Init[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                          0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

// The FIPS 180-4 block function with a sixteen-word rolling schedule; the rounds are written
// out so the working variables stay in registers and only change names between rounds.
#define VELK_SHA256_ROUND(a, b, c, d, e, f, g, h, k, w)                                            \
    do {                                                                                           \
        const std::uint32_t t1 =                                                                   \
            h + (rotr32(e, 6) ^ rotr32(e, 11) ^ rotr32(e, 25)) + (g ^ (e & (f ^ g))) + k + w;      \
        d += t1;                                                                                   \
        h = t1 + (rotr32(a, 2) ^ rotr32(a, 13) ^ rotr32(a, 22)) + ((a & b) | (c & (a | b)));       \
    } while (0)

void portableBlock(std::uint32_t state[8], const std::uint8_t* block) {
    std::uint32_t w[16];
    for (int i = 0; i < 16; ++i)
        w[i] = bytes::load32be(block + 4 * i);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
    for (int i = 0; i < 64; i += 8) {
        if (i >= 16) {
            for (int j = 0; j < 8; ++j) {
                const int t = i + j;
                const std::uint32_t x = w[(t - 15) & 15], y = w[(t - 2) & 15];
                w[t & 15] += (rotr32(x, 7) ^ rotr32(x, 18) ^ (x >> 3)) + w[(t - 7) & 15] +
                             (rotr32(y, 17) ^ rotr32(y, 19) ^ (y >> 10));
            }
        }
        const std::uint32_t* k = x86::kSha256RoundConstants + i;
        const std::uint32_t* x = w + (i & 15);
        VELK_SHA256_ROUND(a, b, c, d, e, f, g, h, k[0], x[0]);
        VELK_SHA256_ROUND(h, a, b, c, d, e, f, g, k[1], x[1]);
        VELK_SHA256_ROUND(g, h, a, b, c, d, e, f, k[2], x[2]);
        VELK_SHA256_ROUND(f, g, h, a, b, c, d, e, k[3], x[3]);
        VELK_SHA256_ROUND(e, f, g, h, a, b, c, d, k[4], x[4]);
        VELK_SHA256_ROUND(d, e, f, g, h, a, b, c, k[5], x[5]);
        VELK_SHA256_ROUND(c, d, e, f, g, h, a, b, k[6], x[6]);
        VELK_SHA256_ROUND(b, c, d, e, f, g, h, a, k[7], x[7]);
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
}

#undef VELK_SHA256_ROUND

} // namespace

void Sha224::init(std::uint64_t outputLength) {
    std::memcpy(state_, outputLength == 28 ? kSha224Init : kSha256Init, sizeof state_);
    total_ = 0;
    fill_ = 0;
    outputLength_ = outputLength;
}

void Sha224::update(const std::uint8_t* data, std::uint64_t length) {
    // An empty feed may come with a null pointer, which memcpy must never see.
    if (length == 0)
        return;
    total_ += length;
    if (fill_ > 0) {
        const std::uint64_t take = length < 64 - fill_ ? length : 64 - fill_;
        std::memcpy(block_ + fill_, data, take);
        fill_ += take;
        data += take;
        length -= take;
        if (fill_ < 64)
            return;
        compress(block_);
        fill_ = 0;
    }
    // Whole blocks straight from the caller's buffer: the same blocks, in the same order,
    // that copying byte by byte would have compressed.
    if (length >= 64) {
        compressBlocks(data, length / 64);
        data += length & ~std::uint64_t(63);
        length &= 63;
    }
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
    for (int i = 0; i < 8; ++i)
        bytes::store32be(out + 4 * i, state_[i]);
    const std::uint64_t n = outputLength_ < 32 ? outputLength_ : 32;
    return toHex(out, static_cast<std::size_t>(n));
}

void Sha224::compress(const std::uint8_t* block) {
    compressBlocks(block, 1);
}

void Sha224::compressBlocks(const std::uint8_t* data, std::uint64_t blocks) {
#ifdef VELK_X86_KERNELS
    if (cpuCanUse(kCpuSha | kCpuSse41)) {
        x86::sha256BlocksShaNi(state_, data, static_cast<std::size_t>(blocks));
        return;
    }
#endif
    for (; blocks > 0; --blocks, data += 64)
        portableBlock(state_, data);
}

} // namespace velk
