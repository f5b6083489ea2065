#include "engine/own/sha3.h"

#include "engine/hex.h"
#include "engine/own/bytes.h"
#include "engine/own/cpu_features.h"
#include "engine/own/keccak_rounds.h"
#include "engine/own/x86_kernels.h"

#include <cstring>

namespace velk {

void keccakF1600(std::uint64_t lanes[25]) {
#ifdef VELK_X86_KERNELS
    if (cpuCanUse(kCpuBmi)) {
        x86::keccakF1600Bmi(lanes);
        return;
    }
#endif
    keccakRounds(lanes);
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
    // Up to a lane boundary byte by byte, then whole lanes, whole rates while they last: the
    // same bytes reach the same state positions, and the permutation still runs as soon as a
    // rate is full.
    while (length > 0) {
        if (position_ == 0 && length >= rate_) {
            const std::uint64_t rateLanes = rate_ / 8;
            for (; length >= rate_; data += rate_, length -= rate_) {
                for (std::uint64_t i = 0; i < rateLanes; ++i) {
                    lanes_[i] ^= bytes::load64le(data + 8 * i);
                }
                keccakF1600(lanes_);
            }
            continue;
        }
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
    for (int i = 0; i < 25; ++i)
        bytes::store64le(out + 8 * i, lanes_[i]);
    return toHex(out, static_cast<std::size_t>(outputLength_));
}

} // namespace velk
