#include "engine/pass/digest_lane.h"

#include "engine/own/cpu_features.h"

#ifdef VELK_FAULT_INJECTION
#include "engine/pass/fault_injection.h"
#endif

namespace velk {

bool openPassDigest(Digest& digest, const Algorithm& algorithm) {
#ifdef VELK_FAULT_INJECTION
    if (algorithm.platformId != nullptr && faults::platformHashOpenFails(algorithm.platformId))
        return false;
#endif
    return digest.open(algorithm);
}

FeedLane digestLane(Digest& digest, const Algorithm& algorithm) {
    const bool fast = algorithm.fastFeatures != 0 && cpuCanUse(algorithm.fastFeatures);
    return {[](void* state, const std::uint8_t* data, std::size_t n) {
                static_cast<Digest*>(state)->update(data, n);
            },
            &digest, fast ? algorithm.fastCost : algorithm.cost};
}

} // namespace velk
