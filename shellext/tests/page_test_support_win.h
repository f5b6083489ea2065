#pragma once
// Driving "Hashes" pages from a test program: files to show, a property sheet that holds the
// pages, and a look at the page's controls as the user would see them.

#include <windows.h>

#include <prsht.h>

#include <functional>
#include <string>
#include <vector>

namespace velk::test {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class PageTempDir {
  public:
    PageTempDir();
    ~PageTempDir();
    PageTempDir(const PageTempDir&) = delete;
    PageTempDir& operator=(const PageTempDir&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};

bool writeFileBytes(const std::wstring& path, const std::string& bytes);
// A file of `size` bytes that occupies (almost) no disk space: only its end is written.
bool writeSparseFile(const std::wstring& path, long long size);
std::string readFileBytes(const std::wstring& path);
// A shell link at `linkPath` (any extension case) pointing at `target`. Needs COM.
bool makeShortcut(const std::wstring& linkPath, const std::wstring& target);

bool putClipboardText(const std::wstring& text);
// The whole CF_UNICODETEXT block up to its first zero; `present` false without one.
std::wstring clipboardText(bool* present = nullptr);

// Dispatches this thread's messages until `done` holds or `timeoutMs` passes.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void pumpFor(DWORD milliseconds);

// Collects what AddPages hands out; pages it keeps are destroyed by the sheet or by reset.
struct PageCollector {
    std::vector<HPROPSHEETPAGE> pages;
    static BOOL CALLBACK add(HPROPSHEETPAGE page, LPARAM collector);
    LPARAM param() { return reinterpret_cast<LPARAM>(this); }
    // Destroys pages that never went into a sheet.
    void destroyUnused();
};

// A modeless property sheet on this thread, destroyed at scope exit.
class ModelessSheet {
  public:
    explicit ModelessSheet(std::vector<HPROPSHEETPAGE>& pages);
    ~ModelessSheet();
    ModelessSheet(const ModelessSheet&) = delete;
    ModelessSheet& operator=(const ModelessSheet&) = delete;
    HWND sheet() const { return sheet_; }
    HWND page(int index = 0) const;
    std::wstring tabTitle(int index) const;
    int tabCount() const;
    void close();

  private:
    HWND sheet_ = nullptr;
};

struct ControlView {
    HWND window = nullptr;
    std::wstring className;
    std::wstring text;
    int id = 0;
    bool enabled = false;
    LONG style = 0;
};

// The page's direct children in creation (z) order.
std::vector<ControlView> pageControls(HWND page);
std::wstring windowText(HWND window);
// Children of one class, in creation order.
std::vector<ControlView> controlsOfClass(HWND page, const std::wstring& className);
const ControlView* controlWithId(const std::vector<ControlView>& controls, int id);

// Presses a button the way a click does (BN_CLICKED reaches the page).
void clickButton(HWND button);
// Selects a combo item and tells the page, as a user's pick does.
void pickComboItem(HWND page, HWND combo, int index);

} // namespace velk::test

namespace velk::test {

// The shell's UI object (IID_IDataObject, IID_IContextMenu, ...) for files of one folder, as
// the file manager would ask for it. Needs COM.
HRESULT shellItemsObject(const std::vector<std::wstring>& paths, REFIID riid, void** object);

// Runs a program (command line as typed) and waits for it; its exit code, or -1.
long runAndWait(const std::wstring& commandLine, DWORD timeoutMs);

// The folder of the running program, with a trailing backslash.
std::wstring programFolder();

} // namespace velk::test
