#pragma once
// The wait between tries of a file operation that another process blocks for a moment.

#include <chrono>

namespace velk {

struct RetryBackoff {
    std::chrono::steady_clock::time_point deadline;
    std::chrono::milliseconds step{1};
};

// Tries for up to `limitMs` from now.
RetryBackoff retryFor(int limitMs);

// Sleeps before the next try, 1 ms at first and twice as long each time up to 8 ms, never
// past the deadline. False once the deadline has passed: give up.
bool waitToRetry(RetryBackoff& backoff);

} // namespace velk
