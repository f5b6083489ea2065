// What a caller may ask of a pass besides the digests: a byte cap, a cancel flag and a
// progress report, on one thread and on several.

#include "digest_oracle.h"
#include "temp_dir.h"

#include "engine/algorithms.h"
#include "engine/pass/hash_file.h"
#include "engine/pass/hash_one.h"
#include "engine/pass/read_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

namespace velk::test {
namespace {

constexpr std::uint64_t kMiB = kReadChunkBytes;

std::vector<std::uint8_t> prefix(const std::vector<std::uint8_t>& content, std::uint64_t cap) {
    const std::size_t n = static_cast<std::size_t>(cap < content.size() ? cap : content.size());
    return std::vector<std::uint8_t>(content.begin(), content.begin() + n);
}

class PassLimits : public ::testing::TestWithParam<unsigned> {
  protected:
    TempDir dir;
    PassOptions options(std::uint64_t cap = kNoByteCap) const {
        PassOptions o;
        o.threads = GetParam();
        o.byteCap = cap;
        return o;
    }
};

// The digests of exactly the first `cap` bytes, whatever the cap's place against the chunks
// and the file's end; the one-digest pass agrees with the all-digest pass.
TEST_P(PassLimits, ByteCapDigestsExactlyThatManyBytes) {
    const std::vector<std::uint8_t> content = randomBytes(3 * kMiB + 5, testSeed() + 3);
    const std::string path = dir.write("capped.bin", content);
    const std::uint64_t caps[] = {0,        1,        kMiB - 1,       kMiB,
                                  kMiB + 1, 2 * kMiB, content.size(), content.size() + 100};
    for (const std::uint64_t cap : caps) {
        SCOPED_TRACE("cap " + std::to_string(cap));
        const std::vector<std::uint8_t> expected = prefix(content, cap);
        HashResults results;
        std::string error = "untouched";
        ASSERT_TRUE(computeAllHashes(path, results, &error, options(cap)));
        EXPECT_EQ(error, "untouched");
        for (const std::string& name : kAlgorithmNames) {
            EXPECT_EQ(results[name], digestInPieces(name, expected)) << name;
            std::string one;
            ASSERT_TRUE(computeHash(path, name, one, nullptr, options(cap))) << name;
            EXPECT_EQ(one, results[name]) << name;
        }
    }
}

// A set flag stops the pass before its first read: false, "cancelled", nothing written.
TEST_P(PassLimits, CancelledBeforeTheStartWritesNothing) {
    const std::string path = dir.write("cancelled.bin", randomBytes(2 * kMiB + 3, 9));
    std::atomic<bool> cancel{true};
    PassOptions o = options();
    o.cancel = &cancel;
    bool progressed = false;
    o.progress = [&progressed](std::uint64_t) { progressed = true; };

    HashResults results{{"MD5", "earlier"}, {"mine", "kept"}};
    std::string error;
    EXPECT_FALSE(computeAllHashes(path, results, &error, o));
    EXPECT_EQ(error, "cancelled");
    EXPECT_EQ(results, (HashResults{{"MD5", "earlier"}, {"mine", "kept"}}));

    std::string digest = "earlier";
    error.clear();
    EXPECT_FALSE(computeHash(path, "SHA-256", digest, &error, o));
    EXPECT_EQ(error, "cancelled");
    EXPECT_EQ(digest, "earlier");
    EXPECT_FALSE(progressed);
}

// Progress reports every chunk on the thread that read it, never two at once; a flag set
// from it stops the reads at once (the pass reads no further chunk), and the pass still ends
// with every thread it started.
TEST_P(PassLimits, ProgressReportsEveryChunkAndCancellingFromItStopsTheReads) {
    const std::vector<std::uint8_t> content = randomBytes(6 * kMiB + 17, testSeed() + 6);
    const std::string path = dir.write("progress.bin", content);

    struct Record {
        std::mutex mutex;
        std::vector<std::uint64_t> values;
        std::atomic<int> inside{0};
        bool overlapped = false;
        std::vector<std::thread::id> threads;
    };
    const auto recording = [](Record& r, std::atomic<bool>* cancel, std::uint64_t stopAt) {
        return [&r, cancel, stopAt](std::uint64_t bytes) {
            if (r.inside.fetch_add(1) != 0)
                r.overlapped = true;
            {
                std::lock_guard<std::mutex> lock(r.mutex);
                r.values.push_back(bytes);
                r.threads.push_back(std::this_thread::get_id());
            }
            if (cancel != nullptr && bytes >= stopAt)
                cancel->store(true);
            r.inside.fetch_sub(1);
        };
    };

    {
        Record r;
        PassOptions o = options();
        o.progress = recording(r, nullptr, 0);
        HashResults results;
        ASSERT_TRUE(computeAllHashes(path, results, nullptr, o));
        ASSERT_EQ(r.values.size(), 7u);
        for (std::size_t i = 0; i < r.values.size(); ++i)
            EXPECT_EQ(r.values[i], i + 1 < r.values.size() ? (i + 1) * kMiB : content.size());
        EXPECT_FALSE(r.overlapped);
        if (GetParam() == 1) {
            for (const std::thread::id id : r.threads)
                EXPECT_EQ(id, std::this_thread::get_id());
        }
        EXPECT_EQ(results["SHA-512"], digestInPieces("SHA-512", content));
    }
    for (const bool allDigests : {true, false}) {
        SCOPED_TRACE(allDigests ? "all digests" : "one digest");
        Record r;
        std::atomic<bool> cancel{false};
        PassOptions o = options();
        o.cancel = &cancel;
        o.progress = recording(r, &cancel, 2 * kMiB);
        HashResults results{{"CRC32", "earlier"}};
        std::string digest = "earlier";
        std::string error;
        const bool ok = allDigests ? computeAllHashes(path, results, &error, o)
                                   : computeHash(path, "BLAKE2s", digest, &error, o);
        EXPECT_FALSE(ok);
        EXPECT_EQ(error, "cancelled");
        EXPECT_EQ(r.values, (std::vector<std::uint64_t>{kMiB, 2 * kMiB}));
        EXPECT_EQ(results, (HashResults{{"CRC32", "earlier"}}));
        EXPECT_EQ(digest, "earlier");
    }
}

// The cap and the progress report agree: a pass capped below the file's size reports at most
// the cap, and a cap that is an exact multiple of the chunk needs no extra read.
TEST_P(PassLimits, ProgressStopsAtTheCap) {
    const std::string path = dir.write("grown.bin", randomBytes(5 * kMiB, 4));
    std::vector<std::uint64_t> values;
    PassOptions o = options(2 * kMiB + 7);
    o.progress = [&values](std::uint64_t bytes) { values.push_back(bytes); };
    HashResults results;
    ASSERT_TRUE(computeAllHashes(path, results, nullptr, o));
    EXPECT_EQ(values, (std::vector<std::uint64_t>{kMiB, 2 * kMiB, 2 * kMiB + 7}));
}

INSTANTIATE_TEST_SUITE_P(Threads, PassLimits, ::testing::Values(1u, 4u),
                         [](const ::testing::TestParamInfo<unsigned>& param) {
                             return param.param == 1 ? std::string("OneThread")
                                                     : std::string("FourThreads");
                         });

} // namespace
} // namespace velk::test
