#include "viewer/keyboard.h"

#include "viewer/font_size.h"

namespace velk {

KeyAction keyAction(const KeyPress& key, int fontPx) {
    if (key.alt)
        return {};
    if (key.ctrl) {
        if (isFontResetKey(key.virtualKey))
            return {KeyCommand::FontReset};
        // The reset keys are taken above, so the default passed here is never asked for.
        if (const std::optional<int> size = fontSizeForKey(key.virtualKey, fontPx, fontPx))
            return {KeyCommand::FontSize, *size};
        if (key.virtualKey == kKeyA && key.target == KeyTarget::ValueBox)
            return {KeyCommand::SelectAll};
        return {};
    }
    if (key.virtualKey == kKeyTab)
        return {key.shift ? KeyCommand::PreviousControl : KeyCommand::NextControl};
    if (key.shift)
        return {};
    if (key.virtualKey == kKeyReturn &&
        (key.target == KeyTarget::PushButton || key.target == KeyTarget::Link))
        return {KeyCommand::Press};
    if (key.virtualKey == kKeySpace && key.target == KeyTarget::Link)
        return {KeyCommand::Press};
    return {};
}

std::optional<std::size_t> nextTabStop(std::size_t count, std::optional<std::size_t> current,
                                       bool backwards,
                                       const std::function<bool(std::size_t)>& available) {
    if (count == 0)
        return std::nullopt;
    std::size_t at;
    if (current && *current < count) {
        at = *current;
    } else {
        at = backwards ? 0 : count - 1; // one step from here is the first (or last) stop
    }
    for (std::size_t step = 0; step < count; ++step) {
        at = backwards ? (at + count - 1) % count : (at + 1) % count;
        if (available(at))
            return at;
    }
    return std::nullopt;
}

} // namespace velk
