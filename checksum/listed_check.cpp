#include "checksum/listed_check.h"

#include "engine/pass/file_stream.h"
#include "engine/pass/hash_one.h"

#include <cerrno>

namespace velk {
namespace {

// Whether opening the file fails because nothing of that name exists.
bool isMissing(const std::string& path) {
    errno = 0;
    const FilePtr file = openForHashing(path);
    return !file && errno == ENOENT;
}

} // namespace

std::string checksumFolderOf(const std::string& checksumPath, NameRules rules) {
    if (checksumPath == "-")
        return {};
    const std::size_t slash = rules == NameRules::Windows ? checksumPath.find_last_of("/\\")
                                                          : checksumPath.find_last_of('/');
    return slash == std::string::npos ? std::string() : checksumPath.substr(0, slash + 1);
}

bool listedFilePath(const std::string& folder, const ChecksumEntry& entry, std::string& path,
                    NameRules rules) {
    std::string relative;
    if (!resolveListedName(entry.name, rules, relative))
        return false;
    path = folder + relative;
    return true;
}

ListedOutcome checkListedFile(const std::string& folder, const ChecksumEntry& entry,
                              const PassOptions& options) {
    std::string path;
    if (!listedFilePath(folder, entry, path)) {
        ListedOutcome outcome;
        outcome.verdict = ListedVerdict::Skipped;
        return outcome;
    }
    return checkListedFileAt(path, entry, options);
}

ListedOutcome checkListedFileAt(const std::string& path, const ChecksumEntry& entry,
                                const PassOptions& options) {
    ListedOutcome outcome;
    for (const std::string& algorithm : entry.algorithms) {
        std::string digest;
        if (!computeHash(path, algorithm, digest, &outcome.error, options)) {
            if (options.cancel != nullptr && options.cancel->load())
                outcome.verdict = ListedVerdict::Cancelled;
            else
                outcome.verdict =
                    isMissing(path) ? ListedVerdict::Missing : ListedVerdict::Unreadable;
            return outcome;
        }
        if (digest == entry.digest) {
            outcome.verdict = ListedVerdict::Ok;
            outcome.algorithm = algorithm;
            return outcome;
        }
    }
    outcome.verdict = ListedVerdict::Failed;
    return outcome;
}

std::string listedReportLine(const ChecksumEntry& entry, const ListedOutcome& outcome) {
    const std::string shown = displayListedName(entry.name);
    switch (outcome.verdict) {
    case ListedVerdict::Ok:
        // Where the length alone chose the algorithms, the one that matched is named.
        return shown + ": OK" +
               (entry.algorithms.size() > 1 ? " (" + outcome.algorithm + ")" : "") + "\n";
    case ListedVerdict::Failed:
        return shown + ": FAILED\n";
    case ListedVerdict::Missing:
    case ListedVerdict::Unreadable:
        return shown + ": FAILED open or read\n";
    case ListedVerdict::Skipped:
        return shown + ": skipped (outside the folder)\n";
    case ListedVerdict::Cancelled:
        break;
    }
    return {};
}

} // namespace velk
