#pragma once
// Writing checksum lines others read back: UTF-8, LF, forward slashes, and the leading
// backslash of an escaped name where a name needs it.

#include "checksum/listed_name.h"

#include <string>

namespace velk {

// "digest  name\n" (coreutils' text mode), or "\digest  esc\\aped\n".
std::string gnuChecksumLine(const std::string& digest, const std::string& name,
                            NameRules rules = kHostNameRules);

// "SHA256 (name) = digest\n" with the tag other tools read for the catalogue name
// ("BLAKE2b", "SHA3-256", "CRC32"), escaped the same way.
std::string bsdChecksumLine(const std::string& algorithm, const std::string& digest,
                            const std::string& name, NameRules rules = kHostNameRules);

} // namespace velk
