// The small rules of the viewer: font sizes, start-up preferences, theme names and colours,
// the header texts.
#include "settings/settings.h"
#include "viewer/file_facts.h"
#include "viewer/font_size.h"
#include "viewer/scrolling.h"
#include "viewer/theme_palette.h"
#include "viewer/viewer_preferences.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(FontSize, DpiDefaultRoundsAndClamps) {
    EXPECT_EQ(defaultFontPxForDpi(96), 12);
    EXPECT_EQ(defaultFontPxForDpi(120), 15);
    EXPECT_EQ(defaultFontPxForDpi(144), 18);
    EXPECT_EQ(defaultFontPxForDpi(192), 24);
    EXPECT_EQ(defaultFontPxForDpi(100), 13); // 12.5 rounds up
    EXPECT_EQ(defaultFontPxForDpi(20), 7);
    EXPECT_EQ(defaultFontPxForDpi(1000), 72);
}

TEST(FontSize, SavedSizeCountsOnlyWithASavedWindowWidth) {
    Settings s;
    s.font_px = 20;
    EXPECT_EQ(startupFontPx(s, 12), 12);
    s.has_win_w = true;
    s.win_w = 800;
    EXPECT_EQ(startupFontPx(s, 12), 20);
    s.font_px = 3;
    EXPECT_EQ(startupFontPx(s, 12), 7);
    s.font_px = 100;
    EXPECT_EQ(startupFontPx(s, 12), 72);
}

TEST(FontSize, CtrlKeysOnBothKeyboardsAndTheWheel) {
    struct Case {
        unsigned key;
        std::optional<int> size;
    };
    for (const Case c : {Case{0xBB, 21}, Case{0x6B, 21}, Case{0xBD, 19}, Case{0x6D, 19},
                         Case{0x30, 18}, Case{0x60, 18}, Case{0x31, std::nullopt},
                         Case{0x41, std::nullopt}, Case{0x0D, std::nullopt}}) {
        EXPECT_EQ(fontSizeForKey(c.key, 20, 18), c.size) << c.key;
    }
    EXPECT_EQ(fontSizeForWheel(120, 12), 13);
    EXPECT_EQ(fontSizeForWheel(1, 12), 13);
    EXPECT_EQ(fontSizeForWheel(-480, 12), 11);
    EXPECT_EQ(fontSizeForWheel(0, 12), 11);
    EXPECT_EQ(clampFontPx(73), 72);
    EXPECT_EQ(clampFontPx(6), 7);
}

TEST(ViewerPreferences, LoadedValuesAreMadeSafe) {
    Settings s;
    s.label_algo = "sha-256";
    s.label_format = "8";
    s.theme = "Dark";
    s.compute_all_menus = true;
    ViewerPreferences p = preferencesFromSettings(s, 18);
    EXPECT_EQ(p.labelAlgo, "MD5");
    EXPECT_EQ(p.labelFormat, "4");
    EXPECT_EQ(p.themeName, "system");
    EXPECT_TRUE(p.computeAllMenus);
    EXPECT_EQ(p.fontPx, 18);

    s.label_algo = "BLAKE2s";
    s.label_format = "full";
    s.theme = "dark";
    p = preferencesFromSettings(s, 12);
    EXPECT_EQ(p.labelAlgo, "BLAKE2s");
    EXPECT_EQ(p.labelFormat, "full");
    EXPECT_EQ(p.themeName, "dark");
}

TEST(ViewerPreferences, StoringKeepsTheWindowKeys) {
    Settings s;
    s.has_win_x = s.has_win_y = s.has_win_w = s.has_win_h = s.has_monitor = true;
    s.win_x = -5;
    s.win_y = 7;
    s.win_w = 900;
    s.win_h = 700;
    s.monitor = "\\\\.\\DISPLAY2";
    ViewerPreferences p;
    p.fontPx = 30;
    p.labelAlgo = "SHA-1";
    p.labelFormat = "2m";
    p.themeName = "light";
    p.computeAllMenus = true;
    storePreferences(s, p);
    EXPECT_EQ(s.font_px, 30);
    EXPECT_EQ(s.label_algo, "SHA-1");
    EXPECT_EQ(s.label_format, "2m");
    EXPECT_EQ(s.theme, "light");
    EXPECT_TRUE(s.compute_all_menus);
    EXPECT_TRUE(s.has_win_x && s.has_win_y && s.has_win_w && s.has_win_h && s.has_monitor);
    EXPECT_EQ(s.win_x, -5);
    EXPECT_EQ(s.win_y, 7);
    EXPECT_EQ(s.win_w, 900);
    EXPECT_EQ(s.win_h, 700);
    EXPECT_EQ(s.monitor, "\\\\.\\DISPLAY2");
}

