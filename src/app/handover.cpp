#include "app/handover.h"

#include <algorithm>
#include <cstring>

#include "app/app.h"

namespace {

constexpr std::uint64_t kHandOverPatienceMs = 60000;
constexpr int kHandOverRetryMs = 500;

// No path holds a line break.
std::size_t PathCount(const std::string& paths) { return std::count(paths.begin(), paths.end(), '\n') + 1; }

}  // namespace

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

void HandOverToRunningInstance(App& app, const std::string& registryName) {
    const std::uint64_t start = app.sys.tickMs();
    // Its window is read each time: an instance that has just started may not have written it.
    while (!app.sys.handOverCommandLine(app.sys.readInstanceWindow(registryName))) {
        if (app.sys.tickMs() - start >= kHandOverPatienceMs) {
            const std::string count = std::to_string(PathCount(app.sys.commandLinePaths()));
            app.ui.messageBox("有" + count + "个文件或文件夹未能交给正在运行的程序，请稍后重试。", kProgramTitle,
                              mb::Ok | mb::IconWarning);
            return;
        }
        app.sys.sleepMs(kHandOverRetryMs);
    }
}
