#include "shellext/menu/menu_check.h"

#include "engine/clipboard_token.h"

#include <vector>

namespace velk {
namespace {

const char kCheckCaption[] = "Clipboard Check";

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        if (!text.empty())
            text += " / ";
        text += name;
    }
    return text;
}

} // namespace

bool checkSkipsLargeFile(bool allComputed, long long size) {
    return !allComputed && size > kCheckComputeLimit;
}

Notice largeFileNotice() {
    return {"This file is large. Open the Velkscope to compute its hashes, then compare.",
            "Velkora", NoticeIcon::Information};
}

Notice unreadableNotice() {
    return {"Could not read file.", kCheckCaption, NoticeIcon::Error};
}

Notice clipboardCheckNotice(const HashResults& digests, const std::string& clipboardText) {
    std::string token;
    if (!parseClipboardHash(clipboardText, token) || token.empty())
        return {"The clipboard is empty or not a hexadecimal hash.", kCheckCaption,
                NoticeIcon::Warning};

    std::vector<std::string> sameLength;
    std::vector<std::string> matches;
    for (const std::string& name : kAlgorithmNames) {
        const auto found = digests.find(name);
        if (found == digests.end() || found->second.size() != token.size())
            continue;
        sameLength.push_back(name);
        if (found->second == token)
            matches.push_back(name);
    }

    if (sameLength.empty())
        return {"The clipboard hash length doesn't match any of this file's hashes.", kCheckCaption,
                NoticeIcon::Warning};
    if (!matches.empty())
        return {"\xE2\x9C\x94 MATCH\n\nThe clipboard matches this file's " + joined(matches) +
                    " hash.",
                kCheckCaption, NoticeIcon::Information};
    return {"\xE2\x9C\x98 NO MATCH\n\nThe clipboard is a " + std::to_string(token.size()) +
                "-character hash (" + joined(sameLength) + " length) but does not match this file.",
            kCheckCaption, NoticeIcon::Error};
}

} // namespace velk
