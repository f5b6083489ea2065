#pragma once
// BLAKE2 of RFC 7693, sequential and unkeyed, at its two word sizes. One template serves
// both; Blake2b and Blake2s differ only in the parameters below.

#include "engine/hex.h"
#include "engine/own/bytes.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace velk {

namespace blake2 {

// The message schedule of RFC 7693; BLAKE2b's rounds 11 and 12 reuse the first two rows.
inline constexpr std::uint8_t kSigma[10][16] = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
    {14, 10, 4, 8, 9, 15, 13, 6, 1, 12, 0, 2, 11, 7, 5, 3},
    {11, 8, 12, 0, 5, 2, 15, 13, 10, 14, 3, 6, 7, 1, 9, 4},
    {7, 9, 3, 1, 13, 12, 11, 14, 2, 6, 5, 10, 4, 0, 15, 8},
    {9, 0, 5, 7, 2, 4, 10, 15, 14, 1, 11, 12, 6, 8, 3, 13},
    {2, 12, 6, 10, 0, 11, 8, 3, 4, 13, 7, 5, 15, 14, 1, 9},
    {12, 5, 1, 15, 14, 13, 4, 10, 0, 7, 6, 3, 9, 2, 8, 11},
    {13, 11, 7, 14, 12, 1, 3, 9, 5, 0, 15, 4, 8, 6, 2, 10},
    {6, 15, 14, 9, 11, 3, 0, 8, 12, 2, 13, 7, 1, 4, 10, 5},
    {10, 2, 8, 4, 7, 6, 1, 5, 15, 11, 9, 14, 3, 12, 13, 0},
};

struct Params64 {
    using Word = std::uint64_t;
    static constexpr std::size_t kBlockBytes = 128;
    static constexpr int kRounds = 12;
    static constexpr unsigned kRot[4] = {32, 24, 16, 63};
    static constexpr Word kIv[8] = {
        0x6a09e667f3bcc908ULL, 0xbb67ae8584caa73bULL, 0x3c6ef372fe94f82bULL, 0xa54ff53a5f1d36f1ULL,
        0x510e527fade682d1ULL, 0x9b05688c2b3e6c1fULL, 0x1f83d9abfb41bd6bULL, 0x5be0cd19137e2179ULL};
    static Word load(const std::uint8_t* p) { return bytes::load64le(p); }
    static void store(std::uint8_t* p, Word w) { bytes::store64le(p, w); }
    static Word rotr(Word x, unsigned n) { return bytes::rotr64(x, n); }
};

struct Params32 {
    using Word = std::uint32_t;
    static constexpr std::size_t kBlockBytes = 64;
    static constexpr int kRounds = 10;
    static constexpr unsigned kRot[4] = {16, 12, 8, 7};
    static constexpr Word kIv[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                    0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    static Word load(const std::uint8_t* p) { return bytes::load32le(p); }
    static void store(std::uint8_t* p, Word w) { bytes::store32le(p, w); }
    static Word rotr(Word x, unsigned n) { return bytes::rotr32(x, n); }
};

} // namespace blake2

