#include "text/number.h"

#include <charconv>
#include <cmath>

std::string FormatNumber(double v) {
    if (!std::isfinite(v)) return "0";
    char buf[400];  // room for the largest double in fixed notation
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
    if (ec != std::errc()) return "0";
    std::string s(buf, end);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

double ParseNumber(const std::string& text) {
    double v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() ? v : 0;
}

double RoundTo3(double v) { return std::round(v * 1000) / 1000; }
