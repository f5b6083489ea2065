#pragma once
// The read loop both passes share: 1 MiB chunks until a read delivers nothing.

#include <cstdint>
#include <cstdio>
#include <memory>

namespace velk {

constexpr std::size_t kReadChunkBytes = 1048576;

// Calls feed(data, n) for every chunk the stream delivers, short ones included, and returns
// the stream's error indicator once a read delivers 0 bytes.
template <class Feed> bool readAllChunks(std::FILE* file, Feed&& feed) {
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kReadChunkBytes]);
    for (;;) {
        const std::size_t n = std::fread(buffer.get(), 1, kReadChunkBytes, file);
        if (n == 0) break;
        feed(buffer.get(), n);
    }
    return std::ferror(file) != 0;
}

} // namespace velk
