#include "shellext/page/page_check.h"

#include "engine/clipboard_token.h"

namespace velk {

PageCheckOutcome checkClipboardTextOnPage(const std::string& clipboardText,
                                          const HashResults& results) {
    PageCheckOutcome outcome;
    outcome.kind = CheckResultKind::NotAHash;
    outcome.text = "Clipboard isn't a hash for this file.";

    std::string candidate;
    if (!parseClipboardHash(clipboardText, candidate))
        return outcome;

    bool anyOfThatLength = false;
    std::string matching;
    for (const std::string& name : kAlgorithmNames) {
        const auto found = results.find(name);
        if (found == results.end() || found->second.size() != candidate.size())
            continue;
        anyOfThatLength = true;
        if (found->second != candidate)
            continue;
        if (!matching.empty())
            matching += " / ";
        matching += name;
    }
    if (!anyOfThatLength)
        return outcome;

    if (matching.empty()) {
        outcome.kind = CheckResultKind::Mismatch;
        outcome.text = "\xE2\x9C\x98 NO MATCH - a " + std::to_string(candidate.size()) +
                       "-char hash, but not this file's.";
    } else {
        outcome.kind = CheckResultKind::Match;
        outcome.text = "\xE2\x9C\x94 MATCH - " + matching + " matches this file.";
    }
    return outcome;
}

bool checkResultColour(CheckResultKind kind, RgbColour& colour) {
    switch (kind) {
    case CheckResultKind::Match:
        colour = {26, 127, 55};
        return true;
    case CheckResultKind::Mismatch:
        colour = {192, 28, 40};
        return true;
    case CheckResultKind::NotAHash:
        colour = {154, 103, 0};
        return true;
    case CheckResultKind::None:
        break;
    }
    return false;
}

} // namespace velk
