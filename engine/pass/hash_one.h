#pragma once
// One named digest of a file, for callers that need a single fingerprint.

#include <string>

namespace velk {

// `algorithm` is a catalogue name compared exactly ("SHA-256", not "SHA256"). True exactly
// when `digest` was written; otherwise `error` (when given) is "cannot open file",
// "unknown algorithm", "CNG init failed" or "read error" and `digest` is untouched.
bool computeHash(const std::string& path, const std::string& algorithm, std::string& digest,
                 std::string* error);

} // namespace velk
