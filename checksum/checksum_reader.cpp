#include "checksum/checksum_reader.h"

#include "checksum/algorithm_names.h"
#include "checksum/listed_name.h"
#include "checksum/text_decoding.h"
#include "engine/algorithms.h"
#include "engine/pass/file_stream.h"

namespace velk {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string lowerHex(const std::string& hex) {
    std::string out = hex;
    for (char& c : out) {
        if (c >= 'A' && c <= 'F')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool allHex(const std::string& text) {
    for (char c : text) {
        if (!isHex(c))
            return false;
    }
    return !text.empty();
}

// The catalogue names whose digests have this many hex characters, in catalogue order.
const std::vector<std::string>& algorithmsOfLength(std::size_t length) {
    static const std::vector<std::vector<std::string>> kByLength = [] {
        std::vector<std::vector<std::string>> table(129);
        for (const std::string& name : kAlgorithmNames)
            table[digestHexLength(name)].push_back(name);
        return table;
    }();
    static const std::vector<std::string> kNone;
    return length < kByLength.size() ? kByLength[length] : kNone;
}

// One file's reading state: the hint from its name, and the choice between the two spacings
// of GNU lines, which coreutils does not let a file mix (a renamed file with a leading space
// must not pass for the other form).
struct LineParser {
    std::vector<std::string> hint;
    bool sfvFirst = false;
    int reversed = -1; // -1 undecided, 0 "digest  name", 1 "digest name"

    bool parse(const std::string& line, ChecksumEntry& entry) {
        if (line.find('\0') != std::string::npos)
            return false;
        std::size_t i = 0;
        while (i < line.size() && isBlank(line[i]))
            ++i;
        bool escaped = false;
        if (i < line.size() && line[i] == '\\') {
            escaped = true;
            ++i;
        }
        int tagged = parseBsd(line, i, escaped, entry);
        if (tagged >= 0)
            return tagged == 1;
        if (sfvFirst)
            return (!escaped && parseSfv(line, entry)) || parseGnu(line, i, escaped, entry);
        return parseGnu(line, i, escaped, entry) || (!escaped && parseSfv(line, entry));
    }

    // -1: no tag of ours starts the line; 0: it does, but the line is broken; 1: an entry.
    int parseBsd(const std::string& line, std::size_t i, bool escaped, ChecksumEntry& entry) {
        std::size_t end = i;
        while (end < line.size() && line[end] != '(' && !isBlank(line[end]))
            ++end;
        if (end - i > 12) // longer than any tag we read
            return -1;
        const std::string algorithm = catalogueNameFor(line.substr(i, end - i));
        if (algorithm.empty())
            return -1;
        while (end < line.size() && isBlank(line[end]))
            ++end;
        if (end >= line.size() || line[end] != '(')
            return 0;
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos || close <= end)
            return 0;
        std::string name = line.substr(end + 1, close - end - 1);
        std::size_t k = close + 1;
        while (k < line.size() && isBlank(line[k]))
            ++k;
        if (k >= line.size() || line[k] != '=')
            return 0;
        ++k;
        while (k < line.size() && isBlank(line[k]))
            ++k;
        const std::string digest = line.substr(k);
        if (!allHex(digest) || digest.size() != digestHexLength(algorithm))
            return 0;
        if (escaped && !unescapeListedName(name, name))
            return 0;
        if (name.empty())
            return 0;
        entry.name = std::move(name);
        entry.digest = lowerHex(digest);
        entry.algorithms = {algorithm};
        entry.format = ChecksumLineFormat::Bsd;
        return 1;
    }

    bool parseGnu(const std::string& line, std::size_t i, bool escaped, ChecksumEntry& entry) {
        std::size_t k = i;
        while (k < line.size() && isHex(line[k]))
            ++k;
        const std::size_t length = k - i;
        const std::vector<std::string>& candidates = algorithmsOfLength(length);
        if (candidates.empty() || k >= line.size() || !isBlank(line[k]))
            return false;
        ++k;
        // coreutils' rule: "digest  name" / "digest *name", or (for a whole file) the one
        // space form some tools write, where the name starts right after the space.
        bool skipMark = false;
        if (line.size() - k == 1 || (line[k] != ' ' && line[k] != '*')) {
            if (reversed == 0)
                return false;
            reversed = 1;
        } else if (reversed != 1) {
            reversed = 0;
            skipMark = true;
        }
        std::string name = line.substr(skipMark ? k + 1 : k);
        if (escaped && !unescapeListedName(name, name))
            return false;
        if (name.empty())
            return false;
        std::vector<std::string> hinted;
        for (const std::string& h : hint) {
            if (digestHexLength(h) == length)
                hinted.push_back(h);
        }
        entry.name = std::move(name);
        entry.digest = lowerHex(line.substr(i, length));
        entry.algorithms = hinted.empty() ? candidates : std::move(hinted);
        entry.format = ChecksumLineFormat::Gnu;
        return true;
    }

    bool parseSfv(const std::string& line, ChecksumEntry& entry) {
        std::size_t end = line.size();
        while (end > 0 && isBlank(line[end - 1]))
            --end;
        std::size_t start = end;
        while (start > 0 && !isBlank(line[start - 1]))
            --start;
        const std::string digest = line.substr(start, end - start);
        if (digest.size() != 8 || !allHex(digest))
            return false;
        std::size_t nameEnd = start;
        while (nameEnd > 0 && isBlank(line[nameEnd - 1]))
            --nameEnd;
        if (nameEnd == 0 || nameEnd == start)
            return false;
        entry.name = line.substr(0, nameEnd);
        entry.digest = lowerHex(digest);
        entry.algorithms = {"CRC32"};
        entry.format = ChecksumLineFormat::Sfv;
        return true;
    }
};

} // namespace

bool parseChecksumFile(const std::string& bytes, const std::string& fileName, ChecksumList& list,
                       std::string* error) {
    const std::string text = decodeChecksumText(bytes);
    LineParser parser;
    parser.hint = algorithmsForChecksumFileName(fileName);
    parser.sfvFirst = parser.hint.size() == 1 && parser.hint[0] == "CRC32";

    ChecksumList parsed;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        ++lineNumber;
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() > kMaxChecksumLineBytes) {
            if (error)
                *error = "line " + std::to_string(lineNumber) + " is longer than 64 KiB";
            return false;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        ChecksumEntry entry;
        if (!parser.parse(line, entry)) {
            ++parsed.improperLines;
            continue;
        }
        if (parsed.entries.size() == kMaxChecksumEntries) {
            if (error)
                *error = "more than " + std::to_string(kMaxChecksumEntries) + " entries";
            return false;
        }
        entry.line = lineNumber;
        parsed.entries.push_back(std::move(entry));
    }
    list = std::move(parsed);
    return true;
}

bool readChecksumStream(std::FILE* stream, std::size_t maxBytes, std::string& bytes,
                        std::string* error) {
    std::string content;
    char buffer[65536];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, stream);
        if (n == 0)
            break;
        if (content.size() + n > maxBytes) {
            if (error)
                *error = "checksum file is larger than " + std::to_string(maxBytes >> 20) + " MiB";
            return false;
        }
        content.append(buffer, n);
    }
    if (std::ferror(stream)) {
        if (error)
            *error = "read error";
        return false;
    }
    bytes = std::move(content);
    return true;
}

bool loadChecksumFile(const std::string& path, std::size_t maxBytes, ChecksumList& list,
                      std::string* error) {
    const FilePtr file = openForHashing(path);
    if (!file) {
        if (error)
            *error = "cannot open file";
        return false;
    }
    std::string bytes;
    if (!readChecksumStream(file.get(), maxBytes, bytes, error))
        return false;
    return parseChecksumFile(bytes, checksumFileNameOf(path), list, error);
}

std::string checksumFileNameOf(const std::string& path) {
    const std::size_t slash =
        kHostNameRules == NameRules::Windows ? path.find_last_of("/\\") : path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace velk
