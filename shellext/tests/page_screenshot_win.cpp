// Shows the "Hashes" page of a sample file in a property sheet, lets it compute, checks the
// clipboard against it, and saves what the screen shows of the sheet as a PNG.
//
// page_screenshot TOP.png CHECK.png -> exit 0 when both pictures were saved and the second,
// scrolled to the Check button, shows the match line in its colour.

#include "page_capture_win.h"
#include "page_test_support_win.h"

#include "engine/pass/hash_file.h"
#include "engine/utf16.h"
#include "shellext/com/module.h"
#include "shellext/page/property_page.h"

#include <objbase.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace velk::test;

std::size_t pixelsOf(const std::vector<std::uint8_t>& rgb, int r, int g, int b) {
    std::size_t n = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        if (rgb[i] == r && rgb[i + 1] == g && rgb[i + 2] == b)
            ++n;
    }
    return n;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: page_screenshot TOP.png CHECK.png\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    velk::moduleHandle = GetModuleHandleW(nullptr);
    PageTempDir dir;
    SetEnvironmentVariableW(L"APPDATA", dir.path().c_str()); // defaults: MD5, "4"
    const std::wstring file = dir.file(L"velkora-setup-1.0.zip");
    writeFileBytes(file, "Velkora sample download: the bytes behind the digests on this page.\n");

    PageCollector collector;
    if (velk::addHashPages({file}, &PageCollector::add, collector.param()) != S_OK ||
        collector.pages.size() != 1) {
        std::fprintf(stderr, "no page\n");
        return 1;
    }
    ModelessSheet sheet(collector.pages);
    HWND page = sheet.page();
    SetWindowTextW(sheet.sheet(), L"Properties for velkora-setup-1.0.zip");
    SetWindowPos(sheet.sheet(), HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    const bool settled = pumpUntil(
        [&] {
            const auto edits = controlsOfClass(page, L"Edit");
            return !edits.empty() && edits.front().text != L"computing...";
        },
        20000);
    if (!settled) {
        std::fprintf(stderr, "digests did not arrive\n");
        return 1;
    }
    velk::HashResults digests;
    velk::computeAllHashes(velk::toUtf8(file), digests, nullptr);
    putClipboardText(velk::toUtf16(digests["SHA-256"]) + L"\r\n");
    clickButton(GetDlgItem(page, 3000));
    RedrawWindow(sheet.sheet(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpFor(800);

    const auto save = [&](const wchar_t* path, std::vector<std::uint8_t>& rgb) {
        int width = 0, height = 0;
        if (!captureWindow(sheet.sheet(), width, height, rgb))
            return false;
        if (!savePng(path, width, height, rgb))
            return false;
        std::printf("%ls: %dx%d\n", path, width, height);
        return true;
    };
    std::vector<std::uint8_t> top, bottom;
    if (!save(argv[1], top)) {
        std::fprintf(stderr, "cannot save the first picture\n");
        return 1;
    }
    for (int i = 0; i < 10; ++i)
        SendMessageW(page, WM_VSCROLL, SB_PAGEDOWN, 0);
    RedrawWindow(sheet.sheet(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpFor(800);
    if (!save(argv[2], bottom)) {
        std::fprintf(stderr, "cannot save the second picture\n");
        return 1;
    }
    // The match line is drawn in its green; anti-aliased text still has pure pixels of it.
    const std::size_t green = pixelsOf(bottom, 26, 127, 55);
    std::printf("%zu pixels of the match colour\n", green);
    sheet.close();
    CoUninitialize();
    return green > 0 ? 0 : 1;
}
