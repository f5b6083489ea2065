#pragma once
// The shell's own Properties dialog for some files, opened on a thread of its own (it is modal
// there) and driven from the test's thread. Needs the extension registered.

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

namespace velk::test {

class ShellPropertiesDialog {
  public:
    explicit ShellPropertiesDialog(std::vector<std::wstring> paths);
    ~ShellPropertiesDialog();
    ShellPropertiesDialog(const ShellPropertiesDialog&) = delete;
    ShellPropertiesDialog& operator=(const ShellPropertiesDialog&) = delete;

    // The sheet window once it shows (waits up to `timeoutMs`), or null.
    HWND waitForSheet(DWORD timeoutMs = 20000);
    std::vector<std::wstring> tabTitles(HWND sheet) const;
    // Shows tab `index` and returns its page window.
    HWND showTab(HWND sheet, int index);
    // Cancels the dialog (asynchronously).
    void close();
    HRESULT invokeResult() const { return invoked_; }
    bool finished() const { return done_; }
    // The thread that runs the dialog, for its focus (GetGUIThreadInfo).
    DWORD threadId() const { return threadId_; }

  private:
    void run(const std::vector<std::wstring>& paths);
    HWND findSheet() const;

    volatile DWORD threadId_ = 0;
    volatile bool done_ = false;
    HRESULT invoked_ = E_PENDING;
    std::thread thread_;
};

// The index of the first tab titled "Hashes" from `from` on, or -1.
int hashesTab(const std::vector<std::wstring>& titles, int from = 0);

} // namespace velk::test
