#pragma once
// The read loop both passes share: 1 MiB chunks until a read delivers nothing.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace velk {

constexpr std::size_t kReadChunkBytes = 1048576;

// Test seam: while n > 0, every read loop started afterwards behaves as if its stream failed
// after delivering n chunks: the next read delivers nothing and the loop reports a read
// error. 0 restores normal behaviour. Not for production callers.
inline std::atomic<std::size_t> gReadFailureAfterChunks{0};
inline void setReadFailureAfterChunks(std::size_t chunks) { gReadFailureAfterChunks = chunks; }

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
        if (n > 0) ++delivered_;
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
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kReadChunkBytes]);
    ChunkReader reader(file);
    for (;;) {
        const std::size_t n = reader.next(buffer.get());
        if (n == 0) break;
        feed(buffer.get(), n);
    }
    return reader.failed();
}

} // namespace velk
