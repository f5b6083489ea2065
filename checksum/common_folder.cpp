#include "checksum/common_folder.h"

#include "checksum/ascii_case.h"

namespace velk {
namespace {

struct Segment {
    std::string text;
    std::size_t end = 0; // offset just past the segment in its path
};

std::vector<Segment> segmentsOf(const std::string& path, NameRules rules) {
    std::vector<Segment> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        const bool separator =
            i < path.size() && (path[i] == '/' || (rules == NameRules::Windows && path[i] == '\\'));
        if (i == path.size() || separator) {
            out.push_back({path.substr(start, i - start), i});
            start = i + 1;
        }
    }
    return out;
}

bool sameSegment(const std::string& a, const std::string& b, NameRules rules) {
    return rules == NameRules::Windows ? asciiLowered(a) == asciiLowered(b) : a == b;
}

} // namespace

bool listedFilesOf(const std::vector<std::string>& paths, NameRules rules, ListedFiles& out) {
    if (paths.empty())
        return false;
    std::vector<std::vector<Segment>> split;
    for (const std::string& path : paths) {
        split.push_back(segmentsOf(path, rules));
        // A file needs a folder and a name.
        if (split.back().size() < 2 || split.back().back().text.empty())
            return false;
    }
    // Folders shared by all: never the files' own names.
    std::size_t common = split.front().size() - 1;
    for (const std::vector<Segment>& segments : split) {
        std::size_t k = 0;
        while (k < common && k < segments.size() - 1 &&
               sameSegment(segments[k].text, split.front()[k].text, rules))
            ++k;
        common = k;
    }
    if (common == 0)
        return false;
    ListedFiles result;
    result.folder = paths.front().substr(0, split.front()[common - 1].end + 1);
    for (const std::vector<Segment>& segments : split) {
        std::string name;
        for (std::size_t k = common; k < segments.size(); ++k)
            name += (name.empty() ? "" : "/") + segments[k].text;
        result.names.push_back(name);
    }
    out = std::move(result);
    return true;
}

} // namespace velk
