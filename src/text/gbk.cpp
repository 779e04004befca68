#include "text/gbk.h"

#include "text/escape.h"

namespace {

// GBK's Latin letters with accents (row A8), lower case only; the upper case ones travel
// as escapes, so both fold to the escape of the lower case letter.
constexpr char32_t kPinyinLatin1[26] = {0, 0xE1, 0, 0xE0, 0, 0xE9, 0, 0xE8, 0, 0xED, 0, 0xEC, 0,
                                        0xF3, 0, 0xF2, 0, 0xFA, 0, 0xF9, 0, 0, 0, 0, 0xFC, 0xEA};

char32_t LowerCodePoint(char32_t c) {
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9) || (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

}  // namespace

std::size_t GbkCharSize(const std::string& s, std::size_t i) {
    return IsGbkLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

std::size_t IndexOfGbk(const std::string& s, char c, std::size_t from) {
    for (std::size_t i = from; i < s.size(); i += GbkCharSize(s, i))
        if (s[i] == c) return i;
    return std::string::npos;
}

std::size_t LastIndexOfGbk(const std::string& s, char c) {
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < s.size(); i += GbkCharSize(s, i))
        if (s[i] == c) found = i;
    return found;
}

bool EndsWithGbk(const std::string& s, char c) {
    return !s.empty() && LastIndexOfGbk(s, c) == s.size() - 1;
}

std::string WithFinalSeparator(const std::string& folder) {
    return EndsWithGbk(folder, '\\') ? folder : folder + '\\';
}

std::string LowerAsciiGbk(const std::string& s) {
    std::string out = s;
    for (std::size_t i = 0; i < out.size(); i += GbkCharSize(out, i))
        if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
    return out;
}

// An escape is one character too: a cut inside it would leave a lone "?" and letters.
std::string CutGbk(const std::string& s, std::size_t maxBytes) {
    const auto size = [&s](std::size_t i) { return EscapeAt(s, i) ? kEscapeSize : GbkCharSize(s, i); };
    std::size_t end = 0;
    while (end < s.size() && end + size(end) <= maxBytes) end += size(end);
    return s.substr(0, end);
}

std::string FoldNameCase(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (const auto escaped = EscapeAt(s, i)) {
            out += EscapeCodePoint(LowerCodePoint(*escaped));
            i += kEscapeSize;
        } else if (GbkCharSize(s, i) == 1) {
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            ++i;
        } else {
            auto trail = static_cast<unsigned char>(s[i + 1]);
            if (c == 0xA6 && trail >= 0xA1 && trail <= 0xB8) trail += 0x20;       // Greek
            else if (c == 0xA7 && trail >= 0xA1 && trail <= 0xC1) trail += 0x30;  // Cyrillic
            if (c == 0xA8 && trail >= 0xA1 && trail <= 0xBA && kPinyinLatin1[trail - 0xA1]) {
                out += EscapeCodePoint(kPinyinLatin1[trail - 0xA1]);
            } else {
                out += static_cast<char>(c);
                out += static_cast<char>(trail);
            }
            i += 2;
        }
    }
    return out;
}
