#include "engine/pass/hash_one.h"

#include "engine/own/blake2.h"
#include "engine/platform/cng_hash.h"
#include "engine/own/crc32.h"
#include "engine/pass/file_stream.h"
#include "engine/pass/read_loop.h"
#include "engine/own/sha224.h"
#include "engine/own/sha3.h"

#include <functional>

namespace velk {
namespace {

// The selected digest's state behind the two callables the read loop uses.
struct OneDigest {
    std::function<void(const std::uint8_t*, std::uint64_t)> update;
    std::function<std::string()> finish;
    std::shared_ptr<void> state;
};

template <class State> OneDigest ownDigest(std::uint64_t outputLength) {
    auto state = std::make_shared<State>();
    state->init(outputLength);
    State* s = state.get();
    return {[s](const std::uint8_t* d, std::uint64_t n) { s->update(d, n); },
            [s] { return s->finalHex(); }, state};
}

enum class Lookup { Found, Unknown, PlatformFailed };

Lookup selectDigest(const std::string& name, OneDigest& out) {
    static const struct {
        const char* name;
        const wchar_t* id;
    } kPlatform[] = {{"MD5", L"MD5"},
                     {"SHA-1", L"SHA1"},
                     {"SHA-256", L"SHA256"},
                     {"SHA-384", L"SHA384"},
                     {"SHA-512", L"SHA512"}};
    for (const auto& p : kPlatform) {
        if (name != p.name) continue;
        auto hash = std::make_shared<CngHash>();
        if (!hash->open(p.id)) return Lookup::PlatformFailed;
        CngHash* h = hash.get();
        out = {[h](const std::uint8_t* d, std::uint64_t n) {
                   h->update(d, static_cast<std::uint32_t>(n));
               },
               [h] { return h->finishHex(); }, hash};
        return Lookup::Found;
    }
    if (name == "CRC32") {
        auto crc = std::make_shared<Crc32>();
        Crc32* c = crc.get();
        out = {[c](const std::uint8_t* d, std::uint64_t n) { c->update(d, n); },
               [c] { return c->finalHex(); }, crc};
    } else if (name == "SHA-224") {
        out = ownDigest<Sha224>(28);
    } else if (name == "SHA3-256") {
        out = ownDigest<Sha3>(32);
    } else if (name == "SHA3-512") {
        out = ownDigest<Sha3>(64);
    } else if (name == "BLAKE2b") {
        out = ownDigest<Blake2b>(64);
    } else if (name == "BLAKE2s") {
        out = ownDigest<Blake2s>(32);
    } else {
        return Lookup::Unknown;
    }
    return Lookup::Found;
}

} // namespace

bool computeHash(const std::string& path, const std::string& algorithm, std::string& digest,
                 std::string* error) {
    // The file is opened before the name is looked at: a bad path is reported as such
    // whatever the name.
    FilePtr file = openForHashing(path);
    if (!file) {
        if (error) *error = "cannot open file";
        return false;
    }
    OneDigest selected;
    const Lookup found = selectDigest(algorithm, selected);
    if (found != Lookup::Found) {
        file.reset();
        if (error) *error = found == Lookup::Unknown ? "unknown algorithm" : "CNG init failed";
        return false;
    }
    const bool readFailed = readAllChunks(file.get(), selected.update);
    file.reset();
    if (readFailed) {
        if (error) *error = "read error";
        return false;
    }
    digest = selected.finish();
    return true;
}

} // namespace velk
