// The viewer on a real display (Xvfb): theme colours, font sizes, 144 DPI, and the
// screenshots left in the build folder. Runs in a prefix of its own (display-tests.sh).

#include "screen_capture.h"
#include "viewer_test_support.h"

#include "viewer/layout.h"
#include "viewer/theme_palette.h"

#include <commctrl.h>

#include <cmath>
#include <cstdlib>
#include <optional>

namespace velk::test {
namespace {

constexpr COLORREF kDarkBackground = RGB(32, 32, 32);
constexpr COLORREF kLightBackground = RGB(255, 255, 255);

std::wstring artifactsFolder() {
    wchar_t folder[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"VELK_ARTIFACTS", folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(folder, n) : std::wstring();
}

void saveArtifact(const Pixels& pixels, const std::wstring& name) {
    const std::wstring folder = artifactsFolder();
    if (folder.empty())
        return;
    CreateDirectoryW(folder.c_str(), nullptr);
    EXPECT_TRUE(saveBmp(pixels, folder + L"\\" + name)) << narrow(folder + L"\\" + name);
}

LOGFONTW fontOf(int px, const wchar_t* face, int weight, bool underline = false) {
    LOGFONTW lf{};
    lf.lfHeight = -px;
    lf.lfWeight = weight;
    lf.lfUnderline = underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy(lf.lfFaceName, face);
    return lf;
}

// Sets a registry value of the current user for one test and puts the old state back.
class RegistryValue {
  public:
    RegistryValue(const wchar_t* key, const wchar_t* name) : key_(key), name_(name) {
        DWORD size = sizeof previous_;
        had_ = RegGetValueW(HKEY_CURRENT_USER, key_, name_, RRF_RT_REG_DWORD, nullptr, &previous_,
                            &size) == ERROR_SUCCESS;
    }
    ~RegistryValue() {
        if (had_) {
            set(previous_);
        } else {
            remove();
        }
    }
    void set(DWORD value) {
        HKEY k = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, key_, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k,
                        nullptr);
        RegSetValueExW(k, name_, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(k);
    }
    void remove() {
        HKEY k = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key_, 0, KEY_SET_VALUE, &k) == ERROR_SUCCESS) {
            RegDeleteValueW(k, name_);
            RegCloseKey(k);
        }
    }

  private:
    const wchar_t* key_;
    const wchar_t* name_;
    bool had_ = false;
    DWORD previous_ = 0;
};

class ViewerOnScreen : public ViewerTest {
  protected:
    // Starts a viewer on the sample file and waits until its digests are painted.
    HWND open(Viewer& viewer) {
        HWND window = viewer.window();
        if (window == nullptr || !viewer.waitForResult())
            return nullptr;
        settle(window);
        return window;
    }

    static void settle(HWND window) {
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Sleep(300);
    }

    // The client area as the screen shows it; rectangles of the controls map into it.
    static Pixels client(HWND window) {
        RECT r{};
        GetClientRect(window, &r);
        MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
        return captureScreen(r);
    }

    static Pixels whole(HWND window) { return captureScreen(windowRect(window)); }

    // Points of the client area no control covers: margins and the gaps between rows.
    static std::vector<POINT> backgroundPoints(Viewer& viewer) {
        const SIZE size = clientSize(viewer.window());
        std::vector<POINT> points{
            {4, 4}, {size.cx / 2, 4}, {size.cx - 3, size.cy / 2}, {4, size.cy / 2}};
        for (std::size_t row = 0; row + 1 < 11; ++row) {
            const RECT value = rectInParent(viewer.valueBox(row));
            points.push_back({5, value.bottom + 3});
            points.push_back({value.right - 4, value.bottom + 3});
        }
        // Inside controls, where they paint only their background.
        const RECT crc = rectInParent(viewer.valueBox(0));
        points.push_back({crc.right - 6, crc.top + (crc.bottom - crc.top) / 2});
        const RECT name = rectInParent(viewer.control(7 + 1));
        points.push_back({name.right - 3, name.bottom - 3});
        return points;
    }

