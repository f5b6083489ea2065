#pragma once
// BLAKE2 of RFC 7693, sequential and unkeyed, at its two word sizes. One template serves
// both; Blake2b and Blake2s differ only in the parameters below.

#include "bytes.h"
#include "hex.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace velk {

namespace blake2 {

// The message schedule of RFC 7693; BLAKE2b's rounds 11 and 12 reuse the first two rows.
extern const std::uint8_t kSigma[10][16];

struct Params64 {
    using Word = std::uint64_t;
    static constexpr std::size_t kBlockBytes = 128;
    static constexpr int kRounds = 12;
    static constexpr unsigned kRot[4] = {32, 24, 16, 63};
    static constexpr Word kIv[8] = {0x6a09e667f3bcc908ULL, 0xbb67ae8584caa73bULL,
                                    0x3c6ef372fe94f82bULL, 0xa54ff53a5f1d36f1ULL,
                                    0x510e527fade682d1ULL, 0x9b05688c2b3e6c1fULL,
                                    0x1f83d9abfb41bd6bULL, 0x5be0cd19137e2179ULL};
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
        if (length == 0) return;
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
            if (length == 0) return;
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
        for (int i = 0; i < 8; ++i) P::store(out + sizeof(Word) * i, h_[i]);
        const std::uint64_t n = outputLength_ < sizeof out ? outputLength_ : sizeof out;
        return toHex(out, static_cast<std::size_t>(n));
    }

private:
    void advance(std::uint64_t count) {
        t_[0] += Word(count);
        if (t_[0] < Word(count)) ++t_[1];
    }

    static void mix(Word* v, int a, int b, int c, int d, Word x, Word y) {
        v[a] = v[a] + v[b] + x;
        v[d] = P::rotr(v[d] ^ v[a], P::kRot[0]);
        v[c] = v[c] + v[d];
        v[b] = P::rotr(v[b] ^ v[c], P::kRot[1]);
        v[a] = v[a] + v[b] + y;
        v[d] = P::rotr(v[d] ^ v[a], P::kRot[2]);
        v[c] = v[c] + v[d];
        v[b] = P::rotr(v[b] ^ v[c], P::kRot[3]);
    }

    void compress(const std::uint8_t* block, bool last) {
        Word m[16], v[16];
        for (int i = 0; i < 16; ++i) m[i] = P::load(block + sizeof(Word) * i);
        for (int i = 0; i < 8; ++i) {
            v[i] = h_[i];
            v[i + 8] = P::kIv[i];
        }
        v[12] ^= t_[0];
        v[13] ^= t_[1];
        if (last) v[14] = ~v[14];
        for (int r = 0; r < P::kRounds; ++r) {
            const std::uint8_t* s = blake2::kSigma[r % 10];
            mix(v, 0, 4, 8, 12, m[s[0]], m[s[1]]);
            mix(v, 1, 5, 9, 13, m[s[2]], m[s[3]]);
            mix(v, 2, 6, 10, 14, m[s[4]], m[s[5]]);
            mix(v, 3, 7, 11, 15, m[s[6]], m[s[7]]);
            mix(v, 0, 5, 10, 15, m[s[8]], m[s[9]]);
            mix(v, 1, 6, 11, 12, m[s[10]], m[s[11]]);
            mix(v, 2, 7, 8, 13, m[s[12]], m[s[13]]);
            mix(v, 3, 4, 9, 14, m[s[14]], m[s[15]]);
        }
        for (int i = 0; i < 8; ++i) h_[i] ^= v[i] ^ v[i + 8];
    }

    Word h_[8] = {};
    Word t_[2] = {};
    std::uint8_t block_[kBlockBytes] = {};
    std::uint64_t fill_ = 0;
    std::uint64_t outputLength_ = 0;
};

using Blake2b = Blake2<blake2::Params64>;
using Blake2s = Blake2<blake2::Params32>;

} // namespace velk
