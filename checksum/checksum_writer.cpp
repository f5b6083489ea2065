#include "checksum/checksum_writer.h"

#include "checksum/algorithm_names.h"

namespace velk {

std::string gnuChecksumLine(const std::string& digest, const std::string& name, NameRules rules) {
    bool escaped = false;
    const std::string listed = escapeListedName(name, rules, escaped);
    return (escaped ? "\\" : "") + digest + "  " + listed + "\n";
}

std::string bsdChecksumLine(const std::string& algorithm, const std::string& digest,
                            const std::string& name, NameRules rules) {
    bool escaped = false;
    const std::string listed = escapeListedName(name, rules, escaped);
    return (escaped ? "\\" : "") + bsdTagFor(algorithm) + " (" + listed + ") = " + digest + "\n";
}

} // namespace velk
