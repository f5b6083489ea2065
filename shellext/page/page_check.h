#pragma once
// The page's Check button: does the hash on the clipboard belong to this file?

#include "engine/algorithms.h"

#include <cstdint>
#include <string>

namespace velk {

// The colour state of the check result line; None until the first check.
enum class CheckResultKind { None, Match, Mismatch, NotAHash };

struct PageCheckOutcome {
    CheckResultKind kind = CheckResultKind::None;
    std::string text; // UTF-8, the result line
};

// Compares the first word of the clipboard text with every digest of its length, walking
// the catalogue order. Match names every equal digest; Mismatch speaks of the length only,
// since several algorithms share one.
PageCheckOutcome checkClipboardTextOnPage(const std::string& clipboardText,
                                          const HashResults& results);

struct RgbColour {
    std::uint8_t red, green, blue;
};

// The text colour of a result line; false for None (the label keeps its default colour).
bool checkResultColour(CheckResultKind kind, RgbColour& colour);

} // namespace velk
