#pragma once
// The all-digest pass: one sequential read of a file feeding all eleven digests.

#include "engine/algorithms.h"
#include "engine/pass/pass_options.h"

#include <string>

namespace velk {

// True when all eleven digests were computed over the whole file (or over its first
// options.byteCap bytes). On failure `error` (when given) becomes "cannot open file",
// "CNG init failed", "read error" or "cancelled"; after a read error `results` still holds the
// digests of the bytes read before it, after a cancellation it is untouched. Synchronous
// whatever the options: it returns once every digest is final or dropped and every thread it
// started has ended.
bool computeAllHashes(const std::string& path, HashResults& results, std::string* error);
bool computeAllHashes(const std::string& path, HashResults& results, std::string* error,
                      const PassOptions& options);

} // namespace velk
