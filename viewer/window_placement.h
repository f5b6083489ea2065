#pragma once
// The window-placement store: the list of running viewers in windows.txt, guarded by the
// mutex "Local\velkscope_winreg", and the window keys of config.json.

#ifdef _WIN32
#include "viewer/placement.h"
#include "viewer/window_list.h"

#include <windows.h>

#include <string>
#include <vector>

namespace velk {

// settingsFolderPath() + "\windows.txt".
std::string windowListPath();

// The listed viewers whose processes still run, in file order.
std::vector<ViewerWindowEntry> readLiveViewerWindows();
void writeViewerWindows(const std::vector<ViewerWindowEntry>& entries);

// Enters this process in the list; answers how many other viewers run.
int registerViewerWindow();
void unregisterViewerWindow();

// The rectangle the main window is created with; scale is the screen DPI / 96.
WindowRect computeInitialPlacement(const Settings& settings, int otherViewers, double scale);

// Writes the window's current outer rectangle: its size always, its position and display
// only for the first viewer. False when the write did not land within `limitMs` (see
// updateSettings): the placement is still to be saved.
bool saveWindowPlacement(HWND window, bool isFirstViewerWindow, int limitMs);

} // namespace velk
#endif
