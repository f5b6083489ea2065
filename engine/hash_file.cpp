#include "hash_file.h"

#include "blake2.h"
#include "cng_hash.h"
#include "crc32.h"
#include "file_stream.h"
#include "read_loop.h"
#include "sha224.h"
#include "sha3.h"

namespace velk {
namespace {

// The eleven digest states of one pass, fed in the order MD5, SHA-1, SHA-256, SHA-384,
// SHA-512, then CRC32, SHA-224, SHA3-256, SHA3-512, BLAKE2b, BLAKE2s.
struct AllDigests {
    CngHash platform[5];
    Crc32 crc;
    Sha224 sha224;
    Sha3 sha3_256;
    Sha3 sha3_512;
    Blake2b blake2b;
    Blake2s blake2s;

    // Creation stops at the first platform failure; the destructor releases the rest.
    bool open() {
        for (int i = 0; i < 5; ++i) {
            if (!platform[i].open(kPlatformHashIds[i])) return false;
        }
        crc.reg = 0xFFFFFFFF;
        sha224.init(28);
        sha3_256.init(32);
        sha3_512.init(64);
        blake2b.init(64);
        blake2s.init(32);
        return true;
    }

    void feed(const std::uint8_t* data, std::size_t n) {
        for (CngHash& h : platform) h.update(data, static_cast<std::uint32_t>(n));
        crc.update(data, n);
        sha224.update(data, n);
        sha3_256.update(data, n);
        sha3_512.update(data, n);
        blake2b.update(data, n);
        blake2s.update(data, n);
    }

    void store(HashResults& results) {
        results["CRC32"] = crc.finalHex();
        results["MD5"] = platform[0].finishHex();
        results["SHA-1"] = platform[1].finishHex();
        results["SHA-224"] = sha224.finalHex();
        results["SHA-256"] = platform[2].finishHex();
        results["SHA-384"] = platform[3].finishHex();
        results["SHA-512"] = platform[4].finishHex();
        results["SHA3-256"] = sha3_256.finalHex();
        results["SHA3-512"] = sha3_512.finalHex();
        results["BLAKE2b"] = blake2b.finalHex();
        results["BLAKE2s"] = blake2s.finalHex();
    }
};

} // namespace

bool computeAllHashes(const std::string& path, HashResults& results, std::string* error) {
    FilePtr file = openForHashing(path);
    if (!file) {
        if (error) *error = "cannot open file";
        return false;
    }
    std::unique_ptr<AllDigests> digests(new AllDigests);
    if (!digests->open()) {
        file.reset();
        if (error) *error = "CNG init failed";
        return false;
    }
    const bool readFailed = readAllChunks(
        file.get(), [&](const std::uint8_t* data, std::size_t n) { digests->feed(data, n); });
    file.reset();
    digests->store(results);
    if (readFailed) {
        if (error) *error = "read error";
        return false;
    }
    return true;
}

} // namespace velk
