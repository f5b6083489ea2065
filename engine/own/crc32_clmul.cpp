// CRC-32 by carry-less multiplication: four 128-bit lanes folded 64 bytes at a time, folded
// into one, then reduced to 32 bits by Barrett reduction. The constants are powers of x
// modulo the bit-reflected polynomial 0x1DB710641 (x^(4*128+32), x^(4*128-32), x^(128+32),
// x^(128-32), x^64) and the Barrett pair (the polynomial and floor(x^64 / P)).

#include "engine/own/x86_kernels.h"

#include <immintrin.h>

namespace velk::x86 {

std::uint32_t crc32Clmul(std::uint32_t reg, const std::uint8_t* p, std::size_t n) {
    const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
    const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
    const __m128i k5 = _mm_set_epi64x(0, 0x0163cd6124);
    const __m128i poly = _mm_set_epi64x(0x01f7011641, 0x01db710641);
    const __m128i low32 = _mm_setr_epi32(~0, 0, ~0, 0);

    __m128i x1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i x2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
    __m128i x3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
    __m128i x4 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48));
    x1 = _mm_xor_si128(x1, _mm_cvtsi32_si128(static_cast<int>(reg)));
    p += 64;
    n -= 64;

    for (; n >= 64; p += 64, n -= 64) {
        const __m128i l1 = _mm_clmulepi64_si128(x1, k1k2, 0x00);
        const __m128i l2 = _mm_clmulepi64_si128(x2, k1k2, 0x00);
        const __m128i l3 = _mm_clmulepi64_si128(x3, k1k2, 0x00);
        const __m128i l4 = _mm_clmulepi64_si128(x4, k1k2, 0x00);
        x1 = _mm_clmulepi64_si128(x1, k1k2, 0x11);
        x2 = _mm_clmulepi64_si128(x2, k1k2, 0x11);
        x3 = _mm_clmulepi64_si128(x3, k1k2, 0x11);
        x4 = _mm_clmulepi64_si128(x4, k1k2, 0x11);
        x1 = _mm_xor_si128(_mm_xor_si128(x1, l1),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
        x2 = _mm_xor_si128(_mm_xor_si128(x2, l2),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)));
        x3 = _mm_xor_si128(_mm_xor_si128(x3, l3),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32)));
        x4 = _mm_xor_si128(_mm_xor_si128(x4, l4),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48)));
    }

    // Four lanes into one, then any remaining 16-byte blocks.
    auto fold = [&](__m128i acc, __m128i next) {
        const __m128i lo = _mm_clmulepi64_si128(acc, k3k4, 0x00);
        const __m128i hi = _mm_clmulepi64_si128(acc, k3k4, 0x11);
        return _mm_xor_si128(_mm_xor_si128(hi, lo), next);
    };
    x1 = fold(x1, x2);
    x1 = fold(x1, x3);
    x1 = fold(x1, x4);
    for (; n >= 16; p += 16, n -= 16) {
        x1 = fold(x1, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }

    // 128 bits to 64, then Barrett reduction to the 32-bit register.
    x2 = _mm_clmulepi64_si128(x1, k3k4, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2);
    x2 = _mm_srli_si128(x1, 4);
    x1 = _mm_and_si128(x1, low32);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(x1, k5, 0x00), x2);

    x2 = _mm_and_si128(x1, low32);
    x2 = _mm_clmulepi64_si128(x2, poly, 0x10);
    x2 = _mm_and_si128(x2, low32);
    x2 = _mm_clmulepi64_si128(x2, poly, 0x00);
    x1 = _mm_xor_si128(x1, x2);
    return static_cast<std::uint32_t>(_mm_extract_epi32(x1, 1));
}

} // namespace velk::x86
