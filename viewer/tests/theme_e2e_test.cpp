// Which theme the viewer starts in, as its theme button tells.

#include "viewer_test_support.h"

#include <optional>

namespace velk::test {
namespace {

const wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// Sets (or removes) the user's app mode for the test and puts the old one back.
class AppMode {
  public:
    AppMode() { hadValue_ = read(previous_); }
    ~AppMode() {
        if (hadValue_) {
            set(previous_);
        } else {
            remove();
        }
    }
    static bool read(DWORD& value) {
        DWORD size = sizeof value;
        return RegGetValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme", RRF_RT_REG_DWORD,
                            nullptr, &value, &size) == ERROR_SUCCESS;
    }
    void set(DWORD value) {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kPersonalize, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr);
        RegSetValueExW(key, L"AppsUseLightTheme", 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }
    void remove() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kPersonalize, 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueW(key, L"AppsUseLightTheme");
            RegCloseKey(key);
        }
    }

  private:
    bool hadValue_ = false;
    DWORD previous_ = 1;
};

using ViewerTheme = ViewerTest;

TEST_F(ViewerTheme, ThemeButtonNamesTheOtherTheme) {
    const std::wstring path = sampleFile();
    AppMode appMode;
    struct Case {
        const char* theme;
        std::optional<DWORD> appsUseLightTheme;
        const wchar_t* button;
    };
    const Case cases[] = {
        {"dark", 1, L"\u2600 Light"},
        {"light", 0, L"\u263E Dark"},
        {"system", 0, L"\u2600 Light"},
        {"system", 1, L"\u263E Dark"},
        {"system", std::nullopt, L"\u263E Dark"},
        {"Dark", 1, L"\u263E Dark"}, // not a theme name: "system"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.theme);
        if (c.appsUseLightTheme) {
            appMode.set(*c.appsUseLightTheme);
        } else {
            appMode.remove();
        }
        appData.writeConfig(std::string("{\"theme\":\"") + c.theme + "\"}");
        Viewer viewer(quoted(path), appData.folder.path());
        ASSERT_NE(viewer.window(), nullptr);
        EXPECT_EQ(textOf(viewer.control(kTheme)), c.button);
    }
}

} // namespace
} // namespace velk::test
