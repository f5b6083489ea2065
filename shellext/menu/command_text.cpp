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

std::wstring checkListArguments(const std::wstring& listPath) {
    return L"--check " + quotedArgument(listPath);
}

std::wstring createListArguments(const std::vector<std::wstring>& paths) {
    std::wstring arguments = L"--create";
    for (const std::wstring& path : paths)
        arguments += L" " + quotedArgument(path);
    return arguments;
}

bool fitsCommandLine(const std::wstring& program, const std::wstring& arguments) {
    return quotedArgument(program).size() + 1 + arguments.size() < kMaxCommandLine;
}

std::wstring compareArguments(const std::wstring& file, const std::wstring& other) {
    return L"--compare " + quotedArgument(file) + L" " + quotedArgument(other);
}

std::string openedFirstMessage(std::size_t opened, std::size_t selected) {
    return "Opened the first " + std::to_string(opened) + " of " + std::to_string(selected) +
           " selected files.";
}

} // namespace velk
