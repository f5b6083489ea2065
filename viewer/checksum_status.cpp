#include "viewer/checksum_status.h"

#include "checksum/checksum_writer.h"
#include "viewer/file_facts.h"

namespace velk {

std::optional<StatusMessage> checksumFileStatus(const ChecksumVerdict& verdict) {
    if (!verdict.listed)
        return std::nullopt;
    std::string names;
    for (const std::string& name : verdict.algorithms)
        names += (names.empty() ? "" : " / ") + name;
    if (verdict.matches) {
        return StatusMessage{"\xE2\x9C\x94 MATCH  " + names + " matches " +
                                 verdict.checksumFileName + ".",
                             StatusKind::Success};
    }
    return StatusMessage{"\xE2\x9C\x98 NO MATCH  " + names + " differs from " +
                             verdict.checksumFileName + ".",
                         StatusKind::Failure};
}

std::string checksumLineText(const std::string& digest, const std::string& filePath) {
    std::string line = gnuChecksumLine(digest, fileNameOf(filePath));
    line.pop_back(); // the line end: a pasted line gets the one of its place
    return line;
}

StatusMessage copiedLineStatus(const std::string& algorithmName) {
    return {"Copied " + algorithmName + " checksum line to clipboard.", StatusKind::Success};
}

} // namespace velk
