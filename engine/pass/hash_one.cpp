#include "engine/pass/hash_one.h"

#include "engine/digest.h"
#include "engine/pass/digest_lane.h"
#include "engine/pass/file_stream.h"
#include "engine/pass/parallel_feed.h"

#include <memory>

namespace velk {

bool computeHash(const std::string& path, const std::string& algorithm, std::string& digest,
                 std::string* error) {
    return computeHash(path, algorithm, digest, error, PassOptions{});
}

bool computeHash(const std::string& path, const std::string& algorithm, std::string& digest,
                 std::string* error, const PassOptions& options) {
    // The file is opened before the name is looked at: a bad path is reported as such
    // whatever the name.
    FilePtr file = openForHashing(path);
    if (!file) {
        if (error)
            *error = "cannot open file";
        return false;
    }
    const Algorithm* entry = findAlgorithm(algorithm);
    auto selected = std::make_unique<Digest>();
    if (entry == nullptr || !openPassDigest(*selected, *entry)) {
        file.reset();
        if (error)
            *error = entry == nullptr ? "unknown algorithm" : "CNG init failed";
        return false;
    }
    // The all-digest pass's read loop with a single lane, on this thread.
    FeedLane lane = digestLane(*selected, *entry);
    const FeedOutcome outcome = feedAllChunks(file.get(), &lane, 1, 1, options);
    file.reset();
    if (outcome != FeedOutcome::Complete) {
        if (error)
            *error = outcome == FeedOutcome::Cancelled ? "cancelled" : "read error";
        return false;
    }
    digest = selected->finalHex();
    return true;
}

} // namespace velk
