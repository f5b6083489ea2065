#include "engine/digest_compare.h"

namespace velk {

std::optional<bool> digestsAgree(const HashResults& a, const HashResults& b,
                                 const std::string& name) {
    const auto inA = a.find(name);
    const auto inB = b.find(name);
    if (inA == a.end() || inB == b.end())
        return std::nullopt;
    return inA->second == inB->second;
}

DigestComparison compareDigests(const HashResults& a, const HashResults& b) {
    for (const std::string& name : kAlgorithmNames) {
        // A digest one side lacks cannot vouch for anything: it counts as a difference.
        if (digestsAgree(a, b, name) != std::optional<bool>(true))
            return {false, name};
    }
    return {true, ""};
}

} // namespace velk
