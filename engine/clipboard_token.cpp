#include "engine/clipboard_token.h"

namespace velk {

bool parseClipboardHash(const std::string& text, std::string& candidate) {
    const auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t begin = 0;
    while (begin < text.size() && isSpace(text[begin]))
        ++begin;
    std::size_t end = begin;
    while (end < text.size() && !isSpace(text[end]))
        ++end;

    std::string token = text.substr(begin, end - begin);
    for (char& c : token) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    if (token.size() >= 2 && token[0] == '0' && token[1] == 'x')
        token.erase(0, 2);
    if (token.empty())
        return false;
    for (char c : token) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    candidate = token;
    return true;
}

std::size_t clipboardTextLength(const char16_t* text, std::size_t blockBytes) {
    const std::size_t limit = blockBytes / sizeof(char16_t);
    std::size_t length = 0;
    while (length < limit && text[length] != 0)
        ++length;
    return length;
}

} // namespace velk
