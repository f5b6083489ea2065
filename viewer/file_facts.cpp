#include "viewer/file_facts.h"

#include <vector>

namespace velk {
namespace {

const char* const kEllipsis = "\xE2\x80\xA6";

// Byte offsets of the UTF-8 characters, and the text's size at the end.
std::vector<std::size_t> characterStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    }
    starts.push_back(text.size());
    return starts;
}

} // namespace

std::string fileNameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string elideFileName(const std::string& name, int maxWidth, const TextMeasure& measure) {
    if (measure(name) <= maxWidth)
        return name;
    const std::vector<std::size_t> at = characterStarts(name);
    const std::size_t count = at.size() - 1;
    if (count == 0)
        return name;
    std::size_t stem = count; // characters before the extension
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        stem = 0;
        while (at[stem] < dot)
            ++stem;
    }
    const std::size_t extension = count - stem;

    // `kept` characters of the name around the ellipsis: the extension first, then the stem's
    // start and end, two to one.
    const auto shortened = [&](std::size_t kept) {
        if (kept <= extension)
            return kEllipsis + name.substr(at[count - kept]);
        const std::size_t stemKept = kept - extension;
        const std::size_t tail = stemKept / 3;
        const std::size_t head = stemKept - tail;
        return name.substr(0, at[head]) + kEllipsis + name.substr(at[stem - tail]);
    };
    // The widest that fits: widths grow with the characters kept.
    std::size_t low = 0;
    std::size_t high = count - 1;
    if (measure(shortened(low)) > maxWidth)
        return shortened(low);
    while (low < high) {
        const std::size_t mid = (low + high + 1) / 2;
        if (measure(shortened(mid)) <= maxWidth) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    return shortened(low);
}

std::string sizeLineText(std::uint64_t bytes) {
    return std::to_string(bytes) + " bytes";
}

} // namespace velk
