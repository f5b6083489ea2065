#pragma once
// How often a pass tells its window how far it has come: not during its first half second
// (a short pass shows no progress at all), then at most every 100 ms, and never while the
// previous report has not been taken, so that a busy window never finds a queue of them.

#include <atomic>
#include <cstdint>
#include <functional>

namespace velk {

// A pass that has run this long shows its progress.
inline constexpr std::uint64_t kProgressShowDelayMs = 500;
// The shortest time between two reports.
inline constexpr std::uint64_t kProgressIntervalMs = 100;

struct ProgressThrottle {
    bool reported = false;
    std::uint64_t lastReportMs = 0;
};

// Whether a report made `elapsedMs` after the pass began goes out.
bool progressReportDue(const ProgressThrottle& throttle, std::uint64_t elapsedMs,
                       bool previousPending);

// Hands one report on (posts it, prints it); true when it went out.
using ProgressSink = std::function<bool(std::uint64_t bytesRead, std::uint64_t elapsedMs)>;
// Milliseconds on a clock that never goes back.
using ProgressClock = std::function<std::uint64_t()>;

std::uint64_t steadyClockMs();

// The pass's progress callback (PassOptions::progress): measures the time from its own
// creation, asks the throttle and hands due reports to `sink`. With `pending`, a report that
// went out sets it until the receiver clears it on taking the report; the callback sends
// nothing while it is set.
std::function<void(std::uint64_t bytesRead)> throttledProgress(ProgressSink sink,
                                                               std::atomic<bool>* pending = nullptr,
                                                               ProgressClock clock = steadyClockMs);

} // namespace velk