    void expectBackground(Viewer& viewer, const Pixels& pixels, COLORREF background) {
        for (const POINT& p : backgroundPoints(viewer)) {
            if (p.y >= pixels.height)
                continue;
            EXPECT_EQ(colourText(pixels.at(p.x, p.y)), colourText(background))
                << "at " << p.x << ", " << p.y;
        }
    }
};

struct ThemeCase {
    const char* theme;
    COLORREF background, text, secondary, link, success;
    const wchar_t* button;
    const wchar_t* screenshot;
};

TEST_F(ViewerOnScreen, ThemesPaintTheWholeClientArea) {
    const std::wstring path = sampleFile();
    const ThemeCase cases[] = {
        {"dark", kDarkBackground, RGB(235, 235, 235), RGB(165, 165, 165), RGB(96, 165, 250),
         RGB(108, 203, 95), L"\u2600 Light", L"viewer-dark.bmp"},
        {"light", kLightBackground, RGB(0, 0, 0), RGB(110, 110, 110), RGB(0, 90, 200),
         RGB(26, 127, 55), L"\u263E Dark", L"viewer-light.bmp"},
    };
    for (const ThemeCase& c : cases) {
        SCOPED_TRACE(c.theme);
        appData.writeConfig(std::string("{\"theme\":\"") + c.theme +
                            "\",\"label_algo\":\"SHA-256\",\"win_w\":780,\"win_h\":700}");
        Viewer viewer(quoted(path), appData.folder.path());
        HWND window = open(viewer);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(textOf(viewer.control(kTheme)), c.button);

        // Something for the status line: a check in the dark theme, a copy in the light one.
        if (std::string(c.theme) == "dark") {
            ASSERT_TRUE(setClipboardText(L"  " + wide(expected.at("SHA-256")) + L"\r\n"));
            viewer.click(viewer.control(kCheck));
        } else {
            viewer.click(viewer.copyButton(4));
        }
        settle(window);

        const Pixels pixels = client(window);
        ASSERT_FALSE(pixels.empty());
        expectBackground(viewer, pixels, c.background);

        const RECT size = rectInParent(viewer.control(kSize));
        EXPECT_EQ(colourText(strongestInk(pixels, size, c.background)), colourText(c.secondary));
        const RECT preview = rectInParent(viewer.control(kPreview));
        EXPECT_EQ(colourText(strongestInk(pixels, preview, c.background)), colourText(c.secondary));
        const RECT name = rectInParent(viewer.control(kFileName));
        EXPECT_EQ(colourText(strongestInk(pixels, name, c.background)), colourText(c.text));
        const RECT link = rectInParent(viewer.control(kLink));
        EXPECT_GT(countNear(pixels, link, c.link, 0), 40) << "the underline in the link colour";
        const RECT status = rectInParent(viewer.control(kStatus));
        EXPECT_EQ(colourText(strongestInk(pixels, status, c.background)), colourText(c.success))
            << narrow(textOf(viewer.control(kStatus)));

        saveArtifact(whole(window), c.screenshot);
    }
}

// Mid-pass over a large file: the bar and its line in each theme, left as screenshots.
TEST_F(ViewerOnScreen, ProgressMidPassInBothThemes) {
    const std::wstring path = sparseFile(files, L"image.bin", 2ll << 30);
    const ProgressColours dark = darkProgressColours();
    const struct {
        const char* theme;
        COLORREF background, secondary;
        const wchar_t* screenshot;
    } cases[] = {
        {"dark", kDarkBackground, RGB(165, 165, 165), L"viewer-progress-dark.bmp"},
        {"light", kLightBackground, RGB(110, 110, 110), L"viewer-progress-light.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.theme);
        appData.writeConfig(std::string("{\"theme\":\"") + c.theme +
                            "\",\"win_w\":780,\"win_h\":700}");
        Viewer viewer(quoted(path), appData.folder.path());
        HWND window = viewer.window();
        ASSERT_NE(window, nullptr);
        HWND bar = nullptr;
        ASSERT_TRUE(waitUntil(
            [&] {
                bar = progressBarOf(window);
                // Far enough along for the filled part to show.
                return bar != nullptr && SendMessageW(bar, PBM_GETPOS, 0, 0) >= 30;
            },
            60000, 50));
        settle(window);
        const Pixels pixels = client(window);
        ASSERT_FALSE(pixels.empty());
        const RECT barRect = rectInParent(bar);
        if (std::string(c.theme) == "dark") {
            const RECT inner{barRect.left + 2, barRect.top + 2, barRect.right - 2,
                             barRect.bottom - 2};
            EXPECT_GT(countNear(pixels, inner, static_cast<COLORREF>(dark.fill), 0), 20)
                << "the filled part in the theme's colour";
            EXPECT_GT(countNear(pixels, inner, static_cast<COLORREF>(dark.track), 0), 200)
                << "the empty part in the track colour";
        }
        // The line beside the bar, in the secondary text colour, right of the bar.
        const RECT line{barRect.right, barRect.top - 8, pixels.width - 10, barRect.bottom + 8};
        EXPECT_EQ(colourText(strongestInk(pixels, line, c.background)), colourText(c.secondary));
        saveArtifact(whole(window), c.screenshot);
    }
}

TEST_F(ViewerOnScreen, SystemThemeFollowsTheAppMode) {
    const std::wstring path = sampleFile();
    RegistryValue appMode(L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                          L"AppsUseLightTheme");
    struct Case {
        std::optional<DWORD> value;
        COLORREF background;
    };
    for (const Case& c : {Case{0, kDarkBackground}, Case{1, kLightBackground},
                          Case{std::nullopt, kLightBackground}}) {
        if (c.value) {
            appMode.set(*c.value);
        } else {
            appMode.remove();
        }
        appData.writeConfig("{\"theme\":\"system\"}");
        Viewer viewer(quoted(path), appData.folder.path());
        HWND window = open(viewer);
        ASSERT_NE(window, nullptr);
        expectBackground(viewer, client(window), c.background);
    }
}

TEST_F(ViewerOnScreen, FailureStatusIsRedInBothThemes) {
    const std::wstring path = files.write(L"locked.bin", randomBytes(100));
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    for (const char* theme : {"dark", "light"}) {
        appData.writeConfig(std::string("{\"theme\":\"") + theme +
                            "\",\"win_w\":780,\"win_h\":700}");
        Viewer viewer(quoted(path), appData.folder.path());
        HWND window = open(viewer);
        ASSERT_NE(window, nullptr);
        const Pixels pixels = client(window);
        const bool dark = std::string(theme) == "dark";
        const COLORREF background = dark ? kDarkBackground : kLightBackground;
        const RECT status = rectInParent(viewer.control(kStatus));
        EXPECT_EQ(colourText(strongestInk(pixels, status, background)),
                  colourText(dark ? RGB(255, 112, 112) : RGB(192, 28, 40)))
            << theme;
        if (std::string(theme) == "dark")
            saveArtifact(whole(window), L"viewer-failed-dark.bmp");
    }
    CloseHandle(held);
}

// Text in the viewer's control against the same text drawn here in the font the viewer
// should use: same ink width and height means same face, weight and size.
void expectSameText(const Pixels& screen, const RECT& control, COLORREF background,
                    const std::wstring& text, const LOGFONTW& font, COLORREF colour) {
    const RECT shown = inkBox(screen, control, background);
    const Pixels drawn = renderText(text, font, colour, background);
    const RECT want = inkBox(drawn, RECT{0, 0, drawn.width, drawn.height}, background);
    EXPECT_NEAR(shown.right - shown.left, want.right - want.left, 1) << narrow(text);
    EXPECT_NEAR(shown.bottom - shown.top, want.bottom - want.top, 1) << narrow(text);
    EXPECT_GT(want.right - want.left, 0);
}

TEST_F(ViewerOnScreen, FontsAreFontPxHigh) {
    const std::wstring path = sampleFile(L"fonts.bin");
    for (int px : {12, 17}) {
        SCOPED_TRACE(px);
        appData.writeConfig("{\"theme\":\"light\",\"font_px\":" + std::to_string(px) +
                            ",\"win_w\":1100,\"win_h\":1000}");
        Viewer viewer(quoted(path), appData.folder.path());
        HWND window = open(viewer);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(rectInParent(viewer.control(kCheck)).bottom -
                      rectInParent(viewer.control(kCheck)).top,
                  px + 16);
        const Pixels pixels = client(window);
        expectSameText(pixels, rectInParent(viewer.control(kFileName)), kLightBackground,
                       L"fonts.bin", fontOf(px, L"Segoe UI", 700), RGB(0, 0, 0));
        expectSameText(pixels, rectInParent(viewer.control(kSize)), kLightBackground,
                       L"1048576 bytes", fontOf(px, L"Segoe UI", 400), RGB(110, 110, 110));
        expectSameText(pixels, rectInParent(viewer.valueBox(1)), kLightBackground,
                       wide(expected.at("MD5")), fontOf(px, L"Consolas", 400), RGB(0, 0, 0));
        expectSameText(pixels, rectInParent(viewer.control(kLink)), kLightBackground,
                       L"velkora.example", fontOf(px, L"Segoe UI", 700, true), RGB(0, 90, 200));
    }
}

// The contrast ratio of two screen colours by their relative luminance.
double contrast(COLORREF a, COLORREF b) {
    const auto luminance = [](COLORREF c) {
        const auto linear = [](int v) {
            const double x = v / 255.0;
            return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(GetRValue(c)) + 0.7152 * linear(GetGValue(c)) +
               0.0722 * linear(GetBValue(c));
    };
    const double la = luminance(a) + 0.05;
    const double lb = luminance(b) + 0.05;
    return la > lb ? la / lb : lb / la;
}

TEST_F(ViewerOnScreen, CompareMarksAreGreenOrRedInBothThemes) {
    const std::wstring path = sampleFile(L"compared.bin");
    // sampleFile's bytes again, and the same with the last byte changed.
    const std::wstring copy = files.write(L"copy.bin", randomBytes(1 << 20));
    std::string changedBytes = randomBytes(1 << 20);
    changedBytes.back() = static_cast<char>(changedBytes.back() ^ 0x01);
    const std::wstring changed = files.write(L"changed.bin", changedBytes);
    struct Case {
        const char* theme;
        std::wstring other;
        const wchar_t* mark;
        COLORREF background, ink;
        const wchar_t* screenshot;
    };
    const Case cases[] = {
        {"dark", copy, L"\u2714 ", kDarkBackground, RGB(108, 203, 95), L"viewer-compare-dark.bmp"},
        {"light", changed, L"\u2718 ", kLightBackground, RGB(192, 28, 40),
         L"viewer-compare-light.bmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.theme);
        appData.writeConfig(std::string("{\"theme\":\"") + c.theme +
                            "\",\"win_w\":780,\"win_h\":700}");
        Viewer viewer(L"--compare " + test::quoted(path) + L" " + test::quoted(c.other),
                      appData.folder.path());
        HWND window = open(viewer);
        ASSERT_NE(window, nullptr);
        HWND lastName = viewer.control(7 + 3 * 10 + 1);
        ASSERT_TRUE(waitUntil([&] { return textOf(lastName) == c.mark + std::wstring(L"BLAKE2s"); },
                              kLoadedMs));
        settle(window);
        const Pixels pixels = client(window);
        ASSERT_FALSE(pixels.empty());
        for (std::size_t row = 0; row < 11; ++row) {
            const RECT name = rectInParent(viewer.control(7 + 3 * row + 1));
            const COLORREF ink = strongestInk(pixels, name, c.background);
            EXPECT_EQ(colourText(ink), colourText(c.ink)) << row;
            EXPECT_GE(contrast(ink, c.background), 4.5) << row;
        }
        const RECT status = rectInParent(viewer.control(kStatus));
        EXPECT_EQ(colourText(strongestInk(pixels, status, c.background)), colourText(c.ink))
            << narrow(textOf(viewer.control(kStatus)));
        saveArtifact(whole(window), c.screenshot);
    }
}

TEST_F(ViewerOnScreen, DarkStatusColoursStandOutFromTheBackground) {
    const std::wstring path = sampleFile();
    appData.writeConfig("{\"theme\":\"dark\",\"win_w\":780,\"win_h\":700}");
    Viewer viewer(quoted(path), appData.folder.path());
    HWND window = open(viewer);
    ASSERT_NE(window, nullptr);
    struct Case {
        std::wstring clipboard;
        COLORREF colour;
    };
    for (const Case& c : {Case{wide(expected.at("MD5")), RGB(108, 203, 95)},
                          Case{std::wstring(32, L'a'), RGB(255, 112, 112)},
                          Case{L"not a hash", RGB(230, 180, 50)}}) {
        ASSERT_TRUE(setClipboardText(c.clipboard));
        viewer.click(viewer.control(kCheck));
        settle(window);
        const RECT status = rectInParent(viewer.control(kStatus));
        const COLORREF ink = strongestInk(client(window), status, kDarkBackground);
        EXPECT_EQ(colourText(ink), colourText(c.colour)) << narrow(c.clipboard);
        EXPECT_GE(contrast(ink, kDarkBackground), 4.5) << colourText(ink);
    }
}

// Every DPI the viewer is likely to meet, in both themes, as screenshots: the window as it
// opens, its lower part, the format list open, and the smallest window.
TEST_F(ViewerOnScreen, ScreenshotsAtThreeDpisInBothThemes) {
    const std::wstring path = sampleFile(L"a file with a rather long name, to show how the viewer "
                                         L"shortens it in the middle and keeps its extension.bin");
    RegistryValue logPixels(L"Control Panel\\Desktop", L"LogPixels");
    for (const int dpi : {96, 144, 192}) {
        logPixels.set(static_cast<DWORD>(dpi));
        for (const char* theme : {"light", "dark"}) {
            SCOPED_TRACE(testing::Message() << dpi << " " << theme);
            const std::wstring name = L"viewer-" + std::to_wstring(dpi) + L"dpi-" + wide(theme);
            appData.writeConfig(std::string("{\"theme\":\"") + theme + "\"}");
            Viewer viewer(quoted(path), appData.folder.path());
            HWND window = open(viewer);
            ASSERT_NE(window, nullptr);
            const int F = (dpi * 12 + 48) / 96;
            EXPECT_EQ(checkHeight(viewer), F + 16) << "the DPI default font size";
            ASSERT_TRUE(setClipboardText(wide(expected.at("SHA-256"))));
            viewer.click(viewer.control(kCheck));
            settle(window);
            saveArtifact(whole(window), name + L".bmp");

            SendMessageW(viewer.control(kFormat), CB_SHOWDROPDOWN, TRUE, 0);
            settle(window);
            saveArtifact(captureScreen(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN),
                                            GetSystemMetrics(SM_CYSCREEN)}),
                         name + L"-formats.bmp");
            SendMessageW(viewer.control(kFormat), CB_SHOWDROPDOWN, FALSE, 0);

            for (int i = 0; i < 20; ++i)
                PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
            waitUntil([&] { return rectInParent(viewer.control(kFileName)).top < 10; }, 3000);
            Sleep(500);
            settle(window);
            saveArtifact(whole(window), name + L"-lower.bmp");

            ASSERT_TRUE(setClipboardText(std::wstring(128, L'a')));
            viewer.click(viewer.control(kCheck));
            SetWindowPos(window, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
            Sleep(300);
            for (int i = 0; i < 20; ++i)
                PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
            Sleep(1500);
            settle(window);
            saveArtifact(whole(window), name + L"-smallest.bmp");
        }
    }
}

TEST_F(ViewerOnScreen, At144DpiTheFontIs18AndTheWindowLarger) {
    const std::wstring path = sampleFile(L"dpi.bin");
    {
        RegistryValue logPixels(L"Control Panel\\Desktop", L"LogPixels");
        logPixels.set(144);
        Viewer viewer(quoted(path), appData.folder.path());
        HWND window = open(viewer);
        ASSERT_NE(window, nullptr);
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const RECT r = windowRect(window);
        EXPECT_EQ(r.right - r.left, std::min<LONG>(1140, work.right - work.left));
        EXPECT_EQ(r.bottom - r.top, std::min<LONG>(840, work.bottom - work.top));
        const RECT copy = rectInParent(viewer.copyButton(0));
        EXPECT_EQ(copy.bottom - copy.top, 18 + 16);
        EXPECT_EQ(copy.right - copy.left, 5 * 18 + 20);
        const Pixels pixels = client(window);
        expectSameText(pixels, rectInParent(viewer.control(kFileName)), kLightBackground,
                       L"dpi.bin", fontOf(18, L"Segoe UI", 700), RGB(0, 0, 0));
        saveArtifact(whole(window), L"viewer-144dpi.bmp");

        // Reset goes back to the DPI default, not to 12.
        viewer.click(viewer.control(kLarger));
        viewer.click(viewer.control(kReset));
        EXPECT_EQ(
            rectInParent(viewer.copyButton(0)).bottom - rectInParent(viewer.copyButton(0)).top, 34);
    }
}

TEST_F(ViewerOnScreen, At144DpiTheDefaultSizeSurvivesARestartAndAChosenOneWins) {
    const std::wstring path = sampleFile(L"restart.bin");
    RegistryValue logPixels(L"Control Panel\\Desktop", L"LogPixels");
    logPixels.set(144);
    {
        Viewer first(quoted(path), appData.folder.path());
        ASSERT_NE(open(first), nullptr);
        EXPECT_EQ(checkHeight(first), 18 + 16);
        first.close();
        ASSERT_EQ(first.waitForExit(20000), 0u);
    }
    ASSERT_TRUE(savedSettings().has_win_w) << "the placement was saved";
    EXPECT_FALSE(savedSettings().has_font_px) << appData.configText();
    {
        Viewer second(quoted(path), appData.folder.path());
        HWND window = open(second);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(checkHeight(second), 18 + 16) << "still the DPI default";
        expectSameText(client(window), rectInParent(second.control(kFileName)), kLightBackground,
                       L"restart.bin", fontOf(18, L"Segoe UI", 700), RGB(0, 0, 0));
        second.click(second.control(kLarger));
        second.close();
        ASSERT_EQ(second.waitForExit(20000), 0u);
    }
    EXPECT_EQ(savedSettings().font_px, 19);
    {
        Viewer third(quoted(path), appData.folder.path());
        ASSERT_NE(open(third), nullptr);
        EXPECT_EQ(checkHeight(third), 19 + 16) << "the chosen size wins";
        third.click(third.control(kReset));
        third.close();
        ASSERT_EQ(third.waitForExit(20000), 0u);
    }
    EXPECT_FALSE(savedSettings().has_font_px) << "Reset follows the DPI again";
    // On another screen the same file starts at that screen's default.
    logPixels.set(96);
    Viewer fourth(quoted(path), appData.folder.path());
    ASSERT_NE(open(fourth), nullptr);
    EXPECT_EQ(checkHeight(fourth), 12 + 16);
}

// The check window in both themes: the window, the list and the verdicts in the theme's
// colours, and a screenshot of each.
TEST_F(ViewerOnScreen, CheckWindowInBothThemes) {
    const std::wstring good = sampleFile(L"good.iso");
    files.write(L"changed.iso", randomBytes(2000, 9));
    const std::wstring list = files.write(
        L"SHA256SUMS", expected.at("SHA-256") + "  good.iso\n" + std::string(64, '0') +
                           "  changed.iso\n" + std::string(64, '1') + "  missing.iso\n" +
                           std::string(64, '2') + "  ../outside.iso\n");
    for (const bool dark : {false, true}) {
        SCOPED_TRACE(dark ? "dark" : "light");
        appData.writeConfig(std::string("{\"theme\":\"") + (dark ? "dark" : "light") + "\"}");
        Viewer program(L"--check " + quoted(list), appData.folder.path());
        HWND window = nullptr;
        ASSERT_TRUE(waitUntil(
            [&] { return (window = topWindowOf(program.processId(), L"VelkscopeListWnd")); },
            kLoadedMs));
        HWND status = nullptr;
        ASSERT_TRUE(waitUntil(
            [&] {
                for (const Child& c : childrenOf(window)) {
                    if (c.className == L"Static" && !c.text.empty() && c.text[0] == L'\u2718')
                        status = c.window;
                }
                return status != nullptr;
            },
            kLoadedMs));
        HWND listView = nullptr;
        for (const Child& c : childrenOf(window)) {
            if (c.className == L"SysListView32")
                listView = c.window;
        }
        ASSERT_NE(listView, nullptr);
        settle(window);
        const Pixels pixels = client(window);
        // Colours are kept in the layout of COLORREF.
        const COLORREF background = themePalette(dark).background;
        EXPECT_EQ(colourText(pixels.at(3, 3)), colourText(background));
        const RECT rows = rectInParent(listView);
        // Below the four rows the list shows only its background.
        EXPECT_EQ(colourText(pixels.at(rows.left + 20, rows.bottom - 8)), colourText(background));
        const auto colourOf = [&](StatusKind kind) {
            return static_cast<COLORREF>(statusColour(kind, dark, themePalette(dark).text));
        };
        EXPECT_GT(countNear(pixels, rows, colourOf(StatusKind::Failure), 40), 10);
        EXPECT_GT(countNear(pixels, rows, colourOf(StatusKind::Success), 40), 5);
        EXPECT_GT(countNear(pixels, rows, colourOf(StatusKind::Warning), 40), 5);
        EXPECT_EQ(colourText(strongestInk(pixels, rectInParent(status), background)),
                  colourText(colourOf(StatusKind::Failure)));
        saveArtifact(whole(window),
                     dark ? L"viewer-check-window-dark.bmp" : L"viewer-check-window-light.bmp");
    }
}

} // namespace
} // namespace velk::test
