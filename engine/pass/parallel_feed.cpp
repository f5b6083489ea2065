#include "engine/pass/parallel_feed.h"

#include "engine/pass/read_loop.h"

#ifdef VELK_FAULT_INJECTION
#include "engine/pass/fault_injection.h"
#endif

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace velk {
namespace {

// Sequential chunk reads of one stream within the pass's limits, keeping how the loop ended.
class ChunkReader {
  public:
    ChunkReader(std::FILE* file, const PassOptions& limits)
        : file_(file), limits_(limits), remaining_(limits.byteCap) {}

    bool cancelRequested() const {
        return limits_.cancel != nullptr && limits_.cancel->load(std::memory_order_relaxed);
    }

    // Up to kReadChunkBytes into `buffer`; 0 ends the loop (end of file or of the cap,
    // failure, cancellation).
    std::size_t next(std::uint8_t* buffer) {
        if (cancelRequested()) {
            cancelled_ = true;
            return 0;
        }
        if (injectFailureNow()) {
            injectedFailure_ = true;
            return 0;
        }
        if (remaining_ == 0)
            return 0;
        const std::size_t want =
            remaining_ < kReadChunkBytes ? static_cast<std::size_t>(remaining_) : kReadChunkBytes;
        const std::size_t n = std::fread(buffer, 1, want, file_);
        remaining_ -= n;
        read_ += n;
        if (n > 0 && limits_.progress)
            limits_.progress(read_);
        return n;
    }

    // Taken once the loop has ended.
    FeedOutcome outcome() const {
        if (cancelled_)
            return FeedOutcome::Cancelled;
        if (injectedFailure_ || std::ferror(file_) != 0)
            return FeedOutcome::ReadError;
        return FeedOutcome::Complete;
    }

  private:
#ifdef VELK_FAULT_INJECTION
    // The stream "fails" once the chunks the tests asked for have been delivered; a slowed
    // stream waits before every read.
    bool injectFailureNow() {
        const unsigned delay = faults::readDelayMilliseconds();
        if (delay != 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        return failAfter_ != 0 && requested_++ == failAfter_;
    }
    std::size_t failAfter_ = faults::readFailureAfterChunks();
    std::size_t requested_ = 0;
#else
    static constexpr bool injectFailureNow() {
        return false;
    }
#endif
    std::FILE* file_;
    const PassOptions& limits_;
    std::uint64_t remaining_;
    std::uint64_t read_ = 0;
    bool injectedFailure_ = false;
    bool cancelled_ = false;
};

// Chunks in flight: lanes may drift this many chunks apart before the reader waits.
constexpr std::size_t kRingChunks = 4;

// A chunk reaches a lane in slices, the cancel flag looked at between them, so that a
// cancelled pass stops within a slice's hashing rather than a whole chunk's (a chunk of the
// costliest digests can take a tenth of a second on a busy machine). False once cancelled.
constexpr std::size_t kFeedSliceBytes = 262144;

bool feedLane(const FeedLane& lane, const std::uint8_t* data, std::size_t n,
              const ChunkReader& reader) {
    for (std::size_t at = 0; at < n; at += kFeedSliceBytes) {
        if (reader.cancelRequested())
            return false;
        lane.feed(lane.state, data + at, n - at < kFeedSliceBytes ? n - at : kFeedSliceBytes);
    }
    return true;
}

void feedEveryLane(FeedLane* lanes, std::size_t count, const std::uint8_t* data, std::size_t n,
                   const ChunkReader& reader) {
    for (std::size_t i = 0; i < count; ++i) {
        if (!feedLane(lanes[i], data, n, reader))
            return;
    }
}

class Pipeline {
  public:
    Pipeline(ChunkReader& reader, FeedLane* lanes, std::size_t laneCount, ChunkBuffer firstChunk,
             std::size_t firstSize)
        : reader_(reader), lanes_(lanes), laneCount_(laneCount), next_(laneCount, 0),
          busy_(laneCount, false) {
        ring_[0].data = std::move(firstChunk);
        ring_[0].size = firstSize;
        for (std::size_t i = 1; i < kRingChunks; ++i) {
            ring_[i].data = ChunkBuffer::allocate();
        }
        published_ = 1;
    }

    // Runs the work on the caller's thread and up to `extraThreads` more; returns after all
    // of them have ended, rethrowing the first exception any of them met.
    void run(unsigned extraThreads) {
        std::vector<std::thread> workers;
        workers.reserve(extraThreads);
        std::exception_ptr startFailure;
        for (unsigned i = 0; i < extraThreads; ++i) {
            try {
                workers.emplace_back([this] { guardedWork(); });
            } catch (const std::system_error&) {
                break; // fewer threads: the ones running still feed every lane
            } catch (...) {
                startFailure = std::current_exception();
                abort();
                break;
            }
        }
        if (!startFailure)
            guardedWork();
        for (std::thread& t : workers)
            t.join();
        if (startFailure)
            std::rethrow_exception(startFailure);
        if (failure_)
            std::rethrow_exception(failure_);
    }

  private:
    struct Slot {
        ChunkBuffer data;
        std::size_t size = 0;
    };

    void abort() {
        std::lock_guard<std::mutex> lock(mutex_);
        aborted_ = true;
        changed_.notify_all();
    }

    // Nothing escapes a thread: the first exception is kept for the caller and stops the rest.
    void guardedWork() {
        try {
            work();
        } catch (...) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (!failure_)
                    failure_ = std::current_exception();
            }
            abort();
        }
    }

    // Chunks every lane has consumed; their buffers may be refilled.
    std::uint64_t consumedByAll() const {
        std::uint64_t low = published_;
        for (std::uint64_t n : next_)
            low = n < low ? n : low;
        return low;
    }

    // A lane that is idle and has a chunk waiting, the furthest behind (then the costliest)
    // first; laneCount_ when there is none.
    std::size_t pickLane() const {
        std::size_t pick = laneCount_;
        for (std::size_t i = 0; i < laneCount_; ++i) {
            if (busy_[i] || next_[i] >= published_)
                continue;
            if (pick == laneCount_ || next_[i] < next_[pick] ||
                (next_[i] == next_[pick] && lanes_[i].cost > lanes_[pick].cost)) {
                pick = i;
            }
        }
        return pick;
    }

    void work() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            // A cancelled pass stops between chunks: what is in flight is never fed.
            if (aborted_ || reader_.cancelRequested())
                return;
            const std::uint64_t consumed = consumedByAll();
            if (ended_ && consumed == published_)
                return;
            if (!ended_ && !reading_ && published_ - consumed < kRingChunks) {
                // Reads stay sequential: one reader at a time, chunks published in order.
                reading_ = true;
                Slot& slot = ring_[published_ % kRingChunks];
                lock.unlock();
                const std::size_t n = reader_.next(slot.data.get());
                lock.lock();
                reading_ = false;
                if (n == 0) {
                    ended_ = true;
                } else {
                    slot.size = n;
                    ++published_;
                }
                changed_.notify_all();
                continue;
            }
            const std::size_t lane = pickLane();
            if (lane == laneCount_) {
                changed_.wait(lock);
                continue;
            }
            busy_[lane] = true;
            const Slot& slot = ring_[next_[lane] % kRingChunks];
            lock.unlock();
            feedLane(lanes_[lane], slot.data.get(), slot.size, reader_);
            lock.lock();
            busy_[lane] = false;
            ++next_[lane];
            changed_.notify_all();
        }
    }

    ChunkReader& reader_;
    FeedLane* lanes_;
    std::size_t laneCount_;
    Slot ring_[kRingChunks];

    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t published_ = 0;     // chunks read; chunk c lives in ring_[c % kRingChunks]
    std::vector<std::uint64_t> next_; // per lane, the next chunk it is to be fed
    std::vector<bool> busy_;          // per lane, being fed right now
    bool reading_ = false;
    bool ended_ = false;
    bool aborted_ = false;
    std::exception_ptr failure_;
};

} // namespace

FeedOutcome feedAllChunks(std::FILE* file, FeedLane* lanes, std::size_t laneCount, unsigned threads,
                          const PassOptions& limits) {
    ChunkReader reader(file, limits);
    ChunkBuffer buffer = ChunkBuffer::allocate();
    std::size_t n = reader.next(buffer.get());
    if (threads > 1 && laneCount > 1 && n == kReadChunkBytes) {
        const unsigned useful = static_cast<unsigned>(laneCount < threads ? laneCount : threads);
        Pipeline pipeline(reader, lanes, laneCount, std::move(buffer), n);
        pipeline.run(useful - 1);
        // Threads that saw the flag before the reader did leave it unaware: ask once more.
        if (reader.outcome() == FeedOutcome::Complete && reader.cancelRequested())
            return FeedOutcome::Cancelled;
        return reader.outcome();
    }
    // One thread, one buffer: the plain loop, also for a file that ended within one chunk.
    while (n > 0) {
        feedEveryLane(lanes, laneCount, buffer.get(), n, reader);
        n = reader.next(buffer.get());
    }
    return reader.outcome();
}

} // namespace velk
