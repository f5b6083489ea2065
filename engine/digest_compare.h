#pragma once
// Two files' digests set side by side, algorithm by algorithm in catalogue order.

#include "engine/algorithms.h"

#include <optional>
#include <string>

namespace velk {

// Whether both sets hold the named digest and it is the same; no value when either lacks it.
std::optional<bool> digestsAgree(const HashResults& a, const HashResults& b,
                                 const std::string& name);

struct DigestComparison {
    bool identical = false;      // all eleven present in both and equal
    std::string firstDifference; // the first algorithm that differs or is missing; "" if none
};

DigestComparison compareDigests(const HashResults& a, const HashResults& b);

} // namespace velk
