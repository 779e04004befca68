#include "text/nameorder.h"

#include <algorithm>
#include <string_view>

#include "text/gbk.h"

namespace {

// One unit of a name: a run of digits, one single-byte character or one GBK character.
struct Token {
    int primary;             // the folded first byte; '0' for every digit run
    int secondary;           // a GBK character's trail byte, else -1
    std::string_view digits; // a digit run without its leading zeros
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

Token NextToken(std::string_view s, std::size_t& i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (IsDigit(s[i])) {
        const std::size_t start = i;
        while (i < s.size() && IsDigit(s[i])) ++i;
        std::string_view run = s.substr(start, i - start);
        run.remove_prefix(std::min(run.find_first_not_of('0'), run.size()));
        return {'0', -1, run};
    }
    if (IsGbkLead(c) && i + 1 < s.size()) {
        i += 2;
        return {c, static_cast<unsigned char>(s[i - 1]), {}};
    }
    ++i;
    return {c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c, -1, {}};
}

int Compare(const Token& a, const Token& b) {
    if (a.primary != b.primary) return a.primary < b.primary ? -1 : 1;
    if (a.digits.size() != b.digits.size()) return a.digits.size() < b.digits.size() ? -1 : 1;
    if (const int c = a.digits.compare(b.digits)) return c;
    return a.secondary == b.secondary ? 0 : (a.secondary < b.secondary ? -1 : 1);
}

}  // namespace

bool NameLess(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const Token ta = NextToken(a, i);
        const Token tb = NextToken(b, j);
        if (const int c = Compare(ta, tb)) return c < 0;
    }
    if (i < a.size() || j < b.size()) return j < b.size();
    return a < b;
}
