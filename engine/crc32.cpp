#include "crc32.h"

#include "hex.h"

#include <mutex>

namespace velk {
namespace {

// Built once per process, inside the first update anywhere; call_once makes concurrent
// first calls wait for the finished table.
std::uint32_t gTable[256];
std::once_flag gTableOnce;

void buildTable() {
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        gTable[i] = c;
    }
}

} // namespace

void Crc32::update(const std::uint8_t* data, std::uint64_t length) {
    std::call_once(gTableOnce, buildTable);
    std::uint32_t r = reg;
    for (std::uint64_t i = 0; i < length; ++i) r = (r >> 8) ^ gTable[(r ^ data[i]) & 0xFF];
    reg = r;
}

std::string Crc32::finalHex() const {
    const std::uint32_t value = ~reg;
    std::string text(8, '0');
    for (int i = 0; i < 8; ++i) text[i] = kHexDigits[(value >> (28 - 4 * i)) & 0xF];
    return text;
}

} // namespace velk
