#include "velksum.h"

#include "engine/algorithms.h"
#include "engine/pass/hash_file.h"
#include "engine/pass/hash_one.h"

#include <algorithm>

namespace velk {
namespace {

const char kUsage[] = "usage: velksum [-a ALGORITHM] [--threads N] FILE...\n";

void put(std::FILE* f, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), f);
}

// GNU checksum lines escape a name holding a backslash or a line break and mark the line
// with a leading backslash, so that "-c" reads the name back exactly. Windows paths are full
// of backslashes and can hold no line break: there the name is printed as it is.
std::string checksumLine(const std::string& digest, const std::string& path) {
#ifdef _WIN32
    return digest + "  " + path + "\n";
#else
    if (path.find_first_of("\\\n\r") == std::string::npos)
        return digest + "  " + path + "\n";
    std::string escaped;
    for (char c : path) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\n')
            escaped += "\\n";
        else if (c == '\r')
            escaped += "\\r";
        else
            escaped += c;
    }
    return "\\" + digest + "  " + escaped + "\n";
#endif
}

} // namespace

int runVelksum(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    std::string algorithm;
    PassOptions passOptions;
    std::vector<std::string> files;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (options && a == "--") {
            options = false;
        } else if (options && (a == "-h" || a == "--help")) {
            put(out, kUsage);
            return 0;
        } else if (options && a == "-a") {
            if (i + 1 >= args.size()) {
                put(err, kUsage);
                return 2;
            }
            algorithm = args[++i];
            const auto& names = kAlgorithmNames;
            if (std::find(names.begin(), names.end(), algorithm) == names.end()) {
                put(err, "velksum: unknown algorithm: " + algorithm + "\n");
                put(err, kUsage);
                return 2;
            }
        } else if (options && a == "--threads") {
            // The all-digest pass's thread count (0: the engine decides), for benchmarks.
            const std::string n = i + 1 < args.size() ? args[++i] : "";
            if (n.empty() || n.size() > 3 ||
                n.find_first_not_of("0123456789") != std::string::npos) {
                put(err, kUsage);
                return 2;
            }
            passOptions.threads = static_cast<unsigned>(std::stoul(n));
        } else if (options && a.size() > 1 && a[0] == '-') {
            put(err, "velksum: unknown option: " + a + "\n");
            put(err, kUsage);
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) {
        put(err, kUsage);
        return 2;
    }

    int status = 0;
    for (const std::string& path : files) {
        std::string message;
        if (!algorithm.empty()) {
            std::string digest;
            if (computeHash(path, algorithm, digest, &message)) {
                put(out, checksumLine(digest, path));
                continue;
            }
        } else {
            HashResults results;
            if (computeAllHashes(path, results, &message, passOptions)) {
                std::string text = path + "\n";
                for (const std::string& name : kAlgorithmNames) {
                    text += name + "  " + results[name] + "\n";
                }
                put(out, text);
                continue;
            }
        }
        std::fflush(out);
        put(err, "velksum: " + path + ": " + message + "\n");
        status = 1;
    }
    return status;
}

} // namespace velk
