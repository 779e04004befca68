#pragma once
// How far a copy job is, in work: each file's bytes and its fixed cost (JobPlan::work),
// twice when it is verified, since the read-back is work too. The worker counts; the main
// thread makes the "总进度" line of it, with the rate of bytes over the last seconds and
// the time left at the rate of work.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <string>

class JobMeter {
public:
    // Main thread, before the worker starts.
    void start(std::int64_t totalWork, std::uint64_t now);
    // Worker: bytes copied or read back.
    void add(std::int64_t bytes) {
        bytes_ += bytes;
        done_ += bytes;
    }
    // Worker: a row ended, however much of it was done; rowWork is what it was to take,
    // counted what was added for it. The next row may already be counting meanwhile.
    void endRow(std::int64_t rowWork, std::int64_t counted) { done_ += std::max<std::int64_t>(rowWork, 0) - counted; }
    // Main thread: the line as of now (ms).
    std::string line(std::uint64_t now);

private:
    std::int64_t total_ = 0;
    std::atomic<std::int64_t> done_{0};   // work
    std::atomic<std::int64_t> bytes_{0};  // of it, bytes moved
    struct Sample {
        std::uint64_t ms;
        std::int64_t done, bytes;
    };
    std::deque<Sample> samples_;
};

// "总进度 42%  12.3 MB/s  剩余 1分05秒"; just the percent while the rate is unknown (< 0).
std::string ProgressLine(int percent, double bytesPerSecond, double secondsLeft);
