#include "digest_oracle.h"

#include "engine/algorithms.h"
#include "engine/digest.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace velk::test {
namespace {

template <class Feed>
void feedPieces(const std::vector<std::uint8_t>& m, const std::vector<std::size_t>& pieces,
                Feed feed) {
    std::size_t at = 0;
    for (std::size_t p : pieces) {
        if (at >= m.size())
            break;
        const std::size_t n = p < m.size() - at ? p : m.size() - at;
        feed(m.data() + at, n);
        at += n;
    }
    // The rest goes in one piece (all of it when no pieces were given); zero-length feeds are
    // part of the contract, so an empty message is still fed once.
    if (at < m.size() || pieces.empty())
        feed(m.data() + at, m.size() - at);
}

std::vector<std::uint8_t> messageFromForm(const std::string& form) {
    const std::size_t colon = form.find(':');
    const std::string kind = form.substr(0, colon);
    const std::string rest = form.substr(colon + 1);
    std::vector<std::uint8_t> m;
    if (kind == "text") {
        m.assign(rest.begin(), rest.end());
    } else if (kind == "repeat") {
        const std::size_t c2 = rest.find(':');
        m.assign(std::stoul(rest.substr(c2 + 1)),
                 static_cast<std::uint8_t>(std::stoul(rest.substr(0, c2), nullptr, 16)));
    } else if (kind == "pattern") {
        const std::size_t n = std::stoul(rest);
        for (std::size_t i = 0; i < n; ++i)
            m.push_back(static_cast<std::uint8_t>((i * 31 + 7) % 251));
    } else {
        throw std::runtime_error("unknown message form: " + form);
    }
    return m;
}

} // namespace

std::string digestInPieces(const std::string& a, const std::vector<std::uint8_t>& m,
                           const std::vector<std::size_t>& pieces) {
    const Algorithm* algorithm = findAlgorithm(a);
    if (algorithm == nullptr)
        throw std::runtime_error("not a catalogue name: " + a);
    Digest digest;
    if (!digest.open(*algorithm))
        throw std::runtime_error("platform digest did not open: " + a);
    feedPieces(m, pieces, [&](const std::uint8_t* d, std::size_t n) { digest.update(d, n); });
    return digest.finalHex();
}

std::vector<Vector> loadVectors(const std::string& file) {
    std::ifstream in(std::string(VELK_VECTOR_DIR) + "/" + file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read vector file " + file);
    std::vector<Vector> table;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t t1 = line.find('\t'), t2 = line.rfind('\t');
        Vector v;
        v.algorithm = line.substr(0, t1);
        v.form = line.substr(t1 + 1, t2 - t1 - 1);
        v.digest = line.substr(t2 + 1);
        v.message = messageFromForm(v.form);
        table.push_back(std::move(v));
    }
    return table;
}

std::uint64_t testSeed() {
    static const std::uint64_t seed = [] {
        const char* env = std::getenv("VELK_SEED");
        const std::uint64_t s = env ? std::strtoull(env, nullptr, 10) : 20261210;
        std::printf("random seed %llu (set VELK_SEED to replay)\n",
                    static_cast<unsigned long long>(s));
        return s;
    }();
    return seed;
}

std::vector<std::uint8_t> randomBytes(std::size_t count, std::uint64_t seed) {
    std::mt19937_64 gen(seed);
    std::vector<std::uint8_t> out(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<std::uint8_t>(gen() >> 56);
    return out;
}

} // namespace velk::test
