#include "engine/pass/hash_file.h"

#include "engine/digest.h"
#include "engine/pass/digest_lane.h"
#include "engine/pass/file_stream.h"
#include "engine/pass/parallel_feed.h"

#include <memory>
#include <thread>

namespace velk {
namespace {

unsigned passThreads(const PassOptions& options) {
    if (options.threads != 0)
        return options.threads;
    // Asked once: the C library reads the count from the system on every call, which a pass
    // over a small file would otherwise pay each time.
    static const unsigned cores = std::thread::hardware_concurrency();
    if (cores == 0)
        return 1;
    return cores < 4 ? cores : 4;
}

} // namespace

bool computeAllHashes(const std::string& path, HashResults& results, std::string* error) {
    return computeAllHashes(path, results, error, PassOptions{});
}

bool computeAllHashes(const std::string& path, HashResults& results, std::string* error,
                      const PassOptions& options) {
    FilePtr file = openForHashing(path);
    if (!file) {
        if (error)
            *error = "cannot open file";
        return false;
    }
    // One state per catalogue entry, at the entry's index. The platform digests start first, in
    // catalogue order, and the first that cannot start ends the pass; the own ones cannot fail.
    // Lanes follow the same order, so one thread feeds the platform digests first.
    std::unique_ptr<Digest[]> digests(new Digest[kAlgorithmCount]);
    FeedLane lanes[kAlgorithmCount];
    std::size_t laneCount = 0;
    for (const bool platform : {true, false}) {
        for (std::size_t i = 0; i < kAlgorithmCount; ++i) {
            const Algorithm& algorithm = kAlgorithms[i];
            if ((algorithm.source == DigestSource::Platform) != platform)
                continue;
            if (!openPassDigest(digests[i], algorithm)) {
                file.reset();
                if (error)
                    *error = "CNG init failed";
                return false;
            }
            lanes[laneCount++] = digestLane(digests[i], algorithm);
        }
    }
    const FeedOutcome outcome =
        feedAllChunks(file.get(), lanes, laneCount, passThreads(options), options);
    file.reset();
    if (outcome == FeedOutcome::Cancelled) {
        // Digests of a part of the file are never handed out as the file's.
        if (error)
            *error = "cancelled";
        return false;
    }
    for (std::size_t i = 0; i < kAlgorithmCount; ++i)
        results[kAlgorithms[i].name] = digests[i].finalHex();
    if (outcome == FeedOutcome::ReadError) {
        if (error)
            *error = "read error";
        return false;
    }
    return true;
}

} // namespace velk
