#pragma once
// Pictures of what the screen shows, saved as PNG files without any image library.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velk::test {

// RGB rows (top first) to the bytes of a PNG file with stored deflate blocks.
std::string encodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

// What the screen shows inside the window's rectangle, as RGB rows.
bool captureWindow(HWND window, int& width, int& height, std::vector<std::uint8_t>& rgb);

bool savePng(const std::wstring& path, int width, int height, const std::vector<std::uint8_t>& rgb);

} // namespace velk::test
