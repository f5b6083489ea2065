#pragma once
// Looking at what the extension shows: menus read back with the menu API, message boxes of
// this process, the clipboard, and the starts of the stand-in viewer.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// One menu entry as GetMenuItemInfoW reports it.
struct MenuEntryView {
    std::wstring text;
    UINT id = 0;
    UINT type = 0;  // MFT_* flags
    UINT state = 0; // MFS_* flags
    bool hasBitmap = false;
    bool popup = false;
    std::vector<MenuEntryView> children;
};
std::vector<MenuEntryView> readMenu(HMENU menu);

// A box as the user sees it; icon is 'i', '!', 'x' (information, warning, error) or '?'.
struct MessageBoxView {
    std::wstring caption;
    std::wstring text;
    char icon = '?';
};

// Watches for message boxes ("#32770" windows of this process) from a second thread while
// the test thread is blocked in a call that shows them; reads each and presses OK.
class MessageBoxWatcher {
  public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    // Stops watching after a short grace period and returns every box seen.
    std::vector<MessageBoxView> finish();

  private:
    void watch();
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<MessageBoxView> seen_;
    std::thread thread_;
};

bool putClipboardText(const std::wstring& text);
// Adds a private format beside the text, to see that a copy replaces everything.
bool putClipboardTextAndPrivateFormat(const std::wstring& text);
bool clipboardHasPrivateFormat();
// CF_UNICODETEXT up to its first zero; present false when there is none.
std::wstring clipboardText(bool* present = nullptr);

struct ViewerStart {
    std::wstring program;
    std::wstring commandLine;
    std::vector<std::wstring> arguments;
};

// The records the stand-in viewer leaves in its folder (VELK_STANDIN_LOG).
class ViewerStartLog {
  public:
    // Sets VELK_STANDIN_LOG for the processes this one starts.
    explicit ViewerStartLog(std::wstring folder);
    // Waits until count records are there (or timeoutMs passes), then a little longer to
    // catch any extra start; returns every record.
    std::vector<ViewerStart> waitFor(std::size_t count, DWORD timeoutMs = 15000);
    void clear();

  private:
    std::vector<ViewerStart> read() const;
    std::wstring folder_;
};
