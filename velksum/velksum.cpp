#include "velksum.h"

#include "checksum/algorithm_names.h"
#include "checksum/checksum_writer.h"
#include "engine/algorithms.h"
#include "engine/digest_compare.h"
#include "engine/pass/hash_file.h"
#include "engine/pass/hash_one.h"
#include "engine/progress/progress_text.h"
#include "engine/progress/progress_throttle.h"
#include "velksum/check_mode.h"
#include "velksum/file_arguments.h"
#include "velksum/file_probe.h"
#include "velksum/terminal_progress.h"
#include "velksum/velksum_output.h"

#ifndef VELKSUM_VERSION
#define VELKSUM_VERSION "0"
#endif

namespace velk {
namespace {

const char kUsage[] = "usage: velksum [-a ALGORITHM] [--tag] [--threads N] FILE...\n"
                      "       velksum -c [--quiet] [--strict] CHECKSUM-FILE...\n"
                      "       velksum --compare FILE OTHER\n"
                      "Try 'velksum --help' for more information.\n";

std::string helpText() {
    std::string names;
    for (const std::string& name : kAlgorithmNames)
        names += (names.empty() ? "" : ", ") + name;
    return "usage: velksum [OPTION]... FILE...\n"
           "Print or check the digests of files. FILE \"-\" is standard input.\n"
           "\n"
           "With no -a: each FILE's path, then its eleven digests as \"NAME  digest\".\n"
           "  -a, --algorithm NAME  one digest: \"digest  FILE\" lines, as sha256sum prints\n"
           "      --tag             BSD lines: \"SHA256 (FILE) = digest\" (all eleven\n"
           "                        without -a)\n"
           "  -c, --check           read checksum files (GNU, BSD or SFV lines; UTF-8 or\n"
           "                        UTF-16) and check the files they list, relative to the\n"
           "                        checksum file's folder\n"
           "      --quiet           with -c: print only what is not OK\n"
           "      --strict          with -c: improperly formatted lines fail the check\n"
           "      --compare         with two FILEs: print \"identical\" when all eleven\n"
           "                        digests agree, else \"different\" with the sizes or\n"
           "                        the first algorithm that differs\n"
           "      --threads N       threads of the eleven-digest pass (0: as many as help)\n"
           "      --progress        while a file is read, a progress line on standard error\n"
           "                        (only when standard error is a terminal)\n"
           "  -h, --help            this help\n"
           "      --version         the version\n"
           "  --                    what follows is a FILE, even when it starts with -\n"
           "\n"
           "Algorithms: " +
           names +
           ".\nOther tools' names are read too, in any case: sha256, SHA1, blake2b-512, ...\n"
           "\n"
           "Exit status: 0 when everything was read (and with -c every listed file was\n"
           "checked and matched); 1 when a file could not be read, a digest did not match,\n"
           "an entry was skipped or output could not be written; 2 on bad usage.\n"
           "With --compare: 0 identical, 1 different, 2 bad usage or a file not read.\n";
}

struct Options {
    std::string algorithm; // catalogue name, empty for all eleven
    bool tag = false;
    bool check = false;
    bool compare = false;
    CheckOptions checkOptions;
    bool checkOnlyOption = false;
    bool progress = false;
    PassOptions passOptions;
    std::vector<std::string> files;
};

enum class Parsed { Run, Exit0, Usage };

Parsed parseArguments(const std::vector<std::string>& args, Options& o, std::FILE* out,
                      std::FILE* err) {
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (options && a == "--") {
            options = false;
        } else if (options && (a == "-h" || a == "--help")) {
            put(out, helpText());
            return Parsed::Exit0;
        } else if (options && a == "--version") {
            put(out, "velksum " VELKSUM_VERSION "\n");
            return Parsed::Exit0;
        } else if (options && (a == "-a" || a == "--algorithm")) {
            if (i + 1 >= args.size())
                return Parsed::Usage;
            o.algorithm = catalogueNameFor(args[++i]);
            if (o.algorithm.empty()) {
                put(err, "velksum: unknown algorithm: " + args[i] + "\n");
                return Parsed::Usage;
            }
        } else if (options && a == "--progress") {
            o.progress = true;
        } else if (options && a == "--tag") {
            o.tag = true;
        } else if (options && (a == "-c" || a == "--check")) {
            o.check = true;
        } else if (options && a == "--compare") {
            o.compare = true;
        } else if (options && (a == "--quiet" || a == "--strict")) {
            (a == "--quiet" ? o.checkOptions.quiet : o.checkOptions.strict) = true;
            o.checkOnlyOption = true;
        } else if (options && a == "--threads") {
            // The all-digest pass's thread count (0: the engine decides), for benchmarks.
            const std::string n = i + 1 < args.size() ? args[++i] : "";
            if (n.empty() || n.size() > 3 || n.find_first_not_of("0123456789") != std::string::npos)
                return Parsed::Usage;
            o.passOptions.threads = static_cast<unsigned>(std::stoul(n));
        } else if (options && a.size() > 1 && a[0] == '-') {
            put(err, "velksum: unknown option: " + a + "\n");
            return Parsed::Usage;
        } else {
            for (std::string& file : expandFileArgument(a))
                o.files.push_back(std::move(file));
        }
    }
    if (o.compare) {
        if (o.check || o.tag || !o.algorithm.empty() || o.checkOnlyOption) {
            put(err, "velksum: --compare goes with no other option but --threads\n");
            return Parsed::Usage;
        }
        if (o.files.size() != 2) {
            put(err, "velksum: --compare takes two files\n");
            return Parsed::Usage;
        }
        return Parsed::Run;
    }
    if (o.files.empty())
        return Parsed::Usage;
    if (o.check && (o.tag || !o.algorithm.empty())) {
        put(err, "velksum: -a and --tag cannot be used with --check\n");
        return Parsed::Usage;
    }
    if (!o.check && o.checkOnlyOption) {
        put(err, "velksum: --quiet and --strict go with --check\n");
        return Parsed::Usage;
    }
    return Parsed::Run;
}

// The path line of the eleven-digest block, escaped as a checksum line escapes its name so
// that no name can break the block.
std::string pathLine(const std::string& path) {
    if (kHostNameRules == NameRules::Windows && path.find_first_of("\r\n") == std::string::npos)
        return path + "\n";
    bool escaped = false;
    const std::string listed = escapeListedName(path, NameRules::Posix, escaped);
    return (escaped ? "\\" : "") + listed + "\n";
}

// One file's output, or false with the engine's message.
bool hashOne(const Options& o, const PassOptions& pass, const std::string& path,
             const std::string& shownName, std::string& text, std::string& error) {
    if (!o.algorithm.empty()) {
        std::string digest;
        if (!computeHash(path, o.algorithm, digest, &error, pass))
            return false;
        text = o.tag ? bsdChecksumLine(o.algorithm, digest, shownName)
                     : gnuChecksumLine(digest, shownName);
        return true;
    }
    HashResults results;
    if (!computeAllHashes(path, results, &error, pass))
        return false;
    text = o.tag ? "" : pathLine(shownName);
    for (const std::string& name : kAlgorithmNames) {
        text += o.tag ? bsdChecksumLine(name, results[name], shownName)
                      : name + "  " + results[name] + "\n";
    }
    return true;
}

// The pass's options with, when asked for, a progress line on `err` that rewrites itself.
PassOptions withProgressLine(const Options& o, const std::string& path, const std::string& name,
                             std::FILE* err, ThroughputEstimate& estimate,
                             std::size_t& shownColumns) {
    PassOptions pass = o.passOptions;
    if (!o.progress)
        return pass;
    std::uint64_t total = 0;
    if (!fileSizeOf(path, total))
        total = 0; // a pipe: the bytes read and the throughput only
    pass.progress = throttledProgress(
        [&estimate, &shownColumns, err, total, name](std::uint64_t bytes, std::uint64_t ms) {
            estimate = updateThroughput(estimate, bytes, ms);
            put(err,
                terminalProgressLine(name, progressLineText(bytes, total, estimate), shownColumns));
            std::fflush(err);
            return true;
        });
    return pass;
}

int hashFiles(Options o, std::FILE* out, std::FILE* err) {
    int status = 0;
    // Nothing new unless asked for, and never into a file or a pipe.
    o.progress = o.progress && isTerminal(err);
    for (const std::string& file : o.files) {
        const bool input = file == "-";
        const std::string path = input ? standardInputPath() : file;
        std::uint64_t sizeBefore = 0, sizeAfter = 0;
        const bool sized = !input && fileSizeOf(path, sizeBefore);
        std::string text;
        std::string error;
        ThroughputEstimate estimate;
        std::size_t shownColumns = 0;
        const bool hashed = !path.empty() &&
                            hashOne(o, withProgressLine(o, path, file, err, estimate, shownColumns),
                                    path, file, text, error);
        put(err, clearTerminalProgress(shownColumns));
        std::fflush(out);
        if (!hashed) {
            putError(err, file, path.empty() ? "read error" : error,
                     path.empty() ? "" : failureReason(path));
            status = 1;
        } else if (sized && (!fileSizeOf(path, sizeAfter) || sizeAfter != sizeBefore)) {
            // The digests belong to neither the old nor the new content.
            put(err, "velksum: " + file + ": file changed while it was read\n");
            status = 1;
        } else {
            put(out, text);
        }
        if (input)
            removeInputCopy(path);
        if (std::ferror(out))
            break;
    }
    return status;
}

// The eleven digests of one of the two compared files; false after reporting why not.
bool digestsForCompare(const Options& o, const std::string& file, HashResults& results,
                       std::FILE* err) {
    const bool input = file == "-";
    const std::string path = input ? standardInputPath() : file;
    std::string error = "read error";
    const bool hashed = !path.empty() && computeAllHashes(path, results, &error, o.passOptions);
    if (!hashed)
        putError(err, file, error, path.empty() ? "" : failureReason(path));
    if (input)
        removeInputCopy(path);
    return hashed;
}

// velksum --compare FILE OTHER: 0 identical, 1 different, 2 when a file was not read.
int compareFiles(const Options& o, std::FILE* out, std::FILE* err) {
    const std::string& file = o.files[0];
    const std::string& other = o.files[1];
    std::uint64_t fileSize = 0, otherSize = 0;
    // Sizes that differ settle it without reading a byte.
    if (file != "-" && other != "-" && fileSizeOf(file, fileSize) && fileSizeOf(other, otherSize) &&
        fileSize != otherSize) {
        put(out, "different: " + file + " is " + std::to_string(fileSize) + " bytes, " + other +
                     " is " + std::to_string(otherSize) + " bytes\n");
        return 1;
    }
    HashResults a, b;
    if (!digestsForCompare(o, file, a, err) || !digestsForCompare(o, other, b, err))
        return 2;
    const DigestComparison comparison = compareDigests(a, b);
    if (comparison.identical) {
        put(out, "identical\n");
        return 0;
    }
    put(out, "different: " + comparison.firstDifference + " differs\n");
    return 1;
}

} // namespace

int runVelksum(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    Options o;
    switch (parseArguments(args, o, out, err)) {
    case Parsed::Exit0:
        return std::fflush(out) == 0 && !std::ferror(out) ? 0 : 1;
    case Parsed::Usage:
        put(err, kUsage);
        return 2;
    case Parsed::Run:
        break;
    }
    int status = o.compare ? compareFiles(o, out, err)
                 : o.check ? runCheck(o.files, o.checkOptions, out, err)
                           : hashFiles(o, out, err);
    if (std::fflush(out) != 0 || std::ferror(out)) {
        put(err, "velksum: write error\n");
        // A verdict that did not reach its reader is no verdict.
        status = o.compare ? 2 : 1;
    }
    return status;
}

} // namespace velk
