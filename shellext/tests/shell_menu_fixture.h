#pragma once
// The file manager's part in the menu tests: a registered copy of the DLL beside a stand-in
// viewer, settings in a private APPDATA, and menus built into a real popup menu.

#include "com_ptr.h"
#include "shell_ui.h"

#include "engine/algorithms.h"
#include "engine/unique_handle.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct MenuTraits {
    using Handle = HMENU;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DestroyMenu(h); }
};
using TestMenu = velk::UniqueHandle<MenuTraits>;

// A shell menu with our entries in it, as one QueryContextMenu left it.
struct BuiltMenu {
    ComRef<IShellExtInit> init;
    ComRef<IContextMenu> menu;
    TestMenu host;
    HRESULT result = E_FAIL;
    std::vector<MenuEntryView> entries; // the host menu read back, our entries included

    // Our entry: the host holds "Open" and "Properties" and ours goes between them.
    const MenuEntryView& ours() const { return entries.at(1); }
    HRESULT invoke(UINT offset) const;
    HRESULT invokeVerb(const char* verb) const;
};

class ShellMenuTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { setUpSuite(L"velkshell.dll"); }
    static void TearDownTestSuite();
    // Registers a copy of this DLL of the build folder (the shipped one, or the test build
    // with injected faults) under its own name, beside the stand-in viewer. With an empty
    // name, menus are built through whatever DLL is registered (an installed one).
    static void setUpSuite(const std::wstring& dllName);
    void SetUp() override;

    // A file in the data folder (whose name has spaces) with the content.
    static std::wstring file(const std::wstring& name, const std::string& content);
    static std::wstring sizedFile(const std::wstring& name, long long size);
    static std::wstring folder(const std::wstring& name);
    // Writes APPDATA\velkscope\config.json for the next menu.
    static void writeConfig(const std::string& json);
    static velk::HashResults digestsOf(const std::wstring& path);

    // Activates the registered class, initialises it with the shell's data object for the
    // paths (or a hand-made drop list), and builds the menu at position 1 of a host menu.
    static BuiltMenu build(const std::vector<std::wstring>& paths, UINT idCmdFirst = 100,
                           UINT idCmdLast = 0x7FFF, UINT flags = CMF_NORMAL, bool handMade = false);
    static void rebuild(BuiltMenu& built, UINT idCmdFirst = 100, UINT idCmdLast = 0x7FFF,
                        UINT flags = CMF_NORMAL);

    static std::wstring dllFolder();
    // The test build of the DLL only: every read of its passes waits this long first.
    static void setReadDelay(unsigned milliseconds);
    static ViewerStartLog& starts();
};

std::wstring narrowToWide(const std::string& text);
std::string wideToNarrow(const std::wstring& text);
