#pragma once
// The header lines the viewer shows about its file.

#include <cstdint>
#include <string>

namespace velk {

// The part after the last "\" or "/", or the whole path when it has neither.
std::string fileNameOf(const std::string& path);

// Plain decimal digits and " bytes": "1048576 bytes".
std::string sizeLineText(std::uint64_t bytes);

// The maker's web address: the host name the window shows, and the page the link opens.
inline constexpr const char* kMakerSiteShort = "velkora.example";
inline constexpr const char* kMakerSiteUrl = "https://velkora.example/";

} // namespace velk