template <class P> class Blake2 {
  public:
    using Word = typename P::Word;
    static constexpr std::size_t kBlockBytes = P::kBlockBytes;

    void init(std::uint64_t outputLength) {
        std::memcpy(h_, P::kIv, sizeof h_);
        // Parameter block word 0: digest length, key length 0, fanout 1, depth 1.
        h_[0] ^= Word(0x01010000) ^ Word(outputLength);
        t_[0] = t_[1] = 0;
        fill_ = 0;
        outputLength_ = outputLength;
    }

    void update(const std::uint8_t* data, std::uint64_t length) {
        if (length == 0)
            return;
        // A full block is compressed only once a further byte arrives, so the message's
        // last block always stays for finalHex.
        if (fill_ == kBlockBytes) {
            advance(kBlockBytes);
            compress(block_, false);
            fill_ = 0;
        }
        if (fill_ > 0) {
            const std::uint64_t room = kBlockBytes - fill_;
            const std::uint64_t take = length < room ? length : room;
            std::memcpy(block_ + fill_, data, take);
            fill_ += take;
            data += take;
            length -= take;
            if (length == 0)
                return;
            advance(kBlockBytes);
            compress(block_, false);
            fill_ = 0;
        }
        for (; length > kBlockBytes; data += kBlockBytes, length -= kBlockBytes) {
            advance(kBlockBytes);
            compress(data, false);
        }
        std::memcpy(block_, data, length);
        fill_ = length;
    }

    std::string finalHex() {
        advance(fill_);
        std::memset(block_ + fill_, 0, kBlockBytes - fill_);
        compress(block_, true);
        std::uint8_t out[sizeof(Word) * 8];
        for (int i = 0; i < 8; ++i)
            P::store(out + sizeof(Word) * i, h_[i]);
        const std::uint64_t n = outputLength_ < sizeof out ? outputLength_ : sizeof out;
        return toHex(out, static_cast<std::size_t>(n));
    }

  private:
    void advance(std::uint64_t count) {
        t_[0] += Word(count);
        if (t_[0] < Word(count))
            ++t_[1];
    }

    // The rounds are written out over sixteen named words, with each schedule row fixed at
    // compile time, so the working vector stays in registers and every message word is a
    // constant offset rather than a table lookup.
    void compress(const std::uint8_t* block, bool last) {
        Word m[16];
        for (int i = 0; i < 16; ++i)
            m[i] = P::load(block + sizeof(Word) * i);
        Word v0 = h_[0], v1 = h_[1], v2 = h_[2], v3 = h_[3];
        Word v4 = h_[4], v5 = h_[5], v6 = h_[6], v7 = h_[7];
        Word v8 = P::kIv[0], v9 = P::kIv[1], v10 = P::kIv[2], v11 = P::kIv[3];
        Word v12 = P::kIv[4] ^ t_[0], v13 = P::kIv[5] ^ t_[1];
        Word v14 = last ? ~P::kIv[6] : P::kIv[6], v15 = P::kIv[7];
#define VELK_BLAKE2_G(a, b, c, d, x, y)                                                            \
    a = a + b + (x);                                                                               \
    d = P::rotr(d ^ a, P::kRot[0]);                                                                \
    c = c + d;                                                                                     \
    b = P::rotr(b ^ c, P::kRot[1]);                                                                \
    a = a + b + (y);                                                                               \
    d = P::rotr(d ^ a, P::kRot[2]);                                                                \
    c = c + d;                                                                                     \
    b = P::rotr(b ^ c, P::kRot[3]);
#define VELK_BLAKE2_ROUND(r)                                                                       \
    do {                                                                                           \
        constexpr const std::uint8_t* s = blake2::kSigma[(r) % 10];                                \
        VELK_BLAKE2_G(v0, v4, v8, v12, m[s[0]], m[s[1]])                                           \
        VELK_BLAKE2_G(v1, v5, v9, v13, m[s[2]], m[s[3]])                                           \
        VELK_BLAKE2_G(v2, v6, v10, v14, m[s[4]], m[s[5]])                                          \
        VELK_BLAKE2_G(v3, v7, v11, v15, m[s[6]], m[s[7]])                                          \
        VELK_BLAKE2_G(v0, v5, v10, v15, m[s[8]], m[s[9]])                                          \
        VELK_BLAKE2_G(v1, v6, v11, v12, m[s[10]], m[s[11]])                                        \
        VELK_BLAKE2_G(v2, v7, v8, v13, m[s[12]], m[s[13]])                                         \
        VELK_BLAKE2_G(v3, v4, v9, v14, m[s[14]], m[s[15]])                                         \
    } while (0)
        VELK_BLAKE2_ROUND(0);
        VELK_BLAKE2_ROUND(1);
        VELK_BLAKE2_ROUND(2);
        VELK_BLAKE2_ROUND(3);
        VELK_BLAKE2_ROUND(4);
        VELK_BLAKE2_ROUND(5);
        VELK_BLAKE2_ROUND(6);
        VELK_BLAKE2_ROUND(7);
        VELK_BLAKE2_ROUND(8);
        VELK_BLAKE2_ROUND(9);
        if constexpr (P::kRounds == 12) {
            VELK_BLAKE2_ROUND(10);
            VELK_BLAKE2_ROUND(11);
        }
#undef VELK_BLAKE2_ROUND
#undef VELK_BLAKE2_G
        h_[0] ^= v0 ^ v8;
        h_[1] ^= v1 ^ v9;
        h_[2] ^= v2 ^ v10;
        h_[3] ^= v3 ^ v11;
        h_[4] ^= v4 ^ v12;
        h_[5] ^= v5 ^ v13;
        h_[6] ^= v6 ^ v14;
        h_[7] ^= v7 ^ v15;
    }

    Word h_[8] = {};
    Word t_[2] = {};
    std::uint8_t block_[kBlockBytes] = {};
    std::uint64_t fill_ = 0;
    std::uint64_t outputLength_ = 0;
};

extern template class Blake2<blake2::Params64>;
extern template class Blake2<blake2::Params32>;

using Blake2b = Blake2<blake2::Params64>;
using Blake2s = Blake2<blake2::Params32>;

} // namespace velk
