#pragma once
// The chunks of the read loop both passes share (feedAllChunks): 1 MiB each, in page-aligned
// buffers.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace velk {

constexpr std::size_t kReadChunkBytes = 1048576;

// Chunk buffers start on a page boundary: the kernel copies a read into a page-aligned
// buffer several times faster than into one a few bytes past a boundary, which is where a
// plain allocation of this size lands. The alignment is taken inside an ordinary array
// allocation (rather than an aligned one) so that the C library's allocator can hand the
// same memory to the next pass instead of mapping and unmapping a fresh region every time.
constexpr std::size_t kChunkAlignment = 4096;

class ChunkBuffer {
  public:
    ChunkBuffer() = default;
    // One chunk's buffer; throws std::bad_alloc like any allocation when memory runs out.
    static ChunkBuffer allocate() {
        ChunkBuffer b;
        b.raw_.reset(new std::uint8_t[kReadChunkBytes + kChunkAlignment]);
        const auto address = reinterpret_cast<std::uintptr_t>(b.raw_.get());
        b.data_ = b.raw_.get() + (kChunkAlignment - address % kChunkAlignment) % kChunkAlignment;
        return b;
    }
    std::uint8_t* get() const { return data_; }

  private:
    std::unique_ptr<std::uint8_t[]> raw_;
    std::uint8_t* data_ = nullptr;
};

} // namespace velk
