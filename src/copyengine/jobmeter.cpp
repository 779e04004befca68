#include "copyengine/jobmeter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr std::uint64_t kRateWindowMs = 3000;
// A quarter of a second of work is enough to tell the rate; less may not yet hold a whole file.
constexpr std::uint64_t kShortestRateMs = 250;

std::string TimeLeft(double seconds) {
    const long long s = std::llround(std::ceil(seconds));
    char text[48];
    if (s < 60) std::snprintf(text, sizeof text, "%lld秒", s);
    else if (s < 3600) std::snprintf(text, sizeof text, "%lld分%02lld秒", s / 60, s % 60);
    else std::snprintf(text, sizeof text, "%lld小时%02lld分", s / 3600, s / 60 % 60);
    return text;
}

}  // namespace

void JobMeter::start(std::int64_t totalWork, std::uint64_t now) {
    total_ = std::max<std::int64_t>(totalWork, 0);
    done_ = 0;
    bytes_ = 0;
    samples_.assign(1, {now, 0, 0});
}

std::string JobMeter::line(std::uint64_t now) {
    const std::int64_t done = std::min(done_.load(), total_);
    const std::int64_t bytes = bytes_;
    while (samples_.size() > 1 && now - samples_.front().ms > kRateWindowMs) samples_.pop_front();
    samples_.push_back({now, done, bytes});
    const int percent = total_ > 0 ? static_cast<int>(done * 100 / total_) : 0;
    const Sample then = samples_.front();
    if (now < then.ms + kShortestRateMs || done <= then.done) return ProgressLine(percent, -1, 0);
    const double seconds = static_cast<double>(now - then.ms) / 1000.0;
    const double workRate = static_cast<double>(done - then.done) / seconds;
    return ProgressLine(percent, static_cast<double>(bytes - then.bytes) / seconds,
                        static_cast<double>(total_ - done) / workRate);
}

std::string ProgressLine(int percent, double bytesPerSecond, double secondsLeft) {
    std::string line = "总进度 " + std::to_string(percent) + "%";
    if (bytesPerSecond < 0) return line;
    char rate[32];
    std::snprintf(rate, sizeof rate, "  %.1f MB/s  剩余 ", bytesPerSecond / 1048576.0);
    return line + rate + TimeLeft(secondsLeft);
}
