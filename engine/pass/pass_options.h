#pragma once
// How a pass over a file may use the machine, how far it reads and who may stop it.

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>

namespace velk {

inline constexpr std::uint64_t kNoByteCap = std::numeric_limits<std::uint64_t>::max();

struct PassOptions {
    // Threads hashing at once, the caller's included. 0 lets the engine choose: one per core
    // (at most four, beyond which the slowest digest alone sets the pace), and one for a file
    // that ends within its first 1 MiB chunk. 1 keeps the whole pass on the caller's thread.
    // The single-digest pass always runs on the caller's thread.
    unsigned threads = 0;

    // Looked at before every read. Once it holds true the pass reads no further, waits for
    // every thread it started, and fails with "cancelled" without writing any digest.
    const std::atomic<bool>* cancel = nullptr;

    // The pass reads at most this many bytes and digests exactly those, as if the file ended
    // there: a caller that measured the file's size passes it, so that a file growing while
    // it is read cannot lengthen the pass. A file shorter than the cap is read to its end.
    std::uint64_t byteCap = kNoByteCap;

    // Called on the reading thread after every chunk read, with the bytes read so far.
    std::function<void(std::uint64_t bytesRead)> progress;
};

} // namespace velk
