// The instance marker, the hand-over of paths between two processes, the resolution of
// a path against the current folder and the Send To shortcut, against the real system.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

#include "app/handover.h"
#include "platform/sim/sim_paths.h"
#include "platform/sim/sim_platform.h"
#include "platform/win32/handover_win.h"
#include "platform/win32/win_shell.h"
#include "platform/win32/win_system.h"
#include "text/escape.h"

namespace {

constexpr const char* kSenderVariable = "RUZ_HANDOVER_TO";

// Started again by the hand-over test as the second process, the test exe only hands
// its own command line to the window named in the variable, and ends.
const bool kIsSender = [] {
    char window[32];
    if (!GetEnvironmentVariableA(kSenderVariable, window, sizeof window)) return false;
    WinSystem sys;
    ExitProcess(sys.handOverPaths(std::strtoul(window, nullptr, 16), sys.commandLinePaths()) ? 0 : 1);
}();

App* gReceiver = nullptr;

LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) return OnHandOverReceived(*gReceiver, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Runs the command line as a second process while this one answers its messages.
DWORD RunSender(HWND receiver, std::wstring commandLine) {
    char window[32];
    wsprintfA(window, "%lx", static_cast<unsigned long>(ValueFromWindow(receiver)));
    SetEnvironmentVariableA(kSenderVariable, window);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA(kSenderVariable, nullptr);
    if (!started) return 99;
    while (MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 30000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    }
    DWORD code = 98;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code;
}

}  // namespace

// Two starts at the same moment: only the one whose create made the event may run.
TEST(InstanceEvent, TheCreateItselfTellsTheSecondStart) {
    const std::string name = "RuzoriZE3-test-" + std::to_string(GetCurrentProcessId());
    WinSystem first, second;
    EXPECT_TRUE(first.createInstanceEvent(name));
    EXPECT_FALSE(second.createInstanceEvent(name));
}

TEST(HandOver, QuotedPathsReachTheRunningInstanceFromAnotherProcess) {
    SimPlatform sim;
    gReceiver = &sim.app;
    WNDCLASSW wc{};
    wc.lpfnWndProc = ReceiverProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RuzoriZE3HandOverTest";
    RegisterClassW(&wc);
    HWND receiver = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(receiver);
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);

    EXPECT_EQ(RunSender(receiver, L"\"" + std::wstring(exe) + L"\" \"C:\\My Music\\\" \"D:\\歌 1.mp3\" K:\\"), 0u);
    sim.sys.runPosted();
    EXPECT_EQ(sim.ui.column0(Ctl::超级列表框), (std::vector<std::string>{"C:\\My Music\\", "D:\\歌 1.mp3", "K:\\"}));

    COPYDATASTRUCT foreign{kHandOverTag + 1, 4, const_cast<char16_t*>(u"C:")};
    EXPECT_EQ(SendMessageW(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&foreign)), FALSE);
    EXPECT_EQ(RunSender(receiver, L"\"" + std::wstring(exe) + L"\""), 1u);  // nothing to hand over
    sim.sys.runPosted();
    EXPECT_EQ(sim.ui.rowCount(Ctl::超级列表框), 3);
    DestroyWindow(receiver);
}

// The simulator's resolution against the system's; device names left out, which Wine and
// Windows before 11 turn into "\\.\CON" while Windows 11 and the simulator leave them.
TEST(FullPath, SimulatorResolvesAsTheSystemDoes) {
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\windows\\system32"));
    const std::string hangul = EscapeCodePoint(0xD55C);
    const std::string cases[] = {
        "cat", "C:x", "D:x", "C:", "\\x\\y", ".", "..", "x/", " C:\\a", "..\\..\\..\\..\\a", "C:\\m\\CD1\\x/../../a.mp3",
        "C:\\m\\CD1\\x/../../../../m/01.mp3", "C:\\..\\..\\a", "C://m//a", "C:\\m\\\\\\a", "C:\\m\\a.mp3.", "C:\\m\\a.mp3 ",
        "C:\\m\\a.mp3. . ", "C:\\m\\...", "C:\\m.\\a", "C:\\m..\\a", "C:\\m \\a", "C:\\m. \\a", "C:\\a\\...\\b", "C:\\m\\a.\\.\\b.",
        "C:\\a\\.", "C:\\a\\..", "C:\\a\\b\\..", "C:\\a\\.\\", "C:\\a\\..\\", "C:\\m\\01.mp3:s", "C:\\m\\.hidden", "C:\\ a\\ b",
        "\\\\srv\\share\\..\\..\\x", "\\\\srv", "\\\\srv\\share", "\\\\?\\C:\\a\\..\\b", "//?/C:/a/../b", "\\\\.\\C:\\a\\..\\b",
        "C:\\運\\..\\a", "運\\x.", "C:\\" + hangul + "\\..\\" + hangul + ".mp3",
    };
    WinSystem sys;
    for (const auto& path : cases) EXPECT_EQ(ResolvePath(path, "C:\\windows\\system32"), sys.fullPath(path)) << path;
}

TEST(SendTo, ShortcutCreatedReadBackAndRemoved) {
    CoInitialize(nullptr);
    WinShell shell;
    const std::string name = "RuzoriZE3-test-" + std::to_string(GetCurrentProcessId());
    char folder[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_SENDTO, nullptr, SHGFP_TYPE_CURRENT, folder), S_OK);
    const std::string file = std::string(folder) + "\\" + name + ".lnk";
    const std::string target = "C:\\windows\\notepad.exe";

    EXPECT_EQ(shell.sendToTarget(name), "");
    EXPECT_TRUE(shell.createSendToShortcut(name, target));
    EXPECT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(shell.sendToTarget(name), target);
    EXPECT_TRUE(shell.deleteSendToShortcut(name));
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(shell.deleteSendToShortcut(name));  // none left is what was asked
    CoUninitialize();
}
