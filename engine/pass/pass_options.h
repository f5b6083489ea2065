#pragma once
// How the all-digest pass may use the machine.

namespace velk {

struct PassOptions {
    // Threads hashing at once, the caller's included. 0 lets the engine choose: one per core
    // (at most four, beyond which the slowest digest alone sets the pace), and one for a file
    // that ends within its first 1 MiB chunk. 1 keeps the whole pass on the caller's thread.
    unsigned threads = 0;
};

} // namespace velk
