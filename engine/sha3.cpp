#include "sha3.h"

#include "bytes.h"
#include "hex.h"

#include <cstring>

namespace velk {
namespace {

constexpr std::uint64_t kRoundConstants[24] = {
    0x0000000000000001ULL, 0x0000000000008082ULL, 0x800000000000808aULL, 0x8000000080008000ULL,
    0x000000000000808bULL, 0x0000000080000001ULL, 0x8000000080008081ULL, 0x8000000000008009ULL,
    0x000000000000008aULL, 0x0000000000000088ULL, 0x0000000080008009ULL, 0x000000008000000aULL,
    0x000000008000808bULL, 0x800000000000008bULL, 0x8000000000008089ULL, 0x8000000000008003ULL,
    0x8000000000008002ULL, 0x8000000000000080ULL, 0x000000000000800aULL, 0x800000008000000aULL,
    0x8000000080008081ULL, 0x8000000000008080ULL, 0x0000000080000001ULL, 0x8000000080008008ULL,
};

// Rotation offset of lane x + 5y (the rho step).
constexpr unsigned kRho[25] = {0,  1,  62, 28, 27, 36, 44, 6,  55, 20, 3,  10, 43,
                               25, 39, 41, 45, 15, 21, 8,  18, 2,  61, 56, 14};

} // namespace

void keccakF1600(std::uint64_t a[25]) {
    for (int round = 0; round < 24; ++round) {
        // theta
        std::uint64_t c[5];
        for (int x = 0; x < 5; ++x) c[x] = a[x] ^ a[x + 5] ^ a[x + 10] ^ a[x + 15] ^ a[x + 20];
        for (int x = 0; x < 5; ++x) {
            const std::uint64_t d = c[(x + 4) % 5] ^ bytes::rotl64(c[(x + 1) % 5], 1);
            for (int y = 0; y < 25; y += 5) a[y + x] ^= d;
        }
        // rho and pi: B[y, 2x + 3y] = rot(A[x, y], r[x, y])
        std::uint64_t b[25];
        for (int x = 0; x < 5; ++x) {
            for (int y = 0; y < 5; ++y) {
                b[y + 5 * ((2 * x + 3 * y) % 5)] = bytes::rotl64(a[x + 5 * y], kRho[x + 5 * y]);
            }
        }
        // chi
        for (int y = 0; y < 25; y += 5) {
            for (int x = 0; x < 5; ++x) {
                a[y + x] = b[y + x] ^ (~b[y + (x + 1) % 5] & b[y + (x + 2) % 5]);
            }
        }
        // iota
        a[0] ^= kRoundConstants[round];
    }
}

void Sha3::init(std::uint64_t outputLength) {
    std::memset(lanes_, 0, sizeof lanes_);
    outputLength_ = outputLength;
    rate_ = 200 - 2 * outputLength;
    position_ = 0;
}

void Sha3::xorByte(std::uint64_t index, std::uint8_t value) {
    lanes_[index / 8] ^= std::uint64_t(value) << (8 * (index % 8));
}

void Sha3::update(const std::uint8_t* data, std::uint64_t length) {
    // Up to a lane boundary byte by byte, then whole lanes: the same bytes reach the same
    // state positions, and the permutation still runs as soon as a rate is full.
    while (length > 0) {
        if (position_ % 8 == 0 && length >= 8) {
            lanes_[position_ / 8] ^= bytes::load64le(data);
            data += 8;
            length -= 8;
            position_ += 8;
        } else {
            xorByte(position_, *data++);
            --length;
            ++position_;
        }
        if (position_ == rate_) {
            keccakF1600(lanes_);
            position_ = 0;
        }
    }
}

std::string Sha3::finalHex() {
    // Domain byte 0x06 and the final bit 0x80; both land in one byte (0x86) when the
    // message stops one byte short of the rate.
    xorByte(position_, 0x06);
    xorByte(rate_ - 1, 0x80);
    keccakF1600(lanes_);
    std::uint8_t out[200];
    for (int i = 0; i < 25; ++i) bytes::store64le(out + 8 * i, lanes_[i]);
    return toHex(out, static_cast<std::size_t>(outputLength_));
}

} // namespace velk
