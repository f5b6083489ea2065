// IContextMenu::InvokeCommand and GetCommandString of CVelkshell.

#include "shellext/com/velkshell_object_win.h"

#include "engine/pass/hash_one.h"
#include "engine/utf16.h"
#include "shellext/menu/command_text.h"
#include "shellext/menu/menu_model.h"
#include "shellext/menu/shell_commands.h"

#include <algorithm>
#include <new>

namespace velk {

HRESULT STDMETHODCALLTYPE CVelkshell::InvokeCommand(CMINVOKECOMMANDINFO* pici) {
    if (pici == nullptr)
        return E_INVALIDARG;
    // A verb is a string pointer unless everything above its low word is zero; on 64-bit
    // that is more than the high word of the low 32 bits.
    const ULONG_PTR verb = reinterpret_cast<ULONG_PTR>(pici->lpVerb);
    if ((verb >> 16) != 0)
        return E_FAIL;
    const std::size_t offset = LOWORD(verb);
    if (offset >= commands.size())
        return E_FAIL;
    try {
        const MenuCommand command = commands[offset];
        invokeCommand(command);
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

void CVelkshell::invokeCommand(const MenuCommand& command) {
    switch (command.kind) {
    case MenuCommandKind::CopyDigest:
        copyTextToClipboard(command.digest);
        break;
    case MenuCommandKind::ComputeAndCopy: {
        const long long size = fileSizeOf(currentPath);
        if (size > kMenuSingleDigestLimit || contentIsRemote(filePlaceOf(currentPath))) {
            launchViewer(currentPath);
            break;
        }
        // Rather than keep the shell waiting past the budget, the viewer takes over.
        const BoundedRead read(size, true);
        std::string digest;
        if (computeHash(utf8Path, command.algorithm, digest, nullptr, read.options()))
            copyTextToClipboard(digest);
        else if (read.stopped())
            launchViewer(currentPath);
        break;
    }
    case MenuCommandKind::ClipboardCheck:
        runClipboardCheck();
        break;
    case MenuCommandKind::OpenViewer:
        launchViewer(currentPath);
        break;
    case MenuCommandKind::OpenSelected:
        openSelected();
        break;
    case MenuCommandKind::CheckListedFiles:
        launchViewerWith(checkListArguments(currentPath));
        break;
    case MenuCommandKind::CreateChecksumFile:
        launchViewerWith(createListArguments(selectedPaths));
        break;
    case MenuCommandKind::CompareTwo:
        // The viewer reads both files in the background; the shell's thread reads neither.
        if (selectedPaths.size() == 2)
            launchViewerComparing(selectedPaths[0], selectedPaths[1]);
        break;
    }
}

void CVelkshell::openSelected() {
    const std::size_t selected = selectedPaths.size();
    const std::size_t opened = std::min(selected, kMaxViewerLaunches);
    for (std::size_t i = 0; i < opened; ++i)
        launchViewer(selectedPaths[i]);
    if (selected > kMaxViewerLaunches) {
        const std::wstring text = toUtf16(openedFirstMessage(opened, selected));
        MessageBoxW(nullptr, text.c_str(), L"Velkora", MB_OK | MB_ICONINFORMATION);
    }
}

HRESULT STDMETHODCALLTYPE CVelkshell::GetCommandString(UINT_PTR, UINT uType, UINT*, CHAR* pszName,
                                                       UINT cchMax) {
    switch (uType) {
    case GCS_HELPTEXTA:
        if (pszName == nullptr)
            return E_INVALIDARG;
        lstrcpynA(pszName, kMenuHelpText, static_cast<int>(cchMax));
        return S_OK;
    case GCS_HELPTEXTW:
        if (pszName == nullptr)
            return E_INVALIDARG;
        lstrcpynW(reinterpret_cast<LPWSTR>(pszName), L"Hash tools for this file",
                  static_cast<int>(cchMax));
        return S_OK;
    default:
        return E_NOTIMPL;
    }
}

} // namespace velk
