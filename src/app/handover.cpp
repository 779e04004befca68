#include "app/handover.h"

#include <algorithm>

#include "app/app.h"
#include "paths/paths.h"

namespace {

constexpr std::uint64_t kHandOverPatienceMs = 60000;
constexpr int kHandOverRetryMs = 500;

// No path holds a line break.
std::size_t PathCount(const std::string& paths) { return std::count(paths.begin(), paths.end(), '\n') + 1; }

}  // namespace

void HandOverToRunningInstance(App& app, const std::string& registryName) {
    // Relative paths name files in this process's current folder, which the running one
    // does not know: they leave here whole.
    std::string paths;
    for (const auto& path : WholePaths(app.sys, app.sys.commandLinePaths())) paths += (paths.empty() ? "" : "\r\n") + path;
    const std::uint64_t start = app.sys.tickMs();
    // Its window is read each time: an instance that has just started may not have written it.
    while (!app.sys.handOverPaths(app.sys.readInstanceWindow(registryName), paths)) {
        if (app.sys.tickMs() - start >= kHandOverPatienceMs) {
            const std::string count = std::to_string(PathCount(paths));
            app.ui.messageBox("有" + count + "个文件或文件夹未能交给正在运行的程序，请稍后重试。", kProgramTitle,
                              mb::Ok | mb::IconWarning);
            return;
        }
        app.sys.sleepMs(kHandOverRetryMs);
    }
}
