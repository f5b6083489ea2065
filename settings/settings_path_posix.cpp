#include "settings/settings.h"

#include <cstdlib>

namespace velk {

std::string settingsFolderPath() {
    // An empty APPDATA counts as unset: it would otherwise put the folder at the root.
    const char* appData = std::getenv("APPDATA");
    const std::string base = (appData != nullptr && *appData != '\0') ? appData : ".";
    return base + "/velkscope";
}

std::string settingsFilePath() {
    return settingsFolderPath() + "/config.json";
}

} // namespace velk
