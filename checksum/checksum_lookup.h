#pragma once
// Finding the checksum file that lists a given file: the sidecars beside it, the usual
// collected lists of a download folder, then any list there, read within tight bounds.

#include "checksum/checksum_reader.h"
#include "checksum/listed_name.h"
#include "engine/algorithms.h"

#include <cstddef>
#include <string>
#include <vector>

namespace velk {

inline constexpr std::size_t kMaxChecksumCandidates = 32;
inline constexpr std::size_t kMaxCandidateBytes = 1u << 20;
// Entries of a folder looked at for candidates; a folder with more is looked at in part.
inline constexpr std::size_t kMaxFolderEntries = 20000;

// The checksum files to read for `fileName`, from the names of the files in its folder, in
// this order: the sidecars "<name>.sha256", "<name>.sha512", "<name>.sha1", "<name>.md5", ...
// and "<name>.<algo>sum"; then "SHA256SUMS", "SHA512SUMS", "SHA1SUMS", "MD5SUMS", "B2SUMS",
// "CHECKSUMS"; then every "*.sha256", "*.md5", "*.sfv" in name order. Names are compared
// without regard to case; each appears once, never the file itself, at most 32 in all.
std::vector<std::string> checksumFileCandidates(const std::string& fileName,
                                                const std::vector<std::string>& folderFiles);

struct ChecksumVerdict {
    bool listed = false;  // a checksum file lists the file
    bool matches = false; // every entry for the file equals one of its digests
    std::string checksumFileName;
    // Matching: the algorithms that matched. Not matching: those of the entries that did not.
    // Catalogue order.
    std::vector<std::string> algorithms;
};

// Compares the entries of one checksum file that name `fileName` (relative to the checksum
// file's folder; on Windows without regard to case) with the file's digests. Not listed when
// no entry names the file.
ChecksumVerdict checksumVerdict(const ChecksumList& list, const std::string& checksumFileName,
                                const std::string& fileName, const HashResults& digests,
                                NameRules rules = kHostNameRules);

// Looks in the folder of the file at `filePath` (UTF-8) for the first candidate that lists
// it; candidates that are missing, larger than 1 MiB, unreadable or refused are passed over.
ChecksumVerdict findChecksumVerdict(const std::string& filePath, const HashResults& digests);

} // namespace velk
