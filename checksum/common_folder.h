#pragma once
// Where a new checksum file for several files goes, and the names it lists them by.

#include "checksum/listed_name.h"

#include <string>
#include <vector>

namespace velk {

struct ListedFiles {
    std::string folder;             // the deepest folder holding every file, with its separator
    std::vector<std::string> names; // each file relative to it, segments joined by "/"
};

// The files' deepest common folder and their names below it, in the order given. False when
// they share no folder at all (other drives or shares, a bare name, an empty list). On
// Windows either slash separates and folders compare without regard to ASCII case.
bool listedFilesOf(const std::vector<std::string>& paths, NameRules rules, ListedFiles& out);

} // namespace velk
