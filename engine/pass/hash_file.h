#pragma once
// The all-digest pass: one sequential read of a file feeding all eleven digests.

#include "engine/algorithms.h"
#include "engine/pass/pass_options.h"

#include <string>

namespace velk {

// True when all eleven digests were computed over the whole file. On failure `error` (when
// given) becomes "cannot open file", "CNG init failed" or "read error"; after a read error
// `results` still holds the digests of the bytes read before it. Synchronous whatever the
// options: it returns once every digest is final and every thread it started has ended.
bool computeAllHashes(const std::string& path, HashResults& results, std::string* error);
bool computeAllHashes(const std::string& path, HashResults& results, std::string* error,
                      const PassOptions& options);

} // namespace velk
