#pragma once
// The context menu's "Clipboard Check": which message answers a clipboard text for a
// file's digests.

#include "engine/algorithms.h"

#include <string>

namespace velk {

// Largest file whose digests the check computes itself when the menu did not.
inline constexpr long long kCheckComputeLimit = 268435456; // 256 MiB

enum class NoticeIcon { Information, Warning, Error };

// One message box without owner, with the single OK button. Texts are UTF-8.
struct Notice {
    std::string text;
    std::string caption;
    NoticeIcon icon = NoticeIcon::Information;
};

// True when the check must not compute the digests: they were not computed by the menu
// and the file is over kCheckComputeLimit (an unknown size, -1, is not large).
bool checkSkipsLargeFile(bool allComputed, long long size);

Notice largeFileNotice();
Notice unreadableNotice();

// The answer for a clipboard text and the file's digests: not a hash, a length no digest
// has, a match (every matching algorithm) or no match (every algorithm of that length).
Notice clipboardCheckNotice(const HashResults& digests, const std::string& clipboardText);

} // namespace velk
