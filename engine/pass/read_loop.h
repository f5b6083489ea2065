#pragma once
// The read loop both passes share: 1 MiB chunks until a read delivers nothing.

#include <atomic>
#include <cstdint>
#include <cstdio>
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

// Test seam: while n > 0, every read loop started afterwards behaves as if its stream failed
// after delivering n chunks: the next read delivers nothing and the loop reports a read
// error. 0 restores normal behaviour. Not for production callers.
inline std::atomic<std::size_t> gReadFailureAfterChunks{0};
inline void setReadFailureAfterChunks(std::size_t chunks) {
    gReadFailureAfterChunks = chunks;
}

// Sequential chunk reads of one stream, keeping what the loop reports at the end.
class ChunkReader {
  public:
    explicit ChunkReader(std::FILE* file) : file_(file), failAfter_(gReadFailureAfterChunks) {}

    // Up to kReadChunkBytes into `buffer`; 0 ends the loop (end of file or failure).
    std::size_t next(std::uint8_t* buffer) {
        if (failAfter_ != 0 && delivered_ == failAfter_) {
            injectedFailure_ = true;
            return 0;
        }
        const std::size_t n = std::fread(buffer, 1, kReadChunkBytes, file_);
        if (n > 0)
            ++delivered_;
        return n;
    }

    // The stream's error indicator, taken once the loop has ended.
    bool failed() const { return injectedFailure_ || std::ferror(file_) != 0; }

  private:
    std::FILE* file_;
    std::size_t failAfter_;
    std::size_t delivered_ = 0;
    bool injectedFailure_ = false;
};

// Calls feed(data, n) for every chunk the stream delivers, short ones included, and returns
// the stream's error indicator once a read delivers 0 bytes.
template <class Feed> bool readAllChunks(std::FILE* file, Feed&& feed) {
    ChunkBuffer buffer = ChunkBuffer::allocate();
    ChunkReader reader(file);
    for (;;) {
        const std::size_t n = reader.next(buffer.get());
        if (n == 0)
            break;
        feed(buffer.get(), n);
    }
    return reader.failed();
}

} // namespace velk
