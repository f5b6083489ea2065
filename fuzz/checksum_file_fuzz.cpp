// The checksum-file reader on arbitrary bytes (it reads files from the internet). The first
// byte picks the checksum file's name, which hints at the algorithm; the rest is the file.
// Every entry must be well formed, every name must read back from the line the writer makes
// of it, and a name said to stay inside the folder must not leave it.

#include "checksum/checksum_reader.h"
#include "checksum/checksum_writer.h"
#include "checksum/listed_name.h"
#include "engine/algorithms.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool leaves(const std::string& relative) {
    if (relative.empty() || relative[0] == '/')
        return true;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= relative.size(); ++i) {
        if (i < relative.size() && relative[i] != '/')
            continue;
        if (relative.compare(start, i - start, "..") == 0 && i - start == 2)
            return true;
        start = i + 1;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static const char* const kNames[] = {"SHA256SUMS", "x.md5",     "x.sfv",       "B2SUMS",
                                         "x.sha3",     "CHECKSUMS", "x.sha512sum", "list.txt"};
    const std::string fileName = kNames[data[0] % 8];
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    velk::ChecksumList list;
    std::string error;
    if (!velk::parseChecksumFile(bytes, fileName, list, &error)) {
        require(!error.empty());
        return 0;
    }
    require(list.entries.size() <= velk::kMaxChecksumEntries);
    std::size_t lastLine = 0;
    for (const velk::ChecksumEntry& e : list.entries) {
        require(!e.name.empty() && e.name.find('\0') == std::string::npos);
        require(e.line > lastLine);
        lastLine = e.line;
        require(!e.algorithms.empty());
        for (const std::string& algorithm : e.algorithms)
            require(velk::digestHexLength(algorithm) == e.digest.size());
        for (char c : e.digest)
            require((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));

        for (velk::NameRules rules : {velk::NameRules::Posix, velk::NameRules::Windows}) {
            std::string relative;
            if (!velk::resolveListedName(e.name, rules, relative))
                continue;
            require(!leaves(relative));
            if (rules == velk::NameRules::Windows)
                require(relative.find_first_of(":\\") == std::string::npos);
        }

        // What the writer makes of a GNU or BSD entry reads back as the same entry (in a file
        // whose name hints at nothing: SFV lines and hints have ambiguities of their own).
        if (e.format == velk::ChecksumLineFormat::Sfv)
            continue;
        const std::string line =
            e.format == velk::ChecksumLineFormat::Bsd
                ? velk::bsdChecksumLine(e.algorithms[0], e.digest, e.name, velk::NameRules::Posix)
                : velk::gnuChecksumLine(e.digest, e.name, velk::NameRules::Posix);
        if (line.size() > velk::kMaxChecksumLineBytes)
            continue; // escaping doubled a long name past the bound of a line
        velk::ChecksumList again;
        require(velk::parseChecksumFile(line, "list.txt", again, nullptr));
        require(again.entries.size() == 1 && again.improperLines == 0);
        require(again.entries[0].name == e.name && again.entries[0].digest == e.digest);
    }
    return 0;
}
