#pragma once
// Digest kernels that use CPU-specific instructions. Each lives in its own file compiled with
// its own target flags, and is called only after cpuCanUse() has confirmed the instructions.
// Those files include nothing but this header, the compiler's intrinsics and code of internal
// linkage: a shared inline function compiled there could carry the instructions into portable
// callers when the linker keeps that copy.

#include <cstddef>
#include <cstdint>

namespace velk::x86 {

// The SHA-256 round constants, defined once in sha224.cpp; 16-byte aligned for the kernel's
// vector loads. Data only, so sharing it carries no instructions anywhere.
alignas(16) extern const std::uint32_t kSha256RoundConstants[64];

// PCLMULQDQ, SSE4.1. The CRC-32 register after `length` more bytes; `length` is a multiple of
// 16 and at least 64.
std::uint32_t crc32Clmul(std::uint32_t reg, const std::uint8_t* data, std::size_t length);

// SHA extensions, SSE4.1. The SHA-256 block function over `blocks` consecutive 64-byte blocks.
void sha256BlocksShaNi(std::uint32_t state[8], const std::uint8_t* data, std::size_t blocks);

// BMI1, BMI2. Keccak-f[1600] with andn and rorx: the same permutation as keccakF1600.
void keccakF1600Bmi(std::uint64_t lanes[25]);

} // namespace velk::x86
