// The simulator's path resolution against the system's (GetFullPathNameW), from one
// current folder. Device names are left out: Windows before 11 and Wine answer "\\.\CON",
// Windows 11 and the simulator leave the path as it is.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/sim/sim_paths.h"
#include "platform/win32/win_system.h"
#include "text/escape.h"

TEST(FullPath, SimulatorResolvesAsTheSystemDoes) {
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\windows\\system32"));
    const std::string hangul = EscapeCodePoint(0xD55C);
    const std::string cases[] = {
        "cat", "C:x", "D:x", "C:", "\\x\\y", ".", "..", "x/", " C:\\a", "..\\..\\..\\..\\a",
        "C:\\m\\CD1\\x/../../a.mp3", "C:\\m\\CD1\\x/../../../../m/01.mp3", "C:\\..\\..\\a", "C://m//a", "C:\\m\\\\\\a",
        "C:\\m\\a.mp3.", "C:\\m\\a.mp3 ", "C:\\m\\a.mp3. . ", "C:\\m\\...", "C:\\m.\\a", "C:\\m..\\a", "C:\\m \\a",
        "C:\\m. \\a", "C:\\a\\...\\b", "C:\\m\\a.\\.\\b.", "C:\\a\\.", "C:\\a\\..", "C:\\a\\b\\..", "C:\\a\\.\\",
        "C:\\a\\..\\", "C:\\m\\01.mp3:s", "C:\\m\\.hidden", "C:\\ a\\ b",
        "\\\\srv\\share\\..\\..\\x", "\\\\srv", "\\\\srv\\share", "\\\\?\\C:\\a\\..\\b", "//?/C:/a/../b", "\\\\.\\C:\\a\\..\\b",
        "C:\\運\\..\\a", "運\\x.", "C:\\" + hangul + "\\..\\" + hangul + ".mp3",
    };
    WinSystem sys;
    for (const auto& path : cases) EXPECT_EQ(ResolvePath(path, "C:\\windows\\system32"), sys.fullPath(path)) << path;
}
