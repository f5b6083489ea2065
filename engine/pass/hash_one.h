#pragma once
// One named digest of a file, for callers that need a single fingerprint.

#include "engine/pass/pass_options.h"

#include <string>

namespace velk {

// `algorithm` is a catalogue name compared exactly ("SHA-256", not "SHA256"). True exactly
// when `digest` was written; otherwise `error` (when given) is "cannot open file",
// "unknown algorithm", "CNG init failed" or "read error" and `digest` is untouched.
// With options: read at most options.byteCap bytes, stop with "cancelled" once options.cancel
// holds true, report progress; options.threads is not used (one digest, one thread).
bool computeHash(const std::string& path, const std::string& algorithm, std::string& digest,
                 std::string* error);
bool computeHash(const std::string& path, const std::string& algorithm, std::string& digest,
                 std::string* error, const PassOptions& options);

} // namespace velk
