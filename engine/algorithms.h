#pragma once
// The catalogue of the eleven digest algorithms and the result set of a pass.

#include <map>
#include <string>
#include <vector>

namespace velk {

// Algorithm name -> lowercase hex digest. Ordered by byte-wise key comparison, so walk
// algorithmNames() to present digests in catalogue order.
using HashResults = std::map<std::string, std::string>;

// "CRC32", "MD5", "SHA-1", "SHA-224", "SHA-256", "SHA-384", "SHA-512", "SHA3-256",
// "SHA3-512", "BLAKE2b", "BLAKE2s": the order of every list, menu and comparison.
extern const std::vector<std::string> kAlgorithmNames;

const std::vector<std::string>& algorithmNames();

// Hex characters of the named algorithm's digest (8 for CRC32 ... 128 for SHA-512),
// or 0 for a name outside the catalogue.
std::size_t digestHexLength(const std::string& name);

} // namespace velk
