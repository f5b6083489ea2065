#pragma once
// The texts of the viewer's status line and of its two start-up message boxes, and the
// outcome of the clipboard check. All UTF-8.

#include "engine/algorithms.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velk {

// Colour class of the status line.
enum class StatusKind : std::int32_t { Neutral = 0, Success = 1, Failure = 2, Warning = 3 };

struct StatusMessage {
    std::string text;
    StatusKind kind = StatusKind::Neutral;
};

inline constexpr const char* kViewerCaption = "Velkora";
inline constexpr const char* kUsageText = "usage: velkscope <file>";

// "Not a regular file:\n" + path.
std::string notRegularFileText(const std::string& path);

// "Copied SHA-256 to clipboard." (Success).
StatusMessage copiedStatus(const std::string& algorithmName);

// "Could not read file: " + the engine's message (Failure).
StatusMessage hashFailureStatus(const std::string& error);

// What Check shows without looking at the clipboard: "Still computing hashes..." while the
// pass runs, and the pass's failure again once it has failed (the clipboard cannot be
// compared with digests that do not exist). Nothing once the digests are there.
std::optional<StatusMessage> checkStatusWithoutDigests(bool hashesReady, bool hashFailed,
                                                       const std::string& hashError);

// The longest texts the status line shows: what its width must hold on two lines.
std::vector<std::string> longestStatusTexts();

// The check of a clipboard text against the digests: the first word, normalised, compared
// with every digest of its length in catalogue order.
StatusMessage clipboardCheckStatus(const HashResults& results, const std::string& clipboardText);

} // namespace velk
