#include "app/handover.h"

#include <algorithm>
#include <cstring>

namespace {

// A quoted path ending in "\" ("K:\") reaches the argument list as K:" because the
// backslash escapes the closing quote; no name holds a quote, so the quote was the "\".
std::u16string RepairQuote(std::u16string arg) {
    const bool endsInEscapedQuote = !arg.empty() && arg.back() == u'"';
    std::erase(arg, u'"');
    if (endsInEscapedQuote && (arg.empty() || arg.back() != u'\\')) arg += u'\\';
    return arg;
}

}  // namespace

std::u16string PathsFromArguments(const std::vector<std::u16string>& args) {
    std::u16string text;
    for (const auto& arg : args) {
        const std::u16string path = RepairQuote(arg);
        if (path.find_first_not_of(u' ') == std::u16string::npos) continue;
        if (!text.empty()) text += u"\r\n";
        text += path;
    }
    return text;
}

std::optional<std::u16string> ReadHandOver(std::uintptr_t tag, const void* data, std::size_t bytes) {
    if (tag != kHandOverTag || !data || bytes == 0 || bytes % 2 != 0) return std::nullopt;
    if (bytes / 2 > kHandOverMaxChars) return std::nullopt;
    std::u16string text(bytes / 2, u'\0');
    std::memcpy(text.data(), data, bytes);
    if (text.find(u'\0') != std::u16string::npos) return std::nullopt;
    return text;
}
