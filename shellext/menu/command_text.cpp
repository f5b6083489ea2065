#include "shellext/menu/command_text.h"

namespace velk {

std::wstring viewerPathBeside(const std::wstring& modulePath) {
    const std::size_t cut = modulePath.find_last_of(L"\\/");
    const std::wstring folder =
        cut == std::wstring::npos ? std::wstring() : modulePath.substr(0, cut);
    return folder + L"\\velkscope.exe";
}

std::wstring quotedArgument(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

std::wstring compareArguments(const std::wstring& file, const std::wstring& other) {
    return L"--compare " + quotedArgument(file) + L" " + quotedArgument(other);
}

std::string openedFirstMessage(std::size_t opened, std::size_t selected) {
    return "Opened the first " + std::to_string(opened) + " of " + std::to_string(selected) +
           " selected files.";
}

} // namespace velk
