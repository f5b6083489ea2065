#include "settings/retry_backoff.h"

#include <algorithm>
#include <thread>

namespace velk {

RetryBackoff retryFor(int limitMs) {
    RetryBackoff backoff;
    backoff.deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    return backoff;
}

bool waitToRetry(RetryBackoff& backoff) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= backoff.deadline)
        return false;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(backoff.deadline - now);
    std::this_thread::sleep_for(
        std::max(std::chrono::milliseconds(1), std::min(backoff.step, left)));
    backoff.step = std::min(backoff.step * 2, std::chrono::milliseconds(8));
    return true;
}

} // namespace velk
