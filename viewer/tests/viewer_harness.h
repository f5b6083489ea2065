#pragma once
// Drives the real velkscope.exe from another process, as a user and the window system see
// it: starts it with its own APPDATA, finds its window, reads its controls, presses buttons,
// reads message boxes, the clipboard and the files it writes.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace velk::test {

// Folder of the running test program (bin/, where velkscope.exe is built too).
std::wstring binFolder();

std::string narrow(const std::wstring& wide);
std::wstring wide(const std::string& utf8);

// A fresh folder under the temporary folder, removed with its contents afterwards.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::wstring& leaf);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    // Writes the bytes to a file in the folder and returns its path.
    std::wstring write(const std::wstring& name, const std::string& bytes) const;

  private:
    std::wstring path_;
};

// The APPDATA of one test: its settings folder is appData + "\velkscope".
struct AppData {
    ScratchFolder folder{L"appdata"};
    std::wstring settingsFolder() const { return folder.path() + L"\\velkscope"; }
    std::string configText() const;     // "" when missing
    std::string windowListText() const; // "" when missing
    bool hasConfig() const;
    void writeConfig(const std::string& text) const;
    void writeWindowList(const std::string& text) const;
};

struct Child {
    HWND window = nullptr;
    std::wstring className;
    std::wstring text;
    LONG style = 0;
    LONG exStyle = 0;
    int id = 0;
    RECT rect{}; // in the parent's client coordinates
};

// Text through WM_GETTEXT (GetWindowTextW reads nothing from another process's edits).
std::wstring textOf(HWND window);
// Direct children in z-order.
std::vector<Child> childrenOf(HWND parent);
RECT rectInParent(HWND child);
// The top-level window of the class that the process owns; null when there is none.
HWND topWindowOf(DWORD processId, const wchar_t* className);
// The text of a list view's cell, read through memory in the list's own process.
std::wstring listViewText(HWND list, int item, int subItem);

class Viewer {
  public:
    // Starts velkscope.exe with the argument text (appended to the quoted program path)
    // and APPDATA in its environment.
    Viewer(const std::wstring& arguments, const std::wstring& appData);
    ~Viewer(); // closes the window, or ends the process if it does not go
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD processId() const { return processId_; }
    HANDLE process() const { return process_; }

    // The main window (class "VelkscopeWnd") of this process; null after the timeout.
    HWND window(DWORD timeoutMs = 5000);
    // A message box ("#32770") of this process.
    HWND messageBox(DWORD timeoutMs = 5000) const;
    // Exit code, or STILL_ACTIVE after the timeout.
    DWORD waitForExit(DWORD timeoutMs) const;

    // Controls by their position in the creation order (0 = file name label).
    std::vector<Child> controls();
    HWND control(std::size_t index);
    HWND valueBox(std::size_t row) { return control(7 + 3 * row + 2); }
    HWND copyButton(std::size_t row) { return control(7 + 3 * row); }
    // Waits until every value box has left "computing...".
    bool waitForResult(DWORD timeoutMs = 10000);

    // Presses a button and waits until the viewer has handled it.
    void click(HWND button);
    void command(int id, int code = 0);
    void close();

  private:
    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
    std::vector<HWND> handles_; // the controls in creation order, once all exist
};

// Index of each fixed control in creation order.
enum ControlIndex : std::size_t {
    kFileName = 0,
    kSize = 1,
    kTheme = 2,
    kCaption = 3,
    kAlgo = 4,
    kFormat = 5,
    kPreview = 6,
    kCheck = 7 + 33,
    kStatus,
    kSmaller,
    kReset,
    kLarger,
    kComputeAll,
    kLink,
    kControlCount
};

std::wstring messageBoxText(HWND box);
void dismissMessageBox(HWND box);

// Polls until the predicate holds; false after the timeout.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs = 10);

// Clipboard of the shared desktop.
bool setClipboardText(const std::wstring& text);
bool emptyClipboard();
// The text, and whether there was any.
bool clipboardText(std::wstring& text);
DWORD clipboardSequence();

std::string readFile(const std::wstring& path);
void writeFile(const std::wstring& path, const std::string& bytes);

} // namespace velk::test
