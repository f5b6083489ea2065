#pragma once
// CVelkshell: the object the shell creates for one request (a context menu or the property
// pages of a selection).

#include "engine/algorithms.h"
#include "shellext/menu/menu_command.h"

#include <windows.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

namespace velk {

class CVelkshell final : public IShellExtInit, public IContextMenu, public IShellPropSheetExt {
  public:
    // Count 1; holds the module while it lives.
    CVelkshell();
    CVelkshell(const CVelkshell&) = delete;
    CVelkshell& operator=(const CVelkshell&) = delete;

    // IUnknown, shared by the three bases; the IShellExtInit pointer is the identity.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IShellExtInit
    HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE pidlFolder, IDataObject* pdtobj,
                                         HKEY hkeyProgID) override;

    // IContextMenu
    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst,
                                               UINT idCmdLast, UINT uFlags) override;
    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* pici) override;
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR idCmd, UINT uType, UINT* pReserved,
                                               CHAR* pszName, UINT cchMax) override;

    // IShellPropSheetExt
    HRESULT STDMETHODCALLTYPE AddPages(LPFNSVADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) override;
    HRESULT STDMETHODCALLTYPE ReplacePage(EXPPS uPageID, LPFNSVADDPROPSHEETPAGE pfnReplaceWith,
                                          LPARAM lParam) override;

  private:
    // Only Release destroys; the module count goes first, then the fields in reverse order.
    ~CVelkshell();

    HRESULT queryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                             UINT uFlags);
    void invokeCommand(const MenuCommand& command);
    void openSelected();
    void runClipboardCheck() const;

    volatile LONG refCount = 1;
    std::wstring currentPath;                // the first selected path
    std::vector<std::wstring> selectedPaths; // every selected path, in the shell's order
    std::string utf8Path;                    // currentPath for the engine, set by the menu
    HashResults allDigests;                  // all digests, when the menu computed them
    bool allComputed = false;                // allDigests is a complete result for currentPath
    std::vector<MenuCommand> commands;       // entry i answers command offset i
};

} // namespace velk
