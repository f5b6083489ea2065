#include "viewer/status_text.h"

#include "engine/clipboard_token.h"

#include <vector>

namespace velk {
namespace {

const char* const kNotAHash = "Clipboard doesn't look like a hash for this file.";

std::string joinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        if (!joined.empty())
            joined += " / ";
        joined += name;
    }
    return joined;
}

} // namespace

std::string notRegularFileText(const std::string& path) {
    return "Not a regular file:\n" + path;
}

StatusMessage copiedStatus(const std::string& algorithmName) {
    return {"Copied " + algorithmName + " to clipboard.", StatusKind::Success};
}

StatusMessage hashFailureStatus(const std::string& error) {
    return {"Could not read file: " + error, StatusKind::Failure};
}

std::optional<StatusMessage> checkStatusWithoutDigests(bool hashesReady, bool hashFailed,
                                                       const std::string& hashError) {
    if (hashesReady)
        return std::nullopt;
    if (hashFailed)
        return hashFailureStatus(hashError);
    return StatusMessage{"Still computing hashes...", StatusKind::Warning};
}

std::vector<std::string> longestStatusTexts() {
    // A mismatch names every algorithm of the candidate's length; the longest digests have
    // the longest names.
    HashResults zeros;
    for (const std::string& name : kAlgorithmNames)
        zeros[name] = std::string(digestHexLength(name), '0');
    std::vector<std::string> texts{
        kNotAHash,
        hashFailureStatus("cannot open file").text,
        copiedStatus("SHA3-512").text,
    };
    for (const std::size_t length : {64, 128}) {
        texts.push_back(clipboardCheckStatus(zeros, std::string(length, '1')).text);
        texts.push_back(clipboardCheckStatus(zeros, std::string(length, '0')).text);
    }
    return texts;
}

StatusMessage clipboardCheckStatus(const HashResults& results, const std::string& clipboardText) {
    std::string candidate;
    if (!parseClipboardHash(clipboardText, candidate))
        return {kNotAHash, StatusKind::Warning};

    std::vector<std::string> sameLength;
    std::vector<std::string> matching;
    for (const std::string& name : kAlgorithmNames) {
        const auto found = results.find(name);
        if (found == results.end() || found->second.size() != candidate.size())
            continue;
        sameLength.push_back(name);
        if (found->second == candidate)
            matching.push_back(name);
    }

    if (sameLength.empty())
        return {kNotAHash, StatusKind::Warning};
    if (matching.empty()) {
        return {"\xE2\x9C\x98 NO MATCH  " + std::to_string(candidate.size()) + "-char hash (" +
                    joinNames(sameLength) + "), but it does not match this file.",
                StatusKind::Failure};
    }
    return {"\xE2\x9C\x94 MATCH  " + joinNames(matching) + " matches this file.",
            StatusKind::Success};
}

} // namespace velk
