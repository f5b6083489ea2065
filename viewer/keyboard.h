#pragma once
// What a key press means to the viewer. These keys are decided before the dialog-style
// keyboard handling sees them, so they work whichever control has the focus.

#include <cstddef>
#include <functional>
#include <optional>

namespace velk {

// What kind of window the key press is aimed at (the focused one).
enum class KeyTarget { MainWindow, ValueBox, PushButton, Link, Other };

struct KeyPress {
    unsigned virtualKey = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    KeyTarget target = KeyTarget::Other;
};

enum class KeyCommand {
    None,        // left to the dialog-style handling and the focused control
    FontSize,    // set the font size to KeyAction::fontPx
    FontReset,   // back to the DPI default
    NextControl, // Tab
    PreviousControl,
    SelectAll, // Ctrl+A in a digest box
    Press,     // Enter on a push button, Enter or Space on the link
};

struct KeyAction {
    KeyCommand command = KeyCommand::None;
    int fontPx = 0; // for FontSize, unclamped
};

// Virtual-key codes, as the window system numbers them.
inline constexpr unsigned kKeyTab = 0x09;
inline constexpr unsigned kKeyReturn = 0x0D;
inline constexpr unsigned kKeySpace = 0x20;
inline constexpr unsigned kKeyA = 0x41;

KeyAction keyAction(const KeyPress& key, int fontPx);

// The tab stop after (or before) `current` among `count` stops in visual order, going round
// and skipping those that are not available (disabled); from no current stop, the first (or
// last). Nothing when no stop is available.
std::optional<std::size_t> nextTabStop(std::size_t count, std::optional<std::size_t> current,
                                       bool backwards,
                                       const std::function<bool(std::size_t)>& available);

} // namespace velk
