// What a long pass shows while it runs and how often it reports.

#include "engine/progress/progress_row.h"
#include "engine/progress/progress_text.h"
#include "engine/progress/progress_throttle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace velk {
namespace {

constexpr std::uint64_t KiB = 1024;
constexpr std::uint64_t MiB = 1024 * KiB;
constexpr std::uint64_t GiB = 1024 * MiB;
constexpr std::uint64_t TiB = 1024 * GiB;

struct BytesCase {
    std::uint64_t done, total;
    const char* shown;
};

TEST(ProgressText, BytesOfTotalInTheTotalsUnit) {
    const BytesCase cases[] = {
        {0, 0, "0 of 0 bytes"},
        {512, 1000, "512 of 1000 bytes"},
        {0, 1024, "0.0 of 1.0 KiB"},
        // Below one unit of the total the part done has a unit of its own.
        {0, 20 * GiB, "0 bytes of 20.0 GiB"},
        {82 * MiB, 2 * GiB, "82.0 MiB of 2.0 GiB"},
        {1000 * KiB, 2 * GiB, "1000.0 KiB of 2.0 GiB"},
        {GiB - 1, 2 * TiB, "1023.9 MiB of 2.0 TiB"},
        {GiB, 2 * TiB, "1.0 GiB of 2.0 TiB"},
        {900 * MiB, 2 * GiB - 1, "900.0 MiB of 2.0 GiB"},
        {3 * GiB + 110 * MiB, 20 * GiB, "3.1 of 20.0 GiB"},
        // The part done is rounded down: the total shows only at the end.
        {20 * GiB - 1, 20 * GiB, "19.9 of 20.0 GiB"},
        {20 * GiB, 20 * GiB, "20.0 of 20.0 GiB"},
        // The total to the nearest tenth; the part done never shows more than it.
        {GiB - MiB, GiB - MiB, "1023.0 of 1023.0 MiB"},
        {MiB * 1023 + 1000 * KiB, MiB * 1023 + 1000 * KiB, "1.0 of 1.0 GiB"},
        {2 * GiB + 1023 * MiB, 2 * GiB + 1023 * MiB, "3.0 of 3.0 GiB"},
        // A file that grew while read stops at its measured total.
        {5 * MiB, 4 * MiB, "4.0 of 4.0 MiB"},
        {3 * TiB / 2, 4096 * TiB, "1.5 of 4096.0 TiB"},
        {TiB / 2, 4096 * TiB, "512.0 GiB of 4096.0 TiB"},
        {UINT64_MAX / 2, UINT64_MAX, "8388607.9 of 16777216.0 TiB"},
    };
    for (const BytesCase& c : cases)
        EXPECT_EQ(formatBytesOfTotal(c.done, c.total), c.shown) << c.done << " of " << c.total;
}

TEST(ProgressText, PercentAndBarRoundDownAndReachTheEndOnlyAtTheEnd) {
    EXPECT_EQ(progressPercent(0, 0), 0);
    EXPECT_EQ(progressPercent(0, 100), 0);
    EXPECT_EQ(progressPercent(999, 1000), 99);
    EXPECT_EQ(progressPercent(1000, 1000), 100);
    EXPECT_EQ(progressPercent(2000, 1000), 100);
    EXPECT_EQ(progressPercent(UINT64_MAX / 2, UINT64_MAX), 49);
    EXPECT_EQ(progressPercent(UINT64_MAX - 1, UINT64_MAX), 99);

    EXPECT_EQ(progressBarPosition(0, 0), 0);
    EXPECT_EQ(progressBarPosition(GiB, 20 * GiB), 50);
    EXPECT_EQ(progressBarPosition(20 * GiB - 1, 20 * GiB), kProgressBarRange - 1);
    EXPECT_EQ(progressBarPosition(20 * GiB, 20 * GiB), kProgressBarRange);
    EXPECT_EQ(progressBarPosition(UINT64_MAX / 4, UINT64_MAX), 249); // just below a quarter
    EXPECT_EQ(progressBarPosition(UINT64_MAX / 4 + 1, UINT64_MAX), 250);
}

TEST(ProgressText, ThroughputInDecimalUnits) {
    const struct {
        double bytesPerSecond;
        const char* shown;
    } cases[] = {
        {0, "0 KB/s"},         {-5, "0 KB/s"},        {400, "1 KB/s"},       {850e3, "850 KB/s"},
        {999.4e3, "999 KB/s"}, {999.6e3, "1.0 MB/s"}, {4.24e6, "4.2 MB/s"},  {9.96e6, "10 MB/s"},
        {412.3e6, "412 MB/s"}, {999.4e6, "999 MB/s"}, {999.6e6, "1.0 GB/s"}, {1.26e9, "1.3 GB/s"},
        {12.5e9, "12.5 GB/s"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatThroughput(c.bytesPerSecond), c.shown) << c.bytesPerSecond;
}

TEST(ProgressText, TimeLeftInSteadySteps) {
    const struct {
        std::uint64_t seconds;
        const char* shown;
    } cases[] = {
        {0, "about 5 s left"},
        {1, "about 5 s left"},
        {5, "about 5 s left"},
        {6, "about 10 s left"},
        {38, "about 40 s left"},
        {55, "about 55 s left"},
        {56, "about 1 min left"},
        {89, "about 1 min left"},
        {90, "about 2 min left"},
        {3569, "about 59 min left"},
        {3570, "about 1 h left"},
        {3900, "about 1 h 5 min left"},
        {7 * 3600 + 59 * 60, "about 7 h 59 min left"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatTimeLeft(c.seconds), c.shown) << c.seconds;
}

ThroughputEstimate feed(const std::vector<std::pair<std::uint64_t, std::uint64_t>>& reports) {
    ThroughputEstimate e;
    for (const auto& [bytes, ms] : reports)
        e = updateThroughput(e, bytes, ms);
    return e;
}

TEST(ProgressEstimate, FirstReportIsOnlyAStartingPoint) {
    // 1 GiB came from the cache before the first report; the rate is what followed it.
    const ThroughputEstimate e = feed({{GiB, 500}, {GiB + 100 * MiB, 1500}});
    EXPECT_NEAR(e.bytesPerSecond, 100.0 * MiB, 1.0);
    EXPECT_EQ(feed({{GiB, 500}}).bytesPerSecond, 0);
    EXPECT_FALSE(secondsLeft(feed({{GiB, 500}}), GiB, 2 * GiB));
}

TEST(ProgressEstimate, FollowsASlowdownSmoothly) {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
    std::uint64_t bytes = 0;
    std::uint64_t ms = 500;
    for (int i = 0; i < 50; ++i, ms += 100) { // 400 MB/s for 5 s
        bytes += 40'000'000;
        reports.push_back({bytes, ms});
    }
    const ThroughputEstimate fast = feed(reports);
    EXPECT_NEAR(fast.bytesPerSecond, 400e6, 1e3);

    reports.push_back({bytes + 4'000'000, ms}); // one report at 40 MB/s
    const ThroughputEstimate dip = feed(reports);
    EXPECT_LT(dip.bytesPerSecond, 400e6);
    EXPECT_GT(dip.bytesPerSecond, 300e6) << "one slow chunk moved the estimate too far";

    for (int i = 0; i < 150; ++i) { // then 40 MB/s for 15 s
        bytes += 4'000'000;
        ms += 100;
        reports.push_back({bytes, ms});
    }
    EXPECT_NEAR(feed(reports).bytesPerSecond, 40e6, 1e6);
}

TEST(ProgressEstimate, IgnoresReportsThatGoBack) {
    const ThroughputEstimate e = feed({{0, 500}, {100 * MiB, 1500}});
    const ThroughputEstimate backInTime = updateThroughput(e, 200 * MiB, 1400);
    const ThroughputEstimate sameTime = updateThroughput(e, 200 * MiB, 1500);
    const ThroughputEstimate fewerBytes = updateThroughput(e, 50 * MiB, 2500);
    for (const ThroughputEstimate& after : {backInTime, sameTime, fewerBytes}) {
        EXPECT_EQ(after.bytesPerSecond, e.bytesPerSecond);
        EXPECT_EQ(after.lastMs, 1500u);
    }
}

TEST(ProgressText, LineAsTheWindowShowsIt) {
    ThroughputEstimate e;
    EXPECT_EQ(progressLineText(0, 20 * GiB, e), "0% \xC2\xB7 0 bytes of 20.0 GiB");
    e.bytesPerSecond = 412e6;
    e.primed = true;
    // 16.48 GB at 412 MB/s: 40 s.
    const std::uint64_t total = 20 * GiB;
    const std::uint64_t done = total - 16'480'000'000ull;
    EXPECT_EQ(progressLineText(done, total, e),
              "23% \xC2\xB7 4.6 of 20.0 GiB \xC2\xB7 412 MB/s, about 40 s left");
    EXPECT_EQ(secondsLeft(e, total, total), 0u);
    // No size known (a pipe): the bytes read and the throughput.
    EXPECT_EQ(progressLineText(82 * MiB, 0, e), "82.0 MiB \xC2\xB7 412 MB/s");
    EXPECT_EQ(progressLineText(82 * MiB, 0, ThroughputEstimate{}), "82.0 MiB");
}

// A pass that reports after every chunk, on a clock the test moves.
struct ThrottleRun {
    std::uint64_t now = 1'000'000;
    std::atomic<bool> pending{false};
    bool sinkAccepts = true;
    bool takeAtOnce = true; // the receiver clears `pending` as soon as a report arrives
    std::vector<std::pair<std::uint64_t, std::uint64_t>> received;

    std::function<void(std::uint64_t)> callback() {
        return throttledProgress(
            [this](std::uint64_t bytes, std::uint64_t elapsed) {
                if (!sinkAccepts)
                    return false;
                received.push_back({bytes, elapsed});
                if (takeAtOnce)
                    pending = false;
                return true;
            },
            &pending, [this] { return now; });
    }
};

TEST(ProgressThrottleTest, NothingInTheFirstHalfSecondThenAtMostEveryTenthOfASecond) {
    ThrottleRun run;
    auto report = run.callback();
    for (std::uint64_t ms = 0; ms <= 2000; ms += 7) { // a chunk every 7 ms
        run.now = 1'000'000 + ms;
        report(ms * 1000);
    }
    ASSERT_FALSE(run.received.empty());
    EXPECT_GE(run.received.front().second, kProgressShowDelayMs);
    EXPECT_LT(run.received.front().second, kProgressShowDelayMs + 7);
    for (std::size_t i = 1; i < run.received.size(); ++i) {
        EXPECT_GE(run.received[i].second - run.received[i - 1].second, kProgressIntervalMs);
        EXPECT_LT(run.received[i].second - run.received[i - 1].second, kProgressIntervalMs + 7);
        EXPECT_EQ(run.received[i].first, run.received[i].second * 1000) << "bytes of that chunk";
    }
    EXPECT_EQ(run.received.size(), 15u); // about 500, 600, ... 1900 ms
}

TEST(ProgressThrottleTest, OneReportAtATime) {
    ThrottleRun run;
    run.takeAtOnce = false;
    auto report = run.callback();
    for (std::uint64_t ms = 0; ms <= 3000; ms += 10) {
        run.now = 1'000'000 + ms;
        if (ms == 1500)
            run.pending = false; // the window takes the first report late
        report(ms);
    }
    ASSERT_EQ(run.received.size(), 2u);
    EXPECT_EQ(run.received[0].second, 500u);
    EXPECT_EQ(run.received[1].second, 1500u);
    EXPECT_TRUE(run.pending.load());
}

TEST(ProgressThrottleTest, AReportThatCouldNotGoOutIsTriedAgainWithTheNextChunk) {
    ThrottleRun run;
    run.sinkAccepts = false;
    auto report = run.callback();
    run.now += 600;
    report(1);
    EXPECT_FALSE(run.pending.load()) << "a failed post must not block every later one";
    run.sinkAccepts = true;
    run.now += 1;
    report(2);
    ASSERT_EQ(run.received.size(), 1u);
    EXPECT_EQ(run.received[0].first, 2u);
}

TEST(ProgressThrottleTest, ClockThatGoesBackCountsAsNoTime) {
    ThrottleRun run;
    auto report = run.callback();
    run.now -= 10'000;
    report(1);
    EXPECT_TRUE(run.received.empty());
}

TEST(ProgressRow, BarTakesTwoFifthsAndTheLineTheRest) {
    const ProgressRowParts p = splitProgressRow({10, 100, 724, 28}, 16, 10);
    EXPECT_EQ(p.bar.x, 10);
    EXPECT_EQ(p.bar.y, 106);
    EXPECT_EQ(p.bar.width, 289);
    EXPECT_EQ(p.bar.height, 16);
    EXPECT_EQ(p.line.x, 309);
    EXPECT_EQ(p.line.y, 100);
    EXPECT_EQ(p.line.width, 425);
    EXPECT_EQ(p.line.height, 28);

    const ProgressRowParts narrow = splitProgressRow({8, 0, 4, 10}, 40, 10);
    EXPECT_EQ(narrow.bar.height, 10) << "never taller than the row";
    EXPECT_EQ(narrow.line.width, 0);
}

} // namespace
} // namespace velk
