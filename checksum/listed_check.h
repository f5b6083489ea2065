#pragma once
// Checking one entry of a checksum file against the file it names: the verdict velksum -c
// prints and the check window shows, and the report line both write for it.

#include "checksum/checksum_reader.h"
#include "checksum/listed_name.h"
#include "engine/pass/pass_options.h"

#include <string>

namespace velk {

enum class ListedVerdict {
    Ok,         // one of the entry's algorithms gives the listed digest
    Failed,     // the file was read and none does
    Missing,    // there is no such file
    Unreadable, // the file exists but could not be opened or read to its end
    Skipped,    // the name leads out of the checksum file's folder: never read
    Cancelled,  // the caller's cancel flag stopped the read
};

struct ListedOutcome {
    ListedVerdict verdict = ListedVerdict::Failed;
    std::string algorithm; // Ok: the algorithm that matched
    std::string error;     // Missing, Unreadable: the engine's message ("cannot open file")
};

// The folder that listed names are relative to: the checksum file's path up to and including
// its last separator, empty for a bare name or "-" (standard input).
std::string checksumFolderOf(const std::string& checksumPath, NameRules rules = kHostNameRules);

// The path of the file an entry names (folder + its relative name); false when the name leads
// out of the folder.
bool listedFilePath(const std::string& folder, const ChecksumEntry& entry, std::string& path,
                    NameRules rules = kHostNameRules);

// Reads the file the entry names (through `options`: cancel and progress are honoured) with
// each of the entry's algorithms in turn until one gives the listed digest.
ListedOutcome checkListedFile(const std::string& folder, const ChecksumEntry& entry,
                              const PassOptions& options);
// The same for the file at `path`, the entry's name already resolved (listedFilePath).
ListedOutcome checkListedFileAt(const std::string& path, const ChecksumEntry& entry,
                                const PassOptions& options);

// The line velksum -c prints for the outcome: "name: OK", "name: OK (SHA-256)" where the
// digest's length alone chose among several algorithms, "name: FAILED", "name: FAILED open or
// read", "name: skipped (outside the folder)"; with its line feed. Empty for Cancelled.
std::string listedReportLine(const ChecksumEntry& entry, const ListedOutcome& outcome);

} // namespace velk
