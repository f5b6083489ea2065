#include "shellext/menu/shell_commands.h"

#include "engine/long_path.h"
#include "engine/unique_handle.h"
#include "engine/utf16.h"
#include "shellext/com/module.h"
#include "shellext/menu/command_text.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>

namespace velk {
namespace {

// Closes the clipboard on every way out of the copy.
struct OpenClipboardScope {
    bool open = OpenClipboard(nullptr) != FALSE;
    ~OpenClipboardScope() {
        if (open)
            CloseClipboard();
    }
};

} // namespace

void copyTextToClipboard(const std::string& utf8) {
    const std::wstring text = toUtf16(utf8);
    OpenClipboardScope clipboard;
    if (!clipboard.open)
        return;
    EmptyClipboard();
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    if (!block)
        return;
    void* memory = GlobalLock(block.get());
    if (memory == nullptr)
        return;
    std::memcpy(memory, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block.get());
    // Once accepted, the block is the clipboard's.
    if (SetClipboardData(CF_UNICODETEXT, block.get()) != nullptr)
        block.release();
}

long long fileSizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(extendedLengthPath(path).c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                                  data.nFileSizeLow);
}

std::wstring viewerExecutablePath() {
    return viewerPathBeside(moduleFilePath());
}

FilePlace filePlaceOf(const std::wstring& path) {
    FilePlace place;
    place.uncPath = isUncPath(path);
    const std::wstring root = driveRootOf(path);
    place.remoteDrive = !root.empty() && GetDriveTypeW(root.c_str()) == DRIVE_REMOTE;
    const DWORD attributes = GetFileAttributesW(extendedLengthPath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        place.attributes = attributes;
    return place;
}

DWORD fileAttributesOf(const std::wstring& path) {
    return GetFileAttributesW(extendedLengthPath(path).c_str());
}

void launchViewer(const std::wstring& path) {
    launchViewerWith(quotedArgument(path));
}

void launchViewerWith(const std::wstring& arguments) {
    const std::wstring viewer = viewerExecutablePath();
    // A missing viewer fails silently: the shell's thread must not stop on it.
    ShellExecuteW(nullptr, L"open", viewer.c_str(), arguments.c_str(), nullptr, SW_SHOWNORMAL);
}

void launchViewerComparing(const std::wstring& file, const std::wstring& other) {
    launchViewerWith(compareArguments(file, other));
}

std::vector<SelectedKind> selectedKinds(const std::vector<std::wstring>& paths) {
    std::vector<SelectedKind> kinds;
    for (const std::wstring& path : paths) {
        const DWORD attributes = fileAttributesOf(path);
        kinds.push_back(attributes == INVALID_FILE_ATTRIBUTES          ? SelectedKind::Unknown
                        : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? SelectedKind::Folder
                                                                       : SelectedKind::File);
    }
    return kinds;
}

} // namespace velk
