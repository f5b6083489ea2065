// Every digest path (portable, and each CPU kernel the processor has) against the vector
// tables, and the paths against each other on random messages of awkward lengths.

#include "digest_oracle.h"

#include "engine/algorithms.h"
#include "engine/digest.h"
#include "engine/own/cpu_features.h"

#include <gtest/gtest.h>

#include <random>

namespace velk::test {
namespace {

std::string modeName(Acceleration mode) {
    return mode == Acceleration::Automatic ? "accelerated" : "portable";
}

// Restores the process-wide default whatever the test did.
class AccelerationScope {
  public:
    explicit AccelerationScope(Acceleration mode) { setAcceleration(mode); }
    ~AccelerationScope() { setAcceleration(Acceleration::Automatic); }
};

TEST(CpuFeatures, DetectionIsStableAndTheSwitchHidesIt) {
    const unsigned detected = detectedCpuFeatures();
    std::printf("detected kernels: %s%s%s%s%s\n", detected & kCpuPclmul ? "pclmul " : "",
                detected & kCpuSha ? "sha " : "", detected & kCpuBmi ? "bmi " : "",
                detected & kCpuSse41 ? "sse4.1 " : "", detected ? "" : "none");
    EXPECT_EQ(detectedCpuFeatures(), detected);
    {
        AccelerationScope portable(Acceleration::PortableOnly);
        EXPECT_EQ(usableCpuFeatures(), 0u);
        EXPECT_FALSE(cpuCanUse(kCpuSse41));
        EXPECT_TRUE(cpuCanUse(0));
    }
    EXPECT_EQ(usableCpuFeatures(), detected);
}

struct PathCase {
    Acceleration mode;
    const char* table;
};

class PathVectors : public ::testing::TestWithParam<PathCase> {};

// Whole, and in pieces around every block, rate and lane size, so each path meets its
// buffered head, its whole-block run and its tail in every alignment.
TEST_P(PathVectors, EveryWayOfFeedingGivesTheExpectedDigest) {
    AccelerationScope scope(GetParam().mode);
    const std::vector<Vector> table = loadVectors(GetParam().table);
    ASSERT_FALSE(table.empty());
    const std::size_t steps[] = {1,  2,  3,  7,  8,   9,   15,  16,  17,  31,  63,   64,
                                 65, 71, 72, 73, 127, 128, 129, 135, 136, 137, 1000, 65537};
    for (const Vector& v : table) {
        SCOPED_TRACE(v.algorithm + " " + v.form.substr(0, 40));
        ASSERT_EQ(digestInPieces(v.algorithm, v.message), v.digest);
        const std::size_t n = v.message.size();
        for (std::size_t step : steps) {
            if (step >= n || n / step > 40000)
                continue;
            ASSERT_EQ(digestInPieces(v.algorithm, v.message,
                                     std::vector<std::size_t>(n / step + 1, step)),
                      v.digest)
                << "pieces of " << step;
        }
        if (n <= 300) {
            for (std::size_t split = 0; split <= n; ++split) {
                ASSERT_EQ(digestInPieces(v.algorithm, v.message, {split, n - split}), v.digest)
                    << "split at " << split;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, PathVectors,
                         ::testing::Values(PathCase{Acceleration::PortableOnly, "standards.txt"},
                                           PathCase{Acceleration::PortableOnly, "boundaries.txt"},
                                           PathCase{Acceleration::PortableOnly, "long.txt"},
                                           PathCase{Acceleration::Automatic, "standards.txt"},
                                           PathCase{Acceleration::Automatic, "boundaries.txt"},
                                           PathCase{Acceleration::Automatic, "long.txt"}),
                         [](const auto& p) {
                             std::string table = p.param.table;
                             return modeName(p.param.mode) + "_" + table.substr(0, table.find('.'));
                         });

// Feeds one state piece by piece, changing path before every piece: the paths share the
// state's layout, so a switch between updates must change nothing.
template <class State>
std::string switching(State& s, const std::vector<std::uint8_t>& m,
                      const std::vector<std::size_t>& pieces) {
    std::size_t at = 0;
    bool accelerated = false;
    for (std::size_t p : pieces) {
        const std::size_t n = p < m.size() - at ? p : m.size() - at;
        setAcceleration(accelerated ? Acceleration::Automatic : Acceleration::PortableOnly);
        s.update(m.data() + at, n);
        at += n;
        accelerated = !accelerated;
    }
    setAcceleration(Acceleration::Automatic);
    s.update(m.data() + at, m.size() - at);
    return s.finalHex();
}

std::string switchingPaths(const std::string& name, const std::vector<std::uint8_t>& m,
                           const std::vector<std::size_t>& pieces) {
    Digest digest;
    EXPECT_TRUE(digest.open(*findAlgorithm(name)));
    return switching(digest, m, pieces);
}

// Random messages of awkward lengths: the portable path fed whole is the reference; the
// accelerated path in random pieces, and a state that changes path between pieces, agree.
// (The pieces are mostly large, so the kernels see long runs as well as short heads.)
TEST(Paths, AgreeOnRandomMessagesOfAwkwardLengths) {
    const std::size_t sizes[] = {
        0,   1,   15,  16,  63,  64,   65,   71,      72,      73,      127,
        128, 129, 135, 136, 137, 4095, 4097, 1048575, 1048576, 1048577, 3 * 1048576 + 4321};
    std::mt19937_64 gen(testSeed());
    for (std::size_t size : sizes) {
        const std::vector<std::uint8_t> m = randomBytes(size, gen());
        std::vector<std::size_t> pieces;
        for (std::size_t at = 0; at < size;) {
            const std::size_t p = gen() % 3 == 0 ? gen() % 200 : gen() % 300000;
            pieces.push_back(p);
            at += p;
        }
        for (const Algorithm& own : kAlgorithms) {
            if (own.source == DigestSource::Platform)
                continue;
            const std::string name = own.name;
            SCOPED_TRACE(name + " size " + std::to_string(size));
            std::string portable;
            {
                AccelerationScope scope(Acceleration::PortableOnly);
                portable = digestInPieces(name, m);
            }
            EXPECT_EQ(digestInPieces(name, m, pieces), portable);
            EXPECT_EQ(switchingPaths(name, m, pieces), portable);
        }
    }
}

} // namespace
} // namespace velk::test
