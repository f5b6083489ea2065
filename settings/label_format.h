#pragma once
// The shortened digest shown in the context-menu label, and the choosers' format list.

#include "engine/algorithms.h"

#include <array>
#include <string>

namespace velk {

struct Settings;

struct LabelFormat {
    const char* key;         // stored as label_format
    const char* description; // UTF-8, shown in the choosers
};

// Chooser order: the item index is the index into this list.
inline constexpr std::array<LabelFormat, 5> kLabelFormats{{
    {"2", "First/last 2  (##-##)"},
    {"4", "First/last 4  (####-####)"},
    {"2m", "First/middle/last 2  (##-##-##)"},
    {"4m", "First/middle/last 4  (####-####-####)"},
    {"full", "Whole hash  (full digest \xE2\x80\x94 long menu)"},
}};

// "2": first 2 + "-" + last 2 from 4 characters on; "4": first 4 + "-" + last 4 from 8 on;
// "2m"/"4m" add the middle run of 2/4 from 6/12 characters on; "full" never shortens. Any
// other key behaves as "4". A digest below its threshold is returned whole.
std::string formatMenuLabel(const std::string& digest, const std::string& formatKey);

// Replaces a label_algo outside kAlgorithmNames with "MD5" and a label_format outside the
// kLabelFormats keys with "4". Byte-wise, case-sensitive; other fields untouched.
void normalizeLabelSettings(Settings& settings);

// "menu shows:  Hashes " + the label of results[labelAlgo], or empty text when the results
// hold no such digest (still computing, or the computation failed).
std::string formatMenuPreview(const HashResults& results, const std::string& labelAlgo,
                              const std::string& labelFormat);

} // namespace velk
