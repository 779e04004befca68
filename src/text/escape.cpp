#include "text/escape.h"

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

}  // namespace

std::string EscapeCodePoint(char32_t c) {
    std::string out(kEscapeSize, '?');
    for (std::size_t i = kEscapeSize - 1; i > 0; --i, c >>= 4) out[i] = static_cast<char>('a' + (c & 0xF));
    return out;
}

std::optional<char32_t> EscapeAt(const std::string& s, std::size_t i) {
    if (i + kEscapeSize > s.size() || s[i] != '?') return std::nullopt;
    char32_t c = 0;
    for (std::size_t k = i + 1; k < i + kEscapeSize; ++k) {
        if (s[k] < 'a' || s[k] > 'p') return std::nullopt;
        c = c << 4 | static_cast<char32_t>(s[k] - 'a');
    }
    if (c > kLastCodePoint) return std::nullopt;
    return c;
}
