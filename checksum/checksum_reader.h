#pragma once
// Reading checksum files: GNU lines ("digest  name", "digest *name", "\digest  esc\\aped"),
// BSD tags ("SHA256 (name) = digest") and SFV ("name 1a2b3c4d"), in UTF-8 (with or without a
// byte-order mark) or UTF-16 with one, LF or CRLF. Blank lines, "#" and ";" comments are
// skipped. A file that is too large, has too long a line or too many entries is refused as a
// whole, never half-read.

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace velk {

inline constexpr std::size_t kMaxChecksumFileBytes = 16u << 20;
inline constexpr std::size_t kMaxChecksumLineBytes = 64u << 10;
inline constexpr std::size_t kMaxChecksumEntries = 100000;

enum class ChecksumLineFormat { Gnu, Bsd, Sfv };

struct ChecksumEntry {
    std::string name;   // as listed, unescaped, UTF-8
    std::string digest; // lowercase hex
    // The catalogue names to try, in catalogue order: one when the line's tag or the file's
    // name says which, else every algorithm whose digests have this length.
    std::vector<std::string> algorithms;
    std::size_t line = 0; // 1-based
    ChecksumLineFormat format = ChecksumLineFormat::Gnu;
};

struct ChecksumList {
    std::vector<ChecksumEntry> entries;
    std::size_t improperLines = 0; // neither blank, nor a comment, nor an entry
};

// Parses the whole content of a checksum file. `fileName` (the file's own name, no folder)
// hints at the algorithm: "SHA256SUMS", "x.md5", "x.sfv". False, with `error` (when given)
// "line N is longer than 64 KiB" or "more than 100000 entries", and `list` untouched, when a
// bound is passed. A file without a single entry is no failure here: the caller decides.
bool parseChecksumFile(const std::string& bytes, const std::string& fileName, ChecksumList& list,
                       std::string* error);

// Reads a stream to its end into `bytes`. False when it holds more than `maxBytes` ("checksum
// file is larger than 16 MiB") or the read fails ("read error").
bool readChecksumStream(std::FILE* stream, std::size_t maxBytes, std::string& bytes,
                        std::string* error);

// Opens (as the engine opens files to hash), reads at most `maxBytes` and parses the file at
// the UTF-8 path. False with "cannot open file", a bound's message or "read error".
bool loadChecksumFile(const std::string& path, std::size_t maxBytes, ChecksumList& list,
                      std::string* error);

// The last part of a path, after its last "/" (or "\" on Windows).
std::string checksumFileNameOf(const std::string& path);

} // namespace velk
