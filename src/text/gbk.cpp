#include "text/gbk.h"

#include "text/escape.h"

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
