#include "checksum/algorithm_names.h"

#include "checksum/ascii_case.h"
#include "engine/algorithms.h"

namespace velk {
namespace {

// One word of a file name ("sha256", "sha256sum", "sha256sums", "sfv", "sha3") -> algorithms.
std::vector<std::string> algorithmsForWord(std::string word) {
    if (endsWithSuffix(word, "sums"))
        word.resize(word.size() - 4);
    else if (endsWithSuffix(word, "sum"))
        word.resize(word.size() - 3);
    if (word == "sfv")
        return {"CRC32"};
    if (word == "sha3")
        return {"SHA3-256", "SHA3-512"};
    const std::string name = catalogueNameFor(word);
    if (name.empty())
        return {};
    return {name};
}

// A list's word: an algorithm followed by "sum" or "sums", or "checksum(s)".
bool isListWord(const std::string& word) {
    if (word == "checksum" || word == "checksums")
        return true;
    return (endsWithSuffix(word, "sum") || endsWithSuffix(word, "sums")) &&
           !algorithmsForWord(word).empty();
}

} // namespace

std::string catalogueNameFor(const std::string& toolName) {
    const Algorithm* a = findAlgorithmByChecksumName(toolName);
    return a == nullptr ? std::string() : std::string(a->name);
}

std::string bsdTagFor(const std::string& catalogueName) {
    const Algorithm* a = findAlgorithm(catalogueName);
    return a == nullptr ? std::string() : std::string(a->checksumNames[0]);
}

std::vector<std::string> algorithmsForChecksumFileName(const std::string& fileName) {
    const std::string name = asciiLowered(fileName);
    // The extension first ("x.iso.sha256", "x.md5sum"), then the stem ("SHA256SUMS",
    // "sha256sum.txt").
    const std::size_t lastDot = name.rfind('.');
    if (lastDot != std::string::npos) {
        std::vector<std::string> found = algorithmsForWord(name.substr(lastDot + 1));
        if (!found.empty())
            return found;
    }
    return algorithmsForWord(name.substr(0, name.find('.')));
}

bool isChecksumFileName(const std::string& fileName) {
    const std::string name = asciiLowered(fileName);
    const std::size_t lastDot = name.rfind('.');
    if (lastDot == std::string::npos)
        return isListWord(name);
    const std::string extension = name.substr(lastDot + 1);
    if (!algorithmsForWord(extension).empty())
        return true;
    return extension == "txt" && isListWord(name.substr(0, lastDot));
}

std::string checksumFileNameFor(const std::string& catalogueName) {
    const Algorithm* a = findAlgorithm(catalogueName);
    if (a == nullptr)
        return {};
    // The shortest of the names other tools use ("B2" for BLAKE2b, "CRC32" before "CRC-32").
    std::string word = a->checksumNames[0];
    for (const char* other : a->checksumNames) {
        if (other != nullptr && std::string(other).size() < word.size())
            word = other;
    }
    for (char& c : word)
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return word + "SUMS";
}

} // namespace velk
