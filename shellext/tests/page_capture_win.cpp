#include "page_capture_win.h"

#include <algorithm>
#include <cstdio>

namespace velk::test {
namespace {

void put32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(v >> shift));
}

std::uint32_t crcOf(const std::string& bytes) {
    std::uint32_t table[256];
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes)
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void chunk(std::string& png, const char* type, const std::string& data) {
    put32(png, static_cast<std::uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    png += body;
    put32(png, crcOf(body));
}

} // namespace

// RGB rows to a PNG with stored (uncompressed) deflate blocks: no library needed.
std::string encodePng(int width, int height, const std::vector<std::uint8_t>& rgb) {
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        raw.append(reinterpret_cast<const char*>(&rgb[static_cast<std::size_t>(y) * width * 3]),
                   static_cast<std::size_t>(width) * 3);
    }
    std::string z = "\x78\x01";
    for (std::size_t pos = 0; pos < raw.size() || pos == 0;) {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        const bool last = pos + n >= raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<char>(n & 0xFF));
        z.push_back(static_cast<char>(n >> 8));
        z.push_back(static_cast<char>(~n & 0xFF));
        z.push_back(static_cast<char>((~n >> 8) & 0xFF));
        z.append(raw, pos, n);
        pos += n;
        if (last)
            break;
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    put32(z, (b << 16) | a);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    put32(header, static_cast<std::uint32_t>(width));
    put32(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8-bit RGB
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", std::string());
    return png;
}

// What the screen shows inside the window's rectangle, as RGB rows.
bool captureWindow(HWND window, int& width, int& height, std::vector<std::uint8_t>& rgb) {
    RECT r{};
    GetWindowRect(window, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = bitmap != nullptr;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) != FALSE;
        GdiFlush();
        const auto* px = static_cast<const std::uint8_t*>(bits);
        rgb.resize(static_cast<std::size_t>(width) * height * 3);
        for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
            rgb[i * 3] = px[i * 4 + 2];
            rgb[i * 3 + 1] = px[i * 4 + 1];
            rgb[i * 3 + 2] = px[i * 4];
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

bool savePng(const std::wstring& path, int width, int height,
             const std::vector<std::uint8_t>& rgb) {
    const std::string png = encodePng(width, height, rgb);
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (out == nullptr)
        return false;
    const bool written = std::fwrite(png.data(), 1, png.size(), out) == png.size();
    return std::fclose(out) == 0 && written;
}

} // namespace velk::test
