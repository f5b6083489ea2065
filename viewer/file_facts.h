#pragma once
// The header lines the viewer shows about its file.

#include <cstdint>
#include <functional>
#include <string>

namespace velk {

// The part after the last "\" or "/", or the whole path when it has neither.
std::string fileNameOf(const std::string& path);

// Width in pixels of a UTF-8 text as it would be drawn.
using TextMeasure = std::function<int(const std::string& utf8)>;

// The file name on one line of `maxWidth` pixels: whole when it fits, otherwise its start,
// "…" and its end, which keeps the extension (from the last "." that does not begin the
// name). Characters are never split. Only when not even "…" and the extension fit is the
// extension cut as well.
std::string elideFileName(const std::string& name, int maxWidth, const TextMeasure& measure);

// Plain decimal digits and " bytes": "1048576 bytes".
std::string sizeLineText(std::uint64_t bytes);

// The maker's web address: the host name the window shows, and the page the link opens.
inline constexpr const char* kMakerSiteShort = "velkora.example";
inline constexpr const char* kMakerSiteUrl = "https://velkora.example/";

} // namespace velk
