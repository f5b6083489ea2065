#pragma once
// The tolerant key scanner that reads config.json, and the one escaping rule that writes it.
//
// This is not a JSON parser. It finds the first occurrence of "key" anywhere in the text
// (inside a string value or a nested object too) and reads the value after the next colon.
// Hand-edited and half-written files therefore load whatever can be recognised, field by
// field, and everything else keeps its default.

#include <string>

namespace velk {

// The value after the first "key": a double-quoted string, unterminated strings run to the
// end of the text. Escapes: \n gives a line feed, a backslash before any other byte gives
// that byte, a backslash as the very last byte stays itself.
bool findJsonString(const std::string& text, const std::string& key, std::string& out);

// The integer after the first "key": an optional "-", then digits. Only the first 18 digits
// count, the magnitude is capped at 2147483647 (so the smallest result is -2147483647), and
// whatever follows the digits is ignored.
bool findJsonInt(const std::string& text, const std::string& key, int& out);

// Double quote -> \", backslash -> \\, line feed -> \n; every other byte unchanged.
std::string escapeJsonText(const std::string& text);

} // namespace velk
