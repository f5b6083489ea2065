#include "screen_capture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace velk::test {
namespace {

Pixels readDib(HDC memory, HBITMAP bitmap, int width, int height) {
    Pixels p;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<BYTE> bgra(static_cast<std::size_t>(width) * height * 4);
    if (GetDIBits(memory, bitmap, 0, height, bgra.data(), &info, DIB_RGB_COLORS) != height)
        return p;
    p.width = width;
    p.height = height;
    p.data.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < p.data.size(); ++i) {
        p.data[i] = RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]);
    }
    return p;
}

int channelDistance(COLORREF a, COLORREF b) {
    const int dr = std::abs(GetRValue(a) - GetRValue(b));
    const int dg = std::abs(GetGValue(a) - GetGValue(b));
    const int db = std::abs(GetBValue(a) - GetBValue(b));
    return std::max(dr, std::max(dg, db));
}

} // namespace

bool closeTo(COLORREF a, COLORREF b, int tolerance) {
    return channelDistance(a, b) <= tolerance;
}

std::string colourText(COLORREF c) {
    char text[32];
    std::snprintf(text, sizeof text, "RGB(%d, %d, %d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

Pixels captureScreen(const RECT& r) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    Pixels p = readDib(memory, bitmap, width, height);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return p;
}

Pixels renderText(const std::wstring& text, const LOGFONTW& font, COLORREF textColour,
                  COLORREF background) {
    const int width = 1600;
    const int height = 200;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, width, height};
    FillRect(memory, &all, brush);
    HFONT handle = CreateFontIndirectW(&font);
    HGDIOBJ oldFont = SelectObject(memory, handle);
    SetTextColor(memory, textColour);
    SetBkColor(memory, background);
    TextOutW(memory, 20, 20, text.c_str(), static_cast<int>(text.size()));
    SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
    Pixels p = readDib(memory, bitmap, width, height);
    DeleteObject(handle);
    DeleteObject(brush);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return p;
}

RECT inkBox(const Pixels& p, const RECT& area, COLORREF background, int tolerance) {
    RECT box{area.right, area.bottom, area.left, area.top};
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, p.height); ++y) {
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, p.width); ++x) {
            if (channelDistance(p.at(x, y), background) <= tolerance)
                continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    if (box.right <= box.left)
        return RECT{0, 0, 0, 0};
    return box;
}

COLORREF strongestInk(const Pixels& p, const RECT& area, COLORREF background) {
    COLORREF best = background;
    int distance = -1;
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, p.height); ++y) {
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, p.width); ++x) {
            const int d = channelDistance(p.at(x, y), background);
            if (d > distance) {
                distance = d;
                best = p.at(x, y);
            }
        }
    }
    return best;
}

int countNear(const Pixels& p, const RECT& area, COLORREF colour, int tolerance) {
    int count = 0;
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, p.height); ++y) {
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, p.width); ++x) {
            if (closeTo(p.at(x, y), colour, tolerance))
                ++count;
        }
    }
    return count;
}

bool saveBmp(const Pixels& p, const std::wstring& path) {
    if (p.empty())
        return false;
    const int stride = (p.width * 3 + 3) & ~3;
    const DWORD imageBytes = static_cast<DWORD>(stride * p.height);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + imageBytes;
    info.biSize = sizeof info;
    info.biWidth = p.width;
    info.biHeight = p.height; // bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = imageBytes;
    std::vector<BYTE> rows(imageBytes, 0);
    for (int y = 0; y < p.height; ++y) {
        BYTE* row = &rows[static_cast<std::size_t>(p.height - 1 - y) * stride];
        for (int x = 0; x < p.width; ++x) {
            const COLORREF c = p.at(x, y);
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
    }
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(rows.data()), imageBytes);
    return static_cast<bool>(out);
}

} // namespace velk::test
