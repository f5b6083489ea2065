#include "engine/progress/progress_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace velk {
namespace {

// The smoothing time: a report 2 s after the previous one counts about two thirds.
constexpr double kSmoothingMs = 2000.0;

const char kSeparator[] = " \xC2\xB7 "; // " · "

std::string oneDecimal(std::uint64_t tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

const char* const kUnits[] = {"KiB", "MiB", "GiB", "TiB"};

// Tenths of the unit `scale`: rounded down or to the nearest. Divided first, so that ten times
// the count never has to fit.
std::uint64_t tenths(std::uint64_t bytes, std::uint64_t scale, bool nearest) {
    const std::uint64_t rest = bytes % scale / (scale / 1024);
    return bytes / scale * 10 + (rest * 10 + (nearest ? 512 : 0)) / 1024;
}

} // namespace

ThroughputEstimate updateThroughput(const ThroughputEstimate& estimate, std::uint64_t bytesDone,
                                    std::uint64_t elapsedMs) {
    ThroughputEstimate next = estimate;
    if (!estimate.primed) {
        // The first report is a starting point only: the bytes before it may include a burst
        // from the cache or a long wait for the file to open.
        next.primed = true;
        next.lastBytes = bytesDone;
        next.lastMs = elapsedMs;
        return next;
    }
    if (elapsedMs <= estimate.lastMs || bytesDone < estimate.lastBytes)
        return estimate;
    const double dt = static_cast<double>(elapsedMs - estimate.lastMs);
    const double rate = static_cast<double>(bytesDone - estimate.lastBytes) * 1000.0 / dt;
    if (estimate.bytesPerSecond <= 0) {
        next.bytesPerSecond = rate;
    } else {
        const double weight = 1.0 - std::exp(-dt / kSmoothingMs);
        next.bytesPerSecond = estimate.bytesPerSecond + weight * (rate - estimate.bytesPerSecond);
    }
    next.lastBytes = bytesDone;
    next.lastMs = elapsedMs;
    return next;
}

std::optional<std::uint64_t> secondsLeft(const ThroughputEstimate& estimate,
                                         std::uint64_t bytesDone, std::uint64_t bytesTotal) {
    if (estimate.bytesPerSecond <= 0)
        return std::nullopt;
    if (bytesDone >= bytesTotal)
        return 0;
    return static_cast<std::uint64_t>(
        std::ceil(static_cast<double>(bytesTotal - bytesDone) / estimate.bytesPerSecond));
}

// done * range / total, rounded down, for any 64-bit counts: both are halved until the product
// fits, which keeps the ratio to well within one step. Below the total it stays below range.
int scaledShare(std::uint64_t done, std::uint64_t total, int range) {
    if (total == 0)
        return 0;
    if (done >= total)
        return range;
    const auto r = static_cast<std::uint64_t>(range);
    while (done > UINT64_MAX / r) {
        done >>= 1;
        total >>= 1;
    }
    return static_cast<int>(std::min<std::uint64_t>(done * r / total, r - 1));
}

int progressPercent(std::uint64_t bytesDone, std::uint64_t bytesTotal) {
    return scaledShare(bytesDone, bytesTotal, 100);
}

int progressBarPosition(std::uint64_t bytesDone, std::uint64_t bytesTotal) {
    return scaledShare(bytesDone, bytesTotal, kProgressBarRange);
}

std::string formatBytes(std::uint64_t bytes) {
    if (bytes < 1024)
        return std::to_string(bytes) + " bytes";
    int unit = 0;
    std::uint64_t scale = 1024;
    while (unit < 3 && tenths(bytes, scale, false) >= 10240) {
        ++unit;
        scale *= 1024;
    }
    return oneDecimal(tenths(bytes, scale, false)) + " " + kUnits[unit];
}

std::string formatBytesOfTotal(std::uint64_t bytesDone, std::uint64_t bytesTotal) {
    if (bytesTotal < 1024)
        return std::to_string(bytesDone) + " of " + std::to_string(bytesTotal) + " bytes";
    // The unit in which the total shows below 1024.0.
    int unit = 0;
    std::uint64_t scale = 1024;
    while (unit < 3 && tenths(bytesTotal, scale, true) >= 10240) {
        ++unit;
        scale *= 1024;
    }
    const std::uint64_t total = tenths(bytesTotal, scale, true);
    // The part done rounded down, so that the total shows only once everything is read; then
    // exactly the total (a file that grew while read stops there).
    const std::uint64_t done =
        bytesDone >= bytesTotal ? total : std::min(total, tenths(bytesDone, scale, false));
    const std::string ofTotal = " of " + oneDecimal(total) + " " + kUnits[unit];
    if (done >= 10 || unit == 0)
        return oneDecimal(done) + ofTotal;
    // Less than one unit of a large total would show as "0.0" for a long while: the part
    // done gets a unit of its own ("82.0 MiB of 2.0 GiB").
    return formatBytes(bytesDone) + ofTotal;
}

std::string formatThroughput(double bytesPerSecond) {
    if (!(bytesPerSecond > 0))
        return "0 KB/s";
    const double mb = bytesPerSecond / 1e6;
    if (mb >= 999.5) {
        const auto tenths = static_cast<std::uint64_t>(std::llround(mb / 100.0));
        return oneDecimal(tenths) + " GB/s";
    }
    if (mb >= 9.95)
        return std::to_string(std::llround(mb)) + " MB/s";
    if (mb >= 0.9995)
        return oneDecimal(static_cast<std::uint64_t>(std::llround(mb * 10.0))) + " MB/s";
    return std::to_string(std::max<long long>(1, std::llround(bytesPerSecond / 1e3))) + " KB/s";
}

std::string formatTimeLeft(std::uint64_t seconds) {
    if (seconds < 60) {
        // Steps of 5 s, rounded up: "about 5 s left" until the very end.
        const std::uint64_t shown = seconds == 0 ? 5 : (seconds + 4) / 5 * 5;
        if (shown < 60)
            return "about " + std::to_string(shown) + " s left";
        return "about 1 min left";
    }
    const std::uint64_t minutes = (seconds + 30) / 60;
    if (minutes < 60)
        return "about " + std::to_string(minutes) + " min left";
    const std::uint64_t hours = minutes / 60;
    const std::uint64_t rest = minutes % 60;
    return "about " + std::to_string(hours) + " h" +
           (rest == 0 ? std::string() : " " + std::to_string(rest) + " min") + " left";
}

std::string progressLineText(std::uint64_t bytesDone, std::uint64_t bytesTotal,
                             const ThroughputEstimate& estimate) {
    if (bytesTotal == 0 && bytesDone > 0) {
        // No size known (a pipe): what was read, and how fast.
        return formatBytes(bytesDone) +
               (estimate.bytesPerSecond > 0 ? kSeparator + formatThroughput(estimate.bytesPerSecond)
                                            : std::string());
    }
    std::string line = std::to_string(progressPercent(bytesDone, bytesTotal)) + "%" + kSeparator +
                       formatBytesOfTotal(bytesDone, bytesTotal);
    const std::optional<std::uint64_t> left = secondsLeft(estimate, bytesDone, bytesTotal);
    if (left) {
        line +=
            kSeparator + formatThroughput(estimate.bytesPerSecond) + ", " + formatTimeLeft(*left);
    }
    return line;
}

} // namespace velk
