#pragma once
// Shared pieces of the end-to-end viewer tests.

#include "viewer_harness.h"

#include "engine/algorithms.h"
#include "engine/hash_file.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace velk::test {

inline std::string randomBytes(std::size_t count, unsigned seed = 5) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    return bytes;
}

inline std::wstring quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// Every test gets its own APPDATA and a folder for the files it hashes.
class ViewerTest : public testing::Test {
protected:
    AppData appData;
    ScratchFolder files{L"files"};

    // A 1 MiB file and the digests the engine computes for it.
    std::wstring sampleFile(const std::wstring& name = L"sample.bin") {
        const std::wstring path = files.write(name, randomBytes(1 << 20));
        std::string error;
        EXPECT_TRUE(computeAllHashes(narrow(path), expected, &error)) << error;
        return path;
    }

    Settings savedSettings() const { return settingsFromText(appData.configText()); }

    HashResults expected;
};

inline std::string rectText(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right - r.left) + " x " + std::to_string(r.bottom - r.top) + ")";
}

inline RECT windowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

inline SIZE clientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// Resizes the window until its client area has the given width.
inline bool setClientWidth(HWND window, int width) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const SIZE client = clientSize(window);
        if (client.cx == width) return true;
        const RECT outer = windowRect(window);
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + width - client.cx,
                     outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return clientSize(window).cx == width;
}

} // namespace velk::test
