#include "engine/pass/hash_file.h"

#include "engine/own/blake2.h"
#include "engine/platform/cng_hash.h"
#include "engine/own/cpu_features.h"
#include "engine/own/crc32.h"
#include "engine/pass/file_stream.h"
#include "engine/pass/parallel_feed.h"
#include "engine/own/sha224.h"
#include "engine/own/sha3.h"

#include <thread>

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
            if (!platform[i].open(kPlatformHashIds[i]))
                return false;
        }
        crc.reg = 0xFFFFFFFF;
        sha224.init(28);
        sha3_256.init(32);
        sha3_512.init(64);
        blake2b.init(64);
        blake2s.init(32);
        return true;
    }

    // The eleven lanes in feeding order, each with its rough cost per byte (tenths of a
    // nanosecond per byte on a current x86-64 core), which only orders the work between
    // threads; any other figures would give the same digests.
    std::size_t lanes(FeedLane* out) {
        const bool clmul = cpuCanUse(kCpuPclmul | kCpuSse41);
        const bool sha = cpuCanUse(kCpuSha | kCpuSse41);
        static const unsigned kPlatformCost[5] = {16, 6, 7, 15, 15};
        std::size_t n = 0;
        for (int i = 0; i < 5; ++i)
            out[n++] = {feedPlatform, &platform[i], kPlatformCost[i]};
        out[n++] = {feedOwn<Crc32>, &crc, clmul ? 1u : 4u};
        out[n++] = {feedOwn<Sha224>, &sha224, sha ? 7u : 40u};
        out[n++] = {feedOwn<Sha3>, &sha3_256, 28};
        out[n++] = {feedOwn<Sha3>, &sha3_512, 55};
        out[n++] = {feedOwn<Blake2b>, &blake2b, 14};
        out[n++] = {feedOwn<Blake2s>, &blake2s, 22};
        return n;
    }

    static void feedPlatform(void* state, const std::uint8_t* data, std::size_t n) {
        static_cast<CngHash*>(state)->update(data, static_cast<std::uint32_t>(n));
    }
    template <class State>
    static void feedOwn(void* state, const std::uint8_t* data, std::size_t n) {
        static_cast<State*>(state)->update(data, n);
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

unsigned passThreads(const PassOptions& options) {
    if (options.threads != 0)
        return options.threads;
    // Asked once: the C library reads the count from the system on every call, which a pass
    // over a small file would otherwise pay each time.
    static const unsigned cores = std::thread::hardware_concurrency();
    if (cores == 0)
        return 1;
    return cores < 4 ? cores : 4;
}

} // namespace

bool computeAllHashes(const std::string& path, HashResults& results, std::string* error) {
    return computeAllHashes(path, results, error, PassOptions{});
}

bool computeAllHashes(const std::string& path, HashResults& results, std::string* error,
                      const PassOptions& options) {
    FilePtr file = openForHashing(path);
    if (!file) {
        if (error)
            *error = "cannot open file";
        return false;
    }
    std::unique_ptr<AllDigests> digests(new AllDigests);
    if (!digests->open()) {
        file.reset();
        if (error)
            *error = "CNG init failed";
        return false;
    }
    FeedLane lanes[11];
    const std::size_t laneCount = digests->lanes(lanes);
    const bool readFailed = feedAllChunks(file.get(), lanes, laneCount, passThreads(options));
    file.reset();
    digests->store(results);
    if (readFailed) {
        if (error)
            *error = "read error";
        return false;
    }
    return true;
}

} // namespace velk
