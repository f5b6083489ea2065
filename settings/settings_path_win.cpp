#include "settings/settings.h"

#include "engine/utf16.h"

#include <windows.h>

namespace velk {
namespace {

// The process environment read wide, so a profile folder outside the ANSI code page
// arrives intact.
std::wstring environmentValue(const wchar_t* name) {
    const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
    if (needed == 0)
        return std::wstring();
    std::wstring value(needed, L'\0');
    const DWORD written = GetEnvironmentVariableW(name, &value[0], needed);
    if (written == 0 || written >= needed)
        return std::wstring();
    value.resize(written);
    return value;
}

} // namespace

std::string settingsFolderPath() {
    const std::wstring appData = environmentValue(L"APPDATA");
    const std::string base = appData.empty() ? std::string(".") : toUtf8(appData);
    return base + "\\velkscope";
}

std::string settingsFilePath() {
    return settingsFolderPath() + "\\config.json";
}

} // namespace velk
