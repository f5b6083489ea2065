#include "engine/algorithms.h"

#include "engine/own/cpu_features.h"

namespace velk {

// clang-format off
constexpr std::array<Algorithm, kAlgorithmCount> kAlgorithms = {{
    // name      bytes source                 platform    cost  fast  with                  checksum names
    {"CRC32",     4, DigestSource::Crc32,    nullptr,     4,    1, kCpuPclmul | kCpuSse41, {"CRC32", "CRC-32", nullptr}},
    {"MD5",      16, DigestSource::Platform, L"MD5",     16,    0, 0,                      {"MD5", nullptr, nullptr}},
    {"SHA-1",    20, DigestSource::Platform, L"SHA1",     6,    0, 0,                      {"SHA1", nullptr, nullptr}},
    {"SHA-224",  28, DigestSource::Sha224,   nullptr,    40,    7, kCpuSha | kCpuSse41,    {"SHA224", nullptr, nullptr}},
    {"SHA-256",  32, DigestSource::Platform, L"SHA256",   7,    0, 0,                      {"SHA256", nullptr, nullptr}},
    {"SHA-384",  48, DigestSource::Platform, L"SHA384",  15,    0, 0,                      {"SHA384", nullptr, nullptr}},
    {"SHA-512",  64, DigestSource::Platform, L"SHA512",  15,    0, 0,                      {"SHA512", nullptr, nullptr}},
    {"SHA3-256", 32, DigestSource::Sha3,     nullptr,    28,    0, 0,                      {"SHA3-256", "SHA3_256", nullptr}},
    {"SHA3-512", 64, DigestSource::Sha3,     nullptr,    55,    0, 0,                      {"SHA3-512", "SHA3_512", nullptr}},
    {"BLAKE2b",  64, DigestSource::Blake2b,  nullptr,    14,    0, 0,                      {"BLAKE2b", "BLAKE2b-512", "B2"}},
    {"BLAKE2s",  32, DigestSource::Blake2s,  nullptr,    22,    0, 0,                      {"BLAKE2s", "BLAKE2s-256", nullptr}},
}};
// clang-format on

namespace {

constexpr bool entriesAreWhole() {
    for (const Algorithm& a : kAlgorithms) {
        if ((a.source == DigestSource::Platform) != (a.platformId != nullptr))
            return false;
        if (a.digestBytes == 0 || a.cost == 0 || a.checksumNames[0] == nullptr)
            return false;
        if ((a.fastFeatures == 0) != (a.fastCost == 0))
            return false;
    }
    return true;
}
static_assert(entriesAreWhole(), "every entry names its source, cost and checksum name");

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool equalIgnoringAsciiCase(const char* a, const std::string& b) {
    std::size_t i = 0;
    for (; a[i] != '\0'; ++i) {
        if (i == b.size() || lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return i == b.size();
}

} // namespace

const std::vector<std::string> kAlgorithmNames = [] {
    std::vector<std::string> names;
    for (const Algorithm& a : kAlgorithms)
        names.emplace_back(a.name);
    return names;
}();

const Algorithm* findAlgorithm(const std::string& name) {
    for (const Algorithm& a : kAlgorithms) {
        if (name == a.name)
            return &a;
    }
    return nullptr;
}

const Algorithm* findAlgorithmByChecksumName(const std::string& name) {
    for (const Algorithm& a : kAlgorithms) {
        if (equalIgnoringAsciiCase(a.name, name))
            return &a;
        for (const char* other : a.checksumNames) {
            if (other != nullptr && equalIgnoringAsciiCase(other, name))
                return &a;
        }
    }
    return nullptr;
}

std::size_t digestHexLength(const std::string& name) {
    const Algorithm* a = findAlgorithm(name);
    return a != nullptr ? 2 * a->digestBytes : 0;
}

} // namespace velk
