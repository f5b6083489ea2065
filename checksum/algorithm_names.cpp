#include "checksum/algorithm_names.h"

#include "checksum/ascii_case.h"

namespace velk {
namespace {

struct ToolName {
    const char* tool;
    const char* catalogue;
};

// Every spelling we read. The first one given for a catalogue name is its BSD tag.
const ToolName kToolNames[] = {
    {"CRC32", "CRC32"},         {"CRC-32", "CRC32"},      {"MD5", "MD5"},
    {"SHA1", "SHA-1"},          {"SHA-1", "SHA-1"},       {"SHA224", "SHA-224"},
    {"SHA-224", "SHA-224"},     {"SHA256", "SHA-256"},    {"SHA-256", "SHA-256"},
    {"SHA384", "SHA-384"},      {"SHA-384", "SHA-384"},   {"SHA512", "SHA-512"},
    {"SHA-512", "SHA-512"},     {"SHA3-256", "SHA3-256"}, {"SHA3_256", "SHA3-256"},
    {"SHA3-512", "SHA3-512"},   {"SHA3_512", "SHA3-512"}, {"BLAKE2b", "BLAKE2b"},
    {"BLAKE2b-512", "BLAKE2b"}, {"B2", "BLAKE2b"},        {"BLAKE2s", "BLAKE2s"},
    {"BLAKE2s-256", "BLAKE2s"},
};

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

bool sameIgnoringCase(const std::string& text, const char* name) {
    std::size_t i = 0;
    for (; i < text.size() && name[i] != '\0'; ++i) {
        if (asciiLower(text[i]) != asciiLower(name[i]))
            return false;
    }
    return i == text.size() && name[i] == '\0';
}

} // namespace

std::string catalogueNameFor(const std::string& toolName) {
    for (const ToolName& t : kToolNames) {
        if (sameIgnoringCase(toolName, t.tool))
            return t.catalogue;
    }
    return {};
}

std::string bsdTagFor(const std::string& catalogueName) {
    for (const ToolName& t : kToolNames) {
        if (catalogueName == t.catalogue)
            return t.tool;
    }
    return {};
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

} // namespace velk
