#pragma once
// A catalogue digest as one lane of a pass's read loop; both passes start their digests here.

#include "engine/algorithms.h"
#include "engine/digest.h"
#include "engine/pass/parallel_feed.h"

namespace velk {

// Digest::open, where the test builds can make a platform digest fail to start.
bool openPassDigest(Digest& digest, const Algorithm& algorithm);

// The lane feeding `digest`, with the algorithm's cost on this processor.
FeedLane digestLane(Digest& digest, const Algorithm& algorithm);

} // namespace velk
