#include "velksum/check_mode.h"

#include "checksum/checksum_reader.h"
#include "checksum/listed_name.h"
#include "engine/pass/hash_one.h"
#include "velksum/file_probe.h"
#include "velksum/velksum_output.h"

namespace velk {
namespace {

struct Tally {
    std::size_t mismatched = 0;
    std::size_t unreadable = 0;
    std::size_t skipped = 0;
};

std::string folderOf(const std::string& checksumPath) {
    if (checksumPath == "-")
        return {};
    const std::size_t slash = kHostNameRules == NameRules::Windows
                                  ? checksumPath.find_last_of("/\\")
                                  : checksumPath.find_last_of('/');
    return slash == std::string::npos ? std::string() : checksumPath.substr(0, slash + 1);
}

// "1 line is" / "2 lines are": the warnings read as coreutils prints them.
std::string counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

bool readList(const std::string& checksumPath, ChecksumList& list, std::FILE* err) {
    std::string error;
    bool read = false;
    if (checksumPath == "-") {
        std::string bytes;
        read = readChecksumStream(stdin, kMaxChecksumFileBytes, bytes, &error) &&
               parseChecksumFile(bytes, "", list, &error);
    } else {
        read = loadChecksumFile(checksumPath, kMaxChecksumFileBytes, list, &error);
    }
    if (!read) {
        const bool systemFailure = error == "cannot open file" || error == "read error";
        putError(err, checksumPath, error,
                 systemFailure && checksumPath != "-" ? failureReason(checksumPath) : "");
    }
    return read;
}

// The first of the entry's algorithms whose digest of the file equals the listed one, or an
// empty name; false when the file cannot be read.
bool matchingAlgorithm(const std::string& path, const ChecksumEntry& entry, std::string& matched,
                       std::string& error) {
    matched.clear();
    for (const std::string& algorithm : entry.algorithms) {
        std::string digest;
        if (!computeHash(path, algorithm, digest, &error))
            return false;
        if (digest == entry.digest) {
            matched = algorithm;
            return true;
        }
    }
    return true;
}

void checkEntry(const std::string& folder, const ChecksumEntry& entry, const CheckOptions& options,
                Tally& tally, std::FILE* out, std::FILE* err) {
    const std::string shown = displayListedName(entry.name);
    std::string relative;
    if (!resolveListedName(entry.name, kHostNameRules, relative)) {
        ++tally.skipped;
        put(out, shown + ": skipped (outside the folder)\n");
        return;
    }
    const std::string path = folder + relative;
    std::string matched;
    std::string error;
    if (!matchingAlgorithm(path, entry, matched, error)) {
        ++tally.unreadable;
        std::fflush(out);
        putError(err, shown, error, failureReason(path));
        put(out, shown + ": FAILED open or read\n");
        return;
    }
    if (matched.empty()) {
        ++tally.mismatched;
        put(out, shown + ": FAILED\n");
        return;
    }
    if (options.quiet)
        return;
    // Where the length alone chose the algorithms, the one that matched is named.
    put(out, shown + ": OK" + (entry.algorithms.size() > 1 ? " (" + matched + ")" : "") + "\n");
}

} // namespace

int runCheck(const std::vector<std::string>& checksumFiles, const CheckOptions& options,
             std::FILE* out, std::FILE* err) {
    int status = 0;
    for (const std::string& checksumPath : checksumFiles) {
        ChecksumList list;
        if (!readList(checksumPath, list, err)) {
            status = 1;
            continue;
        }
        if (list.entries.empty()) {
            std::fflush(out);
            put(err, "velksum: " + checksumPath + ": no properly formatted checksum lines found\n");
            status = 1;
            continue;
        }
        const std::string folder = folderOf(checksumPath);
        Tally tally;
        for (const ChecksumEntry& entry : list.entries) {
            checkEntry(folder, entry, options, tally, out, err);
            if (std::ferror(out))
                return status;
        }
        std::fflush(out);
        if (list.improperLines != 0) {
            put(err, "velksum: WARNING: " + counted(list.improperLines, "line is", "lines are") +
                         " improperly formatted\n");
        }
        if (tally.unreadable != 0) {
            put(err,
                "velksum: WARNING: " + counted(tally.unreadable, "listed file", "listed files") +
                    " could not be read\n");
        }
        if (tally.mismatched != 0) {
            put(err, "velksum: WARNING: " +
                         counted(tally.mismatched, "computed checksum", "computed checksums") +
                         " did NOT match\n");
        }
        if (tally.skipped != 0) {
            put(err, "velksum: WARNING: " +
                         counted(tally.skipped, "listed file was", "listed files were") +
                         " skipped (outside the folder)\n");
        }
        if (tally.unreadable + tally.mismatched + tally.skipped != 0 ||
            (options.strict && list.improperLines != 0))
            status = 1;
    }
    return status;
}

} // namespace velk
