#pragma once
// The names other tools give our algorithms, and what a checksum file's own name says about
// the algorithm of its lines. The one place that maps outside names onto the catalogue.

#include <string>
#include <vector>

namespace velk {

// The catalogue name ("SHA-256") for a name as other tools write it, case-insensitively:
// "sha256", "SHA-256", "SHA1", "BLAKE2b-512", "blake2s-256", "crc32", "B2"... Empty for a name
// that is none of ours.
std::string catalogueNameFor(const std::string& toolName);

// The tag other tools write and read in BSD lines: "SHA256", "BLAKE2b", "SHA3-256", "CRC32".
// Empty for a name outside the catalogue.
std::string bsdTagFor(const std::string& catalogueName);

// The algorithms a checksum file's name points to, in catalogue order: "x.iso.sha256",
// "x.sha256sum", "SHA256SUMS", "sha256sum.txt" -> {"SHA-256"}; "x.sfv" -> {"CRC32"};
// "x.sha3" -> {"SHA3-256", "SHA3-512"}; "CHECKSUMS" or "list.txt" -> {}.
std::vector<std::string> algorithmsForChecksumFileName(const std::string& fileName);

// Whether a file's name alone marks it as a checksum file: an extension that names an
// algorithm ("x.sha256", "x.md5sum", "x.sfv", "x.sha3") or a name, bare or ending in ".txt",
// made of a list's word ("SHA256SUMS", "sha1sum.txt", "B2SUMS", "CHECKSUMS"). "md5.exe" and
// "report.pdf" are not.
bool isChecksumFileName(const std::string& fileName);

// The name a new list of the algorithm's GNU lines usually has, which names the algorithm
// back to a reader: "SHA256SUMS", "MD5SUMS", "B2SUMS", "SHA3-256SUMS". Empty outside the
// catalogue.
std::string checksumFileNameFor(const std::string& catalogueName);

} // namespace velk
