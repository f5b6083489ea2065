#include "engine/algorithms.h"

namespace velk {

const std::vector<std::string> kAlgorithmNames = {
    "CRC32",   "MD5",      "SHA-1",    "SHA-224", "SHA-256", "SHA-384",
    "SHA-512", "SHA3-256", "SHA3-512", "BLAKE2b", "BLAKE2s",
};

const std::vector<std::string>& algorithmNames() { return kAlgorithmNames; }

std::size_t digestHexLength(const std::string& name) {
    static const std::size_t kLengths[] = {8, 32, 40, 56, 64, 96, 128, 64, 128, 128, 64};
    for (std::size_t i = 0; i < kAlgorithmNames.size(); ++i) {
        if (kAlgorithmNames[i] == name) return kLengths[i];
    }
    return 0;
}

} // namespace velk
