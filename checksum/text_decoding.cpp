#include "checksum/text_decoding.h"

#include <cstdint>

namespace velk {
namespace {

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string fromUtf16(const std::string& bytes, bool bigEndian) {
    constexpr std::uint32_t kReplacement = 0xFFFD;
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    std::size_t i = 2; // past the mark
    for (; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, u >= 0xD800 && u <= 0xDFFF ? kReplacement : u);
    }
    if (i < bytes.size())
        appendUtf8(out, kReplacement);
    return out;
}

bool startsWith(const std::string& bytes, const char* mark, std::size_t n) {
    return bytes.size() >= n && bytes.compare(0, n, mark, n) == 0;
}

} // namespace

std::string decodeChecksumText(const std::string& bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF", 3))
        return bytes.substr(3);
    if (startsWith(bytes, "\xFF\xFE", 2))
        return fromUtf16(bytes, false);
    if (startsWith(bytes, "\xFE\xFF", 2))
        return fromUtf16(bytes, true);
    return bytes;
}

} // namespace velk
