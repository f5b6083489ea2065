#include "shellext/page/page_shortcut.h"

#include "engine/long_path.h"
#include "engine/unique_handle.h"
#include "shellext/page/page_controls.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlguid.h>
#include <shobjidl.h>

namespace velk {

std::wstring resolveShortcutTarget(const std::wstring& path) {
    if (!hasShortcutExtension(path))
        return path;
    std::wstring result = path;

    IShellLinkW* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&rawLink)))) {
        return result;
    }
    UniqueCom<IShellLinkW> link(rawLink);

    IPersistFile* rawFile = nullptr;
    if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)))) {
        return result;
    }
    UniqueCom<IPersistFile> file(rawFile);
    if (FAILED(file.get()->Load(extendedLengthPath(path).c_str(), 0)))
        return result;

    // Room for a target of any length the platform allows.
    std::wstring target(32768, L'\0');
    if (SUCCEEDED(link.get()->GetPath(&target[0], static_cast<int>(target.size()), nullptr, 0)) &&
        target[0] != L'\0') {
        result = target.c_str();
    }
    return result;
}

} // namespace velk
