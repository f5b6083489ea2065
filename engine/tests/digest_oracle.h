#pragma once
// Test support: any catalogue digest of an in-memory message, fed in the given pieces, and
// the vector tables of vectors/.

#include <cstdint>
#include <string>
#include <vector>

namespace velk::test {

// Feeds `message` to a fresh state of `algorithm` in pieces of the given sizes (the last
// piece takes what is left; an empty list feeds it whole) and returns the hex digest.
std::string digestInPieces(const std::string& algorithm, const std::vector<std::uint8_t>& message,
                           const std::vector<std::size_t>& pieces = {});

struct Vector {
    std::string algorithm;
    std::string form;
    std::vector<std::uint8_t> message;
    std::string digest;
};

// Reads vectors/<file> (see vectors/generate.py for the message forms).
std::vector<Vector> loadVectors(const std::string& file);

// A fixed-seed random generator; the seed is printed and can be overridden by VELK_SEED.
std::uint64_t testSeed();
std::vector<std::uint8_t> randomBytes(std::size_t count, std::uint64_t seed);

} // namespace velk::test
