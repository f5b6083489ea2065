#include "velksum/check_mode.h"

#include "checksum/checksum_reader.h"
#include "checksum/listed_check.h"
#include "velksum/file_probe.h"
#include "velksum/velksum_output.h"

namespace velk {
namespace {

struct Tally {
    std::size_t mismatched = 0;
    std::size_t unreadable = 0;
    std::size_t skipped = 0;
};

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

void checkEntry(const std::string& folder, const ChecksumEntry& entry, const CheckOptions& options,
                Tally& tally, std::FILE* out, std::FILE* err) {
    const ListedOutcome outcome = checkListedFile(folder, entry, PassOptions());
    switch (outcome.verdict) {
    case ListedVerdict::Ok:
        if (options.quiet)
            return;
        break;
    case ListedVerdict::Failed:
        ++tally.mismatched;
        break;
    case ListedVerdict::Missing:
    case ListedVerdict::Unreadable: {
        ++tally.unreadable;
        std::fflush(out);
        std::string path;
        listedFilePath(folder, entry, path);
        putError(err, displayListedName(entry.name), outcome.error, failureReason(path));
        break;
    }
    case ListedVerdict::Skipped:
        ++tally.skipped;
        break;
    case ListedVerdict::Cancelled:
        return;
    }
    put(out, listedReportLine(entry, outcome));
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
        const std::string folder = checksumFolderOf(checksumPath);
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
