#include "checksum/checksum_lookup.h"

#include "checksum/ascii_case.h"
#include "checksum/checksum_reader.h"

#include <algorithm>
#include <filesystem>

namespace velk {
namespace {

// Sidecar extensions, most trusted algorithm first.
const char* const kSidecarExtensions[] = {"sha256", "sha512", "sha1", "md5", "sha384",
                                          "sha224", "sha3",   "b2",   "sfv", "crc32"};
const char* const kCollectedLists[] = {"sha256sums", "sha512sums", "sha1sums",
                                       "md5sums",    "b2sums",     "checksums"};
const char* const kListExtensions[] = {".sha256", ".md5", ".sfv"};

bool sameName(const std::string& a, const std::string& b, NameRules rules) {
    return rules == NameRules::Windows ? asciiLowered(a) == asciiLowered(b) : a == b;
}

void addUnique(std::vector<std::string>& names, const std::string& name) {
    if (std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

} // namespace

std::vector<std::string> checksumFileCandidates(const std::string& fileName,
                                                const std::vector<std::string>& folderFiles) {
    // Lower-cased name -> the name as it is in the folder.
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& f : folderFiles)
        files.emplace_back(asciiLowered(f), f);
    std::sort(files.begin(), files.end());
    const auto present = [&](const std::string& lowerName) -> const std::string* {
        const auto at =
            std::lower_bound(files.begin(), files.end(), std::make_pair(lowerName, std::string()));
        return at != files.end() && at->first == lowerName ? &at->second : nullptr;
    };

    const std::string self = asciiLowered(fileName);
    std::vector<std::string> wanted;
    for (const char* ext : kSidecarExtensions) {
        wanted.push_back(self + "." + ext);
        wanted.push_back(self + "." + ext + "sum");
    }
    for (const char* list : kCollectedLists)
        wanted.push_back(list);

    std::vector<std::string> candidates;
    for (const std::string& w : wanted) {
        if (const std::string* found = present(w))
            addUnique(candidates, *found);
    }
    for (const char* ext : kListExtensions) {
        for (const auto& [lowerName, name] : files) {
            if (endsWithSuffix(lowerName, ext))
                addUnique(candidates, name);
        }
    }
    candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                    [&](const std::string& c) { return asciiLowered(c) == self; }),
                     candidates.end());
    if (candidates.size() > kMaxChecksumCandidates)
        candidates.resize(kMaxChecksumCandidates);
    return candidates;
}

ChecksumVerdict checksumVerdict(const ChecksumList& list, const std::string& checksumFileName,
                                const std::string& fileName, const HashResults& digests,
                                NameRules rules) {
    ChecksumVerdict verdict;
    std::vector<std::string> matched, failed;
    for (const ChecksumEntry& entry : list.entries) {
        std::string relative;
        if (!resolveListedName(entry.name, rules, relative) || !sameName(relative, fileName, rules))
            continue;
        verdict.listed = true;
        bool any = false;
        for (const std::string& algorithm : entry.algorithms) {
            const auto digest = digests.find(algorithm);
            if (digest != digests.end() && digest->second == entry.digest) {
                addUnique(matched, algorithm);
                any = true;
            }
        }
        if (!any) {
            for (const std::string& algorithm : entry.algorithms)
                addUnique(failed, algorithm);
        }
    }
    if (!verdict.listed)
        return verdict;
    verdict.checksumFileName = checksumFileName;
    verdict.matches = failed.empty();
    const std::vector<std::string>& names = verdict.matches ? matched : failed;
    for (const std::string& name : kAlgorithmNames) {
        if (std::find(names.begin(), names.end(), name) != names.end())
            verdict.algorithms.push_back(name);
    }
    return verdict;
}

ChecksumVerdict findChecksumVerdict(const std::string& filePath, const HashResults& digests) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path file = fs::u8path(filePath);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const std::string fileName = file.filename().u8string();

    std::vector<std::string> folderFiles;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    for (std::size_t seen = 0; !error && it != fs::directory_iterator() && seen < kMaxFolderEntries;
         it.increment(error), ++seen) {
        if (it->is_regular_file(error))
            folderFiles.push_back(it->path().filename().u8string());
    }

    for (const std::string& candidate : checksumFileCandidates(fileName, folderFiles)) {
        // At most 1 MiB is read of each: a huge or endless file is passed over at that cost.
        ChecksumList list;
        if (!loadChecksumFile((folder / fs::u8path(candidate)).u8string(), kMaxCandidateBytes, list,
                              nullptr))
            continue;
        ChecksumVerdict verdict = checksumVerdict(list, candidate, fileName, digests);
        if (verdict.listed)
            return verdict;
    }
    return {};
}

} // namespace velk
