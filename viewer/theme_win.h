#pragma once
// Light and dark for any window of the program: the choice, the frame and the controls.

#include "engine/progress/progress_controls.h"

#include <windows.h>

#include <string>

namespace velk {

// Dark or light for a theme name: fixed for "dark" and "light", the user's app mode else.
bool themeIsDark(const std::string& themeName);

// The process's menus and the window's title bar in the mode, repainted at once.
void applyFrameTheme(HWND window, bool dark);

// The bar drawn in the theme's colours when dark, the system's bar when light; the line themed.
void themeProgressControls(const ProgressControls& controls, bool dark);

// A control's visual-style class for the mode ("DarkMode_Explorer" or "Explorer", ...).
void themeControl(HWND control, bool dark, const wchar_t* darkClass, const wchar_t* lightClass);

} // namespace velk
