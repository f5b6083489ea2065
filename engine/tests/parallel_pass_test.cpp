// The all-digest pass on one thread and on several: the same digests, failure texts and map
// rules, a read error part-way, several passes at once, and the chunk feeder's own contract.

#include "digest_oracle.h"
#include "temp_dir.h"

#include "engine/algorithms.h"
#include "engine/own/cpu_features.h"
#include "engine/pass/fault_injection.h"
#include "engine/pass/file_stream.h"
#include "engine/pass/hash_file.h"
#include "engine/pass/hash_one.h"
#include "engine/pass/parallel_feed.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <new>
#include <set>
#include <thread>

namespace velk::test {
namespace {

constexpr std::size_t kMiB = 1048576;

HashResults expectedDigests(const std::vector<std::uint8_t>& content) {
    HashResults r;
    for (const std::string& name : kAlgorithmNames)
        r[name] = digestInPieces(name, content);
    return r;
}

struct Sizes {
    const char* label;
    std::size_t size;
};

class ThreadedPass : public ::testing::TestWithParam<Sizes> {
  protected:
    TempDir dir;
    void TearDown() override { setAcceleration(Acceleration::Automatic); }
};

// Every thread count (automatic, one, two, more than there are digests) on both digest
// paths gives the digests of the content, keeps foreign keys and leaves `error` alone.
TEST_P(ThreadedPass, EveryThreadCountAndPathGivesTheSameDigests) {
    const std::size_t size = GetParam().size;
    const std::vector<std::uint8_t> content = randomBytes(size, testSeed() ^ size);
    const std::string path = dir.write("data.bin", content);
    const HashResults expected = expectedDigests(content);
    for (Acceleration mode : {Acceleration::PortableOnly, Acceleration::Automatic}) {
        setAcceleration(mode);
        for (unsigned threads : {0u, 1u, 2u, 3u, 16u}) {
            SCOPED_TRACE("threads " + std::to_string(threads) +
                         (mode == Acceleration::Automatic ? " accelerated" : " portable"));
            HashResults results = {{"note", "kept"}, {"SHA-1", "stale"}};
            std::string error = "untouched";
            PassOptions options;
            options.threads = threads;
            ASSERT_TRUE(computeAllHashes(path, results, &error, options));
            EXPECT_EQ(error, "untouched");
            EXPECT_EQ(results.size(), 12u);
            EXPECT_EQ(results["note"], "kept");
            results.erase("note");
            EXPECT_EQ(results, expected);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ThreadedPass,
                         ::testing::Values(Sizes{"empty", 0}, Sizes{"one", 1},
                                           Sizes{"blockMinusOne", 63}, Sizes{"blockPlusOne", 129},
                                           Sizes{"chunkMinusOne", kMiB - 1},
                                           Sizes{"oneChunk", kMiB}, Sizes{"chunkPlusOne", kMiB + 1},
                                           Sizes{"fourChunks", 4 * kMiB},
                                           Sizes{"fiveMiBOddTail", 5 * kMiB + 4321}),
                         [](const auto& p) { return std::string(p.param.label); });

class ReadFailure : public ::testing::Test {
  protected:
    TempDir dir;
    void TearDown() override { faults::setReadFailureAfterChunks(0); }
};

// A stream that fails after two chunks: the pass reports "read error" and still stores the
// digests of exactly the bytes read before the failure, whatever the thread count; the
// one-digest pass writes nothing.
TEST_F(ReadFailure, PartWayStoresTheDigestsOfTheBytesReadBefore) {
    const std::vector<std::uint8_t> content = randomBytes(5 * kMiB + 777, testSeed() + 5);
    const std::string path = dir.write("data.bin", content);
    const std::vector<std::uint8_t> head(content.begin(), content.begin() + 2 * kMiB);
    const HashResults expected = expectedDigests(head);
    faults::setReadFailureAfterChunks(2);
    for (unsigned threads : {1u, 2u, 4u, 0u}) {
        SCOPED_TRACE("threads " + std::to_string(threads));
        PassOptions options;
        options.threads = threads;
        HashResults results = {{"other", "x"}};
        std::string error;
        EXPECT_FALSE(computeAllHashes(path, results, &error, options));
        EXPECT_EQ(error, "read error");
        EXPECT_EQ(results["other"], "x");
        results.erase("other");
        EXPECT_EQ(results, expected);

        HashResults quiet;
        EXPECT_FALSE(computeAllHashes(path, quiet, nullptr, options));
        EXPECT_EQ(quiet, expected);
    }
    std::string digest = "held", error;
    EXPECT_FALSE(computeHash(path, "SHA3-512", digest, &error));
    EXPECT_EQ(error, "read error");
    EXPECT_EQ(digest, "held");

    // Without the seam the same file passes whole again.
    faults::setReadFailureAfterChunks(0);
    HashResults results;
    ASSERT_TRUE(computeAllHashes(path, results, nullptr));
    EXPECT_EQ(results, expectedDigests(content));
}

#ifndef _WIN32
// A directory opens but fails on its first read: nothing was delivered, so even a pass that
// may use four threads stores the digests of the empty message.
TEST_F(ReadFailure, OnTheFirstReadGivesTheEmptyMessageDigests) {
    HashResults results;
    std::string error;
    PassOptions options;
    options.threads = 4;
    EXPECT_FALSE(computeAllHashes(dir.path(), results, &error, options));
    EXPECT_EQ(error, "read error");
    EXPECT_EQ(results, expectedDigests({}));
}
#endif

// Passes on several threads at once, some of them threaded themselves, on different files.
TEST(ConcurrentPasses, StayCorrect) {
    TempDir dir;
    struct Job {
        std::string path;
        HashResults expected;
        unsigned threads;
    };
    std::vector<Job> jobs;
    const std::size_t sizes[] = {3 * kMiB + 11, 2 * kMiB + 1, 100000, kMiB, 3 * kMiB + 11, 0};
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
        const std::vector<std::uint8_t> content = randomBytes(sizes[i], testSeed() + 100 + i);
        jobs.push_back({dir.write("f" + std::to_string(i), content), expectedDigests(content),
                        static_cast<unsigned>(i % 3)});
    }
    std::vector<HashResults> got(jobs.size() * 2);
    std::vector<int> ok(jobs.size() * 2, 0);
    std::vector<std::thread> threads;
    for (std::size_t k = 0; k < got.size(); ++k) {
        threads.emplace_back([&, k] {
            const Job& job = jobs[k % jobs.size()];
            PassOptions options;
            options.threads = job.threads;
            ok[k] = computeAllHashes(job.path, got[k], nullptr, options) ? 1 : 0;
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (std::size_t k = 0; k < got.size(); ++k) {
        EXPECT_EQ(ok[k], 1) << k;
        EXPECT_EQ(got[k], jobs[k % jobs.size()].expected) << k;
    }
}

// --- the chunk feeder itself ---

struct RecordingLane {
    std::vector<std::size_t> sizes;
    std::uint64_t checksum = 1469598103934665603ULL; // FNV-1a over every byte fed
    std::atomic<int> inside{0};
    bool overlapped = false;
    std::set<std::thread::id> threads;
    int sleepMs = 0;
    int throwAtChunk = -1;

    void reset() {
        sizes.clear();
        checksum = 1469598103934665603ULL;
        overlapped = false;
        threads.clear();
    }

    static void feed(void* self, const std::uint8_t* data, std::size_t n) {
        auto* lane = static_cast<RecordingLane*>(self);
        if (lane->inside.fetch_add(1) != 0)
            lane->overlapped = true;
        if (static_cast<int>(lane->sizes.size()) == lane->throwAtChunk) {
            lane->inside.fetch_sub(1);
            throw std::bad_alloc();
        }
        lane->threads.insert(std::this_thread::get_id());
        for (std::size_t i = 0; i < n; ++i)
            lane->checksum = (lane->checksum ^ data[i]) * 1099511628211ULL;
        lane->sizes.push_back(n);
        if (lane->sleepMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(lane->sleepMs));
        lane->inside.fetch_sub(1);
    }
};

class Feeder : public ::testing::Test {
  protected:
    TempDir dir;
    std::vector<std::unique_ptr<RecordingLane>> recorders;
    std::vector<FeedLane> lanes;

    void makeLanes(std::size_t count, int sleepMs) {
        for (std::size_t i = 0; i < count; ++i) {
            recorders.push_back(std::make_unique<RecordingLane>());
            recorders.back()->sleepMs = sleepMs;
            lanes.push_back({RecordingLane::feed, recorders.back().get(), unsigned(i % 4)});
        }
    }
    bool feedFile(const std::string& path, unsigned threads) {
        FilePtr file = openForHashing(path);
        EXPECT_TRUE(file);
        return feedAllChunks(file.get(), lanes.data(), lanes.size(), threads, PassOptions{}) ==
               FeedOutcome::ReadError;
    }
    std::set<std::thread::id> allThreads() const {
        std::set<std::thread::id> all;
        for (const auto& r : recorders)
            all.insert(r->threads.begin(), r->threads.end());
        return all;
    }
};

// Every lane sees every byte once, in file order, never on two threads at once; several
// threads take part in a large file, one in a small file or when one is asked for.
TEST_F(Feeder, EveryChunkReachesEveryLaneInOrder) {
    const std::vector<std::uint8_t> content = randomBytes(6 * kMiB + 5, 77);
    const std::string big = dir.write("big", content);
    const std::string small = dir.write("small", {content.begin(), content.begin() + 5000});
    std::uint64_t expectedSum = 1469598103934665603ULL;
    for (std::uint8_t b : content)
        expectedSum = (expectedSum ^ b) * 1099511628211ULL;

    makeLanes(11, 2);
    EXPECT_FALSE(feedFile(big, 2));
    // Each 1 MiB chunk reaches a lane in four slices, between which a cancelled pass stops.
    std::vector<std::size_t> chunks(24, kMiB / 4);
    chunks.push_back(5);
    for (const auto& r : recorders) {
        EXPECT_EQ(r->sizes, chunks);
        EXPECT_EQ(r->checksum, expectedSum);
        EXPECT_FALSE(r->overlapped);
    }
    EXPECT_EQ(allThreads().size(), 2u);

    for (auto& r : recorders)
        r->reset();
    EXPECT_FALSE(feedFile(big, 1));
    EXPECT_EQ(allThreads(), std::set<std::thread::id>{std::this_thread::get_id()});

    for (auto& r : recorders)
        r->reset();
    EXPECT_FALSE(feedFile(small, 4));
    EXPECT_EQ(allThreads(), std::set<std::thread::id>{std::this_thread::get_id()});
    EXPECT_EQ(recorders[0]->sizes, std::vector<std::size_t>{5000});
}

// An exception in any thread (here std::bad_alloc in one lane, part-way) reaches the caller
// as itself, and only after every thread has stopped feeding.
TEST_F(Feeder, AnExceptionInAThreadReachesTheCallerAfterTheThreadsEnd) {
    const std::string big = dir.write("big", randomBytes(8 * kMiB, 5));
    makeLanes(6, 1);
    recorders[3]->throwAtChunk = 2;
    EXPECT_THROW(feedFile(big, 3), std::bad_alloc);
    std::vector<std::size_t> counts;
    for (const auto& r : recorders) {
        EXPECT_EQ(r->inside.load(), 0);
        counts.push_back(r->sizes.size());
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    for (std::size_t i = 0; i < recorders.size(); ++i) {
        EXPECT_EQ(recorders[i]->sizes.size(), counts[i]) << "lane " << i << " fed after return";
    }
    EXPECT_EQ(recorders[3]->sizes.size(), 2u);
}

} // namespace
} // namespace velk::test
