#include "settings/json_scan.h"

#include <cstdint>

namespace velk {
namespace {

constexpr std::size_t kNone = std::string::npos;

// Index of the first value byte for `key`, or kNone. Only spaces and tabs are skipped after
// the colon: a line break there means "no value", as the files we write never contain one.
std::size_t findValueStart(const std::string& text, const std::string& key) {
    const std::string needle = "\"" + key + "\"";
    if (needle.size() > text.size())
        return kNone;
    const std::size_t at = text.find(needle);
    if (at == kNone)
        return kNone;
    const std::size_t colon = text.find(':', at + needle.size());
    if (colon == kNone)
        return kNone;
    std::size_t pos = colon + 1;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    return pos < text.size() ? pos : kNone;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool findJsonString(const std::string& text, const std::string& key, std::string& out) {
    std::size_t pos = findValueStart(text, key);
    if (pos == kNone || text[pos] != '"')
        return false;
    ++pos;
    std::string value;
    while (pos < text.size() && text[pos] != '"') {
        if (text[pos] == '\\' && pos + 1 < text.size()) {
            const char escaped = text[pos + 1];
            value += escaped == 'n' ? '\n' : escaped;
            pos += 2;
        } else {
            value += text[pos];
            ++pos;
        }
    }
    out = value;
    return true;
}

bool findJsonInt(const std::string& text, const std::string& key, int& out) {
    std::size_t pos = findValueStart(text, key);
    if (pos == kNone)
        return false;
    bool negative = false;
    if (text[pos] == '-') {
        negative = true;
        ++pos;
        if (pos >= text.size())
            return false;
    }
    if (!isDigit(text[pos]))
        return false;

    // 18 decimal digits always fit in 64 bits, so the cap below never sees an overflow.
    constexpr int kCountedDigits = 18;
    constexpr std::int64_t kLimit = 2147483647;
    std::int64_t value = 0;
    int digits = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos, ++digits) {
        if (digits < kCountedDigits)
            value = value * 10 + (text[pos] - '0');
    }
    if (value > kLimit)
        value = kLimit;
    out = static_cast<int>(negative ? -value : value);
    return true;
}

std::string escapeJsonText(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '"':
            escaped += "\\\"";
            break;
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        default:
            escaped += c;
            break;
        }
    }
    return escaped;
}

} // namespace velk
