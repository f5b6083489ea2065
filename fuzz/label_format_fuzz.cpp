// The menu label on arbitrary digests and format keys, the label settings' normalisation on
// arbitrary settings files, and the preview line on arbitrary result sets.
//
// Input: byte 0 picks the format key (low 3 bits 0..4: one of the five keys; 5..7: the next
// byte0 >> 3 bytes are the key itself), the next byte picks the algorithm name the same way
// (low 4 bits 0..10: a catalogue name; 11..15: the next byte >> 4 bytes), one byte says which
// catalogue names the result set holds, and the rest is the digest, and also a settings file.

#include "settings/label_format.h"
#include "settings/settings.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    bool byte(std::uint8_t& out) {
        if (at >= size)
            return false;
        out = data[at++];
        return true;
    }
    std::string bytes(std::size_t n) {
        n = std::min(n, size - at);
        std::string s(reinterpret_cast<const char*>(data + at), n);
        at += n;
        return s;
    }
    std::string rest() { return bytes(size - at); }
};

void check(bool holds) {
    if (!holds)
        std::abort();
}

bool isFormatKey(const std::string& key) {
    for (const velk::LabelFormat& f : velk::kLabelFormats) {
        if (key == f.key)
            return true;
    }
    return false;
}

bool isAlgorithmName(const std::string& name) {
    const auto& names = velk::kAlgorithmNames;
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The piece of `label` at [at, at + n) is the piece of `digest` at [from, from + n).
bool samePiece(const std::string& label, std::size_t at, const std::string& digest,
               std::size_t from, std::size_t n) {
    return label.compare(at, n, digest, from, n) == 0;
}

void checkLabel(const std::string& digest, const std::string& key) {
    const std::string label = velk::formatMenuLabel(digest, key);
    const std::size_t n = digest.size();

    if (key == "full") {
        check(label == digest);
        return;
    }
    // Any text that is not one of the five keys is read as "4".
    if (!isFormatKey(key))
        check(label == velk::formatMenuLabel(digest, "4"));

    std::size_t width = 4, threshold = 8;
    bool middle = false;
    if (key == "2") {
        width = 2, threshold = 4;
    } else if (key == "2m") {
        width = 2, threshold = 6, middle = true;
    } else if (key == "4m") {
        width = 4, threshold = 12, middle = true;
    }

    if (n < threshold) {
        check(label == digest);
    } else if (!middle) {
        check(label.size() == 2 * width + 1);
        check(samePiece(label, 0, digest, 0, width));
        check(label[width] == '-');
        check(samePiece(label, width + 1, digest, n - width, width));
    } else {
        check(label.size() == 3 * width + 2);
        check(samePiece(label, 0, digest, 0, width));
        check(label[width] == '-');
        check(samePiece(label, width + 1, digest, (n - width) / 2, width));
        check(label[2 * width + 1] == '-');
        check(samePiece(label, 2 * width + 2, digest, n - width, width));
    }
    // Never longer than the digest's own text or the longest shortened form.
    check(label.size() <= std::max<std::size_t>(n, 14));
    // Made of the digest's characters and the dashes between the pieces.
    for (char c : label)
        check(c == '-' || digest.find(c) != std::string::npos);
    // A label shortened again with its own key is itself: the menu's text is stable.
    check(velk::formatMenuLabel(label, key) == label);
}

void checkNormalisation(const std::string& fileText) {
    const velk::Settings loaded = velk::settingsFromText(fileText);
    velk::Settings s = loaded;
    velk::normalizeLabelSettings(s);
    check(isAlgorithmName(s.label_algo));
    check(isFormatKey(s.label_format));
    check(s.label_algo == (isAlgorithmName(loaded.label_algo) ? loaded.label_algo : "MD5"));
    check(s.label_format == (isFormatKey(loaded.label_format) ? loaded.label_format : "4"));
    // Only the two label fields may change.
    velk::Settings back = s;
    back.label_algo = loaded.label_algo;
    back.label_format = loaded.label_format;
    check(velk::settingsToText(back) == velk::settingsToText(loaded));
    velk::Settings again = s;
    velk::normalizeLabelSettings(again);
    check(velk::settingsToText(again) == velk::settingsToText(s));
}

void checkPreview(const std::string& digest, const std::string& algo, const std::string& key,
                  std::uint8_t present) {
    velk::HashResults results;
    const auto& names = velk::kAlgorithmNames;
    for (std::size_t i = 0; i < names.size() && i < 8; ++i) {
        if (present & (1u << i))
            results[names[i]] = digest + names[i];
    }
    const std::string preview = velk::formatMenuPreview(results, algo, key);
    const auto found = results.find(algo);
    if (found == results.end()) {
        check(preview.empty());
    } else {
        check(preview == "menu shows:  Hashes " + velk::formatMenuLabel(found->second, key));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    std::uint8_t keyByte = 0, algoByte = 0, present = 0;
    if (!in.byte(keyByte) || !in.byte(algoByte) || !in.byte(present))
        return 0;
    const std::string key = (keyByte & 7) < 5 ? std::string(velk::kLabelFormats[keyByte & 7].key)
                                              : in.bytes(keyByte >> 3);
    const auto& names = velk::kAlgorithmNames;
    const std::string algo = (algoByte & 15) < 11 ? names[algoByte & 15] : in.bytes(algoByte >> 4);
    const std::string digest = in.rest();

    checkLabel(digest, key);
    for (const velk::LabelFormat& f : velk::kLabelFormats)
        checkLabel(digest, f.key);
    checkNormalisation(digest);
    checkPreview(digest, algo, key, present);
    return 0;
}