TEST(Theme, NamesButtonAndColours) {
    EXPECT_EQ(fixedThemeIsDark("dark"), true);
    EXPECT_EQ(fixedThemeIsDark("light"), false);
    EXPECT_EQ(fixedThemeIsDark("system"), std::nullopt);
    EXPECT_TRUE(appModeIsDark(0));
    EXPECT_FALSE(appModeIsDark(1));
    EXPECT_EQ(toggledThemeName(true), "light");
    EXPECT_EQ(toggledThemeName(false), "dark");
    EXPECT_EQ(normalizeThemeName("light"), "light");
    EXPECT_EQ(normalizeThemeName("DARK"), "system");
    EXPECT_EQ(normalizeThemeName(""), "system");

    EXPECT_EQ(themeButtonText(true), "\xE2\x98\x80 Light");
    EXPECT_EQ(themeButtonText(false), "\xE2\x98\xBE Dark");

    const ThemePalette dark = themePalette(true);
    const ThemePalette light = themePalette(false);
    EXPECT_EQ(dark.background, 0x202020u);
    EXPECT_EQ(dark.text, 0xEBEBEBu);
    EXPECT_EQ(dark.secondaryText, 0xA5A5A5u);
    EXPECT_EQ(dark.link, 0xFAA560u);
    EXPECT_EQ(light.background, 0xFFFFFFu);
    EXPECT_EQ(light.text, 0x000000u);
    EXPECT_EQ(light.secondaryText, 0x6E6E6Eu);
    EXPECT_EQ(light.link, 0xC85A00u);

    for (const ThemePalette& p : {dark, light}) {
        EXPECT_EQ(statusColour(StatusKind::Success, p.text), 0x377F1Au);
        EXPECT_EQ(statusColour(StatusKind::Failure, p.text), 0x281CC0u);
        EXPECT_EQ(statusColour(StatusKind::Warning, p.text), 0x00679Au);
        EXPECT_EQ(statusColour(StatusKind::Neutral, p.text), p.text);
    }
}

TEST(HeaderTexts, FileNameAndSizeLine) {
    EXPECT_EQ(fileNameOf("C:\\data\\disk.img"), "disk.img");
    EXPECT_EQ(fileNameOf("Z:/work/a b/c.txt"), "c.txt");
    EXPECT_EQ(fileNameOf("C:\\data/mixed\\last"), "last");
    EXPECT_EQ(fileNameOf("plain.bin"), "plain.bin");
    EXPECT_EQ(fileNameOf("C:\\dir\\"), "");
    EXPECT_EQ(sizeLineText(1048576), "1048576 bytes");
    EXPECT_EQ(sizeLineText(0), "0 bytes");
    EXPECT_EQ(sizeLineText(5000000000ull), "5000000000 bytes");
}

TEST(Scrolling, BarRequestsStayWithinTheRange) {
    // content 900 high, page 500: the limit is 400
    struct Case {
        int code, pos, track, expected;
    };
    for (const Case c :
         {Case{kScrollLineDown, 0, 0, 30}, Case{kScrollLineUp, 0, 0, 0},
          Case{kScrollLineUp, 100, 0, 70}, Case{kScrollPageDown, 0, 0, 400},
          Case{kScrollPageDown, 380, 0, 400}, Case{kScrollPageUp, 300, 0, 0},
          Case{kScrollThumbTrack, 10, 250, 250}, Case{kScrollThumbTrack, 10, 999, 400},
          Case{4 /* thumb position */, 120, 300, 120}, Case{8 /* end scroll */, 120, 0, 120}}) {
        EXPECT_EQ(scrollBarPosition(c.code, c.pos, 500, c.track, 900), c.expected) << c.code;
    }
    EXPECT_EQ(scrollBarPosition(kScrollLineDown, 0, 700, 0, 616), 0); // content fits
}

TEST(Scrolling, WheelMoves60PixelsPerMessage) {
    EXPECT_EQ(wheelScrollPosition(0, -120, 900, 500), 60);
    EXPECT_EQ(wheelScrollPosition(0, -1, 900, 500), 60);
    EXPECT_EQ(wheelScrollPosition(0, -1200, 900, 500), 60);
    EXPECT_EQ(wheelScrollPosition(100, 120, 900, 500), 40);
    EXPECT_EQ(wheelScrollPosition(30, 120, 900, 500), 0);
    EXPECT_EQ(wheelScrollPosition(380, -120, 900, 500), 400);
    EXPECT_EQ(wheelScrollPosition(0, -120, 616, 700), 0); // content fits
}

} // namespace
} // namespace velk
