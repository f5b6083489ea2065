#pragma once
// What is on the screen, as pixels: captures of the desktop and text rendered by this
// process for comparison.

#include <windows.h>

#include <string>
#include <vector>

namespace velk::test {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> data; // row by row, top first

    COLORREF at(int x, int y) const { return data[static_cast<std::size_t>(y) * width + x]; }
    bool empty() const { return data.empty(); }
};

// The screen rectangle, as the display shows it now.
Pixels captureScreen(const RECT& screenRect);

// Text drawn by this process on a plain background, for comparing glyph sizes.
Pixels renderText(const std::wstring& text, const LOGFONTW& font, COLORREF textColour,
                  COLORREF background);

// Bounding box of the pixels that differ from the background by more than the tolerance
// in any channel; empty when there are none.
RECT inkBox(const Pixels& pixels, const RECT& area, COLORREF background, int tolerance = 60);

// The pixel of the area farthest from the background.
COLORREF strongestInk(const Pixels& pixels, const RECT& area, COLORREF background);

// How many pixels of the area are within the tolerance of the colour.
int countNear(const Pixels& pixels, const RECT& area, COLORREF colour, int tolerance = 8);

bool closeTo(COLORREF a, COLORREF b, int tolerance);
std::string colourText(COLORREF c);

// A 24-bit BMP file.
bool saveBmp(const Pixels& pixels, const std::wstring& path);

} // namespace velk::test
