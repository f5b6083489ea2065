#pragma once
// One sequential read of a stream whose chunks reach several consumers (the digests of a
// pass), which may run on several threads at once.

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace velk {

// One consumer of the chunk stream. feed(state, data, n) sees every chunk once, in file order,
// and never runs on two threads at once for the same lane. `cost` is the lane's rough time
// per byte; among lanes equally far behind, a free thread takes the costliest first.
struct FeedLane {
    void (*feed)(void* state, const std::uint8_t* data, std::size_t n);
    void* state;
    unsigned cost;
};

// Reads `file` to its end in kReadChunkBytes chunks, each byte read once, and feeds every
// chunk to every lane; returns the stream's error indicator, as readAllChunks does.
//
// With threads <= 1, or when the first read already ends the file, everything happens on the
// caller's thread with one buffer. Otherwise up to `threads` threads (the caller's included)
// share the work through a small ring of chunk buffers: whichever thread is free reads the
// next chunk into a free buffer or feeds a ready chunk to a lane that is not busy, the lane
// furthest behind first. The call returns only after every thread it started has ended. An
// exception inside a thread stops the others and is rethrown here after they have ended.
bool feedAllChunks(std::FILE* file, FeedLane* lanes, std::size_t laneCount, unsigned threads);

} // namespace velk
