#pragma once
// The catalogue of the eleven digest algorithms, defined once in kAlgorithms, and the result set
// of a pass. Every other list of algorithms is derived from the catalogue or looks it up.

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace velk {

// Algorithm name -> lowercase hex digest. Ordered by byte-wise key comparison, so walk
// kAlgorithmNames to present digests in catalogue order.
using HashResults = std::map<std::string, std::string>;

// Who computes an algorithm: the platform (CNG; libcrypto where there is none), or one of the
// engine's own digest states.
enum class DigestSource { Platform, Crc32, Sha224, Sha3, Blake2b, Blake2s };

struct Algorithm {
    const char* name;        // catalogue name, compared exactly: "SHA-256"
    std::size_t digestBytes; // also the output length an own digest state is started with
    DigestSource source;
    const wchar_t* platformId; // the platform's identifier ("SHA256"); null for own digests
    // Rough time per byte (tenths of a nanosecond on a current x86-64 core), which only orders
    // the work between the threads of a pass; fastCost applies when the processor offers every
    // CpuFeature in fastFeatures (0: no faster path).
    unsigned cost;
    unsigned fastCost;
    unsigned fastFeatures;
    // The names other checksum tools use for it; the first is the one they write in a tag line,
    // the others (null when there are none) spellings they also accept ("B2" is b2sum's word
    // in file names such as "B2SUMS").
    const char* checksumNames[3];
};

constexpr std::size_t kAlgorithmCount = 11;

// In catalogue order, the order of every list, menu and comparison.
extern const std::array<Algorithm, kAlgorithmCount> kAlgorithms;

// The catalogue names in catalogue order: "CRC32", "MD5", "SHA-1", "SHA-224", "SHA-256",
// "SHA-384", "SHA-512", "SHA3-256", "SHA3-512", "BLAKE2b", "BLAKE2s".
extern const std::vector<std::string> kAlgorithmNames;

// The entry of a catalogue name, compared exactly ("SHA-256", not "SHA256"); null otherwise.
const Algorithm* findAlgorithm(const std::string& name);

// The entry of a name as checksum tools write it ("SHA256", "BLAKE2b-512") or of a catalogue
// name, in any ASCII letter case; null for anything else.
const Algorithm* findAlgorithmByChecksumName(const std::string& name);

// Hex characters of the named algorithm's digest (8 for CRC32 ... 128 for SHA-512), or 0 for a
// name outside the catalogue.
std::size_t digestHexLength(const std::string& name);

} // namespace velk
