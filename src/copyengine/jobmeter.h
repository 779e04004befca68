#pragma once
// How far a copy job is, in bytes of work: each file's bytes, twice when it is verified,
// since the read-back is work too. The worker counts; the main thread makes the
// "总进度" line of it, with the rate over the last seconds and the time left.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <utility>

class JobMeter {
public:
    // Main thread, before the worker starts.
    void start(std::int64_t totalWork, std::uint64_t now);
    // Worker: bytes copied or read back.
    void add(std::int64_t bytes) { done_ += bytes; }
    // Worker: a row ended, however much of it was done; rowWork is what it was to take,
    // counted what was added for it. The next row may already be counting meanwhile.
    void endRow(std::int64_t rowWork, std::int64_t counted) { done_ += std::max<std::int64_t>(rowWork, 0) - counted; }
    // Main thread: the line as of now (ms).
    std::string line(std::uint64_t now);

private:
    std::int64_t total_ = 0;
    std::atomic<std::int64_t> done_{0};
    std::deque<std::pair<std::uint64_t, std::int64_t>> samples_;  // (ms, work done)
};

// "总进度 42%  12.3 MB/s  剩余 1分05秒"; just the percent while the rate is unknown.
std::string ProgressLine(int percent, double bytesPerSecond, double secondsLeft);
