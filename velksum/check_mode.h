#pragma once
// velksum -c: the files a checksum file lists, checked against it.

#include <cstdio>
#include <string>
#include <vector>

namespace velk {

struct CheckOptions {
    bool quiet = false;  // print only what is not OK
    bool strict = false; // an improperly formatted line fails the check
};

// Checks every listed entry, relative to the folder of its checksum file ("-": standard
// input, relative to the current folder). Per entry "name: OK", "name: FAILED", "name: FAILED
// open or read" or "name: skipped (outside the folder)" on `out`; the reason of each
// unreadable file and the warnings at the end of each checksum file on `err`. Returns 0 only
// when at least one entry was found and every entry was checked and matched.
int runCheck(const std::vector<std::string>& checksumFiles, const CheckOptions& options,
             std::FILE* out, std::FILE* err);

} // namespace velk
