// The two scanners on arbitrary text and keys: no read outside the text, integers inside
// their documented range, and a string value written by escapeJsonText reads back exactly.

#include "settings/json_scan.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    // First byte: key length; then the key; the rest is the text.
    const std::size_t keyLength = data[0] % 16;
    if (size < 1 + keyLength)
        return 0;
    const std::string key(reinterpret_cast<const char*>(data + 1), keyLength);
    const std::string text(reinterpret_cast<const char*>(data + 1 + keyLength),
                           size - 1 - keyLength);

    std::string value;
    velk::findJsonString(text, key, value);
    int number = 0;
    if (velk::findJsonInt(text, key, number) && (number < -2147483647))
        std::abort();

    // Any value, escaped and embedded as the only field, reads back as itself.
    if (key.find('"') == std::string::npos && key.find('\\') == std::string::npos) {
        const std::string doc = "{\"" + key + "\":\"" + velk::escapeJsonText(text) + "\"}";
        std::string back;
        if (!velk::findJsonString(doc, key, back) || back != text)
            std::abort();
    }
    return 0;
}
