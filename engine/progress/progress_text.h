#pragma once
// What a long pass shows while it runs: the bar's position, the percentage, the bytes done of
// the total, the throughput and the time left, as one line of text. Shared by the viewer, the
// property page and velksum, so that all three say the same thing.

#include <cstdint>
#include <optional>
#include <string>

namespace velk {

// The bar's range: fine enough that a 20 GiB pass moves it every 20 MiB.
inline constexpr int kProgressBarRange = 1000;

// Throughput smoothed over the last few seconds, so that the time left does not jump with
// every chunk while still following a disk that slows down.
struct ThroughputEstimate {
    double bytesPerSecond = 0; // 0 until two reports have come in
    std::uint64_t lastBytes = 0;
    std::uint64_t lastMs = 0;
    bool primed = false;
};

// Takes one report: `bytesDone` read `elapsedMs` after the pass began. Reports that go
// backwards in time or in bytes are ignored.
ThroughputEstimate updateThroughput(const ThroughputEstimate& estimate, std::uint64_t bytesDone,
                                    std::uint64_t elapsedMs);

// Whole seconds left at the estimated throughput; none while there is no estimate.
std::optional<std::uint64_t> secondsLeft(const ThroughputEstimate& estimate,
                                         std::uint64_t bytesDone, std::uint64_t bytesTotal);

// 0..100, rounded down: 100 only once everything is read. 0 for an empty total.
int progressPercent(std::uint64_t bytesDone, std::uint64_t bytesTotal);
// 0..kProgressBarRange, rounded down.
int progressBarPosition(std::uint64_t bytesDone, std::uint64_t bytesTotal);

// "512 bytes", "82.0 MiB": rounded down, in the largest binary unit below 1024.0 of it.
std::string formatBytes(std::uint64_t bytes);
// "3.1 of 20.0 GiB": both in the total's binary unit (bytes, KiB, MiB, GiB, TiB), the part
// done rounded down so that it never shows the total before the end; below one unit the part
// done takes its own ("82.0 MiB of 2.0 GiB").
std::string formatBytesOfTotal(std::uint64_t bytesDone, std::uint64_t bytesTotal);
// "412 MB/s", "4.2 MB/s", "850 KB/s", "1.3 GB/s": decimal units, as drives are rated.
std::string formatThroughput(double bytesPerSecond);
// "about 40 s left" (in steps of 5 s), "about 3 min left", "about 1 h 5 min left".
std::string formatTimeLeft(std::uint64_t seconds);

// "47% · 3.1 of 20.0 GiB · 412 MB/s, about 40 s left"; the throughput and time left only
// once there is an estimate. With no total known: "82.0 MiB · 412 MB/s".
std::string progressLineText(std::uint64_t bytesDone, std::uint64_t bytesTotal,
                             const ThroughputEstimate& estimate);

} // namespace velk
