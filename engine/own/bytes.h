#pragma once
// Little helpers shared by the own digests: endian loads and stores, rotations.

#include <cstdint>
#include <cstring>

namespace velk::bytes {

inline std::uint32_t load32le(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline std::uint64_t load64le(const std::uint8_t* p) {
    return std::uint64_t(load32le(p)) | std::uint64_t(load32le(p + 4)) << 32;
}
inline std::uint32_t load32be(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}
inline void store32be(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}
inline void store64be(std::uint8_t* p, std::uint64_t v) {
    store32be(p, std::uint32_t(v >> 32));
    store32be(p + 4, std::uint32_t(v));
}
inline void store32le(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}
inline void store64le(std::uint8_t* p, std::uint64_t v) {
    store32le(p, std::uint32_t(v));
    store32le(p + 4, std::uint32_t(v >> 32));
}
inline std::uint32_t rotr32(std::uint32_t x, unsigned n) {
    return (x >> n) | (x << (32 - n));
}
inline std::uint64_t rotr64(std::uint64_t x, unsigned n) {
    return (x >> n) | (x << (64 - n));
}
inline std::uint64_t rotl64(std::uint64_t x, unsigned n) {
    return n == 0 ? x : (x << n) | (x >> (64 - n));
}

} // namespace velk::bytes
