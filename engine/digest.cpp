#include "engine/digest.h"

#include <type_traits>

namespace velk {

template <class State> bool Digest::start(std::uint64_t outputLength) {
    state_.emplace<State>().init(outputLength);
    return true;
}

bool Digest::open(const Algorithm& algorithm) {
    switch (algorithm.source) {
    case DigestSource::Platform:
        if (state_.emplace<CngHash>().open(algorithm.platformId))
            return true;
        state_.emplace<std::monostate>();
        return false;
    case DigestSource::Crc32:
        return start<Crc32>(algorithm.digestBytes);
    case DigestSource::Sha224:
        return start<Sha224>(algorithm.digestBytes);
    case DigestSource::Sha3:
        return start<Sha3>(algorithm.digestBytes);
    case DigestSource::Blake2b:
        return start<Blake2b>(algorithm.digestBytes);
    case DigestSource::Blake2s:
        return start<Blake2s>(algorithm.digestBytes);
    }
    return false;
}

void Digest::update(const std::uint8_t* data, std::size_t length) {
    std::visit(
        [&](auto& state) {
            using State = std::decay_t<decltype(state)>;
            if constexpr (std::is_same_v<State, CngHash>) {
                // The platform takes a 32-bit count; the passes' chunks are far below it, other
                // callers may feed more at once.
                constexpr std::size_t kMaxPiece = std::size_t(1) << 30;
                do {
                    const std::size_t n = length < kMaxPiece ? length : kMaxPiece;
                    state.update(data, static_cast<std::uint32_t>(n));
                    data += n;
                    length -= n;
                } while (length != 0);
            } else if constexpr (!std::is_same_v<State, std::monostate>) {
                state.update(data, length);
            }
        },
        state_);
}

std::string Digest::finalHex() {
    return std::visit(
        [](auto& state) -> std::string {
            using State = std::decay_t<decltype(state)>;
            if constexpr (std::is_same_v<State, CngHash>)
                return state.finishHex();
            else if constexpr (std::is_same_v<State, std::monostate>)
                return std::string();
            else
                return state.finalHex();
        },
        state_);
}

} // namespace velk
