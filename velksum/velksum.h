#pragma once
// The command line of velksum, independent of how arguments and output reach the process.

#include <cstdio>
#include <string>
#include <vector>

namespace velk {

// velksum FILE...              the path, then "NAME  digest" for all eleven, per file
// velksum -a NAME FILE...      "digest  FILE" per file, as sha256sum and its kin print it
// velksum [-a NAME] --tag ...  "SHA256 (FILE) = digest" lines
// velksum -c LIST...           checks the files the checksum files list
// velksum --compare FILE OTHER "identical" (0) or "different: ..." (1); 2 when unreadable
// Returns the exit code: 0, 1 when any file failed (or output could not be written), 2 on bad
// usage. `--help` lists everything.
int runVelksum(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace velk
