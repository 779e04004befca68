#include "platform/win32/handover_win.h"

#include <shellapi.h>

#include <vector>

#include "app/events.h"
#include "platform/handover_block.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win_system.h"

namespace {

// One try's wait; the caller tries again. A send that times out before the instance took
// it is withdrawn, so a try never hands the paths over twice.
constexpr UINT kHandOverWaitMs = 2000;

std::wstring_view WideView(const std::u16string& text) {
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}

std::u16string CommandLineText() {
    int count = 0;
    const std::u16string line = PathSafeCommandLine(reinterpret_cast<const char16_t*>(GetCommandLineW()));
    LPWSTR* argv = CommandLineToArgvW(reinterpret_cast<const wchar_t*>(line.c_str()), &count);
    if (!argv) return {};
    std::vector<std::u16string> args;
    for (int i = 1; i < count; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    LocalFree(argv);
    return PathsFromArguments(args);
}

}  // namespace

LRESULT OnHandOverReceived(App& app, const COPYDATASTRUCT* block) {
    if (!block) return FALSE;
    const auto text = ReadHandOver(block->dwData, block->lpData, block->cbData);
    if (!text) return FALSE;
    OnPathsHandedOver(app, Narrow(WideView(*text)));
    return TRUE;
}

std::string WinSystem::commandLinePaths() { return Narrow(WideView(CommandLineText())); }

bool WinSystem::handOverPaths(std::uint32_t window, const std::string& paths) {
    HWND target = WindowFromValue(window);
    std::wstring text = Wide(paths);
    if (text.empty() || !IsWindow(target)) return false;
    COPYDATASTRUCT block{kHandOverTag, static_cast<DWORD>(text.size() * sizeof(wchar_t)), text.data()};
    DWORD_PTR taken = FALSE;
    return SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block), SMTO_ABORTIFHUNG,
                               kHandOverWaitMs, &taken) &&
           taken == TRUE;
}
