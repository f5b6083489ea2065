// parseClipboardHash on arbitrary clipboard text: a candidate is non-empty lowercase hex and
// is the first word of the text, lowered, without a leading 0x.

#include "engine/clipboard_token.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string candidate;
    if (!velk::parseClipboardHash(text, candidate))
        return 0;
    if (candidate.empty())
        std::abort();
    for (char c : candidate) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            std::abort();
    }
    // The same word found the plain way: skip bytes <= 32, take up to the next one, lower,
    // drop a leading "0x".
    std::size_t b = 0;
    while (b < text.size() && static_cast<unsigned char>(text[b]) <= 32)
        ++b;
    std::size_t e = b;
    while (e < text.size() && static_cast<unsigned char>(text[e]) > 32)
        ++e;
    std::string word = text.substr(b, e - b);
    for (char& c : word)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)) & 0xFF);
    if (word.rfind("0x", 0) == 0)
        word.erase(0, 2);
    if (word != candidate)
        std::abort();
    return 0;
}
