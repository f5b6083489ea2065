// The small rules of the viewer: font sizes, start-up preferences, theme names and colours,
// the header texts.
#include "settings/settings.h"
#include "viewer/file_facts.h"
#include "viewer/font_size.h"
#include "viewer/keyboard.h"
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

TEST(FontSize, OnlyAStoredSizeOverridesTheDpiDefault) {
    Settings s;
    s.font_px = 20; // a value without its presence flag was never stored
    s.has_win_w = true;
    s.win_w = 1140;
    EXPECT_EQ(startupFontPx(s, 18), 18);
    s.has_font_px = true;
    EXPECT_EQ(startupFontPx(s, 18), 20);
    s.has_win_w = false;
    EXPECT_EQ(startupFontPx(s, 18), 20) << "with or without window keys";
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

TEST(Keyboard, KeysThatActWhateverHasTheFocus) {
    using T = KeyTarget;
    using C = KeyCommand;
    struct Case {
        KeyPress key; // virtual key, Ctrl, Shift, Alt, target
        C command;
        int fontPx;
    };
    for (const Case& c : {
             Case{{0xBB, true, false, false, T::PushButton}, C::FontSize, 21},
             Case{{0x6B, true, false, false, T::ValueBox}, C::FontSize, 21},
             Case{{0xBD, true, false, false, T::Other}, C::FontSize, 19},
             Case{{0x6D, true, true, false, T::MainWindow}, C::FontSize, 19},
             Case{{0x30, true, false, false, T::Link}, C::FontReset, 0},
             Case{{0x60, true, false, false, T::Other}, C::FontReset, 0},
             Case{{0xBB, false, false, false, T::MainWindow}, C::None, 0},
             Case{{0xBB, true, false, true, T::MainWindow}, C::None, 0}, // AltGr is Ctrl+Alt
             Case{{0x41, true, false, false, T::ValueBox}, C::SelectAll, 0},
             Case{{0x41, true, false, false, T::PushButton}, C::None, 0},
             Case{{0x41, false, false, false, T::ValueBox}, C::None, 0},
             Case{{0x09, false, false, false, T::ValueBox}, C::NextControl, 0},
             Case{{0x09, false, true, false, T::Other}, C::PreviousControl, 0},
             Case{{0x09, true, false, false, T::Other}, C::None, 0},
             Case{{0x09, false, false, true, T::Other}, C::None, 0},
             Case{{0x0D, false, false, false, T::PushButton}, C::Press, 0},
             Case{{0x0D, false, false, false, T::Link}, C::Press, 0},
             Case{{0x20, false, false, false, T::Link}, C::Press, 0},
             Case{{0x20, false, false, false, T::PushButton}, C::None, 0}, // the button's own
             Case{{0x0D, false, false, false, T::MainWindow}, C::None, 0},
             Case{{0x0D, false, false, false, T::ValueBox}, C::None, 0},
             Case{{0x0D, false, true, false, T::PushButton}, C::None, 0},
         }) {
        const KeyAction action = keyAction(c.key, 20);
        EXPECT_EQ(action.command, c.command)
            << std::hex << c.key.virtualKey << " " << c.key.ctrl << c.key.shift << c.key.alt;
        if (c.command == C::FontSize) {
            EXPECT_EQ(action.fontPx, c.fontPx);
        }
    }
}

TEST(Keyboard, TabGoesRoundTheAvailableStops) {
    const std::vector<bool> enabled{true, false, true, true, false};
    const auto available = [&](std::size_t i) { return enabled[i]; };
    struct Case {
        std::optional<std::size_t> from;
        bool backwards;
        std::optional<std::size_t> to;
    };
    for (const Case& c : {
             Case{std::nullopt, false, 0},
             Case{std::nullopt, true, 3},
             Case{0, false, 2},
             Case{2, false, 3},
             Case{3, false, 0},
             Case{0, true, 3},
             Case{2, true, 0},
             Case{1, false, 2}, // from a stop that is not available any more
             Case{99, false, 0},
         }) {
        EXPECT_EQ(nextTabStop(enabled.size(), c.from, c.backwards, available), c.to)
            << (c.from ? static_cast<int>(*c.from) : -1) << (c.backwards ? " back" : "");
    }
    EXPECT_EQ(nextTabStop(3, 1, false, [](std::size_t) { return false; }), std::nullopt);
    EXPECT_EQ(nextTabStop(0, std::nullopt, false, available), std::nullopt);
    EXPECT_EQ(nextTabStop(1, 0, false, [](std::size_t) { return true; }), 0u) << "alone";
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

TEST(ViewerPreferences, FontSizeIsStoredOnlyOnceChosenAndRemovedByReset) {
    struct Case {
        const char* what;
        bool storedBefore;
        FontPxSaving saving;
        bool storedAfter;
        int fontPxAfter;
    };
    for (const Case& c : {
             Case{"untouched, nothing stored", false, FontPxSaving::Keep, false, 12},
             Case{"untouched, stored by another viewer", true, FontPxSaving::Keep, true, 25},
             Case{"chosen", false, FontPxSaving::Store, true, 30},
             Case{"chosen over another", true, FontPxSaving::Store, true, 30},
             Case{"reset", true, FontPxSaving::Remove, false, 25},
         }) {
        SCOPED_TRACE(c.what);
        Settings s;
        s.has_font_px = c.storedBefore;
        s.font_px = c.storedBefore ? 25 : 12;
        ViewerPreferences p;
        p.fontPx = 30;
        p.fontPxSaving = c.saving;
        storePreferences(s, p);
        const Settings reread = settingsFromText(settingsToText(s));
        EXPECT_EQ(reread.has_font_px, c.storedAfter);
        if (c.storedAfter) {
            EXPECT_EQ(reread.font_px, c.fontPxAfter);
        }
    }
    // What start-up hands on: a stored size is stored again, a DPI default is not.
    Settings loaded;
    EXPECT_EQ(preferencesFromSettings(loaded, 18).fontPxSaving, FontPxSaving::Keep);
    loaded.has_font_px = true;
    loaded.font_px = 14;
    const ViewerPreferences p = preferencesFromSettings(loaded, 18);
    EXPECT_EQ(p.fontPxSaving, FontPxSaving::Store);
    EXPECT_EQ(p.fontPx, 14);
}

TEST(ViewerPreferences, StoringKeepsTheWindowKeys) {
    Settings s;
    s.has_win_x = s.has_win_y = s.has_win_w = s.has_win_h = s.has_monitor = true;
    s.win_x = -5;
    s.win_y = 7;
    s.win_w = 900;
    s.win_h = 700;
    s.monitor = "\\\\.\\DISPLAY2";
    s.has_win_max = s.win_max = true;
    ViewerPreferences p;
    p.fontPx = 30;
    p.fontPxSaving = FontPxSaving::Store;
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
    EXPECT_TRUE(s.has_win_max && s.win_max);
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

    // The light theme keeps its status colours; neutral is the text colour in both.
    EXPECT_EQ(statusColour(StatusKind::Success, false, light.text), 0x377F1Au);
    EXPECT_EQ(statusColour(StatusKind::Failure, false, light.text), 0x281CC0u);
    EXPECT_EQ(statusColour(StatusKind::Warning, false, light.text), 0x00679Au);
    EXPECT_EQ(statusColour(StatusKind::Neutral, false, light.text), light.text);
    EXPECT_EQ(statusColour(StatusKind::Neutral, true, dark.text), dark.text);
}

TEST(Theme, EveryStatusColourStandsOutFromItsBackground) {
    EXPECT_NEAR(contrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(0x202020, 0x202020), 1.0, 1e-9);
    // The old dark-theme colours, the figures: too faint on RGB(32, 32, 32).
    EXPECT_NEAR(contrastRatio(0x281CC0, 0x202020), 2.7, 0.05);
    EXPECT_NEAR(contrastRatio(0x377F1A, 0x202020), 3.2, 0.05);
    EXPECT_NEAR(contrastRatio(0x00679A, 0x202020), 3.35, 0.05);
    for (const bool dark : {true, false}) {
        const ThemePalette p = themePalette(dark);
        for (const StatusKind kind :
             {StatusKind::Success, StatusKind::Failure, StatusKind::Warning, StatusKind::Neutral}) {
            EXPECT_GE(contrastRatio(statusColour(kind, dark, p.text), p.background), 4.5)
                << (dark ? "dark " : "light ") << static_cast<int>(kind);
        }
    }
    // Three different colours in each theme.
    for (const bool dark : {true, false}) {
        const Colour success = statusColour(StatusKind::Success, dark, 0);
        const Colour failure = statusColour(StatusKind::Failure, dark, 0);
        const Colour warning = statusColour(StatusKind::Warning, dark, 0);
        EXPECT_TRUE(success != failure && failure != warning && success != warning);
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

// Widths as a fixed-pitch font of 7 pixels a character would give, "…" included.
int sevenPerCharacter(const std::string& utf8) {
    int characters = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++characters;
    }
    return 7 * characters;
}

TEST(HeaderTexts, LongFileNamesKeepTheirExtension) {
    const std::string longName = std::string(200, 'n') + ".iso";
    struct Case {
        const char* what;
        std::string name;
        int width;
        std::string shown;
    };
    for (const Case& c : {
             Case{"fits", "disk.img", 56, "disk.img"},
             Case{"one too many", "disk.img", 55, "di\xE2\x80\xA6.img"},
             Case{"start twice the end", "abcdefghijkl.txt", 70, "abcd\xE2\x80\xA6l.txt"},
             Case{"200 characters", longName, 210,
                  std::string(17, 'n') + "\xE2\x80\xA6" + std::string(8, 'n') + ".iso"},
             Case{"no extension", "abcdefghijkl", 49, "abcd\xE2\x80\xA6kl"},
             Case{"a leading dot is no extension", ".abcdefghijk", 49, ".abc\xE2\x80\xA6jk"},
             Case{"room for the extension only", longName, 35, "\xE2\x80\xA6.iso"},
             Case{"not even that", longName, 21, "\xE2\x80\xA6so"},
             Case{"nothing fits", longName, 3, "\xE2\x80\xA6"},
             Case{"characters stay whole", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9.txt",
                  56, "\xC3\xA9\xC3\xA9\xE2\x80\xA6\xC3\xA9.txt"},
         }) {
        SCOPED_TRACE(c.what);
        const std::string shown = elideFileName(c.name, c.width, sevenPerCharacter);
        EXPECT_EQ(shown, c.shown);
        if (sevenPerCharacter(c.shown) > 7) {
            EXPECT_LE(sevenPerCharacter(shown), c.width);
        }
    }
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

TEST(Scrolling, RevealBringsAControlIntoViewWithAMargin) {
    // content 900 high, window 400: offsets 0..500
    struct Case {
        const char* what;
        int pos, top, bottom, expected;
    };
    for (const Case& c : {
             Case{"already in view", 100, 50, 80, 100},
             Case{"below the window", 0, 420, 448, 58},
             Case{"above the window", 300, -40, -12, 250},
             Case{"taller than the window shows its top", 0, 200, 800, 190},
             Case{"not past the end", 480, 390, 430, 500},
             Case{"not above the top", 20, 5, 30, 15},
             Case{"exactly at the margins stays", 60, 10, 390, 60},
         }) {
        EXPECT_EQ(revealScrollPosition(c.pos, c.top, c.bottom, 900, 400), c.expected) << c.what;
    }
    EXPECT_EQ(revealScrollPosition(0, 500, 530, 300, 400), 0) << "content that fits";
}

} // namespace
} // namespace velk
