#pragma once
// One sequential read of a stream whose chunks reach several consumers (the digests of a
// pass), which may run on several threads at once.

#include "engine/pass/pass_options.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace velk {

// One consumer of the chunk stream. feed(state, data, n) sees every byte once, in file order,
// in slices of at most a quarter chunk, and never runs on two threads at once for the same
// lane. `cost` is the lane's rough time
// per byte; among lanes equally far behind, a free thread takes the costliest first.
struct FeedLane {
    void (*feed)(void* state, const std::uint8_t* data, std::size_t n);
    void* state;
    unsigned cost;
};

// How a read loop ended.
enum class FeedOutcome {
    Complete,  // the end of the file or of the byte cap was reached
    ReadError, // the stream's error indicator was set
    Cancelled, // the cancel flag was seen before a read
};

// Reads `file` to its end (or to limits.byteCap bytes) in kReadChunkBytes chunks, each byte
// read once, and feeds every chunk to every lane. limits.cancel is looked at before every read
// and before every feed; limits.progress is called after every read with the bytes read so
// far, by the thread that read, never by two threads at once. limits.threads is not used.
//
// With threads <= 1, or when the first read already ends the file, everything happens on the
// caller's thread with one buffer. Otherwise up to `threads` threads (the caller's included)
// share the work through a small ring of chunk buffers: whichever thread is free reads the
// next chunk into a free buffer or feeds a ready chunk to a lane that is not busy, the lane
// furthest behind first. The call returns only after every thread it started has ended. An
// exception inside a thread stops the others and is rethrown here after they have ended.
FeedOutcome feedAllChunks(std::FILE* file, FeedLane* lanes, std::size_t laneCount, unsigned threads,
                          const PassOptions& limits);

} // namespace velk
