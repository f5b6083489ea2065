#include "engine/own/crc32.h"

#include "engine/hex.h"
#include "engine/own/bytes.h"
#include "engine/own/cpu_features.h"
#include "engine/own/x86_kernels.h"

#include <mutex>

namespace velk {
namespace {

// gTable[0] is the byte-wise table; gTable[k] advances a byte through k further zero bytes,
// so sixteen lookups take sixteen bytes at once. Built once per process, inside the first
// update anywhere; call_once makes concurrent first calls wait for the finished tables.
std::uint32_t gTable[16][256];
std::once_flag gTableOnce;

void buildTables() {
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        gTable[0][i] = c;
    }
    for (int k = 1; k < 16; ++k) {
        for (int i = 0; i < 256; ++i) {
            const std::uint32_t prev = gTable[k - 1][i];
            gTable[k][i] = (prev >> 8) ^ gTable[0][prev & 0xFF];
        }
    }
}

std::uint32_t bytewise(std::uint32_t r, const std::uint8_t* p, std::uint64_t n) {
    for (std::uint64_t i = 0; i < n; ++i)
        r = (r >> 8) ^ gTable[0][(r ^ p[i]) & 0xFF];
    return r;
}

std::uint32_t sliced(std::uint32_t r, const std::uint8_t* p, std::uint64_t n) {
    const auto& t = gTable;
    for (; n >= 16; p += 16, n -= 16) {
        const std::uint32_t a = bytes::load32le(p) ^ r;
        const std::uint32_t b = bytes::load32le(p + 4);
        const std::uint32_t c = bytes::load32le(p + 8);
        const std::uint32_t d = bytes::load32le(p + 12);
        r = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^
            t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^
            t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^
            t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24];
    }
    return bytewise(r, p, n);
}

} // namespace

void Crc32::init(std::uint64_t) {
    reg_ = 0xFFFFFFFF;
}

void Crc32::update(const std::uint8_t* data, std::uint64_t length) {
    std::call_once(gTableOnce, buildTables);
    std::uint32_t r = reg_;
#ifdef VELK_X86_KERNELS
    if (length >= 64 && cpuCanUse(kCpuPclmul | kCpuSse41)) {
        const std::uint64_t folded = length & ~std::uint64_t(15);
        r = x86::crc32Clmul(r, data, static_cast<std::size_t>(folded));
        data += folded;
        length -= folded;
    }
#endif
    reg_ = sliced(r, data, length);
}

std::string Crc32::finalHex() const {
    const std::uint32_t value = ~reg_;
    std::string text(8, '0');
    for (int i = 0; i < 8; ++i)
        text[i] = kHexDigits[(value >> (28 - 4 * i)) & 0xF];
    return text;
}

} // namespace velk
