#include "engine/progress/progress_throttle.h"

#include <chrono>
#include <memory>

namespace velk {

bool progressReportDue(const ProgressThrottle& throttle, std::uint64_t elapsedMs,
                       bool previousPending) {
    if (previousPending || elapsedMs < kProgressShowDelayMs)
        return false;
    return !throttle.reported || elapsedMs - throttle.lastReportMs >= kProgressIntervalMs;
}

std::uint64_t steadyClockMs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

std::function<void(std::uint64_t)> throttledProgress(ProgressSink sink, std::atomic<bool>* pending,
                                                     ProgressClock clock) {
    // The pass calls its callback from one thread at a time; the state lives with it.
    struct Reporter {
        ProgressSink sink;
        std::atomic<bool>* pending;
        ProgressClock clock;
        std::uint64_t startMs;
        ProgressThrottle throttle;
    };
    const std::uint64_t start = clock();
    auto reporter = std::make_shared<Reporter>(
        Reporter{std::move(sink), pending, std::move(clock), start, ProgressThrottle{}});
    return [reporter](std::uint64_t bytesRead) {
        Reporter& r = *reporter;
        const std::uint64_t now = r.clock();
        const std::uint64_t elapsed = now >= r.startMs ? now - r.startMs : 0;
        const bool previousPending = r.pending != nullptr && r.pending->load();
        if (!progressReportDue(r.throttle, elapsed, previousPending))
            return;
        // Set before the report goes out: the receiver may take it and clear the flag at once.
        if (r.pending != nullptr)
            r.pending->store(true);
        if (!r.sink(bytesRead, elapsed)) {
            if (r.pending != nullptr)
                r.pending->store(false);
            return;
        }
        r.throttle.reported = true;
        r.throttle.lastReportMs = elapsed;
    };
}

} // namespace velk
