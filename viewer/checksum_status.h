#pragma once
// What the status line says about a checksum file found beside the viewer's file, and about
// a digest copied as a checksum line.

#include "checksum/checksum_lookup.h"
#include "viewer/status_text.h"

#include <optional>
#include <string>

namespace velk {

// "✔ MATCH  SHA-256 matches SHA256SUMS." (Success) or "✘ NO MATCH  SHA-256 differs from
// SHA256SUMS." (Failure); nothing when no checksum file lists the file.
std::optional<StatusMessage> checksumFileStatus(const ChecksumVerdict& verdict);

// "digest  name": the line a checksum file holds for the viewer's file, without a line end.
std::string checksumLineText(const std::string& digest, const std::string& filePath);

// "Copied SHA-256 checksum line to clipboard." (Success).
StatusMessage copiedLineStatus(const std::string& algorithmName);

} // namespace velk
