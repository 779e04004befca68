#include "platform/handover_block.h"

#include <cstring>

std::u16string PathSafeCommandLine(std::u16string commandLine) {
    std::u16string safe;
    std::size_t backslashes = 0;
    for (const char16_t c : commandLine) {
        if (c == u'"') safe.append(backslashes, u'\\');
        backslashes = c == u'\\' ? backslashes + 1 : 0;
        safe += c;
    }
    return safe;
}

std::u16string PathsFromArguments(const std::vector<std::u16string>& args) {
    std::u16string text;
    for (const auto& path : args) {
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
