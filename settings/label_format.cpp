#include "settings/label_format.h"

#include "settings/settings.h"

#include <algorithm>

namespace velk {
namespace {

struct Shortening {
    std::size_t width;
    std::size_t threshold;
    bool middle;
};

Shortening shorteningFor(const std::string& key) {
    if (key == "2")
        return {2, 4, false};
    if (key == "2m")
        return {2, 6, true};
    if (key == "4m")
        return {4, 12, true};
    return {4, 8, false}; // "4", and every key that is not a format
}

bool isFormatKey(const std::string& key) {
    return std::any_of(kLabelFormats.begin(), kLabelFormats.end(),
                       [&](const LabelFormat& format) { return key == format.key; });
}

bool isAlgorithmName(const std::string& name) {
    const std::vector<std::string>& names = kAlgorithmNames;
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

std::string formatMenuLabel(const std::string& digest, const std::string& formatKey) {
    if (formatKey == "full")
        return digest;
    const Shortening rule = shorteningFor(formatKey);
    const std::size_t n = digest.size();
    if (n < rule.threshold)
        return digest;

    const std::string first = digest.substr(0, rule.width);
    const std::string last = digest.substr(n - rule.width);
    if (!rule.middle)
        return first + "-" + last;
    // threshold >= width, so n - width cannot wrap.
    const std::size_t start = (n - rule.width) / 2;
    return first + "-" + digest.substr(start, rule.width) + "-" + last;
}

void normalizeLabelSettings(Settings& settings) {
    if (!isAlgorithmName(settings.label_algo))
        settings.label_algo = "MD5";
    if (!isFormatKey(settings.label_format))
        settings.label_format = "4";
}

std::string formatMenuPreview(const HashResults& results, const std::string& labelAlgo,
                              const std::string& labelFormat) {
    const auto found = results.find(labelAlgo);
    if (found == results.end())
        return std::string();
    return "menu shows:  Hashes " + formatMenuLabel(found->second, labelFormat);
}

} // namespace velk
