// The SHA-256 block function on the SHA extensions. sha256rnds2 works on the state split as
// ABEF and CDGH, so the state is repacked on entry and exit; the message schedule advances
// four words at a time with sha256msg1 and sha256msg2.

#include "engine/own/x86_kernels.h"

#include <immintrin.h>

namespace velk::x86 {

void sha256BlocksShaNi(std::uint32_t state[8], const std::uint8_t* data, std::size_t blocks) {
    // Big-endian words from little-endian loads.
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);

    __m128i tmp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
    __m128i state1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
    tmp = _mm_shuffle_epi32(tmp, 0xB1);               // CDAB
    state1 = _mm_shuffle_epi32(state1, 0x1B);         // EFGH
    __m128i state0 = _mm_alignr_epi8(tmp, state1, 8); // ABEF
    state1 = _mm_blend_epi16(state1, tmp, 0xF0);      // CDGH

    for (; blocks > 0; --blocks, data += 64) {
        const __m128i abefSaved = state0;
        const __m128i cdghSaved = state1;
        __m128i m[4];
        // Sixteen groups of four rounds. Group g uses schedule words 4g..4g+3 held in m[g % 4];
        // the words of group g + 1 are completed (msg2) during group g, and the first half of
        // the words four groups ahead (msg1) is prepared once group g's words are consumed.
#pragma GCC unroll 16
        for (int g = 0; g < 16; ++g) {
            if (g < 4) {
                m[g] = _mm_shuffle_epi8(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * g)), byteSwap);
            }
            __m128i msg = _mm_add_epi32(m[g & 3], _mm_load_si128(reinterpret_cast<const __m128i*>(
                                                      kSha256RoundConstants + 4 * g)));
            state1 = _mm_sha256rnds2_epu32(state1, state0, msg);
            if (g >= 3 && g <= 14) {
                const __m128i carried = _mm_alignr_epi8(m[g & 3], m[(g + 3) & 3], 4);
                m[(g + 1) & 3] = _mm_add_epi32(m[(g + 1) & 3], carried);
                m[(g + 1) & 3] = _mm_sha256msg2_epu32(m[(g + 1) & 3], m[g & 3]);
            }
            msg = _mm_shuffle_epi32(msg, 0x0E);
            state0 = _mm_sha256rnds2_epu32(state0, state1, msg);
            if (g >= 1 && g <= 12)
                m[(g + 3) & 3] = _mm_sha256msg1_epu32(m[(g + 3) & 3], m[g & 3]);
        }
        state0 = _mm_add_epi32(state0, abefSaved);
        state1 = _mm_add_epi32(state1, cdghSaved);
    }

    tmp = _mm_shuffle_epi32(state0, 0x1B);       // FEBA
    state1 = _mm_shuffle_epi32(state1, 0xB1);    // DCHG
    state0 = _mm_blend_epi16(tmp, state1, 0xF0); // DCBA
    state1 = _mm_alignr_epi8(state1, tmp, 8);    // ABEF
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), state0);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), state1);
}

} // namespace velk::x86
